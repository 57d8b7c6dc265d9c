#include "engine/SessionFailure.h"

#include "documents/DocumentError.h"
#include "documents/FileIo.h"
#include "engine/MarkingFailure.h"

#include <filesystem>

namespace tikmeter::engine {

namespace {

FailureKind kindOf(documents::DocumentErrorKind kind) {
    using documents::DocumentErrorKind;
    switch (kind) {
    case DocumentErrorKind::PermissionDenied:
        return FailureKind::PermissionDenied;
    case DocumentErrorKind::WriteProtected:
        return FailureKind::WriteProtected;
    case DocumentErrorKind::DiskFull:
        return FailureKind::DiskFull;
    case DocumentErrorKind::NotFound:
    case DocumentErrorKind::Unreadable:
    case DocumentErrorKind::TooLarge:
    case DocumentErrorKind::NotRegularFile:
    case DocumentErrorKind::Other:
        break;
    }
    return FailureKind::Access;
}

} // namespace

FailureKind classifyFailure(const std::exception_ptr& failure) {
    try {
        std::rethrow_exception(failure);
    } catch (const documents::DocumentError& e) {
        return kindOf(e.kind());
    } catch (const std::filesystem::filesystem_error& e) {
        return kindOf(documents::documentErrorKindFor(e.code().value()));
    } catch (const OverflowFailure&) {
        return FailureKind::Overflow;
    } catch (...) {
        return FailureKind::Other;
    }
}

} // namespace tikmeter::engine
