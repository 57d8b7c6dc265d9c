#pragma once

#include <QString>

class QPrinter;

namespace tikmeter::app {

// Every modal interaction of the window goes through this interface, so that tests can
// answer it from a script instead of showing real dialogs. File dialog filters are given
// as "Description|*.EXT|Description|*.EXT" pairs.
class Dialogs {
public:
    virtual ~Dialogs() = default;

    // A message box with an OK button.
    virtual void messageBox(const QString& text, const QString& title) = 0;
    // A question answered with Yes (true) or No.
    virtual bool question(const QString& text, const QString& title) = 0;
    // A one-line question; the empty text when cancelled.
    virtual QString inputBox(const QString& prompt, const QString& title,
                             const QString& defaultAnswer) = 0;

    // The file dialog keeps the last file name between uses; this forgets it.
    virtual void clearFileName() = 0;
    // Open and save file dialogs: the chosen full path, or empty when cancelled. An open
    // dialog starts in `folder` when one is given, else where the last one ended.
    virtual QString openFileName(const QString& filter, const QString& folder,
                                 const QString& title) = 0;
    virtual QString saveFileName(const QString& filter) = 0;

    // Lets the user set up `printer`; true when the user confirmed.
    virtual bool printerDialog(QPrinter& printer) = 0;
};

} // namespace tikmeter::app
