#include "browser/IconList.h"

#include <QApplication>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QIcon>
#include <QPainter>
#include <QPolygon>
#include <QStyle>

namespace tikmeter::browser {

namespace {

constexpr int kSize = IconList::kPictureSize;

QPixmap pictureOf(const QIcon& icon) {
    // A cleared 16 by 16 picture with the icon drawn transparently at (0, 0).
    QPixmap buffer(kSize, kSize);
    buffer.fill(Qt::transparent);
    if (!icon.isNull()) {
        QPainter painter(&buffer);
        icon.paint(&painter, QRect(0, 0, kSize, kSize));
    }
    return buffer;
}

QPixmap standardPicture(QStyle::StandardPixmap which) {
    return pictureOf(QApplication::style()->standardIcon(which));
}

// The selected-folder picture: an open folder with a blue arrow pointing into it.
QPixmap selectedFolderPicture() {
    QPixmap picture = standardPicture(QStyle::SP_DirOpenIcon);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 64, 224));
    const QPolygon arrow({QPoint(1, 6), QPoint(6, 6), QPoint(6, 3), QPoint(11, 8), QPoint(6, 13),
                          QPoint(6, 10), QPoint(1, 10)});
    painter.drawPolygon(arrow);
    return picture;
}

bool makesNewPictureEveryCall(const QString& cacheKey) {
    return cacheKey == QLatin1String("Application") || cacheKey == QLatin1String("Shortcut");
}

} // namespace

IconList::IconList(QObject* parent) : QObject(parent), iconProvider_(new QFileIconProvider) {
    add(standardPicture(QStyle::SP_DriveFDIcon), {});
    add(standardPicture(QStyle::SP_DriveHDIcon), {});
    add(standardPicture(QStyle::SP_DriveCDIcon), {});
    add(standardPicture(QStyle::SP_DirClosedIcon), {});
    add(standardPicture(QStyle::SP_DirOpenIcon), {});
    add(selectedFolderPicture(), {});
}

IconList::~IconList() {
    delete iconProvider_;
}

QPixmap IconList::picture(int number) const {
    return number >= 1 && number <= count() ? pictures_[number - 1].picture : QPixmap();
}

QIcon IconList::icon(int number) const {
    const QPixmap found = picture(number);
    return found.isNull() ? QIcon() : QIcon(found);
}

QString IconList::key(int number) const {
    return number >= 1 && number <= count() ? pictures_[number - 1].key : QString();
}

int IconList::indexOfKey(const QString& key) const {
    if (key.isEmpty())
        return 0;
    for (int i = 0; i < count(); ++i) {
        if (pictures_[i].key == key)
            return i + 1;
    }
    return 0;
}

int IconList::add(const QPixmap& picture, const QString& key) {
    if (indexOfKey(key) != 0)
        return 0;
    pictures_.push_back({picture, key});
    return count();
}

int IconList::iconIndexFor(const QString& path, QString cacheKey) {
    if (!makesNewPictureEveryCall(cacheKey)) {
        if (const int cached = indexOfKey(cacheKey))
            return cached;
    }
    const QIcon icon = iconProvider_->icon(QFileInfo(path));
    if (icon.isNull())
        return 0;
    const QPixmap buffer = pictureOf(icon);
    if (const int number = add(buffer, cacheKey))
        return number;
    // The key is taken (a second "Application" or "Shortcut"): add the picture without a key.
    // Adding without a key cannot fail, so there is exactly one retry.
    cacheKey.clear();
    return add(buffer, cacheKey);
}

} // namespace tikmeter::browser
