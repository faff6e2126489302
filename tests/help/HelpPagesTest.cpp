// The manual as content: every page well formed, every reference inside the manual, every command
// button and every result message documented.
#include "tests/help/HelpPages.h"

#include "comm/Results.h"
#include "commands/Vocabulary.h"
#include "editor/Help.h"

#include <QFileInfo>
#include <QImage>
#include <QSet>
#include <gtest/gtest.h>

using namespace zor;
using namespace zor::test;

namespace {

QString Resource(const QUrl &url)
{
    return QLatin1Char(':') + url.path();
}

QString PageOf(const QUrl &url)
{
    return QFileInfo(url.path()).fileName();
}

} // namespace

TEST(HelpPages, AreWellFormedAndTitled)
{
    const QStringList names = HelpPageNames();
    ASSERT_TRUE(names.contains(QLatin1String(THelpWindow::ContentsPage)));
    ASSERT_TRUE(names.contains(QLatin1String(THelpWindow::HelpOnHelpPage)));
    QSet<QString> titles;
    for (const QString &name : names) {
        SCOPED_TRACE(name.toStdString());
        const THelpPage page = ReadHelpPage(name);
        EXPECT_EQ(page.Error, QString());
        EXPECT_FALSE(page.Title.trimmed().isEmpty());
        // The window shows the title: two pages with one title could not be told apart.
        EXPECT_FALSE(titles.contains(page.Title));
        titles.insert(page.Title);
        EXPECT_GT(HelpPageText(name).size(), 300);
    }
}

TEST(HelpPages, EveryLinkPictureAndStyleSheetResolvesInsideTheManual)
{
    QHash<QString, QStringList> anchors;
    for (const QString &name : HelpPageNames())
        anchors.insert(name, ReadHelpPage(name).Anchors);

    for (const QString &name : HelpPageNames()) {
        const THelpPage page = ReadHelpPage(name);
        const QUrl base = THelpWindow::PageUrl(name);
        for (const QString &href : page.Links) {
            SCOPED_TRACE((name + QStringLiteral(" link ") + href).toStdString());
            const QUrl target = base.resolved(QUrl(href));
            ASSERT_TRUE(THelpWindow::IsManualUrl(target));
            EXPECT_TRUE(target.path().endsWith(QLatin1String(".html")));
            if (target.hasFragment()) {
                EXPECT_TRUE(anchors.value(PageOf(target)).contains(target.fragment()));
            }
        }
        for (const QString &src : page.Images) {
            SCOPED_TRACE((name + QStringLiteral(" image ") + src).toStdString());
            const QUrl target = base.resolved(QUrl(src));
            ASSERT_TRUE(THelpWindow::IsManualUrl(target));
            EXPECT_FALSE(QImage(Resource(target)).isNull());
        }
        ASSERT_EQ(page.Styles.size(), 1) << name.toStdString();
        EXPECT_TRUE(THelpWindow::IsManualUrl(base.resolved(QUrl(page.Styles.front()))));
    }
}

TEST(HelpPages, EveryPageIsReachableFromTheContents)
{
    QSet<QString> reached{QLatin1String(THelpWindow::ContentsPage)};
    QStringList queue{QLatin1String(THelpWindow::ContentsPage)};
    while (!queue.isEmpty()) {
        const QString name = queue.takeFirst();
        for (const QString &href : ReadHelpPage(name).Links) {
            const QString target = PageOf(THelpWindow::PageUrl(name).resolved(QUrl(href)));
            if (!reached.contains(target)) {
                reached.insert(target);
                queue << target;
            }
        }
    }
    for (const QString &name : HelpPageNames())
        EXPECT_TRUE(reached.contains(name)) << name.toStdString() << " is not linked";
}

// The operator finds a button by its picture and its tooltip; both have to stand in one row, and
// the tooltip exactly as the program shows it, misspellings included.
TEST(HelpPages, EveryCommandButtonIsShownWithItsPictureAndTooltip)
{
    const THelpPage page = ReadHelpPage(QStringLiteral("commands.html"));
    ASSERT_EQ(page.Error, QString());
    for (const TCommandButton &button : CommandButtons) {
        const QString name = QString::fromUtf8(button.Name.data(), qsizetype(button.Name.size()));
        const std::string_view hint = GetShortHint(button.Hint);
        const QString tooltip = QString::fromUtf8(hint.data(), qsizetype(hint.size()));
        SCOPED_TRACE(name.toStdString());
        const QString picture = QStringLiteral("../symbols/") + name + QStringLiteral(".png");
        int rows = 0;
        for (const THelpRow &row : page.Rows) {
            if (!row.Images.contains(picture))
                continue;
            ++rows;
            EXPECT_TRUE(row.Text.contains(tooltip)) << row.Text.toStdString();
        }
        EXPECT_EQ(rows, 1);
    }
}

TEST(HelpPages, EveryResultMessageIsExplained)
{
    const QString text = HelpPageText(QStringLiteral("messages.html"));
    for (int code = 0; code >= -8; --code) {
        const auto message = ResultMessage(code);
        ASSERT_TRUE(message.has_value());
        const QString shown =
            QString::fromUtf8(message->Text.data(), qsizetype(message->Text.size())).simplified();
        EXPECT_TRUE(text.contains(shown)) << shown.toStdString();
    }
}
