#include "engine/WordComparison.h"

#include <algorithm>
#include <array>
#include <unordered_set>

namespace tikmeter::engine {

namespace {

// The compared source words (1..sourceWordCount), for looking typed words up. The views
// point into state.sourceWords, which the comparison passes do not change.
using WordSet = std::unordered_set<TextView, TextHash>;
WordSet sourceWordSet(const TestState& state) {
    WordSet words;
    words.reserve(static_cast<std::size_t>(std::max(state.sourceWordCount.value(), 0)));
    for (long long j = 1; j <= state.sourceWordCount; ++j)
        words.insert(state.sourceWords.at(j));
    return words;
}

// Any one rule makes the word known; the rules are pure look-ups, so the later ones are
// skipped once one holds (the decision is the same).
bool knownInSource(const TestState& state, long long i, const IndexedText& source,
                   const WordSet& sourceWords) {
    const Text& word = state.testWords.at(i);
    if (sourceWords.count(word) != 0)
        return true;
    if (withoutSpaces(word).empty())
        return true;
    const Text w = trimTrailingSpaces(word);
    // Every piece looked for below holds the word without its trailing spaces, or (the last
    // one) without its carriage return: a source without that has none of them.
    const TextView core = word.back() == cr ? TextView(word).substr(0, word.size() - 1) : w;
    if (!source.contains(core))
        return false;
    if (source.contains(u" " + w + u".") || source.contains(u" " + w + u",") ||
        source.contains(w + u"?") || source.contains(w + u"!"))
        return true;
    return !word.empty() && word.back() == cr &&
           source.contains(word.substr(0, word.size() - 1) + u".");
}

// True when `w` is source words j and j + 1 run together (without the spaces between them)
// for some j below the test word count (not the source word count); source entries past
// the stored words read as empty, and such a pair of empty words never equals `w`, which is
// not empty.
bool joinsTwoSourceWords(const TestState& state, TextView w) {
    const std::span<const Text> words = state.sourceWords.storedEntries(); // word j at [j - 1]
    const auto pairs =
        std::min<long long>(state.testWordCount - 1, static_cast<long long>(words.size()));
    for (std::size_t j = 0; static_cast<long long>(j) < pairs; ++j) {
        const Text& first = words[j];
        // A first word that does not begin with a space begins the joined text: its first
        // character rules most pairs out.
        if (!first.empty() && first.front() != u' ' && first.front() != w.front())
            continue;
        const TextView second = j + 1 < words.size() ? TextView(words[j + 1]) : TextView();
        if (equalsJoined(w, withoutTrailingSpaces(first), withoutLeadingSpaces(second)))
            return true;
    }
    return false;
}

bool skipsMarking(const Text& word) {
    if (word.size() < 3 && word.find(cr) != Text::npos) {
        const char16_t c = word.front();
        const bool letterRange = c >= u'A' && c <= u'z';
        const bool digit = c >= u'0' && c <= u'9';
        if (!letterRange && !digit)
            return true;
    }
    return word == u"\n";
}

} // namespace

void unmatchedWordPass(TestState& state, TextView sourceText) {
    const IndexedText source(sourceText);
    const long long count = state.testWordCount;
    const WordSet sourceWords = sourceWordSet(state);
    for (state.wordIndex = 1; state.wordIndex <= count - 1; state.wordIndex += 1)
        if (!knownInSource(state, state.wordIndex, source, sourceWords))
            markAWord(state, source);

    // The last word. When the word before it was joined with it, the index stands past the
    // list: the pair is already one error and the absorbed word adds no further mark.
    if (count < 1 || state.wordIndex > count)
        return;
    state.wordIndex = count;
    const TextView window = mid(sourceText, state.sourceLimit - 40, 41);
    if (!contains(window, trimSpaces(state.testWords.at(count))))
        markAWord(state, source);
}

void markAWord(TestState& state, TextView sourceText) {
    markAWord(state, IndexedText(sourceText));
}

void markAWord(TestState& state, const IndexedText& source) {
    const long long i = state.wordIndex;
    if (skipsMarking(state.testWords.at(i)))
        return;

    const Text candidate = joinAttempt(state, i, source);

    // The bound is checked before the count moves, so the count never passes the list.
    const long long entry = state.errorCount + 1;
    if (entry > static_cast<long long>(maxWords))
        throw BoundFailure("more than " + std::to_string(maxWords) + " error marks");
    state.errorCount += 1;
    state.errorMarks.set(entry, ErrorMark{state.testWords.at(i), state.wordStarts.at(i), 0});
    classifyNewEntry(state, i, candidate);
    const std::uint8_t newClass = state.errorMarks.at(entry).errorClass;

    if (state.errorCount > 1) {
        // The loop changes neither the test words nor the error marks, and marks 1..last are
        // stored (the new one, after them, was just written).
        const Text& word = state.testWords.at(i);
        const std::span<const ErrorMark> marks = state.errorMarks.storedEntries();
        const long long last = state.errorCount - 1;
        for (long long k = 1; k <= last; ++k) {
            const ErrorMark& earlier = marks[static_cast<std::size_t>(k) - 1];
            if ((newClass != 0 && earlier.errorClass == newClass) || earlier.text == word) {
                state.repeatMarkCount += 1;
                state.repeatMarks.set(state.repeatMarkCount,
                                      RepeatMark{word, state.wordStarts.at(i)});
                if (k != state.errorCount)
                    state.errorCount -= 1; // the entry stays in the table, outside the count
            }
        }
    }

    if (!candidate.empty())
        state.wordIndex += 1;
}

Text joinAttempt(TestState& state, long long i, TextView sourceText) {
    return joinAttempt(state, i, IndexedText(sourceText));
}

Text joinAttempt(TestState& state, long long i, const IndexedText& source) {
    const Text a = trimSpaces(state.testWords.at(i));
    const Text b = trimSpaces(state.testWords.at(i + 1));
    // Every candidate begins with the first word: without it in the source there is none.
    if (!source.contains(a))
        return {};
    const std::array<Text, 4> candidates = {a + b, a + u"-" + b, a + u"'" + b, a + u" ."};
    for (const Text& candidate : candidates) {
        if (!source.contains(candidate))
            continue;
        const Text absorbed = state.testWords.at(i + 1);
        state.testWords.set(i, a + u" " + b);
        state.joinList += absorbed + u"/";
        return candidate;
    }
    return {};
}

void classifyNewEntry(TestState& state, long long i, const Text& joinCandidate) {
    ErrorMark& entry = state.errorMarks.ref(state.errorCount);
    entry.errorClass = 0;
    Text w = state.testWords.at(i);
    if (w.empty() || w == u"\r")
        return;
    if (w == u". ") {
        w = u" .";
        state.testWords.set(i, w);
    }

    if (joinsTwoSourceWords(state, w))
        entry.errorClass = 4;

    const TextView head = TextView(w).substr(0, w.size() - 1);
    const Text trimmed = trimSpaces(w);
    const auto inside = [&](char16_t mark) {
        return head.find(mark) != TextView::npos && !endsWith(trimmed, TextView(&mark, 1));
    };
    if (inside(u'.'))
        entry.errorClass = 1;
    if (inside(u','))
        entry.errorClass = 2;
    for (const char16_t mark : {u'?', u'!', u';', u':'})
        if (inside(mark))
            entry.errorClass = 3;

    if (!joinCandidate.empty()) {
        entry.errorClass = 5;
        if (endsWith(w, u" ."))
            entry.errorClass = 1;
        if (endsWith(w, u" ,"))
            entry.errorClass = 2;
    }
}

} // namespace tikmeter::engine
