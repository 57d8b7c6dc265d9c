// Whole marking sessions over real test files, through the headless window.
#include "SessionTestSupport.h"

#include "documents/Document.h"
#include "engine/MarkingSession.h"
#include "documents/PathText.h"
#include "engine/SourceDocuments.h"
#include "engine/TestState.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <fstream>
#include <map>

namespace tikmeter::engine::testing {
namespace {

using documents::Document;
using documents::fromPath;
using documents::kRed;
using documents::kWhite;

const std::u16string kDoneTitle = u"Done";
const std::string kAccessMessage =
    "Edu Tikmeter does not have access to certain documents. Maybe Eng/Afr source document "
    "is empty, or speed test is not a valid file.";

// A program folder with both sources picked, and a class folder to mark from.
class SessionTest : public ::testing::Test {
protected:
    SessionTest() : window(program.text()) {
        pickSources(window);
        window.messages.clear();
    }

    // Copies corpus files into a class folder outside the program folder and lists them.
    fs::path listClass(const std::string& className, const std::vector<std::string>& files) {
        const fs::path folder = classes.path() / className;
        fs::create_directories(folder);
        std::vector<std::u16string> entries;
        for (const std::string& file : files) {
            const fs::path target = folder / fs::path(file).filename();
            fs::copy_file(dataPath(file), target, fs::copy_options::overwrite_existing);
            entries.push_back(fromPath(target));
        }
        window.setTestList(entries);
        return folder;
    }

    std::vector<std::string> logLines() const {
        std::vector<std::string> lines;
        const std::string log = u8(const_cast<ScriptedWindow&>(window).richTextBox3().text());
        std::size_t from = 0;
        for (std::size_t at = log.find("\r\n"); at != std::string::npos;
             at = log.find("\r\n", from)) {
            lines.push_back(log.substr(from, at - from));
            from = at + 2;
        }
        return lines;
    }

    fs::path dest(const std::string& name) const { return program.path() / name; }

