#include "app/BrowserArea.h"

#include "browser/BrowserPane.h"
#include "browser/FileList.h"
#include "browser/FolderTree.h"
#include "browser/TestList.h"

#include <QLabel>

namespace tikmeter::app {

BrowserArea makeBrowserArea(QWidget* parent, const QString& programFolder) {
    auto* pane = new browser::BrowserPane(parent);
    auto* list = new browser::TestList(parent);
    list->setFileList(pane->fileList());
    list->setProgramFolder(programFolder);
    QObject::connect(pane->fileList(), &browser::FileList::dragFinished, list,
                     &browser::TestList::deriveDestination);
    return {pane, pane->folderTree(), pane->dragHint(), list};
}

} // namespace tikmeter::app
