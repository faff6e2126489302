#include "app/TransferLogWindow.h"

#include "comm/LogView.h"

#include <QFileInfo>

namespace zor {

bool TransferLogAvailable(const TCommSettings &settings)
{
    return settings.LogToFile || QFileInfo::exists(QString::fromStdString(settings.LogPath));
}

TLogView *ShowTransferLog(QWidget *owner, const TCommSettings &settings)
{
    auto *view = owner->findChild<TLogView *>(QString(), Qt::FindDirectChildrenOnly);
    if (!view)
        view = new TLogView(owner);
    view->LoadLog(QString::fromStdString(settings.LogPath));
    view->show();
    view->raise();
    view->activateWindow();
    return view;
}

} // namespace zor
