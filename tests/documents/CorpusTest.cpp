// Every file of the test corpus gives the outcome its manifest expects and reads back as written,
// and a document of about 20 MB (the corpus's huge-20mb.rtf, made here) reads completely.
#include "TestSupport.h"
#include "documents/DocumentError.h"

#include <fstream>
#include <nlohmann/json.hpp>

namespace tikmeter::documents {
namespace {

// Exactly the recorded text, or (as expected for some bad files) an "unreadable" failure.
TEST(Corpus, EveryFileGivesItsRecordedText) {
    std::ifstream manifest(test::dataDir() / "manifest.jsonl");
    std::size_t checked = 0;
    for (std::string line; std::getline(manifest, line);) {
        const nlohmann::json entry = nlohmann::json::parse(line);
        const std::filesystem::path path = test::dataDir() / entry.at("path").get<std::string>();
        if (!std::filesystem::exists(path)) {
            continue; // the 20 MB file, made by the test below
        }
        SCOPED_TRACE(path);
        std::string got;
        try {
            Document document;
            document.loadFile(path);
            got = toUtf8(document.text());
            test::expectRoundTrip(document);
        } catch (const DocumentError& error) {
            EXPECT_EQ(error.kind(), DocumentErrorKind::Unreadable);
            got = "(unreadable)";
        }
        EXPECT_EQ(got, entry.value("text", std::string("(unreadable)")));
        ++checked;
    }
    EXPECT_GE(checked, 40u);
}

TEST(Corpus, TwentyMegabytesOfTextAndPictures) {
    std::string picture = "{\\*\\shppict{\\pict\\pngblip\\picw200\\pich200 ";
    for (int line = 0; line < 400; ++line) {
        picture += std::string(128, 'a') + "\r\n";
    }
    std::string code = "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}}\\f0\\fs20 ";
    std::u16string expected;
    for (int paragraph = 0; code.size() < 20'000'000; ++paragraph) {
        code += "Nobody wanted caf\\'e9 \\u8364? " + (paragraph % 10 ? "" : picture + "}}") +
                "\\par\r\n";
        expected += u"Nobody wanted caf\u00E9 \u20AC \r\n";
    }
    expected.resize(expected.size() - 2); // the last \par is the document's end mark
    const Document document = test::fromRtf(code + "}");
    EXPECT_TRUE(document.text() == expected);
    EXPECT_EQ(document.runs().size(), 1u);
}

} // namespace
} // namespace tikmeter::documents
