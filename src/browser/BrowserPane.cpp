#include "browser/BrowserPane.h"

#include "browser/FileList.h"
#include "browser/FolderTree.h"
#include "browser/ImageList.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPolygon>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace tikmeter::browser {

namespace {

// Picture1: a 25 by 13 arrow pointing right, towards the green box.
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
    : QWidget(parent), ImgSmall_(new ImageList(this)), tvDir_(new FolderTree(ImgSmall_, this)),
      lvDir_(new FileList(ImgSmall_, this)),
      Label5_(new QLabel(QStringLiteral("Search here for speed tests"), this)),
      Label4_(new QLabel(QStringLiteral("Drag speed tests to green box"), this)),
      Picture1_(new QLabel(this)), stack_(new QStackedWidget(this)), browsing_(new QWidget) {
    tvDir_->setObjectName(QStringLiteral("tvDir"));
    lvDir_->setObjectName(QStringLiteral("lvDir"));
    Label5_->setObjectName(QStringLiteral("Label5"));
    Label4_->setObjectName(QStringLiteral("Label4"));
    Picture1_->setObjectName(QStringLiteral("Picture1"));
    Picture1_->setPixmap(arrowPicture());
    Label4_->hide();
    Picture1_->hide();

    auto* hint = new QHBoxLayout;
    hint->addStretch();
    hint->addWidget(Label4_);
    hint->addWidget(Picture1_);
    auto* heading = new QHBoxLayout;
    heading->addWidget(Label5_);
    heading->addLayout(hint, 1);

    auto* panes = new QHBoxLayout(browsing_);
    panes->setContentsMargins(0, 0, 0, 0);
    tvDir_->setParent(browsing_);
    lvDir_->setParent(browsing_);
    panes->addWidget(tvDir_, 2);
    panes->addWidget(lvDir_, 3);
    stack_->addWidget(browsing_);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(heading);
    layout->addWidget(stack_, 1);

    connect(tvDir_, &FolderTree::currentFolderChanged, lvDir_, &FileList::setCurrentFolder);
    connect(tvDir_, &FolderTree::refillRequested, lvDir_, [this](const QString& path) {
        if (lvDir_->currentFolder() == path)
            lvDir_->FillFileList(false);
        else
            lvDir_->setCurrentFolder(path);
    });
    connect(lvDir_, &FileList::folderDoubleClicked, tvDir_, &FolderTree::SetTreePath);
    connect(lvDir_, &FileList::busyChanged, tvDir_, &QWidget::setDisabled);
    connect(lvDir_, &FileList::captionChanged, this, &BrowserPane::captionChanged);
    connect(lvDir_, &FileList::firstFocused, this, [this] {
        Label4_->show();
        Picture1_->show();
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
