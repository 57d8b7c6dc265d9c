#include "browser/Destination.h"

#include "browser/PathText.h"
#include "documents/PathText.h"

namespace tikmeter::browser {

std::optional<Destination> deriveDestination(const QString& programFolder,
                                             const QStringList& entries) {
    if (entries.isEmpty())
        return std::nullopt;
    Destination destination;
    destination.name =
        QString::fromStdU16String(documents::destinationNameFor(entries.first().toStdU16String()));
    destination.path = joinEntryPath(programFolder, destination.name);
    return destination;
}

} // namespace tikmeter::browser
