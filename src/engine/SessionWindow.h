#pragma once

#include "documents/Document.h"
#include "engine/MarkingTypes.h"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace tikmeter::engine {

// Fields of the main window that the marking session and the source-document rows share.
// The window owns one instance for its whole life.
struct WindowState {
    std::u16string destPath;        // destination folder path
    std::u16string currentFilePath; // file of the last file operation
    std::u16string stoorlegger;     // target of the last copy
    bool writeFailure = false;      // set after an access failure: no result lines
};

struct TestState;

// What became of one list entry in a session, for windows that report more than the log.
struct TestOutcome {
    std::u16string entry;                     // the list entry
    std::u16string status;                    // the log status without its dots
    const TestState* marking = nullptr;       // the marking's state; null when not marked
    Language language = Language::Afrikaans;  // the language the test was marked in
    std::u16string markedPath;                // the marked test written, if any
    std::optional<std::u16string> resultLine; // the line written to the result file
};

// What the marking session needs from the window that runs it. The Qt main window, the
// command-line tool and the tests each implement it, so a session runs the same in all.
class SessionWindow {
public:
    virtual ~SessionWindow() = default;

    // Modal interaction. inputBox returns the empty text when cancelled.
    virtual void messageBox(const std::u16string& text, const std::u16string& title) = 0;
    virtual std::u16string inputBox(const std::u16string& prompt, const std::u16string& title,
                                    const std::u16string& defaultAnswer) = 0;

    // The three documents: the test being marked, the source, the viewer pane.
    virtual documents::Document& richTextBox1() = 0;
    virtual documents::Document& richTextBox2() = 0;
    virtual documents::Document& richTextBox3() = 0;

    // The test list (List1), in order; the session only reads it.
    virtual std::vector<std::u16string> testList() const = 0;

    // Labels and fields.
    virtual std::u16string text1() const = 0;
    virtual void setText1(const std::u16string& text) = 0;
    virtual void setLabel9(const std::u16string& text) = 0;
    virtual std::u16string label3() const = 0;
    virtual void setLabel3(const std::u16string& text) = 0;
    // Label7: path of the source copy for a language ("(Empty)" when none was picked).
    virtual std::u16string sourcePath(Language language) const = 0;
    virtual void setSourcePath(Language language, const std::u16string& path) = 0;

    // The viewer pane: make RichTextBox3 visible; make its "Clear" button (Command8 item 0)
    // visible; the session changed the pane's document (redraw, caret to the end).
    virtual void showViewer() = 0;
    virtual void showViewerClearButton() = 0;
    virtual void viewerChanged() = 0;

    // Let pending user-interface events run (once after each marked test).
    virtual void letEventsRun() = 0;
    // True when the program is to end (its window was closed while events ran): the
    // session then stops after the test it has finished. The default never stops.
    virtual bool stopRequested() const { return false; }
    // Progress: `done` of `total` list entries handled.
    virtual void progress(std::size_t done, std::size_t total) = 0;

    virtual ResultFormat resultFormat() const = 0;

    // The folder that holds source copies and destination folders.
    virtual std::u16string programFolder() const = 0;

    // Fields shared with the source rows.
    virtual WindowState& state() = 0;

    // Called once per list entry after its log line; the default does nothing.
    virtual void testFinished(const TestOutcome& /*outcome*/) {}
};

} // namespace tikmeter::engine
