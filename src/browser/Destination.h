#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace tikmeter::browser {

// The destination folder derived from the first test-list entry at the end of a drag.
struct Destination {
    QString name; // for the destination name field: last component of entry 0's folder
    QString path; // destPath: program folder + "/" + name
};

// The destination derived from the test list's entries; nullopt when the list is empty (then the
// destination name, destPath and the destination path label keep their values). An entry taken from
// the root ("//a.rtf") gives the empty name and the program folder followed by one separator.
std::optional<Destination> deriveDestination(const QString& programFolder,
                                             const QStringList& entries);

} // namespace tikmeter::browser
