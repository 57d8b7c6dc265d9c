// File names as text: every byte string survives the way through text and back.
#include "TestSupport.h"
#include "documents/Utf8.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace tikmeter::documents {
namespace {

namespace fs = std::filesystem;

struct PathRow {
    const char* name;
    std::string bytes;
    std::u16string text;
};

class PathText : public ::testing::TestWithParam<PathRow> {};

TEST_P(PathText, BytesRoundTripThroughText) {
    const PathRow& row = GetParam();
    EXPECT_EQ(fromPath(fs::path(row.bytes)), row.text);
    EXPECT_EQ(toPath(row.text).native(), row.bytes);
    // Shown as text, a kept byte is a replacement character.
    const std::string shown = toUtf8(row.text);
    EXPECT_TRUE(fromUtf8(shown).has_value()) << shown;
}

INSTANTIATE_TEST_SUITE_P(
    Names, PathText,
    ::testing::Values(PathRow{"ascii", "tests/a01.rtf", u"tests/a01.rtf"},
                      PathRow{"utf8", "caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80.rtf",
                              u"caf\u00E9 \u20AC \U0001F600.rtf"},
                      PathRow{"latin1", "latin1-\xE9.rtf", u"latin1-\xDCE9.rtf"},
                      PathRow{"ff", "\xFF", u"\xDCFF"},
                      PathRow{"lone continuation", "a\x80", u"a\xDC80"},
                      PathRow{"cut two-byte", "x\xC3", u"x\xDCC3"},
                      PathRow{"cut three-byte", "\xE2\x82.rtf", u"\xDCE2\xDC82.rtf"},
                      PathRow{"cut four-byte", "\xF0\x9F\x98", u"\xDCF0\xDC9F\xDC98"},
                      PathRow{"overlong slash", "\xC0\xAF", u"\xDCC0\xDCAF"},
                      PathRow{"overlong three-byte", "\xE0\x80\xAF", u"\xDCE0\xDC80\xDCAF"},
                      PathRow{"encoded surrogate", "\xED\xB3\xA9", u"\xDCED\xDCB3\xDCA9"},
                      // U+10080 is the surrogate pair D800 DC80: it stays one character.
                      PathRow{"pair before kept byte", "\xF0\x90\x82\x80\xE9",
                              u"\U00010080\xDCE9"}),
    [](const ::testing::TestParamInfo<PathRow>& param) {
        std::string name = param.param.name;
        std::replace(name.begin(), name.end(), ' ', '_');
        std::erase(name, '-');
        return name;
    });

TEST(PathTextFiles, AFileNamedInLatin1OpensFromItsListedName) {
    const test::TemporaryFolder folder;
    const std::string native = "latin1-\xE9.rtf";
    test::writeBytes(folder.path() / native, "{\\rtf1 latin}");
    const fs::path listed = fs::directory_iterator(folder.path())->path();
    Document document;
    document.loadFile(toPath(fromPath(listed)));
    EXPECT_EQ(document.text(), u"latin");
    EXPECT_EQ(toUtf8(fromPath(native)), "latin1-\xEF\xBF\xBD.rtf");
}

} // namespace
} // namespace tikmeter::documents
