#include "app/BrowserArea.h"

#include "app/FrmMain.h"
#include "app/TextConvert.h"

#include <QLabel>
#include <QListWidget>
#include <QPalette>

#if TIKMETER_APP_WITH_BROWSER
#include "browser/BrowserPane.h"
#include "browser/FileList.h"
#include "browser/FolderTree.h"
#include "browser/TestList.h"
#else
#include "app/PlaceholderBrowser.h"
#endif

namespace tikmeter::app {

namespace {

// The green box: light green, red 128, green 255, blue 128.
void makeGreen(QListWidget& list) {
    QPalette palette = list.palette();
    palette.setColor(QPalette::Base, QColor(128, 255, 128));
    list.setPalette(palette);
    list.setAutoFillBackground(true);
}

#if TIKMETER_APP_WITH_BROWSER

// Start-up talks to the pane's folder tree through the seam.
class PaneTree : public QObject, public FolderTreeSeam {
public:
    PaneTree(browser::FolderTree& tree, QObject* parent) : QObject(parent), tree_(tree) {}
    void LoadDrives() override { tree_.LoadDrives(); }
    void SetTreePath(const QString& path) override { tree_.SetTreePath(path); }
    QString currentFolder() const override { return tree_.currentFolder(); }

private:
    browser::FolderTree& tree_;
};

BrowserArea makeArea(FrmMain& window) {
    auto* pane = new browser::BrowserPane(&window);
    auto* list = new browser::TestList(&window);
    list->setFileList(pane->fileList());
    list->setProgramFolder(window.folder().path());

    QObject::connect(pane, &browser::BrowserPane::captionChanged, &window,
                     &QWidget::setWindowTitle);
    QObject::connect(pane->fileList(), &browser::FileList::dragFinished, list,
                     &browser::TestList::deriveDestination);
    QObject::connect(list, &browser::TestList::destinationDerived, &window,
                     [&window](const QString& name, const QString& destPath) {
                         window.setText1(toU16(name));
                         window.state().destPath = toU16(destPath);
                         window.setLabel9(toU16(destPath));
                     });
    pane->fileList()->setErrorReporter(
        [&window](const QString& text) { window.messageBox(toU16(text), u"Error"); });
    return {pane, new PaneTree(*pane->tree(), pane), pane->hintLabel(), list};
}

#else

BrowserArea makeArea(FrmMain& window) {
    auto* pane = new PlaceholderBrowser(&window);
    auto* list = new QListWidget(&window);
    return {pane, pane, pane->hintLabel(), list};
}

#endif

} // namespace

BrowserArea makeBrowserArea(FrmMain& window) {
    BrowserArea area = makeArea(window);
    area.testList->setObjectName(QStringLiteral("List1"));
    makeGreen(*area.testList);
    return area;
}

void clearTestList(QListWidget& testList) {
#if TIKMETER_APP_WITH_BROWSER
    if (auto* list = qobject_cast<browser::TestList*>(&testList)) {
        list->clearEntries();
        return;
    }
#endif
    testList.clear();
}

} // namespace tikmeter::app
