#include "engine/WordSplit.h"

#include <algorithm>
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
    // Built locally, so that a text of too many words leaves the lists as they were. Every
    // word but the last ends with its delimiter, so no word is empty.
    const auto delimiters =
        static_cast<std::size_t>(std::count_if(text.begin(), text.end(), isDelimiter));
    std::vector<Text> words;
    std::vector<int> starts;
    words.reserve(delimiters + 1);
    starts.reserve(delimiters + 1);
    std::size_t begin = 0; // 0-based start of the word being cut
    for (std::size_t index = 0; index < text.size(); ++index) {
        if (!isDelimiter(text[index]))
            continue;
        const bool loneFullStop =
            index - begin == 1 && text[begin] == u'.' && begin >= 1 && text[begin - 1] == u' ';
        words.emplace_back(loneFullStop ? TextView(u" .") : text.substr(begin, index - begin + 1));
        starts.push_back(static_cast<int>(begin) + 1);
        begin = index + 1;
    }
    if (begin < text.size()) {
        words.emplace_back(text.substr(begin));
        starts.push_back(static_cast<int>(begin) + 1);
    }
    if (words.size() > maxWords)
        throw BoundFailure("text of " + std::to_string(words.size()) + " words, more than " +
                           std::to_string(maxWords));

    const auto count = static_cast<long long>(words.size());
    state.workingWords.assign(std::move(words));
    state.wordStarts.assign(std::move(starts));
    state.wordCount = count;
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
