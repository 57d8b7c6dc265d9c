// Sessions on machines that misbehave: symbolic links, pipes, full disks, huge files,
// hostile names. Grouped by what they protect: originals, results, paths, inputs.
#include "SessionTestSupport.h"

#include "documents/Document.h"
#include "engine/MarkingSession.h"

#include <gtest/gtest.h>

#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/statvfs.h>

namespace tikmeter::engine::testing {
namespace {

class Hardening : public ::testing::Test {
protected:
    SessionSummary run(SessionInput input) {
        return runMarkingSession(std::move(input), state, observer);
    }
    fs::path classTest(const std::string& name, const std::string& data = "class-a/a01.rtf") {
        fs::create_directories(classes / "c");
        fs::copy_file(dataPath(data), classes / "c" / name, fs::copy_options::overwrite_existing);
        return classes / "c" / name;
    }
    TempFolder program;
    TempFolder classes;
    ProgramState state;
    RecordingObserver observer;
};

// Originals: a student's file already in the destination, reached through a symbolic link
// to the program folder, is recognised as there and never copied over.
TEST_F(Hardening, OriginalInTheDestinationIsKnownThroughALink) {
    fs::create_directories(program / "real/c");
    fs::create_directory_symlink(program / "real", program / "link");
    fs::copy_file(dataPath("class-a/a05.rtf"), program / "real/c/a01.rtf");
    const std::string original = readBytes(program / "real/c/a01.rtf");
    SessionInput input =
        inputFor(program / "link", {classTest("a01.rtf"), program / "real/c/a01.rtf"});
    EXPECT_EQ(run(std::move(input)).end, SessionEnd::Completed);
    EXPECT_EQ(readBytes(program / "real/c/a01.rtf"), original);
    EXPECT_EQ(readBytes(program / "real/c/a01 (2).rtf"), readBytes(classes / "c/a01.rtf"));
}

// Results and originals: a symbolic link planted under a copy's name or as the result file
// is replaced or refused, never followed; a pipe as the result file does not hang.
TEST_F(Hardening, PlantedLinksAndPipesAreNeverFollowed) {
    TempFolder outside;
    writeBytes(outside / "victim", "keep");
    fs::create_directories(program / "c");
    fs::create_symlink(outside / "victim", program / "c/a01.rtf");
    observer.answers = {u"c"};
    EXPECT_EQ(run(inputFor(program.path(), {classTest("a01.rtf")})).end, SessionEnd::Completed);
    EXPECT_EQ(readBytes(outside / "victim"), "keep");
    EXPECT_FALSE(fs::is_symlink(program / "c/a01.rtf"));

    for (const bool pipe : {false, true}) {
        fs::remove(program / "c/Resultaat.res");
        pipe ? static_cast<void>(::mkfifo((program / "c/Resultaat.res").c_str(), 0600))
             : fs::create_symlink(outside / "victim", program / "c/Resultaat.res");
        observer.answers = {u"c"};
        EXPECT_EQ(run(inputFor(program.path(), {classTest("a01.rtf")})).end, SessionEnd::Trapped);
        EXPECT_EQ(readBytes(outside / "victim"), "keep");
    }
}

// Results: a file name cannot forge a result line or a log line.
TEST_F(Hardening, ControlCharactersInNamesAreQuestionMarks) {
    const fs::path forged = classTest("jan\r\nFAKE STUDENT   100 wpm\x7f.rtf");
    EXPECT_EQ(run(inputFor(program.path(), {forged})).end, SessionEnd::Completed);
    const auto lines = readLines(program / "c/Resultaat.res");
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_TRUE(lines[0].starts_with((program / "c/jan??FAKE STUDENT   100 wpm?").string()))
        << lines[0];
    EXPECT_EQ(observer.log.at(2),
              (classes / "c").string() + "/jan??FAKE STUDENT   100 wpm?.rtf.......Successful");
}

// Results: a full disk ends the session with its own message, naming the file.
TEST_F(Hardening, FullDiskEndsTheSessionNamingTheFile) {
    fs::create_directory(program / "disk");
    if (::geteuid() != 0 ||
        ::mount("tmpfs", (program / "disk").c_str(), "tmpfs", 0, "size=128k") != 0) {
        GTEST_SKIP() << "a small disk needs the superuser";
    }
    SessionInput input = inputFor(program / "disk", {classTest("a01.rtf")});
    // Fill the disk so that the copy still fits but the marked test does not.
    struct statvfs disk {};
    ::statvfs((program / "disk").c_str(), &disk);
    writeBytes(program / "disk/filler", std::string((disk.f_bavail - 1) * disk.f_frsize, 'x'));
    EXPECT_EQ(run(std::move(input)).end, SessionEnd::Trapped);
    EXPECT_EQ(observer.messages.back(), "Error: The disk is full. Edu Tikmeter could not write " +
                                            (program / "disk/c/a01.rug").string());
    EXPECT_TRUE(state.writeFailure);
    ::umount((program / "disk").c_str());
}

// Paths: an answer to the folder question must name a folder inside the program folder.
TEST_F(Hardening, AnswersThatLeaveTheProgramFolderAreRefused) {
    fs::create_directories(program / "Class A");
    TempFolder outside;
    fs::create_directory_symlink(outside.path(), program / "out");
    const std::u16string home = u16(program.path());
    for (const std::u16string answer :
         {u"..", u"../escaped", u".", u"a/../..", u"Class A/.", u"/tmp/abs", u"out", u"out/x"}) {
        EXPECT_FALSE(destinationAnswerProblem(home, answer).empty()) << documents::toUtf8(answer);
    }
    for (const std::u16string answer : {u"Class A", u"Class A/inner", u"new one"}) {
        EXPECT_EQ(destinationAnswerProblem(home, answer), u"") << documents::toUtf8(answer);
    }
    // The session asks again, with the reason, until the answer is sound.
    fs::create_directories(program / "c");
    observer.answers = {u"../escaped", u"c"};
    EXPECT_EQ(run(inputFor(program.path(), {classTest("a01.rtf")})).end, SessionEnd::Completed);
    ASSERT_EQ(observer.questions.size(), 2u);
    EXPECT_NE(observer.questions[1].problem.find(u"../escaped"), std::u16string::npos);
    EXPECT_FALSE(fs::exists(program.path().parent_path() / "escaped"));
}

// Paths: temporary files of a killed session are removed at the next start.
TEST_F(Hardening, LeftoverTemporaryFilesAreRemoved) {
    fs::create_directories(program / "c");
    writeBytes(program / "c/.tikmeter-999999999-1.tmp", "half");
    observer.answers = {u"c"};
    run(inputFor(program.path(), {classTest("a01.rtf")}));
    EXPECT_FALSE(fs::exists(program / "c/.tikmeter-999999999-1.tmp"));
}

// Inputs: a test over the size limit is logged too long and never leaves its place to the
// test before it; a name that is not UTF-8 is marked all the same.
TEST_F(Hardening, HugeFilesAndForeignNames) {
    const fs::path huge = classes / "c" / "huge.rtf";
    const fs::path latin = classTest("latin1-\xe9.rtf", "class-a/a02.rtf");
    { std::ofstream(huge) << "x"; }
    fs::resize_file(huge, (std::uintmax_t{64} << 20) + 1);
    const SessionSummary summary =
        run(inputFor(program.path(), {classTest("a01.rtf"), huge, latin}));
    EXPECT_EQ(summary.end, SessionEnd::Completed);
    EXPECT_EQ(observer.log.at(3), huge.string() + ".......too long or corrupt");
    EXPECT_EQ(readLines(program / "c/Resultaat.res").at(1),
              (classes / "c/huge.rug").string() + "  0  wpm");
    documents::Document marked;
    marked.loadFile(program / "c/latin1-\xe9.rug");
    documents::Document typed;
    typed.loadFile(latin);
    EXPECT_TRUE(marked.text().starts_with(typed.text()));
}

} // namespace
} // namespace tikmeter::engine::testing
