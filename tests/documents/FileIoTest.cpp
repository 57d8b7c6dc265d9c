// Loading, saving and the file primitives: regular files only, nothing waits, a size limit, atomic
// writes that never follow links, whole appends, typed failures.
#include "documents/FileIo.h"
#include "TestSupport.h"
#include "documents/DocumentError.h"

#include <cerrno>
#include <climits>
#include <csignal>
#include <functional>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace tikmeter::documents {
namespace {

namespace fs = std::filesystem;
using Kind = DocumentErrorKind;
using Call = std::function<void()>;
constexpr int kReturned = 100;

// How a call ends in a child process killed after five seconds: the kind of the DocumentError
// thrown, kReturned, or -1 when it hung or crashed. With a size limit, writes past it stop short
// and the next one fails (EFBIG). As superuser the child runs as "nobody", so that file
// permissions count.
int outcome(const Call& call, rlim_t sizeLimit = RLIM_INFINITY) {
    const pid_t child = ::fork();
    if (child == 0) {
        ::alarm(5);
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{sizeLimit, sizeLimit};
        if (::setrlimit(RLIMIT_FSIZE, &limit) != 0 ||
            (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0))) {
            ::_exit(kReturned + 1);
        }
        try {
            call();
        } catch (const DocumentError& error) {
            ::_exit(static_cast<int>(error.kind()));
        }
        ::_exit(kReturned);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

const auto loading = [](fs::path path) -> Call { return [path] { Document().loadFile(path); }; };
const auto saving = [](fs::path path) -> Call { return [path] { Document().saveFile(path); }; };
const auto reading = [](fs::path path) -> Call { return [path] { readWholeFile(path); }; };
const auto copying = [](fs::path from, fs::path to) -> Call {
    return [from, to] { copyFileAtomically(from, to); };
};
const auto appending = [](fs::path path, std::string bytes = "x") -> Call {
    return [path, bytes] { appendWhole(path, bytes); };
};

class Files : public ::testing::Test {
protected:
    fs::path at(const std::string& name) const { return folder / name; }
    // The folder's entries: links as "-> target", big files by size, files by content.
    std::map<std::string, std::string> contents() const {
        std::map<std::string, std::string> found;
        for (const auto& entry : fs::directory_iterator(folder.path())) {
            found[entry.path().filename().string()] =
                entry.is_symlink()          ? "-> " + fs::read_symlink(entry).string()
                : !entry.is_regular_file()  ? "(other)"
                : entry.file_size() > 65536 ? std::to_string(entry.file_size()) + " bytes"
                                            : test::readBytes(entry);
        }
        return found;
    }
    test::TempFolder folder;
};

// Every call of the table on one folder, and what the folder holds afterwards.
TEST_F(Files, CallsOfTheTableAndWhatTheyLeave) {
    const std::string longName = std::string(NAME_MAX - 4, 'n') + ".rug";
    const std::map<std::string, std::string> files = {
        {"file.rtf", "{\\rtf1 text}"},         {"Resultaat.res", "first line\r\n"},
        {"bin.rtf", "{\\rtf1 x\\bin1000 }"},   {"locked.rtf", "old"},
        {"secret.rtf", "{\\rtf1 x}"},          {"latin1-\xE9.rtf", "{\\rtf1 x}"},
        {"old.rtf", std::string(100000, 'x')}, {longName, "old"}};
    for (const auto& [name, bytes] : files) {
        test::writeBytes(at(name), bytes);
    }
    const fs::path pipe = at("pipe.rtf"), file = at("file.rtf"), result = at("Resultaat.res");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0666), 0);
    for (const auto& [link, target] : {std::pair{"link.res", "file.rtf"},
                                       {"link.rug", "file.rtf"},
                                       {"same.rtf", "file.rtf"},
                                       {"dangling.rug", "made.rug"}}) {
        fs::create_symlink(target, at(link));
    }
    fs::create_directory(at("locked"));
    test::writeBytes(at("limit.rtf"), "");
    fs::resize_file(at("limit.rtf"), kMaxFileSize); // sparse: no disk space used
    test::writeBytes(at("over.rtf"), "");
    fs::resize_file(at("over.rtf"), kMaxFileSize + 1);
    for (const auto& [name, mode] : {std::pair{"locked.rtf", 0444},
                                     {"secret.rtf", 0},
                                     {"locked", 0500},
                                     {longName.c_str(), 0600}}) {
        fs::permissions(at(name), fs::perms(mode));
    }
    fs::permissions(folder.path(), fs::perms::all);
    for (const auto& entry : fs::directory_iterator(folder.path())) {
        if (::geteuid() == 0) { // the files of "nobody", who runs the calls
            ASSERT_EQ(::lchown(entry.path().c_str(), 65534, 65534), 0);
        }
    }
    const int notRegular = int(Kind::NotRegularFile);
    const struct {
        const char* what;
        Call call;
        int expected;
        rlim_t sizeLimit = RLIM_INFINITY;
    } rows[] = {
        // Pipes, devices and folders are never opened to wait on; links are not appended to.
        {"load a pipe", loading(pipe), notRegular},
        {"read a device", reading("/dev/zero"), notRegular},
        {"read a folder", reading(folder.path()), notRegular},
        {"copy from a pipe", copying(pipe, at("c")), notRegular},
        {"copy onto a pipe", copying(file, pipe), notRegular},
        {"save onto a pipe", saving(pipe), notRegular},
        {"save onto a folder", saving(at("locked")), notRegular},
        {"append to a pipe", appending(pipe), notRegular},
        {"append to a device", appending("/dev/null"), notRegular},
        {"append to a folder", appending(folder.path()), notRegular},
        {"append through a link", appending(at("link.res")), notRegular},
        // 64 MiB are read, a byte more is refused.
        {"read at the limit", reading(at("limit.rtf")), kReturned},
        {"read over the limit", reading(at("over.rtf")), int(Kind::TooLarge)},
        {"load over the limit", loading(at("over.rtf")), int(Kind::TooLarge)},
        {"copy over the limit", copying(at("over.rtf"), at("c")), int(Kind::TooLarge)},
        {"load a missing file", loading(at("missing.rtf")), int(Kind::NotFound)},
        {"load from a file as folder", loading(file / "x.rtf"), int(Kind::NotFound)},
        {"save in a missing folder", saving(at("no/such.rtf")), int(Kind::NotFound)},
        {"load unreadable content", loading(at("bin.rtf")), int(Kind::Unreadable)},
        {"load a name not in UTF-8 from its text", loading(toPath(fromPath(at("latin1-\xE9.rtf")))),
         kReturned},
        {"save over a read-only file", saving(at("locked.rtf")), int(Kind::PermissionDenied)},
        {"load a file without rights", loading(at("secret.rtf")), int(Kind::PermissionDenied)},
        {"save in a read-only folder", saving(at("locked/new.rtf")), int(Kind::PermissionDenied)},
        // Writes that fail part way (after 20 or 8 bytes) are taken back whole.
        {"append past the limit", appending(result, std::string(40, 'x')), int(Kind::Other), 20},
        {"copy past the limit", copying(result, file), int(Kind::Other), 8},
        {"append within the limit", appending(result, "second\r\n"), kReturned, 20},
        // Saves replace whole files (keeping their permissions) and links, never following them.
        {"save a new file", saving(at("new.rtf")), kReturned},
        {"save over a bigger file", saving(at("old.rtf")), kReturned},
        {"save the longest name", saving(at(longName)), kReturned},
        {"save over a link", saving(at("link.rug")), kReturned},
        {"copy over a dangling link", copying(at("new.rtf"), at("dangling.rug")), kReturned},
        {"copy onto the same file", copying(file, at("same.rtf")), kReturned},
        {"append to a new file", appending(at("made.res"), "one\r\n"), kReturned},
        {"append again", appending(at("made.res"), "two\r\n"), kReturned},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(outcome(row.call, row.sizeLimit), row.expected) << row.what;
    }
    // Nothing else changed, and no temporary file is left.
    const std::string saved = Document().rtf();
    std::map<std::string, std::string> expected = files;
    expected["Resultaat.res"] += "second\r\n";
    expected.insert({{"pipe.rtf", "(other)"},
                     {"locked", "(other)"},
                     {"link.res", "-> file.rtf"},
                     {"same.rtf", "-> file.rtf"},
                     {"made.res", "one\r\ntwo\r\n"},
                     {"limit.rtf", std::to_string(kMaxFileSize) + " bytes"},
                     {"over.rtf", std::to_string(kMaxFileSize + 1) + " bytes"}});
    for (const std::string& name : {std::string("new.rtf"), std::string("old.rtf"), longName,
                                    std::string("link.rug"), std::string("dangling.rug")}) {
        expected[name] = saved;
    }
    fs::permissions(at("secret.rtf"), fs::perms::owner_read);
    EXPECT_TRUE(contents() == expected);
    EXPECT_EQ(fs::status(at(longName)).permissions(), fs::perms(0600));
    // The same file through a link and another spelling; two files; no file.
    EXPECT_TRUE(sameFile(at("same.rtf"), folder.path() / "." / "file.rtf"));
    EXPECT_FALSE(sameFile(at("new.rtf"), at("old.rtf")) || sameFile(at("none"), at("none")));
}

