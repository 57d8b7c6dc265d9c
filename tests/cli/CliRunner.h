#pragma once

// Runs the tikmeter executable as a separate process, as a user would.
#include "TempFolder.h"

#include <cstdlib>
#include <string>
#include <sys/wait.h>
#include <vector>

namespace {

namespace fs = std::filesystem;
using tikmeter::testing::readBytes;
using tikmeter::testing::TempFolder;

const fs::path kDataDir = TIKMETER_TEST_DATA_DIR;

struct CommandResult {
    int status = -1;
    std::string out;
    std::string err;
};

inline std::string quoted(const std::string& text) {
    std::string result = "'";
    for (const char c : text) {
        result += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return result + "'";
}

// Runs `tikmeter ARGUMENTS` after a shell prefix ("NAME=value ...", "cd FOLDER && ...").
inline CommandResult tikmeter(const std::string& arguments, const std::string& prefix = {}) {
    const TempFolder folder;
    const std::string command = prefix + " " + quoted(TIKMETER_EXECUTABLE) + " " + arguments +
                                " >" + quoted(folder / "out") + " 2>" + quoted(folder / "err");
    const int status = std::system(command.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, readBytes(folder / "out"),
            readBytes(folder / "err")};
}

// `mark` with the two sources, the options, then the tests.
inline std::string markArguments(const fs::path& english, const fs::path& afrikaans,
                                 const std::string& options, const std::vector<fs::path>& tests) {
    std::string arguments =
        "mark --english " + quoted(english) + " --afrikaans " + quoted(afrikaans) + " " + options;
    for (const fs::path& test : tests) {
        arguments += " " + quoted(test);
    }
    return arguments;
}

} // namespace
