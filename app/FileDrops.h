// Files dropped on the main window or on a document open as documents; dropped text and web
// links are left to the editors.
#pragma once

#include <QObject>
#include <QStringList>

class QMimeData;
class QWidget;

namespace zor {

// The local files among dropped data; empty when the drop is not files (text, web links).
QStringList DroppedFiles(const QMimeData *data);

// Whether a file named from outside (the command line, a drop, the recent list) can be opened.
// As with the Open dialog, a name that does not exist in a folder that does is a new, empty
// document, which the first Save creates. A file that cannot be read, something that is not a
// file and a folder that does not exist get the open-failure message over parent.
bool CheckOpenable(QWidget *parent, const QString &name);

// An event filter, installed on the main window and on the editors' viewports, which would
// otherwise paste the names as text. Drops are reported after the drag has finished, since
// opening may show a message box.
class TFileDrops : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

signals:
    void FilesDropped(const QStringList &files);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};

} // namespace zor
