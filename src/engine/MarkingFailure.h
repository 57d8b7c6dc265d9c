#pragma once

#include <stdexcept>
#include <string>

namespace tikmeter::engine {

// A failure of the test being marked. The session's error trap decides what happens next.
class MarkingFailure : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A counter went past the range of its type (the session reports it as an overflow).
class OverflowFailure : public MarkingFailure {
public:
    using MarkingFailure::MarkingFailure;
};

// A list or text went past its fixed size (1500 words or marks, 8000 characters, 1000
// distinct words).
class BoundFailure : public MarkingFailure {
public:
    using MarkingFailure::MarkingFailure;
};

} // namespace tikmeter::engine
