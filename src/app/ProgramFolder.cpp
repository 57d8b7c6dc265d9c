#include "app/ProgramFolder.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryFile>

namespace tikmeter::app {

namespace {

QString withoutTrailingSeparator(const QString& folder) {
    // cleanPath keeps "/" itself but removes a trailing "/" elsewhere.
    return QDir::cleanPath(folder);
}

} // namespace

bool canWriteIn(const QString& folder) {
    if (!QFileInfo(folder).isDir()) {
        return false;
    }
    QTemporaryFile probe(folder + QStringLiteral("/.edu-tikmeter-XXXXXX"));
    return probe.open();
}

ProgramFolder::ProgramFolder(const QString& executableFolder) {
    const QString home = qEnvironmentVariable("EDU_TIKMETER_HOME");
    preferred_ = withoutTrailingSeparator(home.isEmpty() ? executableFolder : home);
    // A home folder named in the environment may not exist yet: make it now.
    if (!home.isEmpty() && !QFileInfo::exists(preferred_)) {
        QDir().mkpath(preferred_);
    }
    if (canWriteIn(preferred_)) {
        path_ = preferred_;
    } else {
        path_ = withoutTrailingSeparator(QDir::homePath() + QStringLiteral("/Edu Tikmeter"));
        fallback_ = true;
    }
}

bool ProgramFolder::ensureExists() const {
    return QFileInfo(path_).isDir() || QDir().mkpath(path_);
}

} // namespace tikmeter::app
