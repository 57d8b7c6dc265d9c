// The text stages of one test, from the per-test reset to the report and the reliability
// check: a typical test and the worst case the bounds allow. Then a real test as a session
// pays for it: reading the document, marking it (language, spacing pass, marks coloured,
// report inserted) and writing the marked document's RTF code.
#include "documents/Document.h"
#include "engine/TestMarker.h"
#include "engine/TestMarking.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <filesystem>
#include <string>

namespace {

using tikmeter::documents::Document;
using tikmeter::engine::Language;
using tikmeter::engine::MarkingResult;
using tikmeter::engine::PreparedSources;
using tikmeter::engine::ResultFormat;
using tikmeter::engine::StepRunner;
using tikmeter::engine::TestMarking;

// A fixed pseudo-random sequence, so every run marks the same texts.
class Sequence {
public:
    std::uint32_t next(std::uint32_t bound) {
        state_ = state_ * 1664525u + 1013904223u;
        return (state_ >> 8) % bound;
    }

private:
    std::uint32_t state_ = 12345;
};

const char* const vocabulary[] = {
    "the",   "school", "camp",  "was",     "by",     "sea",   "and",     "we",    "walked",
    "along", "beach",  "every", "morning", "before", "sun",   "rose",    "water", "cold,",
    "but",   "nobody", "cared", "it.",     "Our",    "tents", "stood",   "near",  "dunes",
    "where", "birds",  "came",  "eat.",    "Each",   "night", "teacher", "told",  "stories."};

// About `chars` characters of prose, with a paragraph break now and then.
std::u16string prose(Sequence& sequence, std::size_t chars) {
    std::u16string text;
    while (text.size() < chars) {
        const std::string word = vocabulary[sequence.next(std::size(vocabulary))];
        text += std::u16string(word.begin(), word.end());
        text += sequence.next(40) == 0 ? u"\r\n" : u" ";
    }
    return text;
}

void markOnce(const std::u16string& test, const std::u16string& source) {
    StepRunner runner;
    TestMarking marking(runner);
    marking.compare(test, source);
    marking.scoreAndReport(ResultFormat::MultipleOf5);
    marking.reliabilityCheck(source);
    benchmark::DoNotOptimize(marking.state().reportText.data());
}

// About 400 words copied from a 4000-character source with a typing fault every 25 words.
void BM_TypicalTest(benchmark::State& state) {
    Sequence sequence;
    const std::u16string source = prose(sequence, 4000);
    std::u16string test = source.substr(0, 2400);
    for (std::size_t at = 60; at < test.size(); at += 130)
        test[at] = u'q';
    for (auto _ : state)
        markOnce(test, source);
}
BENCHMARK(BM_TypicalTest)->Unit(benchmark::kMillisecond);

// 5000 characters of about 1500 short words that the source does not have (every word
// is marked and about 1000 are distinct), against a 5000-character source.
void BM_WorstCaseTest(benchmark::State& state) {
    Sequence sequence;
    const std::u16string source = prose(sequence, 5000);
    std::u16string test;
    while (test.size() < 4997) {
        test += static_cast<char16_t>(u'a' + sequence.next(26));
        test += static_cast<char16_t>(u'a' + sequence.next(26));
        if (sequence.next(3) == 0)
            test += static_cast<char16_t>(u'a' + sequence.next(26));
        test += u' ';
    }
    test.resize(5000, u'z');
    for (auto _ : state)
        markOnce(test, source);
}
BENCHMARK(BM_WorstCaseTest)->Unit(benchmark::kMillisecond);

const std::filesystem::path kDataFolder(TIKMETER_TEST_DATA_DIR);
const std::filesystem::path kTestFile = kDataFolder / "class-a" / "a01.rtf";

Document loaded(const std::filesystem::path& path) {
    Document document;
    document.loadFile(path);
    return document;
}

PreparedSources englishSource() {
    PreparedSources sources;
    sources.set(Language::English, loaded(kDataFolder / "sources" / "en1-libreoffice.rtf"));
    return sources;
}

MarkingResult markTypical(const Document& test, const PreparedSources& sources) {
    StepRunner runner;
    return markTest(test, sources, ResultFormat::MultipleOf5, runner);
}

// Reading a typical test from its file, as the session does before marking it.
void BM_ReadTestDocument(benchmark::State& state) {
    for (auto _ : state) {
        const Document test = loaded(kTestFile);
        benchmark::DoNotOptimize(test.text().data());
    }
}
BENCHMARK(BM_ReadTestDocument)->Unit(benchmark::kMillisecond);

// Marking the loaded test against the prepared English source (the copy of the loaded test
// stands for the session's move of it).
void BM_MarkTestDocument(benchmark::State& state) {
    const PreparedSources sources = englishSource();
    const Document test = loaded(kTestFile);
    for (auto _ : state) {
        const MarkingResult result = markTypical(test, sources);
        benchmark::DoNotOptimize(result.markedTest.text().data());
    }
}
BENCHMARK(BM_MarkTestDocument)->Unit(benchmark::kMillisecond);

// The RTF code of the marked test, which the session saves.
void BM_WriteMarkedTest(benchmark::State& state) {
    const PreparedSources sources = englishSource();
    const MarkingResult result = markTypical(loaded(kTestFile), sources);
    for (auto _ : state) {
        const std::string code = result.markedTest.rtf();
        benchmark::DoNotOptimize(code.data());
    }
}
BENCHMARK(BM_WriteMarkedTest)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
