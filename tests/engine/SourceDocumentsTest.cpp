// Picking the source documents: copies into the program folder, the row labels, failures.
#include "SessionTestSupport.h"

#include "engine/SourceDocuments.h"

#include <gtest/gtest.h>

namespace tikmeter::engine::testing {
namespace {

using documents::fromPath;

class SourceRows : public ::testing::Test {
protected:
    SourceRows() : window(program.text()) {}
    TempFolder program;
    TempFolder elsewhere;
    ScriptedWindow window;
};

TEST_F(SourceRows, PickCopiesIntoTheProgramFolderAndLoadsTheCopy) {
    const fs::path picked = elsewhere / "english.rtf";
    fs::copy_file(dataPath("sources/en1-pandoc.rtf"), picked);
    MaakBronOop(window, Language::English, fromPath(picked));

    const fs::path copy = program / "english.rtf";
    EXPECT_EQ(readBytes(copy), readBytes(picked));
    EXPECT_EQ(window.sourcePath(Language::English), fromPath(copy));
    EXPECT_EQ(window.sourcePath(Language::Afrikaans), u"(Empty)");
    EXPECT_EQ(window.state().currentFilePath, fromPath(copy));
    EXPECT_EQ(window.state().stoorlegger, fromPath(copy));
    EXPECT_TRUE(window.richTextBox2().text().starts_with(u"Our School Garden"));
    EXPECT_TRUE(window.messages.empty());
}

TEST_F(SourceRows, LaterPickReplacesTheDocumentButNotTheOtherRow) {
    MaakBronOop(window, Language::Afrikaans, fromPath(dataPath("sources/af1-pandoc.rtf")));
    const std::u16string afrikaansLabel = window.sourcePath(Language::Afrikaans);
    MaakBronOop(window, Language::English, fromPath(dataPath("sources/en1-pandoc.rtf")));
    EXPECT_EQ(window.sourcePath(Language::Afrikaans), afrikaansLabel);
    EXPECT_TRUE(window.richTextBox2().text().starts_with(u"Our School Garden"));
}

TEST_F(SourceRows, CancelEmptiesTheRowAndTheDocument) {
    MaakBronOop(window, Language::English, fromPath(dataPath("sources/en1-pandoc.rtf")));
    MaakBronOop(window, Language::English, u"");
    EXPECT_EQ(window.sourcePath(Language::English), u"");
    EXPECT_EQ(window.richTextBox2().text(), u"");
    EXPECT_EQ(window.state().currentFilePath, u"");
}

TEST_F(SourceRows, PickingTheCopyItselfLeavesItIntact) {
    const fs::path copy = program / "english.rtf";
    fs::copy_file(dataPath("sources/en1-pandoc.rtf"), copy);
    const std::string before = readBytes(copy);
    MaakBronOop(window, Language::English, fromPath(copy));
    EXPECT_EQ(readBytes(copy), before);
    EXPECT_EQ(window.sourcePath(Language::English), fromPath(copy));
    EXPECT_TRUE(window.richTextBox2().text().starts_with(u"Our School Garden"));
}

TEST_F(SourceRows, ProgramFolderWithoutWriteAccessShowsTheMessage) {
    const fs::path picked = dataPath("sources/en1-pandoc.rtf");
    ReadOnlyFolder locked(program.path());
    if (!locked.effective()) {
        GTEST_SKIP() << "the folder cannot be locked for the superuser here";
    }
    MaakBronOop(window, Language::English, fromPath(picked));
    ASSERT_EQ(window.messages.size(), 1u);
    EXPECT_EQ(window.messages[0].text, u"Please save current file on an accessible disk.");
    EXPECT_EQ(window.messages[0].title, u"Error");
    EXPECT_TRUE(window.state().writeFailure);
    EXPECT_EQ(window.sourcePath(Language::English), fromPath(picked));
    EXPECT_EQ(window.richTextBox2().text(), u"");
}

TEST_F(SourceRows, UnreadableFileLeavesAnEmptySourceButNamesIt) {
    const fs::path picked = elsewhere / "junk.rtf";
    fs::copy_file(dataPath("bad/random-binary.rtf"), picked);
    MaakBronOop(window, Language::Afrikaans, fromPath(picked));
    EXPECT_TRUE(window.messages.empty());
    EXPECT_EQ(window.richTextBox2().text(), u"");
    EXPECT_EQ(window.sourcePath(Language::Afrikaans), fromPath(program / "junk.rtf"));
}

TEST_F(SourceRows, MissingFileIsAnAccessFailure) {
    const fs::path picked = elsewhere / "nothing.rtf";
    MaakBronOop(window, Language::Afrikaans, fromPath(picked));
    ASSERT_EQ(window.messages.size(), 1u);
    EXPECT_TRUE(window.state().writeFailure);
    EXPECT_EQ(window.sourcePath(Language::Afrikaans), fromPath(picked));
}

} // namespace
} // namespace tikmeter::engine::testing
