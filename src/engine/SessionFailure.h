#pragma once

#include <exception>

namespace tikmeter::engine {

// The kinds of failure the marking session's error trap tells apart, with the error
// numbers the teacher's messages were written for.
enum class FailureKind {
    Access = 75,           // a file or folder cannot be opened, read, created or written
    WriteProtected = 5156, // the medium is read-only
    PermissionDenied = 70, // locked or read-only file or folder
    Overflow = 6,          // a 16-bit counter went past its range
    DiskFull = 61,         // no space left on the medium
    Other = 0,             // anything else: the failed step is skipped
};

// Classifies an exception thrown by any step of a session.
FailureKind classifyFailure(const std::exception_ptr& failure);

} // namespace tikmeter::engine
