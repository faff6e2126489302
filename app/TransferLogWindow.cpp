#include "app/TransferLogWindow.h"

#include "comm/forms/LogView.h"

#include <QFileInfo>

namespace zor {

bool TransferLogAvailable(const TCommSettings &settings, const QStringList &paths)
{
    if (settings.LogToFile)
        return true;
    for (const QString &path : paths)
        if (QFileInfo::exists(path))
            return true;
    return false;
}

TLogView *ShowTransferLog(QWidget *owner, const QStringList &labels, const QStringList &paths,
                          int current)
{
    auto *view = owner->findChild<TLogView *>(QString(), Qt::FindDirectChildrenOnly);
    if (!view)
        view = new TLogView(owner);
    QList<TLogView::TLog> logs;
    for (qsizetype i = 0; i < labels.size() && i < paths.size(); ++i)
        logs.append({labels[i], paths[i]});
    view->SetLogs(logs, current);
    view->show();
    view->raise();
    view->activateWindow();
    return view;
}

} // namespace zor
