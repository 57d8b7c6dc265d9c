// A generated document of about 20 MB (text and embedded pictures) reads completely.
#include "TestSupport.h"

#include <gtest/gtest.h>

namespace tikmeter::documents {
namespace {

TEST(BigDocument, TwentyMegabytesOfTextAndPictures) {
    const std::string paragraph =
        "Two years ago the open piece of ground behind our school was nothing but dust, "
        "stones and a few dry weeds. Nobody wanted to play there caf\\'e9 \\u8364? ";
    const std::u16string paragraphText =
        u"Two years ago the open piece of ground behind our school was nothing but dust, "
        u"stones and a few dry weeds. Nobody wanted to play there caf\u00E9 \u20AC ";
    std::string picture = "{\\*\\shppict{\\pict\\pngblip\\picw200\\pich200 ";
    for (int line = 0; line < 400; ++line) {
        picture += std::string(128, 'a') + "\r\n";
    }
    picture += "}}";

    std::string code = "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0 Arial;}}\\f0\\fs20 ";
    std::u16string expected;
    std::size_t paragraphs = 0;
    while (code.size() < 20'000'000) {
        code += paragraph;
        expected += paragraphText;
        if (paragraphs % 10 == 0) {
            code += picture;
        }
        code += "\\par\r\n";
        expected += u"\r\n";
        ++paragraphs;
    }
    code += "}";
    expected.resize(expected.size() - 2); // the last \par is the document's end mark

    const Document document = test::fromRtf(code);
    EXPECT_EQ(document.text().size(), expected.size());
    EXPECT_TRUE(document.text() == expected);
    EXPECT_EQ(document.runs().size(), 1u);
}

} // namespace
} // namespace tikmeter::documents
