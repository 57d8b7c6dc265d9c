#pragma once

#include <QString>

namespace tikmeter::app {

// What start-up needs from the file browser's folder tree: fill it with the drives and
// open it at a folder (which makes that folder the file list's current folder).
class FolderTreeSeam {
public:
    virtual ~FolderTreeSeam() = default;
    virtual void LoadDrives() = 0;
    virtual void SetTreePath(const QString& path) = 0;
    // The folder the tree has opened; empty before the first.
    virtual QString currentFolder() const = 0;
};

} // namespace tikmeter::app
