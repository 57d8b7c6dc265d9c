// Every file of the test corpus gives the text its manifest records; bad files give a
// document or a clean "unreadable" failure, as the manifest allows.
#include "TestSupport.h"
#include "documents/DocumentError.h"
#include "documents/Utf8.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

namespace tikmeter::documents {
namespace {

struct Outcome {
    bool reject = false;
    std::u16string text;
};

struct ManifestEntry {
    std::string path;
    std::string kind;
    std::vector<Outcome> acceptable; // the expected outcome first
};

std::u16string utf16(const std::string& utf8) {
    auto text = fromUtf8(utf8);
    if (!text) {
        throw std::runtime_error("manifest text is not UTF-8");
    }
    return *text;
}

std::vector<ManifestEntry> readManifest() {
    std::ifstream in(test::dataDir() / "manifest.jsonl");
    std::vector<ManifestEntry> entries;
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty()) {
            continue;
        }
        const nlohmann::json object = nlohmann::json::parse(line);
        ManifestEntry entry;
        entry.path = object.at("path");
        entry.kind = object.at("kind");
        const std::string expect = object.value("expect", "read");
        if (expect == "reject") {
            entry.acceptable.push_back({true, {}});
        } else if (object.contains("text")) {
            entry.acceptable.push_back({false, utf16(object.at("text"))});
        } else {
            continue; // no text recorded (the 20 MB file): covered by BigDocumentTest
        }
        if (object.contains("also_acceptable") && object.at("also_acceptable").is_array()) {
            for (const auto& other : object.at("also_acceptable")) {
                if (other.value("outcome", "") == "reject") {
                    entry.acceptable.push_back({true, {}});
                } else if (other.contains("text")) {
                    entry.acceptable.push_back({false, utf16(other.at("text"))});
                }
            }
        }
        entries.push_back(std::move(entry));
    }
    return entries;
}

TEST(Corpus, EveryFileGivesItsRecordedText) {
    const std::vector<ManifestEntry> entries = readManifest();
    ASSERT_GE(entries.size(), 40u);
    std::size_t checked = 0;
    for (const ManifestEntry& entry : entries) {
        const std::filesystem::path path = test::dataDir() / entry.path;
        if (!std::filesystem::exists(path)) {
            continue;
        }
        ++checked;
        Outcome got;
        try {
            Document document;
            document.loadFile(path);
            got.text = document.text();
        } catch (const DocumentError& error) {
            ASSERT_EQ(error.kind(), DocumentErrorKind::Unreadable) << entry.path;
            got.reject = true;
        }
        const bool acceptable =
            std::any_of(entry.acceptable.begin(), entry.acceptable.end(), [&](const Outcome& o) {
                return o.reject == got.reject && (o.reject || o.text == got.text);
            });
        EXPECT_TRUE(acceptable) << entry.path << (got.reject ? " was rejected" : " read as:\n")
                                << toUtf8(got.text);
        // Sources, tests and edge cases must give exactly the recorded text.
        if (entry.kind != "bad") {
            EXPECT_EQ(toUtf8(got.text), toUtf8(entry.acceptable.front().text)) << entry.path;
        }
    }
    EXPECT_GE(checked, 40u);
}

TEST(Corpus, BadFilesGiveTheExpectedOutcome) {
    // The outcome this reader chose among the sound ones.
    auto load = [](const char* name) {
        Document document;
        document.loadFile(test::dataDir() / "bad" / name);
        return document.text();
    };
    EXPECT_EQ(load("empty.rtf"), u"");
    EXPECT_EQ(load("only-control-words.rtf"), u"");
    EXPECT_EQ(load("truncated.rtf"), u"Our School Gar");
    EXPECT_EQ(load("nested-groups.rtf").substr(0, 17), u"Our School Garden");
    EXPECT_THROW(load("random-binary.rtf"), DocumentError);
    EXPECT_THROW(load("huge-bin.rtf"), DocumentError);
}

} // namespace
} // namespace tikmeter::documents
