#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace tikmeter::browser {

// The destination folder derived from the first test-list entry at the end of a drag.
struct Destination {
    QString name; // the new text of Text1: last component of entry 0's folder
    QString path; // destPath: program folder + "/" + name
};

// The destination derived from List1's entries; nullopt when the list is empty (then Text1,
// destPath and Label9 keep their values). An entry taken from the root ("//a.rtf") gives the
// empty name and the program folder followed by one separator.
std::optional<Destination> deriveDestination(const QString& programFolder,
                                             const QStringList& entries);

} // namespace tikmeter::browser
