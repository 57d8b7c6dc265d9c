#pragma once

#include <string>

namespace tikmeter::engine {

// The folder that holds the source copies and the destination folders: the folder of the
// executable, or EDU_TIKMETER_HOME when that is set (created when missing). When that
// folder cannot be written, or when the executable lies under /usr (an installed program,
// even run by the superuser), "~/Edu Tikmeter" is used instead; it is created the first
// time something is put into it (ensureExists).
struct ProgramFolder {
    std::u16string path;          // the folder in use, without a trailing separator
    std::u16string preferredPath; // the executable's folder or EDU_TIKMETER_HOME
    bool isHomeFallback = false;  // the preferred folder is not used: it cannot be written
    bool isSystemFolder = false;  // or it is the executable's folder under /usr

    // Creates the folder in use when it does not exist yet; false when that fails.
    bool ensureExists() const;
};

// `executableFolder` empty means: the folder of the running executable.
ProgramFolder resolveProgramFolder(std::u16string executableFolder = {});

// True when a file can be created in `folder`, tried for real: permission bits say little
// for the superuser or on read-only mounts. The probe leaves nothing behind.
bool canWriteIn(const std::u16string& folder);

} // namespace tikmeter::engine
