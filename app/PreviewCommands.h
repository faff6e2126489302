// The live preview's part of the main window: the dock under the documents, what Zor > Preview
// and Zor > Export animation do, and the keeping of Preview and Character > All commands (which
// lets the six command buttons that are otherwise kept disabled be enabled) in the settings file.
// The actions themselves are the window's, made from its action table.
#pragma once

#include "ui/Dialogs.h"

#include <QObject>
#include <QString>

class QAction;
class QMainWindow;
class QTextDocument;
class QWidget;

namespace zor {

class TProfileFile;

class TPreviewDock;

class TPreviewCommands : public QObject
{
    Q_OBJECT
public:
    // The window's two switches; both outlive this object.
    struct TSwitches
    {
        QAction *Preview, *AllCommands;
    };

    // Docks the preview at the bottom of window, shown while Preview is checked (and Preview
    // unchecked when the dock's own close button hides it). The two switches are taken from
    // profile (settingsFile's contents) and written to settingsFile whenever the operator changes
    // one.
    TPreviewCommands(QMainWindow &window, TSwitches switches, const QString &settingsFile,
                     const TProfileFile &profile);

    // The document the preview runs (nullptr shows a dark panel) and its editor, where Tab
    // leaves the preview's controls for.
    void FollowDocument(QTextDocument *document, QWidget *editor);
    // Export animation: asks for a file (NAME.gif after fileName, the document's) and writes
    // the run of document as an animated GIF; too many text segments get Simulation's message.
    // Returns what the status bar says when the file is written, else empty.
    QString ExportAnimation(const QTextDocument &document, const QString &fileName);
    // Lets go of the documents and stops saving the switches; the window calls it before it
    // destroys its documents and its dock (hiding the dock would otherwise be written down).
    void Detach();

signals:
    // A switch could not be written to the settings file.
    void SettingNotSaved();

private:
    void Save(const char *key, bool on);

    QMainWindow *Window;
    QString SettingsFile;
    TPreviewDock *Dock = nullptr;
    TSwitches Switches;
    TFileDialogState ExportDialog;
};

} // namespace zor
