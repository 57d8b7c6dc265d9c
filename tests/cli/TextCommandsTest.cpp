// `tikmeter text` and `tikmeter rtf`, run as separate processes.
#include "CliRunner.h"
#include "documents/Document.h"
#include "documents/FileIo.h"
#include "documents/Utf8.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/stat.h>
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

// A folder of its own for a test, removed afterwards.
struct ScratchFolder {
    ScratchFolder()
        : path(fs::temp_directory_path() /
               ("tikmeter-cli-" + std::to_string(::getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name())) {
        fs::remove_all(path);
        fs::create_directories(path);
    }
    ~ScratchFolder() { fs::remove_all(path); }
    fs::path path;
};

void expectOneLineNaming(const CommandResult& run, const std::string& file,
                         const std::string& reason) {
    EXPECT_EQ(run.status, 1) << file;
    EXPECT_TRUE(run.out.empty()) << file;
    EXPECT_NE(run.err.find(file), std::string::npos) << run.err;
    EXPECT_NE(run.err.find(reason), std::string::npos) << run.err;
    EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
}

TEST(TextCommand, RefusesPipesDevicesAndFilesOverTheLimitAtOnce) {
    const ScratchFolder folder;
    const fs::path pipe = folder.path / "f.rtf";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0644), 0);
    const fs::path big = folder.path / "big.rtf";
    std::ofstream(big).close();
    fs::resize_file(big, tikmeter::documents::kMaxFileSize + 1); // sparse
    const std::pair<fs::path, std::string> rows[] = {
        {pipe, "not a regular file"},
        {"/dev/zero", "not a regular file"},
        {big, "larger than 64 MiB"},
    };
    for (const auto& [path, reason] : rows) {
        // `timeout` ends a command that would wait forever (exit status 124).
        expectOneLineNaming(tikmeter("text " + quoted(path.string()), "timeout 10"), path.string(),
                            reason);
    }
}

TEST(TextCommand, RunningOutOfMemoryIsReportedNotAborted) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the address sanitizer needs more address space than the limit leaves";
#endif
    const ScratchFolder folder;
    const fs::path text = folder.path / "long.txt";
    {
        std::ofstream out(text, std::ios::binary);
        const std::string line = "The quick brown fox jumps over the lazy dog.\n";
        for (std::size_t size = 0; size < 32'000'000; size += line.size()) {
            out << line;
        }
    }
    // 60 MB of address space: enough to start, too little for the text of 32 MB.
    expectOneLineNaming(tikmeter("text " + quoted(text.string()), "ulimit -v 60000;"),
                        text.string(), "memory");
}

TEST(TextCommand, NeedsASubcommandAndAFile) {
    EXPECT_NE(tikmeter("").status, 0);
    EXPECT_NE(tikmeter("text").status, 0);
    EXPECT_NE(tikmeter("frobnicate x").status, 0);
}

} // namespace
