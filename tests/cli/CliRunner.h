#pragma once

// Runs the tikmeter executable as a separate process, as a user would.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

struct CommandResult {
    int status = -1;
    std::string out;
    std::string err;
};

std::string readBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string quoted(const std::string& text) {
    std::string result = "'";
    for (const char c : text) {
        result += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return result + "'";
}

// Runs `tikmeter ARGUMENTS` with an optional environment prefix ("NAME=value ...").
CommandResult tikmeter(const std::string& arguments, const std::string& environment = {}) {
    const fs::path folder = fs::temp_directory_path();
    const std::string tag = std::to_string(::getpid());
    const fs::path out = folder / ("tikmeter-cli-out-" + tag);
    const fs::path err = folder / ("tikmeter-cli-err-" + tag);
    const std::string command = environment + " " + quoted(TIKMETER_EXECUTABLE) + " " + arguments +
                                " >" + quoted(out.string()) + " 2>" + quoted(err.string());
    CommandResult run;
    const int status = std::system(command.c_str());
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.out = readBytes(out);
    run.err = readBytes(err);
    fs::remove(out);
    fs::remove(err);
    return run;
}

} // namespace
