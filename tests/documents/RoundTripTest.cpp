// Reading what the writer wrote gives the same document: text, runs and base font.
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <random>

namespace tikmeter::documents {
namespace {

using test::fromRtf;

void expectRoundTrip(const Document& document, const std::string& what) {
    const std::string code = document.rtf();
    const Document back = fromRtf(code);
    ASSERT_EQ(back.text(), document.text()) << what;
    ASSERT_EQ(back.runs(), document.runs()) << what;
    ASSERT_EQ(back.baseFontName(), document.baseFontName()) << what;
    // Writing again gives the same code.
    ASSERT_EQ(back.rtf(), code) << what;
}

TEST(RoundTrip, EveryCorpusDocument) {
    std::size_t count = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(test::dataDir())) {
        if (entry.path().extension() != ".rtf" || entry.path().parent_path().filename() == "bad") {
            continue;
        }
        Document document;
        document.loadFile(entry.path());
        expectRoundTrip(document, entry.path().string());
        ++count;
    }
    EXPECT_GE(count, 30u);
}

TEST(RoundTrip, ReadableBadCorpusFiles) {
    for (const char* name : {"bad-unicode.rtf", "truncated.rtf", "nested-groups.rtf", "picture.rtf",
                             "plain-text.rtf", "only-control-words.rtf"}) {
        Document document;
        document.loadFile(test::dataDir() / "bad" / name);
        expectRoundTrip(document, name);
    }
}

// Random text from pieces that stress the writer: paragraph ends, spaces before them, RTF's
// special characters, accented and non-Latin letters, tabs, lone CR and LF.
std::u16string randomText(std::mt19937& random, std::size_t pieces) {
    static const std::u16string kPieces[] = {
        u"word",
        u" ",
        u"  ",
        u"\r\n",
        u".  \r\n",
        u"\\",
        u"{",
        u"}",
        u"\t",
        u"\u00E9",
        u"\u00EA\u00EB",
        u"\u20AC",
        u"\u0416\u0436",
        u"\u03A9",
        u"\u4E2D",
        u"\uF0B7",
        u"\U0001F600",
        u"\r",
        u"\n",
        u"?",
        u";",
        u"\u0081",
        u"\u00A0",
        u"x1",
        u"'n",
    };
    std::uniform_int_distribution<std::size_t> pick(0, std::size(kPieces) - 1);
    std::u16string text;
    for (std::size_t i = 0; i < pieces; ++i) {
        text += kPieces[pick(random)];
    }
    return text;
}

void randomFormatting(std::mt19937& random, Document& document) {
    static const std::u16string kFonts[] = {u"Courier", u"Arial", u"Times New Roman", u"Caf\u00E9"};
    static const Color kColors[] = {kRed, kWhite, {0, 0, 255}, {1, 2, 3}, {0, 0, 0}};
    const std::size_t length = document.text().size();
    std::uniform_int_distribution<std::size_t> position(0, length);
    std::uniform_int_distribution<int> choice(0, 99);
    for (int change = 0; change < 12; ++change) {
        document.setSelStart(position(random));
        document.setSelLength(position(random) / 3 + 1);
        switch (choice(random) % 5) {
        case 0:
            document.setSelColor(kColors[choice(random) % std::size(kColors)]);
            break;
        case 1:
            document.setSelBackColor(kColors[choice(random) % std::size(kColors)]);
            break;
        case 2:
            document.setSelFontName(kFonts[choice(random) % std::size(kFonts)]);
            break;
        case 3:
            document.setSelBold(choice(random) % 2 == 0);
            break;
        default:
            document.setSelUnderline(choice(random) % 2 == 0);
            break;
        }
    }
}

TEST(RoundTrip, RandomTextAndFormatting) {
    std::mt19937 random(20240323);
    for (int round = 0; round < 300; ++round) {
        Document document;
        if (round % 3 == 0) {
            document.setBaseFontName(round % 2 ? u"Courier New" : u"Arial");
        }
        document.setText(randomText(random, 1 + round % 60));
        randomFormatting(random, document);
        expectRoundTrip(document, "round " + std::to_string(round));
    }
}

TEST(RoundTrip, ItalicAndSizesFromReadDocuments) {
    // Italic and font sizes have no selection operation; they come from read documents.
    const Document document = fromRtf("{\\rtf1{\\fonttbl{\\f0 Arial;}{\\f1 Mono;}}"
                                      "a\\i b\\fs17 c\\f1\\fs40 d\\plain e\\fs24\\b f\\par\\par}");
    expectRoundTrip(document, "italic and sizes");
}

} // namespace
} // namespace tikmeter::documents
