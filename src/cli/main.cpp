// tikmeter: the command-line side of Edu Tikmeter. Every subcommand registers itself here.
#include "cli/Commands.h"

#include <cstdio>
#include <iostream>

namespace tikmeter::cli {

int printOutput(std::string_view output) {
    std::fwrite(output.data(), 1, output.size(), stdout);
    if (std::fflush(stdout) != 0) {
        std::cerr << "tikmeter: cannot write the output\n";
        return 1;
    }
    return 0;
}

} // namespace tikmeter::cli

int main(int argc, char** argv) {
    CLI::App app{"Edu Tikmeter: marks typing speed tests saved as RTF", "tikmeter"};
    app.require_subcommand(1);

    tikmeter::cli::CommandAction action;
    tikmeter::cli::registerTextCommands(app, action);
    tikmeter::cli::registerMarkCommand(app, action);
    tikmeter::cli::registerResultsCommand(app, action);

    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        // --help ends with 0; any other command line that cannot be parsed is a usage error.
        return app.exit(error) == 0 ? 0 : 2;
    }
    return action ? action() : 0;
}
