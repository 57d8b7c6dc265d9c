#include "app/BrowserArea.h"

#include "browser/BrowserPane.h"
#include "browser/FileList.h"
#include "browser/FolderTree.h"
#include "browser/TestList.h"

#include <QLabel>
#include <QPalette>

namespace tikmeter::app {

namespace {

// The green box: light green, red 128, green 255, blue 128.
void makeGreen(QListWidget& list) {
    QPalette palette = list.palette();
    palette.setColor(QPalette::Base, QColor(128, 255, 128));
    list.setPalette(palette);
    list.setAutoFillBackground(true);
}

} // namespace

BrowserArea makeBrowserArea(QWidget* parent, const QString& programFolder) {
    auto* pane = new browser::BrowserPane(parent);
    auto* list = new browser::TestList(parent);
    list->setObjectName(QStringLiteral("testList"));
    makeGreen(*list);
    list->setFileList(pane->fileList());
    list->setProgramFolder(programFolder);
    QObject::connect(pane->fileList(), &browser::FileList::dragFinished, list,
                     &browser::TestList::deriveDestination);
    return {pane, pane->tree(), pane->hintLabel(), list};
}

} // namespace tikmeter::app
