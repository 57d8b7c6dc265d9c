#include "app/DialogFilter.h"

#include <QStringList>

namespace tikmeter::app {

namespace {

QString qtPatterns(const QString& patterns) {
    QStringList out;
    const QStringList parts = patterns.split(u';', Qt::SkipEmptyParts);
    for (const QString& raw : parts) {
        const QString pattern = raw.trimmed();
        for (const QString& variant : {pattern, pattern.toUpper(), pattern.toLower()}) {
            if (!variant.isEmpty() && !out.contains(variant)) {
                out.append(variant);
            }
        }
    }
    return out.join(u' ');
}

// "'Rich Text Format'-Lêers (*.RTF)" already names its pattern; Qt shows the pattern
// group itself, so a trailing copy of the raw pattern is dropped from the description.
QString bareDescription(const QString& description, const QString& patterns) {
    const QString suffix = QStringLiteral(" (") + patterns + u')';
    if (description.endsWith(suffix)) {
        return description.left(description.size() - suffix.size());
    }
    return description;
}

} // namespace

QString toQtFilter(const QString& filter) {
    const QStringList parts = filter.split(u'|');
    QStringList entries;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString patterns = qtPatterns(parts[i + 1]);
        if (patterns.isEmpty()) {
            continue;
        }
        entries.append(bareDescription(parts[i], parts[i + 1].trimmed()) + QStringLiteral(" (") +
                       patterns + u')');
    }
    return entries.join(QStringLiteral(";;"));
}

} // namespace tikmeter::app
