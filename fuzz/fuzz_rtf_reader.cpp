// Fuzz target for the document reader. Any bytes must give a document or an "unreadable"
// failure; a document read must survive the writer unchanged (text, runs and base font), and
// the written code must hold CR only as the CR LF of a paragraph end.
#include "documents/Document.h"
#include "documents/DocumentError.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

using tikmeter::documents::Document;
using tikmeter::documents::DocumentError;
using tikmeter::documents::DocumentErrorKind;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view code(reinterpret_cast<const char*>(data), size);
    Document document;
    try {
        document.setRtf(code);
    } catch (const DocumentError& error) {
        if (error.kind() != DocumentErrorKind::Unreadable) {
            std::abort();
        }
        return 0;
    }

    const std::string written = document.rtf();
    for (std::size_t i = 0; i < written.size(); ++i) {
        if (written[i] == '\n' && (i == 0 || written[i - 1] != '\r')) {
            std::abort();
        }
        if (written[i] == '\r' && (i + 1 >= written.size() || written[i + 1] != '\n')) {
            std::abort();
        }
    }

    Document again;
    again.setRtf(written); // the writer's code is always readable
    if (again.text() != document.text() || again.runs() != document.runs() ||
        again.baseFontName() != document.baseFontName()) {
        std::abort();
    }
    return 0;
}
