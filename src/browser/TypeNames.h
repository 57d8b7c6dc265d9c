#pragma once

#include <QHash>
#include <QMimeDatabase>
#include <QString>

class QFileInfo;

namespace tikmeter::browser {

// Type names for the file list from Qt's MIME database (its description, e.g. "RTF document").
// Files are typed by their suffix, looked up once per suffix, so a folder of many tests costs
// one lookup; folders share the description of inode/directory.
class TypeNames {
public:
    QString of(const QFileInfo& info);

private:
    QMimeDatabase database_;
    QHash<QString, QString> bySuffix_;
    QString folderName_;
};

} // namespace tikmeter::browser
