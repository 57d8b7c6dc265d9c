// The file primitives: regular files only, read limit, atomic writes, whole appends.
#include "documents/FileIo.h"
#include "TestSupport.h"
#include "documents/DocumentError.h"

#include <gtest/gtest.h>

#include <climits>
#include <csignal>
#include <functional>
#include <optional>
#include <string>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace tikmeter::documents {
namespace {

namespace fs = std::filesystem;

constexpr int kReturned = 100;
constexpr int kHung = -1;

int kind(DocumentErrorKind kind) {
    return static_cast<int>(kind);
}

// Runs call in a child process, killed after five seconds, optionally with files limited to
// fileSizeLimit bytes (a write past it stops short, the next fails, as on a full disk).
// Gives the kind of the DocumentError thrown, kReturned, or kHung.
int outcome(const std::function<void()>& call, std::optional<rlim_t> fileSizeLimit = {}) {
    const pid_t child = ::fork();
    if (child == 0) {
        ::alarm(5);
        if (fileSizeLimit) {
            std::signal(SIGXFSZ, SIG_IGN);
            const rlimit limit{*fileSizeLimit, *fileSizeLimit};
            ::setrlimit(RLIMIT_FSIZE, &limit);
        }
        int code = kReturned;
        try {
            call();
        } catch (const DocumentError& error) {
            code = kind(error.kind());
        } catch (...) {
            code = kReturned + 1;
        }
        ::_exit(code);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : kHung;
}

class FileIo : public ::testing::Test {
protected:
    fs::path at(const std::string& name) const { return folder_ / name; }
    test::TemporaryFolder temporary_;
    const fs::path& folder_ = temporary_.path();
};

TEST_F(FileIo, OnlyRegularFilesAreOpenedAndNothingWaits) {
    const fs::path pipe = at("pipe.rtf");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0644), 0);
    const fs::path file = at("file.rtf");
    test::writeBytes(file, "{\\rtf1 text}");
    const fs::path link = at("link.res");
    fs::create_symlink(file, link);
    const std::pair<const char*, std::function<void()>> rows[] = {
        {"load a pipe", [&] { Document().loadFile(pipe); }},
        {"read a device", [&] { readWholeFile("/dev/zero"); }},
        {"read a folder", [&] { readWholeFile(folder_); }},
        {"copy from a pipe", [&] { copyFileAtomically(pipe, at("copy.rtf")); }},
        {"copy onto a pipe", [&] { copyFileAtomically(file, pipe); }},
        {"write onto a pipe", [&] { writeFileAtomically(pipe, "x"); }},
        {"write onto a folder", [&] { writeFileAtomically(folder_, "x"); }},
        {"append to a pipe", [&] { appendWhole(pipe, "x"); }},
        {"append to a device", [&] { appendWhole("/dev/null", "x"); }},
        {"append to a folder", [&] { appendWhole(folder_, "x"); }},
        {"append through a link", [&] { appendWhole(link, "x"); }},
    };
    for (const auto& [name, call] : rows) {
        EXPECT_EQ(outcome(call), kind(DocumentErrorKind::NotRegularFile)) << name;
    }
    EXPECT_EQ(fs::symlink_status(pipe).type(), fs::file_type::fifo);
    EXPECT_FALSE(fs::exists(at("copy.rtf")));
    EXPECT_EQ(test::readBytes(file), "{\\rtf1 text}");
    EXPECT_EQ(temporary_.entries(), 3u);
}

TEST_F(FileIo, FilesOverTheLimitAreNotRead) {
    const fs::path atLimit = at("limit.rtf");
    const fs::path over = at("over.rtf");
    test::writeBytes(atLimit, "");
    test::writeBytes(over, "");
    fs::resize_file(atLimit, kMaxFileSize); // sparse: no disk space used
    fs::resize_file(over, kMaxFileSize + 1);
    EXPECT_EQ(readWholeFile(atLimit).size(), kMaxFileSize);
    EXPECT_EQ(outcome([&] { readWholeFile(over); }), kind(DocumentErrorKind::TooLarge));
    EXPECT_EQ(outcome([&] { Document().loadFile(over); }), kind(DocumentErrorKind::TooLarge));
    EXPECT_EQ(outcome([&] { copyFileAtomically(over, at("copy.rtf")); }),
              kind(DocumentErrorKind::TooLarge));
    EXPECT_EQ(temporary_.entries(), 2u);
}

TEST_F(FileIo, AtomicWriteReplacesASymbolicLinkInsteadOfFollowingIt) {
    const fs::path other = at("other.rtf");
    test::writeBytes(other, "precious");
    fs::create_symlink(other, at("link.rug"));
    fs::create_symlink(at("made-through-link.rug"), at("dangling.rug"));
    writeFileAtomically(at("link.rug"), "new");
    copyFileAtomically(at("link.rug"), at("dangling.rug"));
    for (const char* name : {"link.rug", "dangling.rug"}) {
        EXPECT_FALSE(fs::is_symlink(at(name))) << name;
        EXPECT_EQ(test::readBytes(at(name)), "new") << name;
    }
    EXPECT_EQ(test::readBytes(other), "precious");
    EXPECT_EQ(temporary_.entries(), 3u);
}

