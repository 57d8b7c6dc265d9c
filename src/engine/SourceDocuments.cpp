#include "engine/SourceDocuments.h"

#include "documents/DocumentError.h"
#include "documents/Utf8.h"
#include "engine/FileOps.h"
#include "documents/PathText.h"
#include "engine/SessionFailure.h"

namespace tikmeter::engine {

namespace {

// Runs one step of opening a source. Returns false when the step failed for lack of
// access (the operation then ends); every other failure is ignored.
template <class Step> bool accessible(SessionWindow& window, Step&& step) {
    try {
        step();
    } catch (...) {
        switch (classifyFailure(std::current_exception())) {
        case FailureKind::Access:
        case FailureKind::WriteProtected:
        case FailureKind::PermissionDenied:
            window.messageBox(u"Please save current file on an accessible disk.", u"Error");
            window.state().writeFailure = true;
            return false;
        case FailureKind::Overflow:
        case FailureKind::Other:
            break;
        }
    }
    return true;
}

} // namespace

void MaakBronOop(SessionWindow& window, Language language, const std::u16string& pickedPath) {
    WindowState& state = window.state();
    documents::Document& source = window.richTextBox2();
    source.setText(u"");
    state.currentFilePath = pickedPath;
    if (!pickedPath.empty()) {
        state.stoorlegger = documents::joinPath(window.programFolder(), documents::fileNameOf(pickedPath));
        const bool copied =
            accessible(window, [&] { copyFileReplacing(pickedPath, state.stoorlegger); });
        if (copied) {
            state.currentFilePath = state.stoorlegger;
            source.setBaseFontName(u"Courier New");
            // Content that is not a document leaves the source empty while the row still
            // names the file; the session's size check then stops a marking run.
            accessible(window, [&] {
                try {
                    source.loadFile(documents::toPath(state.currentFilePath));
                } catch (const documents::DocumentError& e) {
                    if (e.kind() != documents::DocumentErrorKind::Unreadable) {
                        throw;
                    }
                    source.setText(u"");
                }
            });
        }
    }
    window.setSourcePath(language, state.currentFilePath);
}

} // namespace tikmeter::engine
