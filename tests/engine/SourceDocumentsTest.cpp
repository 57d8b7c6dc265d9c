// Picking a source document: the copy in the program folder, the row's path, failures.
#include "SessionTestSupport.h"

#include "engine/SourceDocuments.h"

#include <gtest/gtest.h>

namespace tikmeter::engine::testing {
namespace {

TEST(SourcePick, CopiesIntoTheProgramFolderCancelsAndFails) {
    TempFolder program;
    TempFolder elsewhere;
    ProgramState state;
    const auto pick = [&](const fs::path& picked) {
        return openSourceDocument(state, u16(program.path()), picked.empty() ? u"" : u16(picked));
    };
    const fs::path picked = elsewhere / "english.rtf";
    fs::copy_file(dataPath("sources/en1-pandoc.rtf"), picked);
    const OpenedSource opened = pick(picked);
    EXPECT_EQ(readBytes(program / "english.rtf"), readBytes(picked));
    EXPECT_EQ(opened.shownPath, u16(program / "english.rtf"));
    EXPECT_EQ(state.currentFilePath, opened.shownPath);
    EXPECT_EQ(state.copyTarget, opened.shownPath);
    EXPECT_TRUE(opened.document.text().starts_with(u"Our School Garden"));
    EXPECT_FALSE(opened.message);
    // Picking the copy itself leaves it intact.
    EXPECT_TRUE(pick(program / "english.rtf").document.text().starts_with(u"Our School Garden"));
    EXPECT_EQ(readBytes(program / "english.rtf"), readBytes(picked));

    // Cancel empties the row and the document.
    const OpenedSource cancelled = pick({});
    EXPECT_EQ(cancelled.shownPath, u"");
    EXPECT_EQ(cancelled.document.text(), u"");
    EXPECT_EQ(state.currentFilePath, u"");

    // Content that is not a document gives an empty source, but the row names the copy.
    fs::copy_file(dataPath("bad/random-binary.rtf"), elsewhere / "junk.rtf");
    const OpenedSource junk = pick(elsewhere / "junk.rtf");
    EXPECT_FALSE(junk.message);
    EXPECT_EQ(junk.document.text(), u"");
    EXPECT_EQ(junk.shownPath, u16(program / "junk.rtf"));
    EXPECT_FALSE(state.writeFailure);
    // A file that cannot be had shows the message and sets the write-failure flag.
    const OpenedSource missing = pick(elsewhere / "nothing.rtf");
    EXPECT_EQ(missing.message, u"Please save current file on an accessible disk.");
    EXPECT_EQ(missing.shownPath, u16(elsewhere / "nothing.rtf"));
    EXPECT_EQ(missing.document.text(), u"");
    EXPECT_TRUE(state.writeFailure);
}

} // namespace
} // namespace tikmeter::engine::testing
