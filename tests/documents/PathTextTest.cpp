// Paths as text: every byte string survives the way through text and back, and the file name,
// folder and destination name of a path text.
#include "documents/PathText.h"
#include "TestSupport.h"

namespace tikmeter::documents {
namespace {

namespace fs = std::filesystem;

// Bytes that are not part of valid UTF-8 are kept as U+DC00 + byte; a kept byte prints as U+FFFD.
TEST(PathText, BytesRoundTripThroughText) {
    for (const auto& [bytes, text] :
         {std::pair<std::string, std::u16string>{"tests/a01.rtf", u"tests/a01.rtf"},
          {"caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80.rtf", u"caf\u00E9 \u20AC \U0001F600.rtf"},
          {"latin1-\xE9.rtf", u"latin1-\xDCE9.rtf"},
          {"a\x80\xFF", u"a\xDC80\xDCFF"}, // a lone continuation byte and FF
          {"\xE2\x82.\xF0\x9F\x98", u"\xDCE2\xDC82.\xDCF0\xDC9F\xDC98"}, // cut sequences
          {"\xC0\xAF\xE0\x80\xAF", u"\xDCC0\xDCAF\xDCE0\xDC80\xDCAF"},   // overlong
          {"\xED\xB3\xA9", u"\xDCED\xDCB3\xDCA9"},                       // an encoded surrogate
          // U+10080 is the pair D800 DC80: it stays one character.
          {"\xF0\x90\x82\x80\xE9", u"\U00010080\xDCE9"}}) {
        EXPECT_EQ(fromPath(fs::path(bytes)), text);
        EXPECT_EQ(toPath(text).native(), bytes);
        EXPECT_TRUE(fromUtf8(toUtf8(text)).has_value());
    }
    // Other lone surrogates.
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
