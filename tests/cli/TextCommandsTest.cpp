// `tikmeter text` and `tikmeter rtf`, run as separate processes (their failures: ExitStatus).
#include "CliRunner.h"
#include "documents/Document.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

namespace {

// The plain text as UTF-8 with CR LF, and the code the writer gives, of files of the corpus.
TEST(TextCommands, PrintThePlainTextAndTheWritersCode) {
    std::ifstream manifest(kDataDir / "manifest.jsonl");
    int checked = 0;
    for (std::string line; checked < 8 && std::getline(manifest, line);) {
        const nlohmann::json entry = nlohmann::json::parse(line);
        if (entry.at("kind") == "bad" || !entry.contains("text")) {
            continue;
        }
        const fs::path path = kDataDir / entry.at("path").get<std::string>();
        tikmeter::documents::Document document;
        document.loadFile(path);
        for (const auto& [command, output] :
             {std::pair{"text ", entry.at("text").get<std::string>()}, {"rtf ", document.rtf()}}) {
            const CommandResult run = tikmeter(command + quoted(path));
            EXPECT_EQ(run.status, 0) << path << run.err;
            EXPECT_EQ(run.out, output) << command << path;
        }
        ++checked;
    }
    EXPECT_EQ(checked, 8);
}

} // namespace
