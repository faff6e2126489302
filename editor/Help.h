// The help window: the operator's manual, HTML pages built into the program's resources under
// :/help, shown with links, Back, Forward and Contents. One window serves the whole run; the help
// commands bring it to the front at the page they ask for.
#pragma once

#include <QMainWindow>
#include <QString>
#include <QUrl>

class QAction;
class QTextBrowser;

namespace zor {

class THelpWindow : public QMainWindow
{
    Q_OBJECT
public:
    // The page that Contents shows, and the page that explains the help window itself.
    static constexpr const char *ContentsPage = "index.html";
    static constexpr const char *HelpOnHelpPage = "helponhelp.html";

    explicit THelpWindow(QWidget *parent = nullptr);

    // Shows a page of the manual, given by its file name and an optional place in it
    // ("sending.html#log"), then shows the window and brings it to the front. A page the manual
    // does not have shows the contents instead.
    void ShowPage(const QString &page);
    void ShowContents() { ShowPage(QLatin1String(ContentsPage)); }

    // The help window that belongs to owner: created on first use as its child (so it lives as
    // long as the owner), the same one on every later call.
    static THelpWindow *ForOwner(QWidget *owner);

    // qrc:/help/<language>/<page> where the manual is translated into the interface's language
    // (the default locale's), else qrc:/help/<page>.
    static QUrl PageUrl(const QString &page);

    // True for a URL that leads to a page or picture of the manual. Everything else is refused:
    // the window never leaves the manual.
    static bool IsManualUrl(const QUrl &url);

    QTextBrowser *Browser() const { return Viewer; }
    QAction *BackAction() const { return Back; }
    QAction *ForwardAction() const { return Forward; }
    QAction *ContentsAction() const { return Contents; }

protected:
    // Escape closes the window, as it closes the program's dialogs.
    void keyPressEvent(QKeyEvent *event) override;

private:
    void FollowLink(const QUrl &url);
    void UpdateTitle();

    QTextBrowser *Viewer = nullptr;
    QAction *Back = nullptr;
    QAction *Forward = nullptr;
    QAction *Contents = nullptr;
};

} // namespace zor
