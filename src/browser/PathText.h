#pragma once

#include "documents/PathText.h"

#include <QString>

namespace tikmeter::browser {

// QString forms of the document layer's path rules, so the separator rule lives in one place.
inline constexpr QChar kPathSeparator{documents::kSeparator};

// The folder of a path: the text before its last separator ("" when there is none).
QString folderOfPath(const QString& path);

// The file name of a path: the text after its last separator (the whole path when there is none).
QString fileNameOfPath(const QString& path);

// A drive root is a path that ends with the separator ("/").
bool isDriveRoot(const QString& path);

// folder + separator + name, always with a separator between them, so a drive root gives a
// doubled separator ("/" + "a.rtf" -> "//a.rtf"), as the test-list entries are formed.
QString joinEntryPath(const QString& folder, const QString& name);

// folder + name with a separator unless the folder already ends with one, as full file paths
// in the file list are formed.
QString joinFilePath(const QString& folder, const QString& name);

// Number of separators in a path.
int separatorCount(const QString& path);

} // namespace tikmeter::browser
