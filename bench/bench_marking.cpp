// The text stages of one test, from the per-test reset to the report and the reliability
// check: a typical test and the worst case the bounds allow.
#include "engine/TestMarking.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>

namespace {

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

} // namespace

BENCHMARK_MAIN();
