#include "browser/TypeNames.h"

#include <QFileInfo>

namespace tikmeter::browser {

QString TypeNames::of(const QFileInfo& info) {
    if (info.isDir()) {
        if (folderName_.isEmpty())
            folderName_ = database_.mimeTypeForName(QStringLiteral("inode/directory")).comment();
        return folderName_;
    }
    const QString suffix = info.suffix().toLower();
    const auto found = bySuffix_.constFind(suffix);
    if (found != bySuffix_.constEnd())
        return *found;
    const QString name =
        database_.mimeTypeForFile(info.fileName(), QMimeDatabase::MatchExtension).comment();
    bySuffix_.insert(suffix, name);
    return name;
}

} // namespace tikmeter::browser
