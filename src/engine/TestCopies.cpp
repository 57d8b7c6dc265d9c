#include "engine/TestCopies.h"

#include "documents/PathText.h"

#include <map>
#include <set>
#include <string>

namespace tikmeter::engine {

namespace {

using documents::fileNameOf;
using documents::joinPath;

// The name as a case-blind key: ASCII and Latin-1 letters folded to lower case.
std::u16string caseKey(std::u16string_view name) {
    std::u16string key(name);
    for (char16_t& c : key) {
        if ((c >= u'A' && c <= u'Z') || (c >= u'\u00C0' && c <= u'\u00DE' && c != u'\u00D7')) {
            c = static_cast<char16_t>(c + 0x20);
        }
    }
    return key;
}

std::u16string numberText(int number) {
    const std::string digits = std::to_string(number);
    return {digits.begin(), digits.end()};
}

// "jan.rtf", 2 -> "jan (2).rtf"; a name without extension gets the number at its end.
std::u16string numberedName(const std::u16string& name, int number) {
    const auto dot = name.rfind(u'.');
    const bool hasExtension = dot != std::u16string::npos && dot != 0;
    return (hasExtension ? name.substr(0, dot) : name) + u" (" + numberText(number) + u")" +
           (hasExtension ? name.substr(dot) : std::u16string());
}

// The first of name, name (2), name (3), ... whose key is not in `taken`.
std::u16string freeName(const std::u16string& name, const std::set<std::u16string>& taken) {
    std::u16string chosen = name;
    for (int number = 2; taken.contains(caseKey(chosen)); ++number) {
        chosen = numberedName(name, number);
    }
    return chosen;
}

std::u16string withoutLastFour(const std::u16string& name) {
    return name.substr(0, name.size() >= 4 ? name.size() - 4 : 0);
}

} // namespace

std::vector<TestFiles>
planTestFiles(const std::vector<std::u16string>& entries, const std::u16string& destPath,
              const std::function<bool(const std::u16string&)>& liesInDestination) {
    std::vector<TestFiles> files(entries.size());
    std::set<std::u16string> taken = {caseKey(u"Resultaat.res"), caseKey(u"Resultaat.csv")};
    std::map<std::u16string, std::size_t> firstListed; // entry -> its first index

    // Files already in the destination folder are their own copies.
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (liesInDestination(entries[i])) {
            files[i].copy = joinPath(destPath, fileNameOf(entries[i]));
            taken.insert(caseKey(fileNameOf(entries[i])));
        }
    }
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const auto [first, isFirst] = firstListed.emplace(entries[i], i);
        if (!isFirst) {
            files[i].copy = files[first->second].copy;
        } else if (files[i].copy.empty()) {
            const std::u16string name = freeName(fileNameOf(entries[i]), taken);
            taken.insert(caseKey(name));
            files[i].copy = joinPath(destPath, name);
        }
    }
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const auto first = firstListed.at(entries[i]);
        if (first != i) {
            files[i].markedTest = files[first].markedTest;
            continue;
        }
        const std::u16string name =
            freeName(withoutLastFour(fileNameOf(files[i].copy)) + u".rug", taken);
        taken.insert(caseKey(name));
        files[i].markedTest = joinPath(destPath, name);
    }
    return files;
}

} // namespace tikmeter::engine
