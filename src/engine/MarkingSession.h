#pragma once

#include "engine/SessionWindow.h"

namespace tikmeter::engine {

// Runs one whole marking session over the window's test list: preconditions, destination
// folder, copies, log, every test, end message. Returns true when the session ended
// normally (with the "Done" message), false when a precondition failed, the folder
// question was cancelled or the error trap ended it.
bool runMarkingSession(SessionWindow& window);

} // namespace tikmeter::engine
