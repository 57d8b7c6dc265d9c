#pragma once

#include <string>

namespace tikmeter::engine {

// The folder that holds source copies and destination folders.
struct ProgramFolder {
    std::u16string path;
    // True when the executable's folder could not be written and the folder in the
    // user's home is used instead; the window says so.
    bool isHomeFallback = false;
};

// EDU_TIKMETER_HOME when set; else the executable's folder when it can be written; else
// "~/Edu Tikmeter", created when missing. `executableFolder` empty means: find it.
ProgramFolder resolveProgramFolder(std::u16string executableFolder = {});

} // namespace tikmeter::engine
