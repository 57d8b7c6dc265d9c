#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace tikmeter::engine {

// The folder that holds the source copies and the destination folders: the folder of the
// executable, or EDU_TIKMETER_HOME when that is set (created when missing). When that
// folder cannot be written, or when the executable lies under /usr (an installed program,
// even run by the superuser), "~/Edu Tikmeter" is used instead; it is created the first
// time something is put into it (ensureExists).
struct ProgramFolder {
    std::u16string path;             // the folder in use, without a trailing separator
    std::u16string preferredPath;    // the executable's folder or EDU_TIKMETER_HOME
    std::u16string executableFolder; // the folder of the executable itself
    bool isHomeFallback = false;     // the preferred folder is not used: it cannot be written
    bool isSystemFolder = false;     // or it is the executable's folder under /usr

    // Creates the folder in use when it does not exist yet; false when that fails.
    bool ensureExists() const;
    // Puts the teacher's guides into the folder in use when they are missing there
    // (copyMissingGuides from each of guideFolders(executableFolder)). Never throws.
    void provideGuides() const;
};

// The two guides that the Help box names; a teacher finds them in the program folder.
inline constexpr std::array<std::u16string_view, 2> kGuideNames{u"Afr Tikmeter.doc",
                                                                u"Eng Tikmeter.doc"};

// Where the guides ship, in the order they are looked for: beside the executable (a build
// copies them into its bin/) and `<prefix>/share/edu-tikmeter` for a program installed in
// `<prefix>/bin`.
std::vector<std::u16string> guideFolders(const std::u16string& executableFolder);

// Copies each guide that `dataFolder` holds and `programFolder` lacks, atomically. A name
// that is already taken in the program folder (a guide the teacher may have edited, or
// anything else) is left alone; a missing data folder or a failed copy copies nothing.
// Returns how many guides were copied. Never throws.
std::size_t copyMissingGuides(const std::u16string& dataFolder,
                              const std::u16string& programFolder);

// `executableFolder` empty means: the folder of the running executable.
ProgramFolder resolveProgramFolder(std::u16string executableFolder = {});

// True when a file can be created in `folder`, tried for real: permission bits say little
// for the superuser or on read-only mounts. The probe leaves nothing behind.
bool canWriteIn(const std::u16string& folder);

} // namespace tikmeter::engine
