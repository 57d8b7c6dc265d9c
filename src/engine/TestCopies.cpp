#include "engine/TestCopies.h"

#include "documents/PathText.h"

#include <map>
#include <string>

namespace tikmeter::engine {

namespace {

// "jan.rtf", 2 -> "jan (2).rtf"; a name without extension gets the number at its end.
std::u16string numberedName(const std::u16string& name, int number) {
    const auto dot = name.rfind(u'.');
    const std::u16string stem =
        dot == std::u16string::npos || dot == 0 ? name : name.substr(0, dot);
    const std::u16string extension =
        dot == std::u16string::npos || dot == 0 ? std::u16string() : name.substr(dot);
    std::u16string numberText;
    for (char c : std::to_string(number)) {
        numberText += static_cast<char16_t>(c);
    }
    return stem + u" (" + numberText + u")" + extension;
}

} // namespace

std::vector<std::u16string> planTestCopies(const std::vector<std::u16string>& entries,
                                           const std::u16string& destPath) {
    std::vector<std::u16string> targets(entries.size());
    std::map<std::u16string, std::u16string> owner; // copy name -> entry that owns it

    // Files already in the destination folder are their own copies.
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (documents::folderOf(entries[i]) == destPath) {
            const std::u16string name = documents::fileNameOf(entries[i]);
            owner.emplace(name, entries[i]);
            targets[i] = entries[i];
        }
    }
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (!targets[i].empty()) {
            continue;
        }
        const std::u16string name = documents::fileNameOf(entries[i]);
        std::u16string chosen = name;
        for (int number = 2;; ++number) {
            const auto taken = owner.find(chosen);
            if (taken == owner.end() || taken->second == entries[i]) {
                break;
            }
            chosen = numberedName(name, number);
        }
        owner.emplace(chosen, entries[i]);
        targets[i] = documents::joinPath(destPath, chosen);
    }
    return targets;
}

} // namespace tikmeter::engine
