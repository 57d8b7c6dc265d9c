// `tikmeter text FILE` prints a document's plain text (UTF-8, CR LF kept);
// `tikmeter rtf FILE` prints the RTF code the writer gives for it.
#include "cli/Commands.h"
#include "documents/Document.h"
#include "documents/DocumentError.h"
#include "documents/Utf8.h"

#include <cstdio>
#include <iostream>
#include <memory>
#include <new>
#include <string>

namespace tikmeter::cli {

namespace {

// Loads the file and prints what `render` makes of it. A load failure (a missing or unreadable
// file, one that is not a regular file or is larger than the read limit) or running out of
// memory gives one line on standard error naming the file and the reason, and exit status 1.
int printDocument(const std::string& file,
                  std::string (*render)(const documents::Document& document)) {
    std::string output;
    try {
        documents::Document document;
        document.loadFile(file);
        output = render(document);
    } catch (const documents::DocumentError& error) {
        std::cerr << "tikmeter: " << error.what() << '\n'; // names the file and the reason
        return 1;
    } catch (const std::bad_alloc&) {
        std::cerr << "tikmeter: " << file << ": out of memory\n";
        return 1;
    }
    return printOutput(output);
}

} // namespace

void registerTextCommands(CLI::App& app, CommandAction& action) {
    // The file names live as long as the application object's callbacks can run.
    auto textFile = std::make_shared<std::string>();
    CLI::App* text = app.add_subcommand("text", "Print the plain text of a document (UTF-8)");
    text->add_option("FILE", *textFile, "RTF or text file")->required();
    text->callback([textFile, &action] {
        action = [textFile] {
            return printDocument(*textFile, [](const documents::Document& document) {
                return documents::toUtf8(document.text());
            });
        };
    });

    auto rtfFile = std::make_shared<std::string>();
    CLI::App* rtf = app.add_subcommand("rtf", "Print the RTF code written for a document");
    rtf->add_option("FILE", *rtfFile, "RTF or text file")->required();
    rtf->callback([rtfFile, &action] {
        action = [rtfFile] {
            return printDocument(
                *rtfFile, [](const documents::Document& document) { return document.rtf(); });
        };
    });
}

} // namespace tikmeter::cli
