#include "engine/ResultFile.h"

#include "documents/CodePages.h"
#include "documents/PathText.h"
#include "engine/FileOps.h"

namespace tikmeter::engine {

namespace {

std::u16string withoutLastFour(std::u16string_view text) {
    return std::u16string(text.substr(0, text.size() >= 4 ? text.size() - 4 : 0));
}

} // namespace

std::u16string resultLine(std::u16string_view destPath, std::u16string_view title,
                          std::u16string_view finalResultText) {
    std::u16string line =
        documents::joinPath(destPath, withoutLastFour(documents::fileNameOf(title)));
    line += u"   ";
    line += finalResultText;
    line += u" wpm";
    return line;
}

std::u16string failureLine(std::u16string_view listEntry) {
    return withoutLastFour(listEntry) + u".rug  0  wpm";
}

void appendResultLines(std::u16string_view destPath, const std::vector<std::u16string>& lines) {
    // A character that Windows-1252 cannot hold is written as "?".
    std::string bytes;
    for (const std::u16string& line : lines) {
        for (const char16_t c : line) {
            const auto byte = documents::encodeWindows1252(c);
            bytes += byte ? static_cast<char>(*byte) : '?';
        }
        bytes += "\r\n";
    }
    appendToFile(documents::joinPath(destPath, kResultFileName), bytes);
}

} // namespace tikmeter::engine
