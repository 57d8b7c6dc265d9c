#pragma once

#include <stdexcept>
#include <string>

namespace tikmeter::documents {

// Why a file could not be read, written or appended to. The marking session maps these onto
// its own failure kinds (access, write-protected medium, permission denied, too long).
enum class DocumentErrorKind {
    NotFound,         // the file or a folder on its path does not exist, or cannot be read
    Unreadable,       // the bytes are not a document this reader accepts
    PermissionDenied, // read-only file or folder, no access rights
    WriteProtected,   // the medium itself is read-only
    TooLarge,         // larger than kMaxFileSize (FileIo.h), or no memory left to read it
    NotRegularFile,   // a folder, pipe, device or socket (or, to append to, a symbolic link)
    DiskFull,         // no space left on the medium, or the disk quota is used up
    Other,            // any other input/output failure
};

class DocumentError : public std::runtime_error {
public:
    DocumentError(DocumentErrorKind kind, const std::string& what)
        : std::runtime_error(what), kind_(kind) {}
    DocumentErrorKind kind() const noexcept { return kind_; }

private:
    DocumentErrorKind kind_;
};

} // namespace tikmeter::documents
