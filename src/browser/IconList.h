#pragma once

#include <QObject>
#include <QPixmap>
#include <QString>
#include <QVector>

class QFileIconProvider;

namespace tikmeter::browser {

// The icon list: an ordered list of 16 by 16 pictures, numbered from 1, each with an optional
// unique text key. Pictures 1 to 6 are built in: 1 drive, 2 hard drive, 3 disc, 4 closed folder, 5
// open folder, 6 open folder with a blue arrow (the selected-folder picture). Pictures added by
// iconIndexFor follow from 7 on and are never removed.
class IconList : public QObject {
    Q_OBJECT
public:
    static constexpr int kSelectedFolderPicture = 6;
    static constexpr int kPictureSize = 16;

    explicit IconList(QObject* parent = nullptr);
    ~IconList() override;

    int count() const { return static_cast<int>(pictures_.size()); }
    // The picture with this number (1-based); a null pixmap when out of range.
    QPixmap picture(int number) const;
    QIcon icon(int number) const;
    // The key of a picture ("" when it has none or the number is out of range).
    QString key(int number) const;
    // The number of the picture with this key, 0 when none has it (the empty key never matches).
    int indexOfKey(const QString& key) const;

    // Appends a picture; returns its number, or 0 when the key is not empty and already taken.
    int add(const QPixmap& picture, const QString& key);

    // The number of a picture for the path's icon, cached by cacheKey: a second call with a known
    // key returns the cached picture, except for the keys "Application" and "Shortcut", which
    // make a new picture on every call (added without a key when the key is already taken).
    // Returns 0 when the platform has no icon for the path.
    int iconIndexFor(const QString& path, QString cacheKey);

private:
    struct Entry {
        QPixmap picture;
        QString key;
    };
    QVector<Entry> pictures_;
    QFileIconProvider* iconProvider_;
};

} // namespace tikmeter::browser
