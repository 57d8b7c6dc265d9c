#include "app/PlaceholderBrowser.h"

#include <QLabel>
#include <QVBoxLayout>

namespace tikmeter::app {

PlaceholderBrowser::PlaceholderBrowser(QWidget* parent)
    : QWidget(parent), hint_(new QLabel(QStringLiteral("Drag speed tests to green box"), this)),
      folderLabel_(new QLabel(this)) {
    auto* heading = new QLabel(QStringLiteral("Search here for speed tests"), this);
    heading->setObjectName(QStringLiteral("Label5"));
    hint_->setObjectName(QStringLiteral("Label4"));
    hint_->hide();
    folderLabel_->setWordWrap(true);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(heading);
    layout->addWidget(hint_);
    layout->addWidget(folderLabel_, 1, Qt::AlignTop);
}

void PlaceholderBrowser::LoadDrives() {
    folderLabel_->setText(QStringLiteral("/"));
}

void PlaceholderBrowser::SetTreePath(const QString& path) {
    folder_ = path;
    folderLabel_->setText(path);
}

} // namespace tikmeter::app
