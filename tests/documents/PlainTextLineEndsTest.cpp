// Plain text files: line ends and noncharacters, rewritten in place.
#include "TestSupport.h"

#include <gtest/gtest.h>

namespace tikmeter::documents {
namespace {

TEST(PlainTextLineEnds, EveryLineEndBecomesCrLf) {
    const std::pair<std::string, std::u16string> rows[] = {
        {"\n", u"\r\n"},
        {"\r", u"\r\n"},
        {"\n\r", u"\r\n\r\n"},
        {"\r\r\n", u"\r\n\r\n"},
        {"\r\n\n", u"\r\n\r\n"},
        {"\n\nx\r", u"\r\n\r\nx\r\n"},
        {"a\r\n\rb", u"a\r\n\r\nb"},
        {"\xEF\xBB\xBF\nx\n", u"\r\nx\r\n"},                 // UTF-8 mark
        {"caf\xE9\n\xE9", u"caf\u00E9\r\n\u00E9"},           // Windows-1252
        {"\xEF\xBF\xBE\n\xEF\xBF\xBF", u"\uFFFD\r\n\uFFFD"}, // noncharacters
        {"\xF0\x9F\x98\x80\n", u"\U0001F600\r\n"},           // surrogate pair
    };
    for (const auto& [bytes, text] : rows) {
        EXPECT_EQ(test::textOf(bytes), text) << bytes;
    }
}

} // namespace
} // namespace tikmeter::documents
