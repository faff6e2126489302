// The help window: pages with their pictures and styles, navigation, and that it never leaves the
// manual.
#include "editor/Help.h"

#include <QAction>
#include <QApplication>
#include <QScrollBar>
#include <QTest>
#include <QTextBrowser>
#include <QTextDocument>
#include <gtest/gtest.h>

using namespace zor;

namespace {

QString Page(const THelpWindow &window)
{
    return window.Browser()->source().fileName();
}

} // namespace

TEST(HelpWindow, ShowsAPageWithItsPicturesAndStyleSheetAndTitle)
{
    THelpWindow window;
    window.ShowPage(QStringLiteral("commands.html"));
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(Page(window), QStringLiteral("commands.html"));
    EXPECT_EQ(window.windowTitle(), QStringLiteral("ZorEdit Help - The command buttons"));

    // The pages name pictures relative to themselves; the browser has to find them in the
    // resources the same way.
    const QVariant picture = window.Browser()->loadResource(
        QTextDocument::ImageResource, QUrl(QStringLiteral("../symbols/ButtonF0.png")));
    EXPECT_TRUE(picture.isValid());
    EXPECT_FALSE(picture.toByteArray().isEmpty());
    const QVariant css = window.Browser()->loadResource(QTextDocument::StyleSheetResource,
                                                        QUrl(QStringLiteral("help.css")));
    EXPECT_TRUE(css.toByteArray().contains("h1"));

    window.ShowContents();
    EXPECT_EQ(Page(window), QStringLiteral("index.html"));
    EXPECT_EQ(window.windowTitle(), QStringLiteral("ZorEdit Help"));
}

TEST(HelpWindow, SpeaksTheInterfacesLanguageWhereTheManualIsTranslated)
{
    const QLocale before;
    QLocale::setDefault(QLocale(QStringLiteral("cs_CZ")));
    {
        THelpWindow window;
        window.ShowPage(QStringLiteral("sending.html"));
        EXPECT_EQ(window.Browser()->source().path(), QStringLiteral("/help/cs/sending.html"));
        EXPECT_TRUE(window.Browser()->documentTitle().startsWith(QStringLiteral("Odesíl")))
            << window.Browser()->documentTitle().toStdString();
        // Its links stay in the Czech manual, and its pictures and style sheet are found.
        emit window.Browser()->anchorClicked(
            window.Browser()->source().resolved(QUrl(QStringLiteral("messages.html"))));
        EXPECT_EQ(window.Browser()->source().path(), QStringLiteral("/help/cs/messages.html"));
        EXPECT_FALSE(window.Browser()
                         ->loadResource(QTextDocument::ImageResource,
                                        QUrl(QStringLiteral("../../symbols/ButtonF0.png")))
                         .toByteArray()
                         .isEmpty());
        EXPECT_TRUE(window.Browser()
                        ->loadResource(QTextDocument::StyleSheetResource,
                                       QUrl(QStringLiteral("../help.css")))
                        .toByteArray()
                        .contains("h1"));
    }
    // A language the manual is not translated into gets the English one.
    QLocale::setDefault(QLocale(QStringLiteral("de_DE")));
    EXPECT_EQ(THelpWindow::PageUrl(QStringLiteral("index.html")).path(),
              QStringLiteral("/help/index.html"));
    QLocale::setDefault(before);
}

TEST(HelpWindow, GoesBackForwardAndToTheContents)
{
    THelpWindow window;
    window.ShowPage(QStringLiteral("index.html"));
    EXPECT_FALSE(window.BackAction()->isEnabled());
    EXPECT_FALSE(window.ForwardAction()->isEnabled());

    // A link as the browser reports it when clicked: resolved against the current page.
    emit window.Browser()->anchorClicked(THelpWindow::PageUrl(QStringLiteral("sending.html")));
    EXPECT_EQ(Page(window), QStringLiteral("sending.html"));
    EXPECT_EQ(window.windowTitle(), QStringLiteral("ZorEdit Help - Sending a program"));
    emit window.Browser()->anchorClicked(THelpWindow::PageUrl(QStringLiteral("messages.html")));
    EXPECT_TRUE(window.BackAction()->isEnabled());

    window.BackAction()->trigger();
    EXPECT_EQ(Page(window), QStringLiteral("sending.html"));
    EXPECT_TRUE(window.ForwardAction()->isEnabled());
    window.BackAction()->trigger();
    EXPECT_EQ(Page(window), QStringLiteral("index.html"));
    EXPECT_FALSE(window.BackAction()->isEnabled());

    window.ForwardAction()->trigger();
    window.ForwardAction()->trigger();
    EXPECT_EQ(Page(window), QStringLiteral("messages.html"));
    EXPECT_FALSE(window.ForwardAction()->isEnabled());

    window.ContentsAction()->trigger();
    EXPECT_EQ(Page(window), QStringLiteral("index.html"));
    window.BackAction()->trigger();
    EXPECT_EQ(Page(window), QStringLiteral("messages.html"));
}

TEST(HelpWindow, FollowsALinkChosenWithTheKeyboard)
{
    THelpWindow window;
    window.ShowPage(QStringLiteral("writing.html"));
    window.Browser()->setFocus();
    // The first link of every page is the one to the contents.
    QTest::keyClick(window.Browser(), Qt::Key_Tab);
    QTest::keyClick(window.Browser(), Qt::Key_Return);
    EXPECT_EQ(Page(window), QStringLiteral("index.html"));
    EXPECT_TRUE(window.BackAction()->isEnabled());
}

TEST(HelpWindow, JumpsToAPlaceInAPage)
{
    THelpWindow window;
    window.resize(700, 400);
    window.ShowPage(QStringLiteral("sending.html#log"));
    QApplication::processEvents();
    EXPECT_EQ(window.Browser()->source().fragment(), QStringLiteral("log"));
    EXPECT_GT(window.Browser()->verticalScrollBar()->value(), 0);
}

TEST(HelpWindow, NeverLeavesTheManual)
{
    THelpWindow window;
    window.ShowPage(QStringLiteral("settings.html"));
    emit window.Browser()->anchorClicked(QUrl(QStringLiteral("https://example.com/")));
    emit window.Browser()->anchorClicked(QUrl(QStringLiteral("file:///etc/passwd")));
    emit window.Browser()->anchorClicked(THelpWindow::PageUrl(QStringLiteral("missing.html")));
    EXPECT_EQ(Page(window), QStringLiteral("settings.html"));
    EXPECT_FALSE(window.BackAction()->isEnabled());

    window.ShowPage(QStringLiteral("missing.html"));
    EXPECT_EQ(Page(window), QStringLiteral("index.html"));
}

TEST(HelpWindow, OneWindowServesEachOwner)
{
    QWidget owner;
    THelpWindow *first = THelpWindow::ForOwner(&owner);
    first->ShowPage(QLatin1String(THelpWindow::HelpOnHelpPage));
    EXPECT_EQ(first->windowTitle(), QStringLiteral("ZorEdit Help - Using this help"));
    EXPECT_EQ(THelpWindow::ForOwner(&owner), first);
    EXPECT_TRUE(first->isWindow());
    first->ShowContents();
    EXPECT_EQ(Page(*first), QStringLiteral("index.html"));

    // Escape closes the window; the next help command shows the same one again.
    QTest::keyClick(first->Browser(), Qt::Key_Escape);
    EXPECT_FALSE(first->isVisible());
    THelpWindow::ForOwner(&owner)->ShowPage(QStringLiteral("numeric.html"));
    EXPECT_TRUE(first->isVisible());
}