    TempFolder program;
    TempFolder classes;
    ScriptedWindow window;
};

std::vector<nlohmann::json> expectedMarks(const std::string& setting) {
    std::vector<nlohmann::json> rows;
    std::ifstream in(dataPath("expected-marks.jsonl"));
    for (std::string line; std::getline(in, line);) {
        auto row = nlohmann::json::parse(line);
        if (row["setting"] == setting && row["path"].get<std::string>().starts_with("class-a/")) {
            rows.push_back(row);
        }
    }
    return rows;
}

TEST_F(SessionTest, MarksTheWholeClassWithLogResultLinesAndMarkedTests) {
    std::vector<std::string> files;
    const auto expected = expectedMarks("multiple of 5");
    for (const auto& row : expected) {
        files.push_back(row["path"]);
    }
    const fs::path classFolder = listClass("Class A", files);

    ASSERT_TRUE(runMarkingSession(window));

    const fs::path destFolder = dest("Class A");
    EXPECT_EQ(window.text1(), u"Class A");
    EXPECT_EQ(window.label9(), fromPath(destFolder));
    EXPECT_EQ(window.label3(), u"");
    EXPECT_TRUE(window.viewerVisible());
    EXPECT_TRUE(window.viewerClearVisible());
    EXPECT_EQ(window.progressDone(), files.size());
    EXPECT_EQ(window.progressTotal(), files.size());
    ASSERT_EQ(window.messages.size(), 1u);
    EXPECT_EQ(window.messages[0].title, kDoneTitle);
    EXPECT_EQ(u8(window.messages[0].text),
              "End of this marking session.\rResults have been saved in " + destFolder.string() +
                  "\r");

    const auto log = logLines();
    ASSERT_EQ(log.size(), files.size() + 2);
    EXPECT_EQ(log[0], "               Marking speed tests in Class A");
    EXPECT_EQ(log[1], "");
    const auto results = readLines(destFolder / "Resultaat.res");
    ASSERT_EQ(results.size(), files.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const auto& row = expected[i];
        const std::string name = fs::path(row["path"].get<std::string>()).stem().string();
        SCOPED_TRACE(name);
        EXPECT_EQ(log[i + 2], (classFolder / (name + ".rtf")).string() + "......." +
                                  row["status"].get<std::string>());
        EXPECT_EQ(results[i], (destFolder / name).string() + "   " +
                                  row["finalResultText"].get<std::string>() + " wpm");

        // The marked test loads back with its marks coloured and the report at its end.
        Document marked;
        marked.loadFile(destFolder / (name + ".rug"));
        const std::u16string report = u16(row["reportText"]);
        ASSERT_TRUE(marked.text().ends_with(report));
        const std::size_t reportStart = marked.text().size() - report.size();
        const auto reportFormat = marked.formatAt(reportStart + 3);
        EXPECT_EQ(reportFormat.textColor, kRed);
        EXPECT_EQ(reportFormat.backColor, kWhite);
        EXPECT_EQ(reportFormat.fontName, u"Courier");
        EXPECT_TRUE(reportFormat.bold);
        EXPECT_FALSE(reportFormat.underline);
        for (const auto& mark : row["errorMarks"]) {
            const std::u16string text = u16(mark[0]);
            const std::size_t at = mark[1].get<std::size_t>() - 1;
            // Spacing marks are placeholders, and a stray " ." is marked at its full stop.
            if (text[0] != u'\u2022' && text[0] != u' ') {
                ASSERT_EQ(marked.text().substr(at, 1), text.substr(0, 1));
            }
            const auto format = marked.formatAt(at);
            EXPECT_EQ(format.backColor, kRed) << mark;
            EXPECT_EQ(format.textColor, kWhite) << mark;
            EXPECT_TRUE(format.bold) << mark;
        }
        for (const auto& mark : row["repeatMarks"]) {
            const auto format = marked.formatAt(mark[1].get<std::size_t>() - 1);
            EXPECT_EQ(format.textColor, kRed) << mark;
            EXPECT_TRUE(format.underline) << mark;
        }
    }
}

TEST_F(SessionTest, IntegerSettingWritesIntegerResults) {
    const auto expected = expectedMarks("integer");
    listClass("ints", {expected[0]["path"], expected[1]["path"]});
    window.setResultFormat(ResultFormat::Integer);
    ASSERT_TRUE(runMarkingSession(window));
    const auto results = readLines(dest("ints") / "Resultaat.res");
    ASSERT_EQ(results.size(), 2u);
    EXPECT_TRUE(
        results[0].ends_with("   " + expected[0]["finalResultText"].get<std::string>() + " wpm"));
    EXPECT_TRUE(
        results[1].ends_with("   " + expected[1]["finalResultText"].get<std::string>() + " wpm"));
}

TEST_F(SessionTest, EmptyListStopsBeforeAnythingElseEvenWithoutSource) {
    ScriptedWindow bare(program.text());
    EXPECT_FALSE(runMarkingSession(bare));
    ASSERT_EQ(bare.messages.size(), 1u);
    EXPECT_EQ(bare.messages[0].text, u"No speed tests in the green box...");
    EXPECT_EQ(bare.messages[0].title, u"Error");
    EXPECT_FALSE(bare.viewerVisible());
    EXPECT_EQ(bare.richTextBox3().text(), u"");
}

TEST_F(SessionTest, SourceNeedsFiftyCharacters) {
    listClass("c", {"class-a/a01.rtf"});
    window.richTextBox2().setText(std::u16string(49, u'x'));
    EXPECT_FALSE(runMarkingSession(window));
    ASSERT_EQ(window.messages.size(), 1u);
    EXPECT_EQ(window.messages[0].text, u"Source Document missing, or too small...");
    EXPECT_FALSE(fs::exists(dest("c")));

    window.messages.clear();
    window.richTextBox2().setText(std::u16string(50, u'x'));
    EXPECT_TRUE(runMarkingSession(window));
    EXPECT_EQ(window.messages.back().title, kDoneTitle);
}

TEST_F(SessionTest, LengthLimitsOfTests) {
    const fs::path folder = listClass("edge", {"edge/e49.rtf", "edge/e50.rtf", "edge/e5000.rtf",
                                               "edge/e5001.rtf", "edge/empty.rtf"});
    ASSERT_TRUE(runMarkingSession(window));
    const auto log = logLines();
    ASSERT_EQ(log.size(), 7u);
    EXPECT_EQ(log[2], (folder / "e49.rtf").string() + ".......too short or empty");
    EXPECT_TRUE(log[3].starts_with((folder / "e50.rtf").string() + ".......Successful") ||
                log[3].starts_with((folder / "e50.rtf").string() + ".......Result may"));
    EXPECT_TRUE(
        log[4].starts_with((folder / "e5000.rtf").string() + ".......Result may not be reliable"));
    EXPECT_EQ(log[5], (folder / "e5001.rtf").string() + ".......too long or corrupt");
    EXPECT_EQ(log[6], (folder / "empty.rtf").string() + ".......too short or empty");

    const auto results = readLines(dest("edge") / "Resultaat.res");
    ASSERT_EQ(results.size(), 5u);
    EXPECT_EQ(results[0], (folder / "e49.rug").string() + "  0  wpm");
    EXPECT_TRUE(results[1].starts_with((dest("edge") / "e50").string() + "   "));
    EXPECT_EQ(results[3], (folder / "e5001.rug").string() + "  0  wpm");
    EXPECT_EQ(results[4], (folder / "empty.rug").string() + "  0  wpm");
    EXPECT_FALSE(fs::exists(dest("edge") / "e49.rug"));
    EXPECT_TRUE(fs::exists(dest("edge") / "e5000.rug"));
    EXPECT_EQ(window.messages.back().title, kDoneTitle);
}

TEST_F(SessionTest, AllTestsTooShortStillEndsWithDone) {
    listClass("short", {"edge/e49.rtf", "edge/empty.rtf"});
    ASSERT_TRUE(runMarkingSession(window));
    EXPECT_EQ(readLines(dest("short") / "Resultaat.res").size(), 2u);
    EXPECT_EQ(window.messages.back().title, kDoneTitle);
}

TEST_F(SessionTest, ExistingFolderIsReusedOnEnterAndMarkingTwiceAppends) {
    listClass("twice", {"class-a/a01.rtf", "class-a/a02.rtf"});
    ASSERT_TRUE(runMarkingSession(window));
    EXPECT_TRUE(window.questions.empty());
    fs::last_write_time(dest("twice") / "a01.rug", fs::file_time_type{});

    window.setText1(u"typed by the teacher");
    ASSERT_TRUE(runMarkingSession(window));
    ASSERT_EQ(window.questions.size(), 1u);
    EXPECT_EQ(window.questions[0].prompt, u"Type new foldername or click Enter to proceed ");
    EXPECT_EQ(window.questions[0].title, u"Folder already exists");
    EXPECT_EQ(window.questions[0].defaultAnswer, u"twice");
    const auto results = readLines(dest("twice") / "Resultaat.res");
    ASSERT_EQ(results.size(), 4u);
    EXPECT_EQ(results[0], results[2]);
    EXPECT_EQ(results[1], results[3]);
    EXPECT_NE(fs::last_write_time(dest("twice") / "a01.rug"), fs::file_time_type{});
}

TEST_F(SessionTest, AnotherNameForAnExistingFolder) {
    listClass("named", {"class-a/a01.rtf"});
    fs::create_directory(dest("named"));
    window.answers.push_back(u"Second try");
    ASSERT_TRUE(runMarkingSession(window));
    EXPECT_EQ(window.text1(), u"Second try");
    EXPECT_EQ(window.label9(), fromPath(dest("Second try")));
    EXPECT_TRUE(fs::exists(dest("Second try") / "a01.rug"));
    EXPECT_FALSE(fs::exists(dest("named") / "a01.rug"));
}

TEST_F(SessionTest, CancelledFolderQuestionEndsTheSession) {
    listClass("cancel", {"class-a/a01.rtf"});
    fs::create_directory(dest("cancel"));
    window.answers.push_back(u"");
    EXPECT_FALSE(runMarkingSession(window));
    EXPECT_TRUE(window.viewerVisible());
    EXPECT_TRUE(window.viewerClearVisible());
    EXPECT_TRUE(window.messages.empty());
    EXPECT_EQ(window.richTextBox3().text(), u"");
    EXPECT_TRUE(fs::is_empty(dest("cancel")));
}

TEST_F(SessionTest, TestInTheDestinationFolderIsNotCopiedOntoItself) {
    fs::create_directory(dest("own"));
    fs::copy_file(dataPath("class-a/a03.rtf"), dest("own") / "a03.rtf");
    const std::string before = readBytes(dest("own") / "a03.rtf");
    window.setTestList({fromPath(dest("own") / "a03.rtf")});
    ASSERT_TRUE(runMarkingSession(window));
    EXPECT_EQ(readBytes(dest("own") / "a03.rtf"), before);
    EXPECT_TRUE(fs::exists(dest("own") / "a03.rug"));
}

TEST_F(SessionTest, SameFileNameFromTwoFoldersGetsTwoCopies) {
    const fs::path first = classes / "one";
    const fs::path second = classes / "two";
    fs::create_directories(first);
    fs::create_directories(second);
    fs::copy_file(dataPath("class-a/a01.rtf"), first / "jan.rtf");
    fs::copy_file(dataPath("class-a/a05.rtf"), second / "jan.rtf");
    window.setTestList({fromPath(first / "jan.rtf"), fromPath(second / "jan.rtf")});
    ASSERT_TRUE(runMarkingSession(window));

    EXPECT_EQ(readBytes(dest("one") / "jan.rtf"), readBytes(first / "jan.rtf"));
    EXPECT_EQ(readBytes(dest("one") / "jan (2).rtf"), readBytes(second / "jan.rtf"));
    const auto results = readLines(dest("one") / "Resultaat.res");
    ASSERT_EQ(results.size(), 2u);
    EXPECT_TRUE(results[0].starts_with((dest("one") / "jan").string() + "   "));
    EXPECT_TRUE(results[1].starts_with((dest("one") / "jan (2)").string() + "   "));
    // Each marked test holds its own student's text.
    Document firstMarked, secondMarked, secondTyped;
    firstMarked.loadFile(dest("one") / "jan.rug");
    secondMarked.loadFile(dest("one") / "jan (2).rug");
    secondTyped.loadFile(second / "jan.rtf");
    EXPECT_NE(firstMarked.text(), secondMarked.text());
    EXPECT_TRUE(secondMarked.text().starts_with(secondTyped.text().substr(0, 40)));
}

TEST_F(SessionTest, ClosedWindowStopsAfterTheTestInHand) {
    listClass("closing", {"class-a/a01.rtf", "class-a/a02.rtf", "class-a/a03.rtf"});
    window.stopAfter = 1;
    EXPECT_FALSE(runMarkingSession(window));
    EXPECT_TRUE(window.messages.empty());
    EXPECT_EQ(readLines(dest("closing") / "Resultaat.res").size(), 1u);
    EXPECT_TRUE(fs::exists(dest("closing") / "a01.rug"));
    EXPECT_FALSE(fs::exists(dest("closing") / "a02.rug"));
}

TEST_F(SessionTest, ReadOnlyDestinationEndsWithPermissionDenied) {
    listClass("locked", {"class-a/a01.rtf"});
    fs::create_directory(dest("locked"));
    ReadOnlyFolder locked(dest("locked"));
    if (!locked.effective()) {
        GTEST_SKIP() << "the folder cannot be locked for the superuser here";
    }
    EXPECT_FALSE(runMarkingSession(window));
    ASSERT_EQ(window.messages.size(), 1u);
    EXPECT_EQ(window.messages[0].text, u"Permission denied. Try another location.");
    EXPECT_EQ(window.messages[0].title, u"Error");
    EXPECT_TRUE(window.state().writeFailure);
    EXPECT_TRUE(window.viewerClearVisible());
}

TEST_F(SessionTest, FailedWriteKeepsTheEarlierMarkedTestAndResultFile) {
    listClass("keep", {"class-a/a01.rtf"});
    ASSERT_TRUE(runMarkingSession(window));
    const std::string rug = readBytes(dest("keep") / "a01.rug");
    const std::string results = readBytes(dest("keep") / "Resultaat.res");
    {
        ReadOnlyFolder locked(dest("keep"));
        if (!locked.effective()) {
            GTEST_SKIP() << "the folder cannot be locked for the superuser here";
        }
        EXPECT_FALSE(runMarkingSession(window));
    }
    EXPECT_EQ(readBytes(dest("keep") / "a01.rug"), rug);
    EXPECT_EQ(readBytes(dest("keep") / "Resultaat.res"), results);
    EXPECT_EQ(fs::directory_iterator(dest("keep")) == fs::directory_iterator(), false);
    for (const auto& item : fs::directory_iterator(dest("keep"))) {
        const std::string name = item.path().filename().string();
        EXPECT_TRUE(name == "a01.rtf" || name == "a01.rug" || name == "Resultaat.res") << name;
    }
}

TEST_F(SessionTest, WriteFailureOfOneSessionDoesNotSilenceTheNext) {
    listClass("flag", {"class-a/a01.rtf"});
    window.state().writeFailure = true;
    ASSERT_TRUE(runMarkingSession(window));
    EXPECT_EQ(readLines(dest("flag") / "Resultaat.res").size(), 1u);
}

TEST_F(SessionTest, MissingTestFileIsAnAccessFailure) {
    const fs::path folder = listClass("gone", {"class-a/a01.rtf", "class-a/a02.rtf"});
    fs::remove(folder / "a02.rtf");
    EXPECT_FALSE(runMarkingSession(window));
    ASSERT_EQ(window.messages.size(), 1u);
    EXPECT_EQ(u8(window.messages[0].text), kAccessMessage);
    // The copy step stopped at the missing test; it is reported with the failure.
    ASSERT_EQ(window.outcomes.size(), 1u);
    EXPECT_EQ(window.outcomes[0].entry, fromPath(folder / "a02.rtf"));
    EXPECT_EQ(u8(window.outcomes[0].status), kAccessMessage);
    EXPECT_TRUE(window.outcomes[0].markedPath.empty());
    EXPECT_TRUE(window.state().writeFailure);
    EXPECT_TRUE(window.viewerClearVisible());
}

TEST_F(SessionTest, UnreadableTestIsAnAccessFailureAndReloadFailsQuietly) {
    listClass("garbage", {"bad/random-binary.rtf"});
    EXPECT_FALSE(runMarkingSession(window));
    ASSERT_EQ(window.messages.size(), 1u);
    EXPECT_EQ(u8(window.messages[0].text), kAccessMessage);
    EXPECT_TRUE(window.state().writeFailure);
}

TEST_F(SessionTest, UnreadableSourceIsAnAccessFailure) {
    listClass("src", {"class-a/a01.rtf"});
    const fs::path junk = program / "junk.rtf";
    fs::copy_file(dataPath("bad/random-binary.rtf"), junk);
    window.setSourcePath(Language::English, fromPath(junk));
    EXPECT_FALSE(runMarkingSession(window));
    ASSERT_EQ(window.messages.size(), 1u);
    EXPECT_EQ(u8(window.messages[0].text), kAccessMessage);
    // The trap reloads the test that was being marked.
    EXPECT_GT(window.richTextBox1().text().size(), 50u);
    EXPECT_EQ(window.richTextBox1().selStart(), 1u);
    EXPECT_FALSE(fs::exists(dest("src") / "a01.rug"));
}

TEST_F(SessionTest, SourceNeverPickedIsAnAccessFailure) {
    ScriptedWindow onlyAfrikaans(program.text());
    MaakBronOop(onlyAfrikaans, Language::Afrikaans,
                fromPath(dataPath("sources/af1-libreoffice.rtf")));
    listClass("english", {"class-a/a01.rtf"});
    onlyAfrikaans.setTestList(window.testList());
    EXPECT_FALSE(runMarkingSession(onlyAfrikaans));
    ASSERT_EQ(onlyAfrikaans.messages.size(), 1u);
    EXPECT_EQ(u8(onlyAfrikaans.messages[0].text), kAccessMessage);
}

TEST_F(SessionTest, CounterOverflowEndsTheSessionWithTheTestNamed) {
    // A source so long that the end of the test lies past position 32767: the compared
    // length no longer fits its 16-bit counter.
    Document typed;
    typed.loadFile(dataPath("class-a/a01.rtf"));
    Document longSource;
    longSource.setText(std::u16string(33000, u'x') + typed.text());
    const fs::path sourceFile = program / "long.rtf";
    longSource.saveFile(sourceFile);
    window.setSourcePath(Language::English, fromPath(sourceFile));
    listClass("overflow", {"class-a/a01.rtf"});

    EXPECT_FALSE(runMarkingSession(window));
    ASSERT_EQ(window.messages.size(), 1u);
    EXPECT_EQ(window.messages[0].text, u"Overflow error. " +
                                           fromPath(dest("overflow") / "a01.rtf") +
                                           u" may be too large. This session will terminate.");
    EXPECT_FALSE(window.state().writeFailure);
    EXPECT_EQ(window.label3(), fromPath(dest("overflow") / "a01.rtf"));
}

TEST_F(SessionTest, WriteProtectedMediumEndsTheSession) {
    TempFolder medium;
    fs::create_directory(medium / "class");
    fs::copy_file(dataPath("class-a/a01.rtf"), medium / "class" / "a01.rtf");
    WriteProtectedMount mount(medium.path(), program / "ro");
    if (!mount.available()) {
        GTEST_SKIP() << "a read-only mount needs the superuser";
    }
    // The program folder's destination lies on the read-only medium.
    ScriptedWindow onMedium(fromPath(program / "ro"));
    useSourcesInPlace(onMedium);
    onMedium.setTestList({fromPath(program / "ro" / "class" / "a01.rtf")});
    EXPECT_FALSE(runMarkingSession(onMedium));
    ASSERT_EQ(onMedium.messages.size(), 1u);
    EXPECT_EQ(onMedium.messages[0].text,
              u"Edu Tikmeter does not have access to write-protected disk. Please save speed "
              u"tests on an accessible disk.");
    EXPECT_TRUE(onMedium.state().writeFailure);
}

} // namespace
} // namespace tikmeter::engine::testing
