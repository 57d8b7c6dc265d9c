#pragma once

#include <CLI/CLI.hpp>

#include <functional>
#include <string_view>

namespace tikmeter::cli {

// A subcommand adds itself to the application and stores here what runs when it was chosen;
// the action returns the exit status.
using CommandAction = std::function<int()>;

// Writes a command's output to standard output; the exit status: 1 when it cannot be
// written (a full disk, a closed pipe), else 0.
int printOutput(std::string_view output);

// `tikmeter text FILE` and `tikmeter rtf FILE` (TextCommands.cpp).
void registerTextCommands(CLI::App& app, CommandAction& action);

// `tikmeter mark ...` (MarkCommand.cpp).
void registerMarkCommand(CLI::App& app, CommandAction& action);

// `tikmeter results FOLDER [--csv | --json] [--all]` (ResultsCommand.cpp).
void registerResultsCommand(CLI::App& app, CommandAction& action);

} // namespace tikmeter::cli
