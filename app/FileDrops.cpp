#include "app/FileDrops.h"

#include "ui/Dialogs.h"

#include <QCoreApplication>
#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QMimeData>
#include <QTimer>
#include <QUrl>

namespace zor {

QStringList DroppedFiles(const QMimeData *data)
{
    QStringList files;
    if (!data || !data->hasUrls())
        return files;
    for (const QUrl &url : data->urls())
        if (url.isLocalFile())
            files << url.toLocalFile();
    return files;
}

bool TFileDrops::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto *drag = static_cast<QDragMoveEvent *>(event);
        if (DroppedFiles(drag->mimeData()).isEmpty())
            break;
        drag->acceptProposedAction();
        return true;
    }
    case QEvent::Drop: {
        auto *drop = static_cast<QDropEvent *>(event);
        const QStringList files = DroppedFiles(drop->mimeData());
        if (files.isEmpty())
            break;
        drop->acceptProposedAction();
        QTimer::singleShot(0, this, [this, files] { emit FilesDropped(files); });
        return true;
    }
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

bool CheckOpenable(QWidget *parent, const QString &name)
{
    const QFileInfo info(name);
    QFile file(name);
    QString reason;
    if (info.isFile()) {
        if (file.open(QIODevice::ReadOnly))
            return true;
        reason = file.errorString();
    } else if (info.exists()) {
        reason = QCoreApplication::translate("FileDrops", "It is not a file.");
    } else if (!info.dir().exists()) {
        reason = QCoreApplication::translate("FileDrops", "The folder %1 does not exist.")
                     .arg(QDir::toNativeSeparators(info.absolutePath()));
    } else {
        // A new document of that name, as the Open dialog gives: the first Save creates it.
        return true;
    }
    ShowErrorBox(
        parent,
        QCoreApplication::translate("FileDrops", "Cannot open file %1. %2").arg(name, reason));
    return false;
}

} // namespace zor
