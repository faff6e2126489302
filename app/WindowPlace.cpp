#include "app/WindowPlace.h"

#include "editor/Child.h"

#include <QCursor>
#include <QDockWidget>
#include <QFile>
#include <QGuiApplication>
#include <QMainWindow>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>

#include <algorithm>

namespace zor {

namespace {

// Room the window manager's frame takes around the window: a caption above, thin sides.
const QSize FrameAllowance(16, 48);

QRect FitInto(QRect rect, const QRect &room)
{
    rect.setSize(rect.size().boundedTo(room.size() - FrameAllowance).expandedTo(QSize(1, 1)));
    rect.moveLeft(std::clamp(rect.left(), room.left(), room.right() + 1 - rect.width()));
    rect.moveTop(std::clamp(rect.top(), room.top(), room.bottom() + 1 - rect.height()));
    return rect;
}

} // namespace

QSize FirstStartSize(const QMainWindow &window)
{
    const TRichEdit editor;
    const QStyle *style = window.style();
    // A document window around its text: caption, frame, the editor's frame and margins, and
    // the horizontal scroll bar that is always shown.
    const int frame = style->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth);
    const int documentChrome = style->pixelMetric(QStyle::PM_TitleBarHeight) + 2 * frame +
                               2 * editor.frameWidth() +
                               2 * int(editor.document()->documentMargin()) +
                               style->pixelMetric(QStyle::PM_ScrollBarExtent);
    int height = window.menuBar()->sizeHint().height() + window.statusBar()->sizeHint().height() +
                 20 * editor.fontMetrics().lineSpacing() + documentChrome;
    int width = window.menuBar()->sizeHint().width();
    for (const QToolBar *bar : window.findChildren<QToolBar *>()) {
        height += bar->sizeHint().height();
        width = std::max(width, bar->sizeHint().width());
    }
    for (const QDockWidget *dock : window.findChildren<QDockWidget *>()) {
        height += dock->sizeHint().height();
        width = std::max(width, dock->sizeHint().width());
    }
    // Landscape, as screens are: room for the preview's timeline and for long lines.
    width = std::max(width, height * 5 / 4);
    return {width, height};
}

QRect MainWindowPlace(const std::optional<TWindowPlace> &kept, QSize wanted,
                      const QList<QRect> &screens, QPoint pointer)
{
    if (screens.isEmpty())
        return {};
    if (kept) {
        const QRect rect(kept->Left, kept->Top, kept->Width, kept->Height);
        // A screen unplugged since, or a smaller one, must not leave the window out of reach.
        for (const QRect &room : screens)
            if (room.contains(rect.center()))
                return FitInto(rect, room);
    }
    QRect room = screens.front();
    for (const QRect &screen : screens)
        if (screen.contains(pointer))
            room = screen;
    QRect rect(QPoint(), wanted);
    rect.moveCenter(room.center());
    return FitInto(rect, room);
}

void PlaceMainWindow(QMainWindow &window, const TProfileFile &profile)
{
    QList<QRect> screens;
    for (const QScreen *screen : QGuiApplication::screens())
        screens << screen->availableGeometry();
    const std::optional<TWindowPlace> kept = ReadWindowPlace(profile);
    const QRect place = MainWindowPlace(kept, FirstStartSize(window), screens, QCursor::pos());
    if (place.isEmpty())
        return;
    window.setGeometry(place);
    if (kept && kept->Maximized)
        window.setWindowState(window.windowState() | Qt::WindowMaximized);
}

void KeepMainWindowPlace(const QMainWindow &window, const QString &settingsFile)
{
    // The size to come back to from maximised is the one worth keeping.
    const QRect normal =
        window.isMaximized() || window.isMinimized() ? window.normalGeometry() : window.geometry();
    if (normal.isEmpty())
        return;
    WriteWindowPlace(
        QFile::encodeName(settingsFile).toStdString(),
        {normal.x(), normal.y(), normal.width(), normal.height(), window.isMaximized()});
}

} // namespace zor
