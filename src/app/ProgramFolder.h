#pragma once

#include <QString>

namespace tikmeter::app {

// The folder that holds the source copies and the destination folders: the folder of the
// executable, or EDU_TIKMETER_HOME when that is set. When that folder cannot be written
// (an installed program in /usr/bin, say), ~/Edu Tikmeter is used instead; it is created
// the first time something is to be put into it.
class ProgramFolder {
public:
    // `executableFolder` is normally QCoreApplication::applicationDirPath(); the
    // environment is read once, here.
    explicit ProgramFolder(const QString& executableFolder);

    // The folder in use, without a trailing separator.
    const QString& path() const { return path_; }
    // True when the preferred folder could not be written and ~/Edu Tikmeter is used.
    bool isFallback() const { return fallback_; }
    // The executable's folder or EDU_TIKMETER_HOME, whether usable or not.
    const QString& preferredPath() const { return preferred_; }

    // Creates the folder in use when it does not exist yet; false when that fails.
    bool ensureExists() const;

private:
    QString preferred_;
    QString path_;
    bool fallback_ = false;
};

// True when a file can be created in `folder` (tried for real: permission bits say
// little for root or on read-only mounts).
bool canWriteIn(const QString& folder);

} // namespace tikmeter::app
