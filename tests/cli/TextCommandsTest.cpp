// `tikmeter text` and `tikmeter rtf`, run as separate processes.
#include "CliRunner.h"
#include "documents/Document.h"
#include "documents/Utf8.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using tikmeter::documents::Document;

const fs::path kData = TIKMETER_TEST_DATA_DIR;

TEST(TextCommand, PrintsThePlainTextAsUtf8WithCrLf) {
    std::ifstream manifest(kData / "manifest.jsonl");
    std::string line;
    int checked = 0;
    while (std::getline(manifest, line)) {
        const nlohmann::json entry = nlohmann::json::parse(line);
        if (entry.at("kind") == "bad" || !entry.contains("text")) {
            continue;
        }
        const std::string path = (kData / entry.at("path").get<std::string>()).string();
        const CommandResult run = tikmeter("text " + quoted(path));
        ASSERT_EQ(run.status, 0) << path << run.err;
        EXPECT_EQ(run.out, entry.at("text").get<std::string>()) << path;
        if (++checked == 8) {
            break;
        }
    }
    EXPECT_EQ(checked, 8);
}

TEST(RtfCommand, PrintsTheWritersCode) {
    const fs::path path = kData / "class-a" / "a02.rtf";
    Document document;
    document.loadFile(path);
    const CommandResult run = tikmeter("rtf " + quoted(path.string()));
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, document.rtf());
}

TEST(TextCommand, LoadFailureIsOneLineNamingFileAndReason) {
    const CommandResult missing = tikmeter("text " + quoted((kData / "no-such-file.rtf").string()));
    EXPECT_NE(missing.status, 0);
    EXPECT_TRUE(missing.out.empty());
    EXPECT_NE(missing.err.find("no-such-file.rtf"), std::string::npos) << missing.err;
    EXPECT_NE(missing.err.find("No such file"), std::string::npos) << missing.err;
    EXPECT_EQ(std::count(missing.err.begin(), missing.err.end(), '\n'), 1);

    const CommandResult corrupt =
        tikmeter("rtf " + quoted((kData / "bad" / "huge-bin.rtf").string()));
    EXPECT_NE(corrupt.status, 0);
    EXPECT_NE(corrupt.err.find("huge-bin.rtf"), std::string::npos) << corrupt.err;
    EXPECT_NE(corrupt.err.find("unreadable"), std::string::npos) << corrupt.err;
    EXPECT_EQ(std::count(corrupt.err.begin(), corrupt.err.end(), '\n'), 1);
}

TEST(TextCommand, NeedsASubcommandAndAFile) {
    EXPECT_NE(tikmeter("").status, 0);
    EXPECT_NE(tikmeter("text").status, 0);
    EXPECT_NE(tikmeter("frobnicate x").status, 0);
}

} // namespace
