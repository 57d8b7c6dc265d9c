// Paths as text: every byte string survives the way through text and back, and the file name,
// folder and destination name of a path text.
#include "documents/PathText.h"
#include "TestSupport.h"

namespace tikmeter::documents {
namespace {

namespace fs = std::filesystem;

struct PathRow {
    const char* name;
    std::string bytes;
    std::u16string text;
};

class PathBytes : public ::testing::TestWithParam<PathRow> {};

TEST_P(PathBytes, RoundTripThroughText) {
    const PathRow& row = GetParam();
    EXPECT_EQ(fromPath(fs::path(row.bytes)), row.text);
    EXPECT_EQ(toPath(row.text).native(), row.bytes);
    EXPECT_TRUE(fromUtf8(toUtf8(row.text)).has_value()); // printable: a kept byte shows as U+FFFD
}

// Bytes that are not part of valid UTF-8 are kept as U+DC00 + byte.
INSTANTIATE_TEST_SUITE_P(
    Names, PathBytes,
    ::testing::Values(
        PathRow{"Ascii", "tests/a01.rtf", u"tests/a01.rtf"},
        PathRow{"Utf8", "caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80.rtf",
                u"caf\u00E9 \u20AC \U0001F600.rtf"},
        PathRow{"Latin1", "latin1-\xE9.rtf", u"latin1-\xDCE9.rtf"},
        PathRow{"LoneContinuationAndFF", "a\x80\xFF", u"a\xDC80\xDCFF"},
        PathRow{"CutSequences", "\xE2\x82.\xF0\x9F\x98", u"\xDCE2\xDC82.\xDCF0\xDC9F\xDC98"},
        PathRow{"Overlong", "\xC0\xAF\xE0\x80\xAF", u"\xDCC0\xDCAF\xDCE0\xDC80\xDCAF"},
        PathRow{"EncodedSurrogate", "\xED\xB3\xA9", u"\xDCED\xDCB3\xDCA9"},
        // U+10080 is the pair D800 DC80: it stays one character.
        PathRow{"PairBeforeKeptByte", "\xF0\x90\x82\x80\xE9", u"\U00010080\xDCE9"}),
    test::RowName());

TEST(PathText, OtherLoneSurrogatesAndTheirBytes) {
    EXPECT_EQ(toPath(u"\xDC7F\xD800x\xDC80").native(), "\xEF\xBF\xBD\xEF\xBF\xBDx\x80");
    EXPECT_EQ(toUtf8(u"latin1-\xDCE9.rtf"), "latin1-\xEF\xBF\xBD.rtf");
}

TEST(PathText, NamesAndFolders) {
    for (const auto& [path, name, folder, destination] :
         {std::tuple{u"/home/t/Class A/jan.rtf", u"jan.rtf", u"/home/t/Class A", u"Class A"},
          {u"/jan.rtf", u"jan.rtf", u"", u""},
          {u"jan.rtf", u"jan.rtf", u"", u""},
          {u"/a/b/", u"", u"/a/b", u"b"}}) {
        EXPECT_EQ(fileNameOf(path), name);
        EXPECT_EQ(folderOf(path), folder);
        EXPECT_EQ(destinationNameFor(path), destination);
    }
    EXPECT_EQ(joinPath(u"/home/t", u"Class A"), u"/home/t/Class A");
}

} // namespace
} // namespace tikmeter::documents
