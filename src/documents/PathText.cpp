#include "documents/PathText.h"

namespace tikmeter::documents {

std::u16string fileNameOf(std::u16string_view path) {
    const auto cut = path.rfind(kSeparator);
    return std::u16string(cut == std::u16string_view::npos ? path : path.substr(cut + 1));
}

std::u16string folderOf(std::u16string_view path) {
    const auto cut = path.rfind(kSeparator);
    return std::u16string(cut == std::u16string_view::npos ? std::u16string_view{}
                                                           : path.substr(0, cut));
}

std::u16string joinPath(std::u16string_view folder, std::u16string_view name) {
    std::u16string joined(folder);
    joined += kSeparator;
    joined += name;
    return joined;
}

std::u16string destinationNameFor(std::u16string_view firstEntry) {
    return fileNameOf(folderOf(firstEntry));
}

} // namespace tikmeter::documents
