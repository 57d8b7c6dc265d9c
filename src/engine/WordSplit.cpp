#include "engine/WordSplit.h"

#include <vector>

namespace tikmeter::engine {

namespace {

bool isDelimiter(char16_t c) {
    return c == u' ' || c == cr || c == lf;
}

} // namespace

void perTestReset(TestState& state) {
    state.workingWords.clear();
    state.errorMarks.clear();
    state.testWords.clear();
    state.wordStarts.clear();
    state.excessCount = 0;
    state.errorCount = 0;
    state.repeatMarkCount = 0;
    state.testFullStops = 0;
    state.testCommas = 0;
    state.testMarks = 0;
    state.sourceFullStops = 0;
    state.sourceCommas = 0;
    state.sourceMarks = 0;
    state.joinList.clear();
    state.remarksText.clear();
    state.reportText.clear();
}

void wordSplit(TestState& state, TextView text) {
    if (text.size() > maxTextChars)
        throw BoundFailure("text of " + std::to_string(text.size()) + " characters, more than " +
                           std::to_string(maxTextChars));
    // Built locally: a text that ends with a delimiter opens one empty word past the last,
    // which step 4 removes again; only the final count is bounded.
    std::vector<Text> words(1);
    std::vector<int> starts(1, 1);
    for (std::size_t index = 0; index < text.size(); ++index) {
        const long long p = static_cast<long long>(index) + 1;
        const char16_t c = text[index];
        words.back() += c;
        if (!isDelimiter(c))
            continue;
        Text& word = words.back();
        if (word.size() < 3 && word.front() == u'.' && p > 2 && text[index - 2] == u' ')
            word = u" .";
        words.emplace_back();
        starts.push_back(static_cast<int>(p + 1));
    }
    // Remove empty words (in practice only the one opened after a final delimiter).
    std::vector<Text> keptWords;
    std::vector<int> keptStarts;
    for (std::size_t i = 0; i < words.size(); ++i) {
        if (words[i].empty())
            continue;
        keptWords.push_back(std::move(words[i]));
        keptStarts.push_back(starts[i]);
    }
    if (keptWords.size() > maxWords)
        throw BoundFailure("text of " + std::to_string(keptWords.size()) + " words, more than " +
                           std::to_string(maxWords));

    state.workingWords.clear();
    state.wordStarts.clear();
    for (std::size_t i = 0; i < keptWords.size(); ++i) {
        state.workingWords.set(static_cast<long long>(i) + 1, std::move(keptWords[i]));
        state.wordStarts.set(static_cast<long long>(i) + 1, keptStarts[i]);
    }
    state.wordCount = static_cast<long long>(keptWords.size());
}

void splitSourceWords(TestState& state, TextView sourceText) {
    const long long limit = state.sourceLimit;
    wordSplit(state, mid(sourceText, 1, limit));
    state.sourceWords = state.workingWords;
    state.sourceWordCount = state.wordCount.value();
}

void splitTestWords(TestState& state, TextView typedText) {
    wordSplit(state, typedText);
    state.testWords = state.workingWords;
    state.testWordCount = state.wordCount.value();
}

} // namespace tikmeter::engine
