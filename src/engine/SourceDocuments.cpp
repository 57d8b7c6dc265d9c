#include "engine/SourceDocuments.h"

#include "documents/DocumentError.h"
#include "documents/PathText.h"
#include "documents/Utf8.h"
#include "engine/FileOps.h"
#include "engine/SessionFailure.h"

namespace tikmeter::engine {

namespace {

constexpr std::u16string_view kNoAccess = u"Please save current file on an accessible disk.";

// Runs one step of opening a source. Returns false when the step failed for lack of
// access (the operation then ends); every other failure is ignored.
template <class Step> bool accessible(ProgramState& state, OpenedSource& opened, Step&& step) {
    try {
        step();
    } catch (...) {
        switch (classifyFailure(std::current_exception())) {
        case FailureKind::Access:
        case FailureKind::WriteProtected:
        case FailureKind::PermissionDenied:
        case FailureKind::DiskFull:
            opened.message = std::u16string(kNoAccess);
            state.writeFailure = true;
            return false;
        case FailureKind::Overflow:
        case FailureKind::Other:
            break;
        }
    }
    return true;
}

} // namespace

OpenedSource openSourceDocument(ProgramState& state, const std::u16string& programFolder,
                                const std::u16string& pickedPath) {
    OpenedSource opened;
    state.currentFilePath = pickedPath;
    if (!pickedPath.empty()) {
        state.copyTarget = documents::joinPath(programFolder, documents::fileNameOf(pickedPath));
        const bool copied =
            accessible(state, opened, [&] { copyFile(pickedPath, state.copyTarget); });
        if (copied) {
            state.currentFilePath = state.copyTarget;
            opened.document.setBaseFontName(u"Courier New");
            accessible(state, opened, [&] {
                try {
                    opened.document.loadFile(documents::toPath(state.currentFilePath));
                } catch (const documents::DocumentError& e) {
                    if (e.kind() != documents::DocumentErrorKind::Unreadable) {
                        throw;
                    }
                }
            });
        }
    }
    opened.shownPath = state.currentFilePath;
    return opened;
}

} // namespace tikmeter::engine