TEST_F(FileIo, AtomicWriteTakesTheLongestNamesAndKeepsPermissions) {
    const fs::path longest = at(std::string(NAME_MAX - 4, 'n') + ".rug");
    test::writeBytes(longest, "old");
    fs::permissions(longest, fs::perms::owner_read | fs::perms::owner_write);
    writeFileAtomically(longest, "marked");
    copyFileAtomically(longest, at(std::string(250, 'c')));
    EXPECT_EQ(test::readBytes(longest), "marked");
    EXPECT_EQ(fs::status(longest).permissions(), fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(test::readBytes(at(std::string(250, 'c'))), "marked");
    EXPECT_EQ(temporary_.entries(), 2u);
}

TEST_F(FileIo, FailedWritesKeepTheOldFileAndLeaveNoTemporary) {
    const fs::path result = at("Resultaat.res");
    const fs::path marked = at("test.rug");
    test::writeBytes(result, "first line\r\n"); // 12 bytes
    test::writeBytes(marked, "old marked test");
    const std::string line(40, 'x');
    // The first write stops short at 20 bytes, the next fails: the line is taken back.
    EXPECT_EQ(outcome([&] { appendWhole(result, line); }, 20), kind(DocumentErrorKind::Other));
    EXPECT_EQ(test::readBytes(result), "first line\r\n");
    EXPECT_EQ(outcome([&] { writeFileAtomically(marked, line); }, 20),
              kind(DocumentErrorKind::Other));
    EXPECT_EQ(outcome([&] { copyFileAtomically(result, marked); }, 8),
              kind(DocumentErrorKind::Other));
    EXPECT_EQ(test::readBytes(marked), "old marked test");
    EXPECT_EQ(temporary_.entries(), 2u);
    // Within the limit, and without one, lines are appended.
    EXPECT_EQ(outcome([&] { appendWhole(result, "second\r\n"); }, 20), kReturned);
    appendWhole(at("new.res"), "one\r\n");
    appendWhole(at("new.res"), "two\r\n");
    EXPECT_EQ(test::readBytes(result), "first line\r\nsecond\r\n");
    EXPECT_EQ(test::readBytes(at("new.res")), "one\r\ntwo\r\n");
}

TEST_F(FileIo, AFullDiskIsDiskFull) {
    const fs::path small = at("small");
    fs::create_directory(small);
    if (::geteuid() != 0 || ::mount("tmpfs", small.c_str(), "tmpfs", 0, "size=64k") != 0) {
        GTEST_SKIP() << "needs the superuser to mount a small tmpfs";
    }
    struct Unmount {
        const fs::path& path;
        ~Unmount() { ::umount2(path.c_str(), MNT_DETACH); }
    } unmount{small};
    test::writeBytes(small / "Resultaat.res", "first line\r\n");
    test::writeBytes(small / "test.rug", "old");
    const std::string big(256 * 1024, 'x');
    EXPECT_EQ(outcome([&] { appendWhole(small / "Resultaat.res", big); }),
              kind(DocumentErrorKind::DiskFull));
    EXPECT_EQ(outcome([&] { writeFileAtomically(small / "test.rug", big); }),
              kind(DocumentErrorKind::DiskFull));
    EXPECT_EQ(test::readBytes(small / "Resultaat.res"), "first line\r\n");
    EXPECT_EQ(test::readBytes(small / "test.rug"), "old");
    EXPECT_EQ(std::distance(fs::directory_iterator(small), fs::directory_iterator()), 2);
}

TEST_F(FileIo, StaleTemporariesOfEndedProcessesAreRemoved) {
    const pid_t ended = ::fork();
    if (ended == 0) {
        ::_exit(0);
    }
    ::waitpid(ended, nullptr, 0);
    const std::string dead = std::to_string(ended);
    const std::string self = std::to_string(::getpid());
    const std::pair<std::string, bool> rows[] = {
        {".tikmeter-" + dead + "-1f.tmp", true},
        {".tikmeter-" + self + "-2.tmp", false},
        {".tikmeter-1-3.tmp", false},
        {".tikmeter-" + dead + "-4.txt", false},
        {"tikmeter-" + dead + "-5.tmp", false},
        {".tikmeter-" + dead + ".tmp", false},
        {".tikmeter-" + dead + "x-6.tmp", false},
        {".tikmeter-" + dead + "-7.tmp", true},
    };
    for (const auto& [name, stale] : rows) {
        test::writeBytes(at(name), "partial");
    }
    fs::create_directory(at(".tikmeter-" + dead + "-8.tmp")); // not a file of ours
    EXPECT_EQ(removeStaleTemporaryFiles(folder_), 2u);
    for (const auto& [name, stale] : rows) {
        EXPECT_NE(fs::exists(at(name)), stale) << name;
    }
    EXPECT_EQ(removeStaleTemporaryFiles(at("missing")), 0u);
}

TEST_F(FileIo, SameFileThroughLinksAndSpellings) {
    const fs::path file = at("a.rtf");
    test::writeBytes(file, "original");
    test::writeBytes(at("b.rtf"), "other");
    fs::create_directory(at("sub"));
    fs::create_symlink(file, at("link.rtf"));
    fs::create_hard_link(file, at("hard.rtf"));
    const std::pair<fs::path, bool> rows[] = {
        {file, true},           {at("link.rtf"), true}, {at("sub/../a.rtf"), true},
        {at("hard.rtf"), true}, {at("b.rtf"), false},   {at("missing.rtf"), false},
    };
    for (const auto& [other, same] : rows) {
        EXPECT_EQ(sameFile(file, other), same) << other;
        EXPECT_EQ(sameFile(other, file), same) << other;
    }
    EXPECT_FALSE(sameFile(at("missing.rtf"), at("missing.rtf")));
    // A copy onto the file itself does nothing: the link stays a link.
    copyFileAtomically(file, at("link.rtf"));
    EXPECT_TRUE(fs::is_symlink(at("link.rtf")));
    copyFileAtomically(file, at("b.rtf"));
    EXPECT_EQ(test::readBytes(at("b.rtf")), "original");
    EXPECT_EQ(test::readBytes(file), "original");
}

} // namespace
} // namespace tikmeter::documents
