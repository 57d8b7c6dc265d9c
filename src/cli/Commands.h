#pragma once

#include <CLI/CLI.hpp>

#include <functional>

namespace tikmeter::cli {

// A subcommand adds itself to the application and stores here what runs when it was chosen;
// the action returns the exit status.
using CommandAction = std::function<int()>;

// `tikmeter text FILE` and `tikmeter rtf FILE` (TextCommands.cpp).
void registerTextCommands(CLI::App& app, CommandAction& action);

// `tikmeter mark ...` (MarkCommand.cpp).
void registerMarkCommand(CLI::App& app, CommandAction& action);

// `tikmeter results FOLDER [--csv | --json] [--all]` (ResultsCommand.cpp).
void registerResultsCommand(CLI::App& app, CommandAction& action);

} // namespace tikmeter::cli
