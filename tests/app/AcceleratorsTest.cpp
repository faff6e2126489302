// Accelerator keys (the letter after '&') are unique within each menu and each dialog, in English
// and in Czech: two captions with one letter leave the second out of reach of the keyboard.
#include "app/Zoredit.h"
#include "comm/forms/Nastav.h"
#include "comm/forms/Numeric.h"
#include "comm/forms/PanelChoice.h"
#include "comm/forms/PanelName.h"
#include "commands/Input.h"
#include "editor/About.h"
#include "sim/ExportDialog.h"
#include "tests/support/ScriptedDialogs.h"

#include <QAbstractButton>
#include <QAction>
#include <QCoreApplication>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTranslator>
#include <gtest/gtest.h>

#include <map>
#include <memory>

namespace zor {
namespace {

// The accelerator of a caption, lower-cased; null for none ("&&" is a plain '&').
QChar Accelerator(const QString &caption)
{
    for (qsizetype i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != QLatin1Char('&'))
            continue;
        if (caption[i + 1] != QLatin1Char('&'))
            return caption[i + 1].toLower();
        ++i;
    }
    return {};
}

// Collects the accelerators of captions, and says which letter two of them share.
class TAccelerators
{
public:
    explicit TAccelerators(QString where) : Where(std::move(where)) {}

    void Add(const QString &caption)
    {
        const QChar key = Accelerator(caption);
        if (key.isNull())
            return;
        if (const auto it = Seen.find(key); it != Seen.end())
            Clashes << QStringLiteral("%1: '%2' in %3 and %4").arg(Where, key, it->second, caption);
        else
            Seen.emplace(key, caption);
    }
    QStringList Clashes;

private:
    QString Where;
    std::map<QChar, QString> Seen;
};

// The captions a keyboard reaches directly under root: buttons, labels with a buddy, group boxes;
// the pages of a tab widget are gone through on their own.
void AddCaptions(const QWidget &root, TAccelerators &keys, const QList<QWidget *> &pages)
{
    for (const QWidget *w : root.findChildren<QWidget *>()) {
        // A dialog of its own (the panel's name question) is checked on its own.
        if (w->window() != root.window())
            continue;
        // Within a page of a tab widget other than root itself: that page's own.
        bool onPage = false;
        for (const QWidget *page : pages)
            onPage = onPage || (page != &root && page->isAncestorOf(w));
        if (onPage)
            continue;
        if (const auto *button = qobject_cast<const QAbstractButton *>(w))
            keys.Add(button->text());
        else if (const auto *label = qobject_cast<const QLabel *>(w); label && label->buddy())
            keys.Add(label->text());
        else if (const auto *box = qobject_cast<const QGroupBox *>(w))
            keys.Add(box->title());
    }
}

// The clashes in a dialog: on each of its pages, the page's captions together with the ones
// around the pages (tab captions, OK and Cancel).
QStringList DialogClashes(const QWidget &dialog)
{
    QList<QWidget *> pages;
    QStringList tabs;
    for (const QTabWidget *tab : dialog.findChildren<QTabWidget *>())
        for (int i = 0; i < tab->count(); ++i) {
            pages << tab->widget(i);
            tabs << tab->tabText(i);
        }
    QStringList clashes;
    const auto check = [&](const QWidget *page) {
        TAccelerators keys(dialog.objectName() +
                           (page ? QLatin1Char('/') + page->objectName() : QString()));
        for (const QString &tab : tabs)
            keys.Add(tab);
        AddCaptions(dialog, keys, pages);
        if (page)
            AddCaptions(*page, keys, pages);
        clashes << keys.Clashes;
    };
    if (pages.isEmpty())
        check(nullptr);
    for (const QWidget *page : pages)
        check(page);
    return clashes;
}

QStringList MenuClashes(const QMenuBar &bar)
{
    QStringList clashes;
    TAccelerators top(QStringLiteral("menu bar"));
    for (const QAction *menu : bar.actions()) {
        top.Add(menu->text());
        if (!menu->menu())
            continue;
        TAccelerators items(menu->text());
        for (const QAction *item : menu->menu()->actions())
            if (!item->isSeparator())
                items.Add(item->text());
        clashes << items.Clashes;
    }
    return clashes << top.Clashes;
}

// Every menu of the main window and every dialog the operator types into, made in the language
// installed now.
QStringList AllClashes()
{
    QTemporaryDir dir;
    test::TScriptedDialogs dialogs;
    TStartupOptions o;
    o.FontFolders = {QStringLiteral(ZOR_SYMBOL_FONT_DIR)};
    o.SettingsFile = dir.filePath(QStringLiteral("zoredit.INI"));
    o.StartDirectory = dir.path();
    TMainForm form(o);
    form.CreateForms();

    QStringList clashes = MenuClashes(*form.findChild<QMenuBar *>());
    clashes << DialogClashes(*form.findChild<TParamet *>());
    clashes << DialogClashes(*form.findChild<TVstup *>());
    clashes << DialogClashes(*form.findChild<TVloz *>());
    clashes << DialogClashes(*form.findChild<Tabb *>());
    TPanelChoice choice;
    clashes << DialogClashes(choice);
    TPanelName name;
    clashes << DialogClashes(name);
    TExportDialog exportDialog;
    clashes << DialogClashes(exportDialog);
    return clashes;
}

TEST(Accelerators, AreUniqueInEveryMenuAndDialogInEnglish)
{
    const QStringList clashes = AllClashes();
    EXPECT_TRUE(clashes.isEmpty()) << clashes.join(QLatin1Char('\n')).toStdString();
}

TEST(Accelerators, AreUniqueInEveryMenuAndDialogInCzech)
{
    QTranslator czech;
    ASSERT_TRUE(czech.load(QStringLiteral(":/i18n/zoredit_cs.qm")));
    QCoreApplication::installTranslator(&czech);
    const QStringList clashes = AllClashes();
    QCoreApplication::removeTranslator(&czech);
    EXPECT_TRUE(clashes.isEmpty()) << clashes.join(QLatin1Char('\n')).toStdString();
}

} // namespace
} // namespace zor
