#pragma once

#include "engine/TestState.h"

namespace tikmeter::engine {

// Looks every typed word up in the compared source words (order ignored) and in the full
// source text, and marks the words that are not known. The last word is looked up in the 41
// characters of the source that end at sourceLimit instead (it may be cut off).
void unmatchedWordPass(TestState& state, TextView sourceText);

// Records an error for testWords(state.wordIndex): skips short tokens with a carriage return
// and a lone line feed, tries to join the word with the next one, appends and classifies the
// mark, moves it to the repeat marks when an earlier mark has the same text or the same
// punctuation class, and advances the word index past a word it absorbed. A pass that marks
// many words passes the source as one IndexedText, so that its searches share the index.
void markAWord(TestState& state, TextView sourceText);
void markAWord(TestState& state, const IndexedText& sourceText);

// Tries to join test word i with word i+1 ("some thing", "well known", "don t", "end .").
// On success rewrites testWords(i), adds word i+1 to the join list and returns the candidate
// found in the source; returns the empty text when no candidate occurs.
Text joinAttempt(TestState& state, long long i, TextView sourceText);
Text joinAttempt(TestState& state, long long i, const IndexedText& sourceText);

// Sets the error class of the mark just appended (entry errorCount) for test word i.
void classifyNewEntry(TestState& state, long long i, const Text& joinCandidate);

} // namespace tikmeter::engine
