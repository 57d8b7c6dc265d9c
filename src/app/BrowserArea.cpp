#include "app/BrowserArea.h"

#include "app/FrmMain.h"
#include "app/TextConvert.h"
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

BrowserArea makeBrowserArea(FrmMain& window) {
    auto* pane = new browser::BrowserPane(&window);
    auto* list = new browser::TestList(&window);
    list->setObjectName(QStringLiteral("List1"));
    makeGreen(*list);
    list->setFileList(pane->fileList());
    list->setProgramFolder(toQString(window.folder().path));

    QObject::connect(pane, &browser::BrowserPane::captionChanged, &window,
                     &QWidget::setWindowTitle);
    QObject::connect(pane->fileList(), &browser::FileList::dragFinished, list,
                     &browser::TestList::deriveDestination);
    QObject::connect(list, &browser::TestList::destinationDerived, &window,
                     [&window](const QString& name, const QString& destPath) {
                         // A running session keeps the destination it settled: a drag
                         // meanwhile must not send the remaining results elsewhere.
                         if (window.sessionRunning()) {
                             return;
                         }
                         window.setText1(toU16(name));
                         window.state().destPath = toU16(destPath);
                         window.setLabel9(toU16(destPath));
                     });
    pane->fileList()->setErrorReporter(
        [&window](const QString& text) { window.messageBox(toU16(text), u"Error"); });
    return {pane, pane->tree(), pane->hintLabel(), list};
}

} // namespace tikmeter::app
