#include "browser/Destination.h"

#include "browser/PathText.h"

namespace tikmeter::browser {

std::optional<Destination> deriveDestination(const QString& programFolder,
                                             const QStringList& entries) {
    if (entries.isEmpty())
        return std::nullopt;
    Destination destination;
    destination.name = fileNameOfPath(folderOfPath(entries.first()));
    destination.path = joinEntryPath(programFolder, destination.name);
    return destination;
}

} // namespace tikmeter::browser
