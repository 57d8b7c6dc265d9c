// Sessions on machines that misbehave: symbolic links, pipes, full disks, huge files,
// hostile names. Grouped by what they protect: originals, results, paths, inputs.
#include "SessionTestSupport.h"

#include "documents/Document.h"
#include "engine/MarkingSession.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace tikmeter::engine::testing {
namespace {

using Hardening = SessionTest;

// Originals: a student's file already in the destination, reached through a symbolic link
// to the program folder, is recognised as there and never copied over; the test of the same
// name gets a numbered copy, marked from that copy.
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
    EXPECT_TRUE(readLines(program / "real/c/Resultaat.res")
                    .at(0)
                    .starts_with((program / "link/c/a01 (2)   ").string()));
    documents::Document marked, typed;
    marked.loadFile(program / "real/c/a01 (2).rug");
    typed.loadFile(classes / "c/a01.rtf");
    EXPECT_TRUE(marked.text().starts_with(typed.text().substr(0, 40)));
}

// Results and originals: a symbolic link planted under a copy's name or as the result file
// is replaced or refused, never followed; a pipe as the result file does not hang.
// Temporary files of a killed session are removed at the next start.
TEST_F(Hardening, PlantedLinksAndPipesAreNeverFollowed) {
    TempFolder outside;
    writeBytes(outside / "victim", "keep");
    fs::create_directories(program / "c");
    fs::create_symlink(outside / "victim", program / "c/a01.rtf");
    writeBytes(program / "c/.tikmeter-999999999-1.tmp", "half");
    observer.answers = {u"c"};
    EXPECT_EQ(run({classTest("a01.rtf")}).end, SessionEnd::Completed);
    EXPECT_EQ(readBytes(outside / "victim"), "keep");
    EXPECT_FALSE(fs::is_symlink(program / "c/a01.rtf"));
    EXPECT_FALSE(fs::exists(program / "c/.tikmeter-999999999-1.tmp"));

    for (const bool pipe : {false, true}) {
        fs::remove(program / "c/Resultaat.res");
        pipe ? static_cast<void>(::mkfifo((program / "c/Resultaat.res").c_str(), 0600))
             : fs::create_symlink(outside / "victim", program / "c/Resultaat.res");
        observer.answers = {u"c"};
        EXPECT_EQ(run({classTest("a01.rtf")}).end, SessionEnd::Trapped);
        EXPECT_EQ(readBytes(outside / "victim"), "keep");
    }
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
    EXPECT_EQ(run({classTest("a01.rtf")}).end, SessionEnd::Completed);
    ASSERT_EQ(observer.questions.size(), 2u);
    EXPECT_NE(observer.questions[1].problem.find(u"../escaped"), std::u16string::npos);
    EXPECT_FALSE(fs::exists(program.path().parent_path() / "escaped"));
}

// Inputs: a test over the size limit is logged too long and never leaves its place to the
// test before it; a name that is not UTF-8 is marked all the same; a name cannot forge a
// result line or a log line (control characters become question marks).
TEST_F(Hardening, HugeFilesAndForeignNames) {
    const fs::path huge = classes / "c" / "huge.rtf";
    const fs::path latin = classTest("latin1-\xe9.rtf", "class-a/a02.rtf");
    const fs::path forged = classTest("jan\r\nFAKE STUDENT   100 wpm\x7f.rtf");
    { std::ofstream(huge) << "x"; }
    fs::resize_file(huge, (std::uintmax_t{64} << 20) + 1);
    const SessionSummary summary = run({classTest("a01.rtf"), huge, latin, forged});
    EXPECT_EQ(summary.end, SessionEnd::Completed);
    EXPECT_EQ(observer.log.at(3), huge.string() + ".......too long or corrupt");
    EXPECT_EQ(observer.log.at(5),
              (classes / "c").string() + "/jan??FAKE STUDENT   100 wpm?.rtf.......Successful");
    const auto lines = readLines(program / "c/Resultaat.res");
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[1], (classes / "c/huge.rug").string() + "  0  wpm");
    EXPECT_TRUE(lines[3].starts_with((program / "c/jan??FAKE STUDENT   100 wpm?").string()));
    documents::Document marked, typed;
    marked.loadFile(program / "c/latin1-\xe9.rug");
    typed.loadFile(latin);
    EXPECT_TRUE(marked.text().starts_with(typed.text()));
}

} // namespace
} // namespace tikmeter::engine::testing
