#include "engine/ExcessWords.h"

#include "engine/WordComparison.h"

#include <algorithm>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace tikmeter::engine {

namespace {

// Sets and maps of texts that are searched with views: looking a word up copies nothing.
using TextSet = std::unordered_set<Text, TextHash, std::equal_to<>>;

// The texts of the counted error marks and of the repeat marks (they do not change while
// the test words are collected).
TextSet markTexts(const TestState& state) {
    TextSet texts;
    for (long long m = 1; m <= state.errorCount; ++m)
        texts.insert(state.errorMarks.at(m).text);
    for (long long m = 1; m <= state.repeatMarkCount; ++m)
        texts.insert(state.repeatMarks.at(m).text);
    return texts;
}

bool isClosingMark(char16_t c) {
    return TextView(u"\r!?.,;:%").find(c) != TextView::npos;
}

// The normalised word is a part of the word: without surrounding spaces and closing marks.
TextView normalised(TextView word) {
    TextView t = withoutSpaces(word);
    if (t.empty() || !isClosingMark(t.back()))
        return t; // the marks removed below are closing marks too
    t.remove_suffix(1);
    for (const char16_t mark : {u'.', u',', u'!', u'?', u'%'})
        if (!t.empty() && t.back() == mark)
            t.remove_suffix(1);
    return t;
}

// True when test word k still stands where the split found it in the typed text; then every
// part of it, its normalised form too, is in the typed text without a search.
bool standsInTypedText(const TestState& state, long long k, TextView typedText) {
    const Text& word = state.testWords.at(k);
    const long long start = state.wordStarts.at(k);
    return start >= 1 && static_cast<std::size_t>(start) <= typedText.size() &&
           typedText.substr(static_cast<std::size_t>(start) - 1, word.size()) == word;
}

} // namespace

Text normaliseWord(TextView word) {
    return Text(normalised(word));
}

void excessWordPass(TestState& state, TextView typedText, TextView source) {
    state.distinctCount = 0;
    state.distinctWords.clear();
    state.excessText.clear();

    const TextSet marked = markTexts(state);
    // Every normalised typed word, with how often it is typed and how often the compared
    // source has it. The distinct words are those collected, in state.distinctWords in the
    // order they were found and in `distinct` with their counts.
    struct Word {
        long long typed = 0;
        long long inSource = 0;
        bool collected = false;
    };
    const auto count = static_cast<std::size_t>(std::max(state.testWordCount.value(), 0));
    std::unordered_map<Text, Word, TextHash, std::equal_to<>> words;
    words.reserve(count);
    std::vector<const Word*> distinct;
    state.distinctWords.reserve(std::min(count, maxDistinctWords));
    for (long long k = 1; k <= state.testWordCount; ++k) {
        const bool flagged = marked.contains(state.testWords.at(k));
        if (contains(state.joinList, state.testWords.at(k)))
            state.testWords.set(k, Text{});
        // Word k does not change any more: it is counted here.
        const TextView u = normalised(state.testWords.at(k));
        Word& word = words.try_emplace(Text(u)).first->second;
        ++word.typed;
        if (flagged || word.collected)
            continue;
        if (!u.empty() && u != u"\n" &&
            (standsInTypedText(state, k, typedText) || contains(typedText, u))) {
            if (state.distinctWords.size() >= maxDistinctWords)
                throw BoundFailure("more than " + std::to_string(maxDistinctWords) +
                                   " distinct words");
            state.distinctWords.emplace_back(u);
            word.collected = true;
            distinct.push_back(&word);
            state.distinctCount += 1;
        }
    }
    for (long long k = 1; k <= state.sourceWordCount; ++k)
        if (const auto found = words.find(normalised(state.sourceWords.at(k)));
            found != words.end())
            ++found->second.inSource;

    // The last distinct word collected is not examined.
    for (long long d = 0; d + 1 < state.distinctCount; ++d) {
        const Text& u = state.distinctWords[static_cast<std::size_t>(d)];
        const Word& n = *distinct[static_cast<std::size_t>(d)];
        for (auto surplus = n.typed - n.inSource; surplus > 0; --surplus) {
            state.excessCount += 1;
            state.excessWords.set(state.excessCount, u + u" ");
            state.excessText += u + u" ";
        }
    }

    repeatedWordPass(state, source);
    bracketing(state);
}

void repeatedWordPass(TestState& state, TextView sourceText) {
    const IndexedText source(sourceText);
    state.repeatedWordErrors = 0;
    state.bracketCount = 0;
    const long long count = state.testWordCount;
    for (state.wordIndex = 2; state.wordIndex <= count; state.wordIndex += 1) {
        const long long i = state.wordIndex;
        const Text& word = state.testWords.at(i);
        const TextView trimmed = withoutSpaces(word);
        if (trimmed.empty() || trimmed == u"\r" || state.testWords.at(i - 1) != word ||
            source.contains(state.testWords.at(i - 1) + word))
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