// Removed by a user who may not signal every running process (as "nobody"): running processes
// of other users keep their temporary files too.
TEST_F(Files, StaleTemporariesOfEndedProcessesAreRemoved) {
    const pid_t ended = ::fork();
    if (ended == 0) {
        ::_exit(0);
    }
    ::waitpid(ended, nullptr, 0);
    const std::string dead = ".tikmeter-" + std::to_string(ended);
    const std::string self = ".tikmeter-" + std::to_string(::getpid());
    for (const std::string& name :
         {dead + "-1f.tmp", dead + "-7.tmp", self + "-2.tmp", std::string(".tikmeter-1-3.tmp"),
          dead + "-4.txt", dead.substr(1) + "-5.tmp", dead + ".tmp", dead + "x-6.tmp"}) {
        test::writeBytes(at(name), "partial");
    }
    fs::create_directory(at(dead + "-8.tmp")); // not a file of ours
    fs::permissions(folder.path(), fs::perms::all);
    EXPECT_EQ(outcome([&] { ::_exit(static_cast<int>(removeStaleTemporaryFiles(folder.path()))); },
                      RLIM_INFINITY),
              2);
    EXPECT_FALSE(fs::exists(at(dead + "-1f.tmp")) || fs::exists(at(dead + "-7.tmp")));
    EXPECT_EQ(contents().size(), 7u);
    EXPECT_EQ(removeStaleTemporaryFiles(at("missing")), 0u);
}

} // namespace
} // namespace tikmeter::documents
