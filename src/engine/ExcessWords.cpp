#include "engine/ExcessWords.h"

#include "engine/WordComparison.h"

#include <algorithm>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace tikmeter::engine {

namespace {

// The texts of the counted error marks and of the repeat marks (they do not change while
// the test words are collected).
std::unordered_set<Text> markTexts(const TestState& state) {
    std::unordered_set<Text> texts;
    for (long long m = 1; m <= state.errorCount; ++m)
        texts.insert(state.errorMarks.at(m).text);
    for (long long m = 1; m <= state.repeatMarkCount; ++m)
        texts.insert(state.repeatMarks.at(m).text);
    return texts;
}

// How often each normalised word occurs among words 1..count.
template <class Words>
std::unordered_map<Text, long long> normalisedCounts(const Words& words, long long count) {
    std::unordered_map<Text, long long> counts;
    for (long long k = 1; k <= count; ++k)
        ++counts[normaliseWord(words.at(k))];
    return counts;
}

long long countOf(const std::unordered_map<Text, long long>& counts, const Text& word) {
    const auto found = counts.find(word);
    return found == counts.end() ? 0 : found->second;
}

} // namespace

Text normaliseWord(TextView word) {
    Text t = trimSpaces(word);
    if (!t.empty() && TextView(u"\r!?.,;:%").find(t.back()) != TextView::npos)
        t.pop_back();
    for (const char16_t mark : {u'.', u',', u'!', u'?', u'%'})
        if (!t.empty() && t.back() == mark)
            t.pop_back();
    return t;
}

void excessWordPass(TestState& state, TextView typedText, TextView source) {
    state.distinctCount = 0;
    state.distinctWords.clear();
    state.excessText.clear();

    const std::unordered_set<Text> marked = markTexts(state);
    std::unordered_set<Text> collected;
    for (long long k = 1; k <= state.testWordCount; ++k) {
        const bool flagged = marked.count(state.testWords.at(k)) != 0;
        if (contains(state.joinList, state.testWords.at(k)))
            state.testWords.set(k, Text{});
        if (flagged)
            continue;
        const Text u = normaliseWord(state.testWords.at(k));
        if (collected.count(u) != 0)
            continue;
        if (!u.empty() && u != u"\n" && contains(typedText, u)) {
            if (state.distinctWords.size() >= maxDistinctWords)
                throw BoundFailure("more than " + std::to_string(maxDistinctWords) +
                                   " distinct words");
            state.distinctWords.push_back(u);
            collected.insert(u);
            state.distinctCount += 1;
        }
    }

    // The words do not change while they are counted, so they are normalised and counted once.
    const auto typed = normalisedCounts(state.testWords, state.testWordCount);
    const auto compared = normalisedCounts(state.sourceWords, state.sourceWordCount);

    // The last distinct word collected is not examined.
    for (long long d = 0; d + 1 < state.distinctCount; ++d) {
        const Text& u = state.distinctWords[static_cast<std::size_t>(d)];
        const long long nTest = countOf(typed, u);
        const long long nSource = countOf(compared, u);
        for (auto surplus = nTest - nSource; surplus > 0; --surplus) {
            state.excessCount += 1;
            state.excessWords.set(state.excessCount, u + u" ");
            state.excessText += u + u" ";
        }
    }

    repeatedWordPass(state, source);
    bracketing(state);
}

void repeatedWordPass(TestState& state, TextView source) {
    state.repeatedWordErrors = 0;
    state.bracketCount = 0;
    const long long count = state.testWordCount;
    for (state.wordIndex = 2; state.wordIndex <= count; state.wordIndex += 1) {
        const long long i = state.wordIndex;
        const Text& word = state.testWords.at(i);
        const Text trimmed = trimSpaces(word);
        if (trimmed.empty() || trimmed == u"\r" || state.testWords.at(i - 1) != word ||
            contains(source, state.testWords.at(i - 1) + word))
            continue;
        markAWord(state, source);
        state.repeatedWordErrors += 1;
    }
}

void bracketing(TestState& state) {
    for (long long e = 1; e <= state.excessCount; ++e) {
        for (long long m = 1; m <= state.errorCount; ++m) {
            if (state.bracketCount == state.repeatedWordErrors)
                return;
            if (trimSpaces(state.excessWords.at(e)) == trimSpaces(state.errorMarks.at(m).text)) {
                state.excessWords.set(e, u"(" + state.excessWords.at(e) + u")");
                state.bracketCount += 1;
            }
        }
    }
}

} // namespace tikmeter::engine
