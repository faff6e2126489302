#include "app/EditorSettings.h"
#include "app/FontCheck.h"
#include "app/WindowPlace.h"
#include "app/Zoredit.h"
#include "comm/ProfileFile.h"
#include "comm/forms/Bargraf.h"
#include "comm/forms/Nastav.h"
#include "comm/forms/Numeric.h"
#include "commands/Input.h"
#include "commands/Vocabulary.h"
#include "editor/About.h"
#include "editor/Child.h"
#include "sim/Sim.h"
#include "tests/support/ScriptedDialogs.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFontDatabase>
#include <QLabel>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QStatusTipEvent>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <gtest/gtest.h>

namespace zor {
namespace {

using test::TScriptedDialogs;

// A folder that holds the symbol font, so the start-up check finds it.
class FontFolder
{
public:
    FontFolder()
    {
        QFile::copy(QStringLiteral(ZOR_SYMBOL_FONT_FILE),
                    Dir.filePath(QLatin1String(SymbolFontFileName)));
    }
    QStringList Folders() const { return {Dir.path()}; }

private:
    QTemporaryDir Dir;
};

class MainFormTest : public ::testing::Test
{
protected:
    TStartupOptions Options()
    {
        TStartupOptions o;
        o.FontFolders = Fonts.Folders();
        o.SettingsFile = Settings.filePath(QStringLiteral("zoredit.INI"));
        o.StartDirectory = QStringLiteral("/home/operator/programs");
        return o;
    }

    // Names of the menu items and buttons that are enabled, in creation order.
    static QStringList EnabledItems(TMainForm &form)
    {
        QStringList names;
        for (QMenu *menu : {form.findChild<QMenu *>("File"), form.findChild<QMenu *>("Edit"),
                            form.findChild<QMenu *>("Character"), form.findChild<QMenu *>("Zor"),
                            form.findChild<QMenu *>("Window"), form.findChild<QMenu *>("Help")})
            for (QAction *a : menu->actions())
                if (!a->isSeparator() && a->isEnabled())
                    names << a->objectName();
        for (QToolBar *bar :
             {form.findChild<QToolBar *>("ToolBar1"), form.findChild<QToolBar *>("ToolBar2"),
              form.findChild<QToolBar *>("ToolBar3")})
            for (QToolButton *b : bar->findChildren<QToolButton *>(Qt::FindDirectChildrenOnly))
                if (b->isEnabled() && b->objectName().startsWith("Button"))
                    names << b->objectName();
        return names;
    }

