#include "engine/SessionFailure.h"

#include "documents/DocumentError.h"
#include "engine/MarkingFailure.h"

#include <cerrno>
#include <filesystem>

namespace tikmeter::engine {

FailureKind failureKindForErrno(int error) {
    switch (error) {
    case EACCES:
    case EPERM:
    case ETXTBSY:
        return FailureKind::PermissionDenied;
    case EROFS:
        return FailureKind::WriteProtected;
    default:
        return FailureKind::Access;
    }
}

FailureKind classifyFailure(const std::exception_ptr& failure) {
    using documents::DocumentError;
    using documents::DocumentErrorKind;
    try {
        std::rethrow_exception(failure);
    } catch (const FileOperationFailure& e) {
        return e.kind();
    } catch (const DocumentError& e) {
        switch (e.kind()) {
        case DocumentErrorKind::PermissionDenied:
            return FailureKind::PermissionDenied;
        case DocumentErrorKind::WriteProtected:
            return FailureKind::WriteProtected;
        case DocumentErrorKind::NotFound:
        case DocumentErrorKind::Unreadable:
        case DocumentErrorKind::Other:
            return FailureKind::Access;
        }
        return FailureKind::Access;
    } catch (const std::filesystem::filesystem_error& e) {
        return failureKindForErrno(e.code().value());
    } catch (const OverflowFailure&) {
        return FailureKind::Overflow;
    } catch (...) {
        return FailureKind::Other;
    }
}

} // namespace tikmeter::engine
