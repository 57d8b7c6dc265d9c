#pragma once

#include "documents/Document.h"
#include "engine/MarkingTypes.h"
#include "engine/SessionFailure.h"
#include "engine/SessionObserver.h"

#include <optional>
#include <string>
#include <vector>

namespace tikmeter::engine {

// The values the marking session and the source rows share for the life of the program.
struct ProgramState {
    std::u16string destPath;        // the destination folder
    std::u16string currentFilePath; // the file of the last file operation
    std::u16string copyTarget;      // where the last copy went
    bool writeFailure = false;      // after an access failure: no result lines
};

// Everything a session reads when it starts.
struct SessionInput {
    std::vector<std::u16string> entries; // the tests to mark, in order
    std::u16string afrikaansSource;      // the source copies' paths
    std::u16string englishSource;
    // The source document loaded last (by a source pick or the session before); a session
    // needs one of at least 50 characters.
    documents::Document lastSource;
    ResultFormat resultFormat = ResultFormat::MultipleOf5;
    std::u16string programFolder; // where destination folders are made; must exist
};

// How a session ended.
enum class SessionEnd {
    Completed, // every entry handled; the "Done" message was shown
    NoTests,   // the test list was empty
    NoSource,  // the source document was missing or too small
    Cancelled, // the folder question was cancelled
    Declined,  // the teacher chose not to mark the tests the check let through
    Stopped,   // the program is closing
    Trapped,   // a failure of the error trap ended it
};

struct SessionSummary {
    SessionEnd end = SessionEnd::Completed;
    FailureKind failure = FailureKind::Other; // the trap's failure when Trapped
    std::size_t marked = 0;                   // tests marked and saved
    std::size_t rejected = 0;                 // tests too short or too long
    std::size_t leftOut = 0;                  // tests the check before marking left out
    // The source the last marked test was compared with; it becomes the source document
    // loaded last. Empty when no test was compared.
    std::optional<documents::Document> lastSource;
};

// Runs one whole marking session: preconditions, the check of every file, destination
// folder, copies, log, every test, end message. Reports to `observer` as it goes.
SessionSummary runMarkingSession(SessionInput input, ProgramState& state,
                                 SessionObserver& observer);

// Why an answer to the folder question cannot name a destination folder: it must name a
// folder inside the program folder (a name, or names joined by "/"), not the program folder
// itself nor anything outside it (no "." or ".." part, not absolute, not through a symbolic
// link that leads out). Empty when the answer is sound.
std::u16string destinationAnswerProblem(const std::u16string& programFolder,
                                        const std::u16string& answer);

} // namespace tikmeter::engine
