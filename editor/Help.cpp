#include "editor/Help.h"

#include <QAction>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLocale>
#include <QStyle>
#include <QTextBrowser>
#include <QToolBar>

namespace zor {

namespace {

// The resource file behind a manual URL (":/help/index.html").
QString ResourcePath(const QUrl &url)
{
    return QLatin1Char(':') + url.path();
}

// The manual in the interface's language (the default locale, which the catalogues set) where it
// is translated, else the English one beside it.
QString ManualFolder()
{
    const QString translated =
        QStringLiteral("/help/%1/").arg(QLocale::languageToCode(QLocale().language()));
    if (QFileInfo(QLatin1Char(':') + translated + QLatin1String(THelpWindow::ContentsPage))
            .isFile())
        return translated;
    return QStringLiteral("/help/");
}

} // namespace

THelpWindow::THelpWindow(QWidget *parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("HelpWindow"));
    setWindowTitle(tr("ZorEdit Help"));
    resize(760, 600);

    Viewer = new QTextBrowser(this);
    Viewer->setObjectName(QStringLiteral("HelpBrowser"));
    // Links are followed here, so that nothing outside the manual is ever opened.
    Viewer->setOpenLinks(false);
    Viewer->setOpenExternalLinks(false);
    setCentralWidget(Viewer);

    auto *bar = addToolBar(tr("Navigation"));
    bar->setObjectName(QStringLiteral("HelpToolBar"));
    bar->setMovable(false);
    bar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);

    Back = bar->addAction(style()->standardIcon(QStyle::SP_ArrowBack), tr("Back"));
    Back->setObjectName(QStringLiteral("HelpBack"));
    Back->setShortcut(QKeySequence::Back);
    Back->setToolTip(tr("Back to the page you came from (Alt+Left)"));
    Back->setEnabled(false);

    Forward = bar->addAction(style()->standardIcon(QStyle::SP_ArrowForward), tr("Forward"));
    Forward->setObjectName(QStringLiteral("HelpForward"));
    Forward->setShortcut(QKeySequence::Forward);
    Forward->setToolTip(tr("Forward again (Alt+Right)"));
    Forward->setEnabled(false);

    Contents = bar->addAction(style()->standardIcon(QStyle::SP_DirHomeIcon), tr("Contents"));
    Contents->setObjectName(QStringLiteral("HelpContents"));
    Contents->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Home));
    Contents->setToolTip(tr("The list of contents (Alt+Home)"));

    connect(Back, &QAction::triggered, Viewer, &QTextBrowser::backward);
    connect(Forward, &QAction::triggered, Viewer, &QTextBrowser::forward);
    connect(Contents, &QAction::triggered, this, &THelpWindow::ShowContents);
    connect(Viewer, &QTextBrowser::backwardAvailable, Back, &QAction::setEnabled);
    connect(Viewer, &QTextBrowser::forwardAvailable, Forward, &QAction::setEnabled);
    connect(Viewer, &QTextBrowser::anchorClicked, this, &THelpWindow::FollowLink);
    connect(Viewer, &QTextBrowser::sourceChanged, this, &THelpWindow::UpdateTitle);
}

QUrl THelpWindow::PageUrl(const QString &page)
{
    return QUrl(QStringLiteral("qrc:") + ManualFolder()).resolved(QUrl(page));
}

bool THelpWindow::IsManualUrl(const QUrl &url)
{
    return url.scheme() == QLatin1String("qrc") && QFileInfo(ResourcePath(url)).isFile();
}

void THelpWindow::ShowPage(const QString &page)
{
    QUrl url = PageUrl(page);
    if (!IsManualUrl(url))
        url = PageUrl(QLatin1String(ContentsPage));
    Viewer->setSource(url);
    show();
    raise();
    activateWindow();
}

THelpWindow *THelpWindow::ForOwner(QWidget *owner)
{
    if (owner)
        if (auto *existing = owner->findChild<THelpWindow *>(QString(), Qt::FindDirectChildrenOnly))
            return existing;
    return new THelpWindow(owner);
}

void THelpWindow::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    QMainWindow::keyPressEvent(event);
}

void THelpWindow::FollowLink(const QUrl &url)
{
    if (IsManualUrl(url))
        Viewer->setSource(url);
}

void THelpWindow::UpdateTitle()
{
    const QString title = Viewer->documentTitle();
    const QString windowTitle = tr("ZorEdit Help");
    setWindowTitle(title.isEmpty() || title == windowTitle
                       ? windowTitle
                       : tr("%1 - %2", "help window title: ZorEdit Help - page title")
                             .arg(windowTitle, title));
}

} // namespace zor