    TScriptedDialogs Dialogs;
    FontFolder Fonts;
    QTemporaryDir Settings;
};

TEST_F(MainFormTest, StartsWithOnlyTheDocumentIndependentCommandsEnabled)
{
    TMainForm form(Options());
    EXPECT_EQ(form.windowTitle(), "Zor Editor");
    EXPECT_EQ(form.DocumentCount(), 0);
    EXPECT_EQ(EnabledItems(form), QStringList({"New", "Open", "Exit", "AllCommands", "Parameters",
                                               "Preview", "Contents", "Usinghelp", "About",
                                               "ButtonNew", "ButtonOpen", "ButtonHelp"}));
    EXPECT_TRUE(Dialogs.Boxes.isEmpty()) << "no warning when the font is there";
}

TEST_F(MainFormTest, EnableDocumentCommandsSwitchesExactlyItsListAndNeverTheSix)
{
    TMainForm form(Options());
    const QStringList atStart = EnabledItems(form);

    form.EnableDocumentCommands(true);
    QStringList switched = EnabledItems(form);
    for (const QString &name : atStart)
        switched.removeOne(name);
    // Paste, Select All and Undo stay greyed while their standard rules say no (no editor).
    QStringList expected = {"Save",          "Savesas",
                            "CloseEdit",     "Print",
                            "PrinterSetup",  "Font",
                            "Send",          "SendPanels",
                            "Simulation",    "ExportAnimation",
                            "Numericfields", "ButtonSave",
                            "ButtonPrint",   "ButtonFont",
                            "ButtonSend",    "ButtonSimulation",
                            "ButtonNumeric"};
    for (const TCommandButton &b : CommandButtons) {
        const QString name = QString::fromLatin1(b.Name.data(), b.Name.size());
        if (std::find(NeverEnabledButtons.begin(), NeverEnabledButtons.end(), b.Name) ==
            NeverEnabledButtons.end())
            expected << name;
    }
    EXPECT_EQ(switched, expected);
    EXPECT_EQ(expected.size(), 17 + 34);

    form.EnableDocumentCommands(false);
    EXPECT_EQ(EnabledItems(form), atStart);
}

TEST_F(MainFormTest, PasteSelectAllAndUndoNeedBothTheirRuleAndAnOpenDocument)
{
    TMainForm form(Options());
    QApplication::clipboard()->setText(QStringLiteral("text"));
    form.UpdateStandardActions();
    EXPECT_FALSE(form.findChild<QAction *>("Paste")->isEnabled()) << "held off with no document";
    form.EnableDocumentCommands(true);
    EXPECT_TRUE(form.findChild<QAction *>("Paste")->isEnabled());
    EXPECT_TRUE(form.findChild<QToolButton *>("ButtonPaste")->isEnabled());
    QApplication::clipboard()->clear();
    form.UpdateStandardActions();
    EXPECT_FALSE(form.findChild<QAction *>("Paste")->isEnabled());
    EXPECT_FALSE(form.findChild<QAction *>("Cut")->isEnabled());
    EXPECT_FALSE(form.findChild<QAction *>("CascadeOkno")->isEnabled()) << "no document window";
}

TEST_F(MainFormTest, MenusHaveTheirCaptionsItemsAndSeparatorsInOrder)
{
    TMainForm form(Options());
    QStringList menus;
    for (QAction *a : form.menuBar()->actions())
        menus << a->text();
    EXPECT_EQ(menus, QStringList({"&File", "&Edit", "&Character", "&Zor", "&Window", "&Help"}));

    auto items = [](QMenu *menu) {
        QStringList out;
        for (QAction *a : menu->actions())
            out << a->objectName() + (a->isSeparator() ? QString() : "=" + a->text());
        return out;
    };
    EXPECT_EQ(items(form.findChild<QMenu *>("File")),
              QStringList({"New=&New", "Open=&Open", "N1", "Save=&Save", "Savesas=S&ave As ...",
                           "N2", "CloseEdit=&Close", "Print=&Print",
                           "PrinterSetup=P&rinter setup ...", "N3", "Exit=&Exit"}));
    EXPECT_EQ(items(form.findChild<QMenu *>("Edit")),
              QStringList({"Cut=Cu&t", "Copy=&Copy", "Paste=&Paste", "N4", "Selectall=Select &All",
                           "N5", "Undo=&Undo", "Redo=&Redo"}));
    EXPECT_EQ(items(form.findChild<QMenu *>("Zor")),
              QStringList({"Parameters=&Parameters ...", "N6", "Send=&Send",
                           "SendPanels=Send to p&anels...", "TransferLog=&Transfer log", "N7",
                           "Simulation=Si&mulation", "Preview=Pre&view",
                           "ExportAnimation=E&xport animation...", "N8",
                           "Numericfields=&Numeric fields"}));
    EXPECT_EQ(items(form.findChild<QMenu *>("Window")),
              QStringList({"CascadeOkno=&Cascade", "Tilehorizontally=Tile &Horizontally",
                           "Tilevertically=&Tile Vertically"}));
    EXPECT_EQ(
        items(form.findChild<QMenu *>("Help")),
        QStringList({"Contents=&Contents", "Usinghelp=&Help on Help", "N9", "About=&About ..."}));
    EXPECT_EQ(form.findChild<QAction *>("New")->shortcut(), QKeySequence(QStringLiteral("Ctrl+N")));
    EXPECT_EQ(form.findChild<QAction *>("Save")->shortcut(),
              QKeySequence(QStringLiteral("Ctrl+S")));
    EXPECT_EQ(form.findChild<QAction *>("Undo")->shortcut(),
              QKeySequence(Qt::ALT | Qt::Key_Backspace));
    EXPECT_TRUE(form.findChild<QAction *>("Savesas")->shortcut().isEmpty());
    EXPECT_FALSE(form.findChild<QAction *>("Save")->icon().isNull());
    EXPECT_TRUE(form.findChild<QAction *>("Savesas")->icon().isNull());
}

TEST_F(MainFormTest, ToolbarsHoldSixteenStandardAndFortyCommandButtonsWithImages)
{
    TMainForm form(Options());
    QStringList first;
    for (QToolButton *b : form.findChild<QToolBar *>("ToolBar1")
                              ->findChildren<QToolButton *>(Qt::FindDirectChildrenOnly))
        if (b->objectName().startsWith("Button")) {
            first << b->objectName();
            EXPECT_FALSE(b->icon().pixmap(16, 16).toImage().isNull())
                << b->objectName().toStdString();
        }
    EXPECT_EQ(first.size(), 16);
    EXPECT_EQ(first.front(), "ButtonNew");
    EXPECT_EQ(first.back(), "ButtonHelp");

    for (std::size_t i = 0; i < CommandButtonCount; ++i) {
        QToolButton *b = form.SymbolButton(i);
        EXPECT_EQ(b->parentWidget(), i < 20 ? form.findChild<QToolBar *>("ToolBar2")
                                            : form.findChild<QToolBar *>("ToolBar3"));
        EXPECT_EQ(b->objectName().toStdString(), CommandButtons[i].Name);
        EXPECT_FALSE(b->isEnabled());
        EXPECT_EQ(b->iconSize(), QSize(24, 16));
        // The pictogram has lit pixels: no button is blank.
        const QImage image = b->icon().pixmap(QSize(24, 16)).toImage();
        bool drawn = false;
        for (int y = 0; y < image.height() && !drawn; ++y)
            for (int x = 0; x < image.width() && !drawn; ++x)
                drawn = qAlpha(image.pixel(x, y)) > 0;
        EXPECT_TRUE(drawn) << CommandButtons[i].Name;
    }
    EXPECT_EQ(form.SymbolButton(0)->toolTip(), "Move text in from right");
}

TEST_F(MainFormTest, HintsGoToTheFirstStatusPanel)
{
    TMainForm form(Options());
    QToolButton *f1 = form.SymbolButton(1);
    EXPECT_EQ(f1->toolTip(), "Move text in from right at half-speed");
    QEvent enter(QEvent::Enter);
    QApplication::sendEvent(f1, &enter);
    EXPECT_EQ(form.StatusPanel(0)->text(), "It moves the text in from the right at a half-speed");
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(f1, &leave);
    QStatusTipEvent none{QString()};
    QApplication::sendEvent(&form, &none);
    EXPECT_EQ(form.StatusPanel(0)->text(), "");

    // A highlighted menu item shows its long hint the way the menu reports it.
    form.findChild<QAction *>("Save")->showStatusText(form.menuBar());
    EXPECT_EQ(form.StatusPanel(0)->text(), "Saves the active document");
    EXPECT_EQ(form.findChild<QToolButton *>("ButtonOpen")->toolTip(), "Open");
}

TEST_F(MainFormTest, ShowResultShowsEachCodesMessageInItsBox)
{
    TMainForm form(Options());
    struct Row
    {
        int Code;
        const char *Caption;
        TMsgIcon Icon;
        const char *Text;
    };
    const Row rows[] = {
        {0, "Information", TMsgIcon::Information, "Communication O.K."},
        {-1, "Error", TMsgIcon::Error, "Unknow Error"},
        {-2, "Error", TMsgIcon::Error, "CRC is not correct"},
        {-3, "Error", TMsgIcon::Error, "Hardware Failure"},
        {-4, "Error", TMsgIcon::Error, "Timeout"},
        {-5, "Error", TMsgIcon::Error, "Memory not aviable"},
        {-6, "Error", TMsgIcon::Error, "Program disable"},
        {-7, "Error", TMsgIcon::Error, "Error inic file"},
        {-8, "Error", TMsgIcon::Error,
         "Number of text segments     \nexceed internal limit (100).\nTry,please,reduce number  "
         "  \nof text segments"},
    };
    for (const Row &r : rows) {
        Dialogs.Boxes.clear();
        form.ShowResult(r.Code);
        ASSERT_EQ(Dialogs.Boxes.size(), 1) << r.Code;
        EXPECT_EQ(Dialogs.Boxes[0].Caption, r.Caption);
        EXPECT_EQ(Dialogs.Boxes[0].Icon, r.Icon);
        EXPECT_EQ(Dialogs.Boxes[0].Buttons, TMsgButtons::Ok);
        EXPECT_EQ(Dialogs.Boxes[0].Text, r.Text);
    }
    EXPECT_EQ(Dialogs.Boxes[0].Text.split('\n').size(), 4);

    Dialogs.Boxes.clear();
    for (int code : {1, 5, -9, -100})
        form.ShowResult(code);
    EXPECT_TRUE(Dialogs.Boxes.isEmpty());
}

TEST_F(MainFormTest, MissingSymbolFontWarnsOnceAndTheWindowStillWorks)
{
    QTemporaryDir empty;
    TStartupOptions options = Options();
    options.FontFolders = {empty.path()};
    TMainForm form(options);
    ASSERT_EQ(Dialogs.Boxes.size(), 1);
    EXPECT_EQ(Dialogs.Boxes[0].Caption, "Warning");
    EXPECT_EQ(Dialogs.Boxes[0].Icon, TMsgIcon::Warning);
    EXPECT_EQ(Dialogs.Boxes[0].Buttons, TMsgButtons::Ok);
    EXPECT_EQ(Dialogs.Boxes[0].Text, "Required ZorSymbolFont is not installed.\nWarning: Function "
                                     "symbols will not be\ndisplayed correctly");
    EXPECT_TRUE(form.findChild<QAction *>("New")->isEnabled());
}

TEST_F(MainFormTest, FoundSymbolFontIsRegisteredUnderItsFace)
{
    TMainForm form(Options());
    EXPECT_TRUE(QFontDatabase::families().contains(QLatin1String(SymbolFontFace)));
    EXPECT_EQ(FindSymbolFont({QStringLiteral("/nonexistent"), Fonts.Folders().front()}),
              QDir(Fonts.Folders().front()).filePath(QLatin1String(SymbolFontFileName)));
}

TEST_F(MainFormTest, SettingsLoadGivesDefaultsWithoutAFileAndReadsTheFileOtherwise)
{
    {
        TMainForm form(Options());
        EXPECT_EQ(form.Communication().Port, 3);
        EXPECT_EQ(form.Communication().Baud, 9600);
        EXPECT_FALSE(form.Communication().LogToFile);
        EXPECT_EQ(form.Communication().LogPath, "/home/operator/programs/zor.log");
    }
    QFile file(Options().SettingsFile);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[pc]\r\nport=0x2\r\nFILE=1\r\nBaud=19200\r\nPath=C:\\logs\\zor.log\r\n");
    file.close();
    TMainForm form(Options());
    EXPECT_EQ(form.Communication().Port, 2);
    EXPECT_EQ(form.Communication().Baud, 19200);
    EXPECT_TRUE(form.Communication().LogToFile);
    EXPECT_EQ(form.Communication().LogPath, "C:\\logs\\zor.log");
}

TEST_F(MainFormTest, ProgramStartCreatesTheSixFormsHiddenInOrder)
{
    TMainForm form(Options());
    form.CreateForms();
    QList<QDialog *> forms = {form.findChild<Tabb *>(),   form.findChild<TParamet *>(),
                              form.findChild<TGraf *>(),  form.findChild<TFormSim *>(),
                              form.findChild<TVstup *>(), form.findChild<TVloz *>()};
    QStringList classes;
    for (QDialog *f : forms) {
        ASSERT_NE(f, nullptr);
        EXPECT_FALSE(f->isVisible());
        classes << QLatin1String(f->metaObject()->className());
    }
    EXPECT_EQ(classes, QStringList({"zor::Tabb", "zor::TParamet", "zor::TGraf", "zor::TFormSim",
                                    "zor::TVstup", "zor::TVloz"}));
    // Creation order is the order of the main window's children of these classes.
    QList<QDialog *> children = form.findChildren<QDialog *>(Qt::FindDirectChildrenOnly);
    EXPECT_EQ(children, forms);
}

TEST_F(MainFormTest, ALongHintStaysInsideTheFirstPanel)
{
    TMainForm form(Options());
    form.show();
    for (int width : {640, 1000}) {
        form.resize(width, 480);
        QStatusTipEvent hint(QStringLiteral("Two vertical lines moving apart from the centre "
                                            "overwrite the old text with the new one, line by "
                                            "line, until the whole panel shows it"));
        QApplication::sendEvent(&form, &hint);
        QApplication::processEvents();
        const QRect first = form.StatusPanel(0)->geometry(),
                    caret = form.StatusPanel(1)->geometry();
        EXPECT_LT(first.right(), caret.left()) << "window " << width;
        EXPECT_EQ(caret.width(), 80);
        EXPECT_EQ(form.StatusPanel(2)->width(), 100);
        EXPECT_LE(first.width(), 450);
    }
    EXPECT_EQ(form.StatusPanel(0)->width(), 450) << "a wide window gives the panel its full width";
}

TEST_F(MainFormTest, AMenuClosedWithoutAChoiceTakesItsHintAway)
{
    TMainForm form(Options());
    form.show();
    for (QMenu *menu : {form.findChild<QMenu *>("File"), form.findChild<QMenu *>("Help")}) {
        menu->popup(form.mapToGlobal(QPoint(10, 10)));
        // A highlighted item reports its hint through the menu bar that opened the menu.
        menu->actions().constFirst()->showStatusText(form.menuBar());
        EXPECT_FALSE(form.StatusPanel(0)->text().isEmpty());
        menu->hide();
        EXPECT_EQ(form.StatusPanel(0)->text(), "") << menu->objectName().toStdString();
    }
}

TEST_F(MainFormTest, CaptionsAreTheFormsOwnTextsWithNothingAdded)
{
    TMainForm form(Options());
    form.CreateForms();
    EXPECT_EQ(QApplication::applicationName(), "ZorEdit");
    const QList<std::pair<QWidget *, QString>> captions = {
        {&form, "Zor Editor"},
        {form.findChild<Tabb *>(), "About"},
        {form.findChild<TParamet *>(), "Parameters"},
        {form.findChild<TVstup *>(), "Numeric fields"},
        {form.findChild<TVloz *>(), "Enter Parameter"},
        {form.findChild<TGraf *>(), "Wait please..."}};
    for (const auto &[window, caption] : captions) {
        EXPECT_EQ(window->windowTitle(), caption);
        // The window system appends the display name to every caption that does not already
        // end with it.
        EXPECT_TRUE(caption.endsWith(QGuiApplication::applicationDisplayName()))
            << caption.toStdString() << " gets \""
            << QGuiApplication::applicationDisplayName().toStdString() << "\" added";
    }
}

TEST_F(MainFormTest, EveryFormShowsItsCaptionAndItsTextsWhole)
{
    TMainForm form(Options());
    form.CreateForms();
    QFont titleFont = QApplication::font();
    titleFont.setBold(true);
    for (QDialog *dialog :
         QList<QDialog *>{form.findChild<Tabb *>(), form.findChild<TParamet *>(),
                          form.findChild<TVstup *>(), form.findChild<TVloz *>()}) {
        const std::string name = dialog->objectName().toStdString();
        // Room for the caption beside the title bar's icon and three buttons.
        EXPECT_LE(QFontMetrics(titleFont).horizontalAdvance(dialog->windowTitle()) + 100,
                  dialog->width())
            << name;
        for (QWidget *w : dialog->findChildren<QWidget *>()) {
            QString text;
            int needed = w->sizeHint().width();
            if (auto *label = qobject_cast<QLabel *>(w)) {
                text = label->text();
            } else if (auto *button = qobject_cast<QAbstractButton *>(w)) {
                text = button->text();
                // A push button's size hint has a style minimum beyond its text.
                if (qobject_cast<QPushButton *>(w))
                    needed = w->fontMetrics().horizontalAdvance(text) + 8;
            }
            if (text.trimmed().isEmpty() || w->isHidden())
                continue;
            const std::string what = name + " " + text.toStdString();
            EXPECT_GE(w->width(), needed) << what;
            EXPECT_TRUE(w->parentWidget()->rect().contains(w->geometry())) << what;
        }
    }
}

TEST_F(MainFormTest, FirstStartShowsThePreviewAndTwentyLinesOfText)
{
    TMainForm form(Options());
    form.findChild<QAction *>("Preview")->setChecked(true);
    const QSize first = FirstStartSize(form);
    form.resize(first);
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    const int line = QFontMetrics(TRichEdit().font()).lineSpacing();
    EXPECT_GE(form.DocumentArea()->height(), 20 * line) << "the area left beside the preview";
    EXPECT_GE(form.width(), form.minimumSizeHint().width());
}

TEST(MainWindowPlace, KeptWhereAScreenIsElseCentredOnTheScreenOfThePointerAndAlwaysFitting)
{
    const QList<QRect> screens = {QRect(0, 0, 1920, 1050), QRect(1920, 0, 1280, 1000)};
    // First start: the size wanted, in the middle of the screen the pointer is on.
    QRect r = MainWindowPlace(std::nullopt, QSize(900, 700), screens, QPoint(2000, 500));
    EXPECT_EQ(r.size(), QSize(900, 700));
    EXPECT_EQ(r.center(), QRect(1920, 0, 1280, 1000).center());
    // A small screen: it fits, with room for the frame.
    r = MainWindowPlace(std::nullopt, QSize(900, 700), {QRect(0, 0, 800, 600)}, QPoint());
    EXPECT_TRUE(QRect(0, 0, 800, 600).contains(r));
    EXPECT_LE(r.height(), 600 - 24);

    // The kept place, as it was.
    TWindowPlace kept{2000, 100, 1000, 800, false};
    EXPECT_EQ(MainWindowPlace(kept, QSize(900, 700), screens, QPoint()),
              QRect(2000, 100, 1000, 800));
    // Its screen unplugged: the first-start place on the pointer's screen.
    r = MainWindowPlace(kept, QSize(900, 700), {screens[0]}, QPoint(10, 10));
    EXPECT_EQ(r.size(), QSize(900, 700));
    EXPECT_TRUE(screens[0].contains(r));
    // Larger than its screen now: made to fit, still there.
    kept = {100, 50, 3000, 2000, false};
    r = MainWindowPlace(kept, QSize(900, 700), screens, QPoint());
    EXPECT_TRUE(screens[0].contains(r));
    EXPECT_GT(r.width(), 1800);
    EXPECT_TRUE(MainWindowPlace(kept, QSize(900, 700), {}, QPoint()).isEmpty());
}

TEST_F(MainFormTest, SizePositionAndMaximisedAreKeptForTheNextStart)
{
    const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
    const QRect place(available.topLeft() + QPoint(30, 40),
                      QSize(available.width() * 3 / 4, available.height() * 3 / 4));
    {
        TMainForm form(Options());
        form.show();
        form.setGeometry(place);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
        ASSERT_TRUE(form.close());
    }
    TProfileFile profile;
    ASSERT_TRUE(profile.Load(Options().SettingsFile.toStdString()));
    EXPECT_EQ(profile.ReadInteger("Editor", "Width", 0), place.width());
    EXPECT_FALSE(profile.ReadBool("Editor", "Maximized", true));
    {
        TMainForm form(Options());
        EXPECT_EQ(form.geometry(), place);
        EXPECT_FALSE(form.windowState() & Qt::WindowMaximized);
        form.show();
        form.showMaximized();
        ASSERT_TRUE(QTest::qWaitFor([&] { return form.isMaximized(); }));
        ASSERT_TRUE(form.close());
    }
    TMainForm form(Options());
    EXPECT_TRUE(form.windowState() & Qt::WindowMaximized);
    form.showNormal();
    EXPECT_EQ(form.geometry(), place) << "the size to come back to";
}

} // namespace
} // namespace zor
