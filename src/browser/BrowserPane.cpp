#include "browser/BrowserPane.h"

#include "browser/FileList.h"
#include "browser/FolderTree.h"
#include "browser/IconList.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPolygon>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace tikmeter::browser {

namespace {

// The drag hint's arrow: 25 by 13, pointing right, towards the green box.
QPixmap arrowPicture() {
    QPixmap arrow(25, 13);
    arrow.fill(Qt::transparent);
    QPainter painter(&arrow);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 128, 0));
    painter.drawPolygon(QPolygon({QPoint(0, 4), QPoint(15, 4), QPoint(15, 0), QPoint(24, 6),
                                  QPoint(15, 12), QPoint(15, 8), QPoint(0, 8)}));
    return arrow;
}

} // namespace

BrowserPane::BrowserPane(QWidget* parent)
    : QWidget(parent), iconList_(new IconList(this)), folderTree_(new FolderTree(iconList_, this)),
      fileList_(new FileList(iconList_, this)),
      heading_(new QLabel(QStringLiteral("Search here for speed tests"), this)),
      dragHint_(new QLabel(QStringLiteral("Drag speed tests to green box"), this)),
      dragHintArrow_(new QLabel(this)), stack_(new QStackedWidget(this)), browsing_(new QWidget) {
    folderTree_->setObjectName(QStringLiteral("folderTree"));
    fileList_->setObjectName(QStringLiteral("fileList"));
    heading_->setObjectName(QStringLiteral("browserHeading"));
    dragHint_->setObjectName(QStringLiteral("dragHint"));
    dragHintArrow_->setObjectName(QStringLiteral("dragHintArrow"));
    dragHintArrow_->setPixmap(arrowPicture());
    dragHint_->hide();
    dragHintArrow_->hide();

    auto* hint = new QHBoxLayout;
    hint->addStretch();
    hint->addWidget(dragHint_);
    hint->addWidget(dragHintArrow_);
    auto* heading = new QHBoxLayout;
    heading->addWidget(heading_);
    heading->addLayout(hint, 1);

    auto* panes = new QHBoxLayout(browsing_);
    panes->setContentsMargins(0, 0, 0, 0);
    folderTree_->setParent(browsing_);
    fileList_->setParent(browsing_);
    panes->addWidget(folderTree_, 2);
    panes->addWidget(fileList_, 3);
    stack_->addWidget(browsing_);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(heading);
    layout->addWidget(stack_, 1);

    connect(folderTree_, &FolderTree::currentFolderChanged, fileList_, &FileList::setCurrentFolder);
    connect(folderTree_, &FolderTree::refillRequested, fileList_, [this](const QString& path) {
        if (fileList_->currentFolder() == path)
            fileList_->fillFileList(false);
        else
            fileList_->setCurrentFolder(path);
    });
    connect(fileList_, &FileList::folderDoubleClicked, folderTree_, &FolderTree::showFolder);
    connect(fileList_, &FileList::busyChanged, folderTree_, &QWidget::setDisabled);
    connect(fileList_, &FileList::captionChanged, this, &BrowserPane::captionChanged);
    connect(fileList_, &FileList::firstFocused, this, [this] {
        dragHint_->show();
        dragHintArrow_->show();
    });
}

void BrowserPane::setCover(QWidget* cover) {
    cover_ = cover;
    stack_->addWidget(cover);
    stack_->setCurrentWidget(browsing_);
}

void BrowserPane::showCover(bool shown) {
    stack_->setCurrentWidget(shown && cover_ != nullptr ? cover_ : browsing_);
}

bool BrowserPane::coverShown() const {
    return cover_ != nullptr && stack_->currentWidget() == cover_;
}

} // namespace tikmeter::browser
