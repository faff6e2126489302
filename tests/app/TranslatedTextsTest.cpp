// Every text the editor shows is looked up in the translation catalogue: with a catalogue that
// answers every lookup in capitals, no text of the main window and its forms is left as written.
#include "app/CommandLine.h"
#include "app/Zoredit.h"
#include "comm/Results.h"
#include "comm/forms/Bargraf.h"
#include "comm/forms/LogView.h"
#include "comm/forms/Nastav.h"
#include "comm/forms/Numeric.h"
#include "comm/forms/PanelChoice.h"
#include "comm/forms/PanelName.h"
#include "comm/forms/PanelResults.h"
#include "comm/forms/PanelsPage.h"
#include "comm/forms/PanelsProgress.h"
#include "comm/forms/TransferDialogs.h"
#include "commands/Input.h"
#include "commands/Vocabulary.h"
#include "editor/About.h"
#include "editor/Child.h"
#include "editor/DocumentIO.h"
#include "editor/Help.h"
#include "editor/SymbolTips.h"
#include "sim/ExportDialog.h"
#include "sim/Preview.h"
#include "sim/Sim.h"
#include "tests/support/ScriptedDialogs.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QSpinBox>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTextDocument>
#include <QTextEdit>
#include <QToolBar>
#include <QToolButton>
#include <QTranslator>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <memory>

namespace zor {
namespace {

// Capitals for every letter that is not a placeholder (%1, %n), so that the placeholders still
// take their values.
QString Shout(const QString &text)
{
    QString out = text;
    for (qsizetype i = 0; i < out.size(); ++i)
        if (i == 0 || out[i - 1] != QLatin1Char('%'))
            out[i] = out[i].toUpper();
    return out;
}

// True for a text that came through the catalogue: it has letters and all of them are capitals
// (names put into it, such as a file name, aside).
bool Translated(const QString &text)
{
    bool letters = false;
    for (const QChar c : text) {
        if (c.isLower())
            return false;
        letters = letters || c.isLetter();
    }
    return letters;
}

struct TLookup
{
    QString Context, Source;
    int N = -1;
};

class TShoutingCatalogue : public QTranslator
{
public:
    TShoutingCatalogue() { QCoreApplication::installTranslator(this); }
    ~TShoutingCatalogue() override { QCoreApplication::removeTranslator(this); }
    bool isEmpty() const override { return false; }
    QString translate(const char *context, const char *source, const char * = nullptr,
                      int n = -1) const override
    {
        Lookups.append({QLatin1String(context), QString::fromUtf8(source), n});
        return Shout(QString::fromUtf8(source));
    }
    mutable QList<TLookup> Lookups;
};

// Every text a person reads in a widget and the widgets and actions under it; the names of
// the failures.
QStringList UntranslatedTexts(const QWidget &top)
{
    QStringList failures;
    // A text without letters (">>", a baud rate) has nothing to translate.
    const auto check = [&failures](const QObject &o, const char *what, const QString &text) {
        if (std::any_of(text.begin(), text.end(), [](QChar c) { return c.isLetter(); }) &&
            !Translated(text))
            failures << o.objectName() + QLatin1Char('.') + QLatin1String(what) +
                            QStringLiteral(": ") + text;
    };
    QList<const QWidget *> widgets{&top};
    for (const QWidget *w : top.findChildren<QWidget *>())
        widgets << w;
    for (const QWidget *w : widgets) {
        if (w->isWindow())
            check(*w, "windowTitle", w->windowTitle());
        check(*w, "toolTip", w->toolTip());
        check(*w, "statusTip", w->statusTip());
        check(*w, "accessibleName", w->accessibleName());
        if (const auto *label = qobject_cast<const QLabel *>(w))
            check(*w, "text", label->text());
        if (const auto *button = qobject_cast<const QAbstractButton *>(w);
            button && !qobject_cast<const QToolButton *>(w))
            check(*w, "text", button->text());
        if (const auto *spin = qobject_cast<const QSpinBox *>(w))
            check(*w, "suffix", spin->suffix());
        for (const QAction *a : w->actions()) {
            if (a->isSeparator())
                continue;
            check(*a, "text", a->text());
            check(*a, "toolTip", a->toolTip());
            check(*a, "statusTip", a->statusTip());
        }
    }
    return failures;
}

class TranslatedTexts : public ::testing::Test
{
protected:
    TranslatedTexts()
    {
        TStartupOptions o;
        o.FontFolders = {QStringLiteral(ZOR_SYMBOL_FONT_DIR)};
        o.SettingsFile = Dir.filePath(QStringLiteral("zoredit.INI"));
        o.StartDirectory = Dir.path();
        Form = std::make_unique<TMainForm>(o);
        Form->CreateForms();
    }

    // In this order: the catalogue is there before the window is made.
    TShoutingCatalogue Catalogue;
    QTemporaryDir Dir;
    test::TScriptedDialogs Dialogs;
    std::unique_ptr<TMainForm> Form;
};

TEST_F(TranslatedTexts, MenusHintsAndButtonsOfTheMainWindowComeFromTheCatalogue)
{
    EXPECT_EQ(UntranslatedTexts(*Form->menuBar()), QStringList());
    for (const char *name : {"ToolBar1", "ToolBar2", "ToolBar3"}) {
        const QToolBar *bar = Form->findChild<QToolBar *>(QLatin1String(name));
        EXPECT_EQ(UntranslatedTexts(*bar), QStringList());
        // Named in the menu of toolbars that the toolbar area's context menu shows.
        EXPECT_EQ(bar->windowTitle(), QLatin1String(name).toString().toUpper());
    }
    // A menu and its hint halves, translated whole and then split at the bar.
    QMenu *file = Form->findChild<QMenu *>(QStringLiteral("File"));
    EXPECT_EQ(file->title(), "&FILE");
    const QAction *save = Form->findChild<QAction *>(QStringLiteral("Save"));
    EXPECT_EQ(save->text(), "&SAVE");
    EXPECT_EQ(save->toolTip(), "SAVE");
    EXPECT_EQ(save->statusTip(), "SAVES THE ACTIVE DOCUMENT");
    EXPECT_EQ(Form->SymbolButton(0)->toolTip(), "MOVE TEXT IN FROM RIGHT");
    EXPECT_EQ(Form->SymbolButton(0)->statusTip(), "IT MOVES THE TEXT IN FROM THE RIGHT");
    // The tables and the code that shows them name the same context.
    int tableTexts = 0;
    for (const TLookup &l : Catalogue.Lookups) {
        if (l.Source == QLatin1String("&Redo") || l.Source == QLatin1String("&File")) {
            EXPECT_EQ(l.Context, "TMainForm") << l.Source.toStdString();
            ++tableTexts;
        }
    }
    EXPECT_EQ(tableTexts, 2);
}

TEST_F(TranslatedTexts, FormsAndDialogsComeFromTheCatalogue)
{
    Tabb about;
    EXPECT_EQ(UntranslatedTexts(about), QStringList());
    THelpWindow help;
    EXPECT_EQ(UntranslatedTexts(help), QStringList());
    TExportDialog exportDialog;
    EXPECT_EQ(UntranslatedTexts(exportDialog), QStringList());
    TVloz number;
    EXPECT_EQ(UntranslatedTexts(number), QStringList());
    TGraf progress;
    EXPECT_EQ(UntranslatedTexts(progress), QStringList());
    TLogView log;
    EXPECT_EQ(UntranslatedTexts(log), QStringList());
    EXPECT_TRUE(Translated(CommandLineUsage()));
    EXPECT_EQ(ParseCommandLine({QStringLiteral("--frobnicate")}).Error,
              "UNKNOWN OPTION --frobnicate");
}

TEST_F(TranslatedTexts, ParametersItsPagesThePanelNameQuestionAndTheSimulationComeFromTheCatalogue)
{
    TParamet parameters;
    EXPECT_EQ(UntranslatedTexts(parameters), QStringList());
    for (int i = 0; i < parameters.Pages->count(); ++i)
        EXPECT_TRUE(Translated(parameters.Pages->tabText(i))) << i;
    // Capitals are wider than the English texts: the Port page's block makes room for them.
    for (const QGroupBox *box : {parameters.CommPort, parameters.BaudRate})
        EXPECT_GE(box->width(), box->fontMetrics().horizontalAdvance(box->title()) + 16)
            << box->title().toStdString();
    EXPECT_GE(parameters.CheckBoxWrite->width(), parameters.CheckBoxWrite->sizeHint().width());
    EXPECT_FALSE(parameters.CommPort->geometry().intersects(parameters.BaudRate->geometry()));
    EXPECT_TRUE(
        parameters.CheckBoxWrite->parentWidget()->rect().contains(parameters.BaudRate->geometry()));
    const TPanelsPage &panels = *parameters.Panels;
    EXPECT_EQ(panels.Table->headerItem()->text(1), "DEVICE");
    EXPECT_EQ(panels.Baud->itemText(0), "AS ON THE PORT PAGE");
    // The languages are named in themselves; only the desktop's is a text of the interface.
    EXPECT_EQ(parameters.LanguageList->item(0)->text(), "THE DESKTOP'S LANGUAGE");
    EXPECT_EQ(parameters.LanguageList->item(2)->text(), "Čeština");

    TPanelName &name = *panels.NameDialog;
    Dialogs.FormAnswers = {[](QDialog &question) {
        EXPECT_EQ(UntranslatedTexts(question), QStringList());
        return int(QDialog::Rejected);
    }};
    parameters.Panels->AddClick();
    EXPECT_TRUE(Dialogs.FormAnswers.empty()) << "the name was asked";
    name.Ask(QStringLiteral("ADD PANEL"), QString(), {QStringLiteral("Hall1")});
    EXPECT_EQ(name.ProblemLabel->text(), "A PANEL NEEDS A NAME.") << "the core's sentence";
    name.NameEdit->setText(QStringLiteral("hall1"));
    EXPECT_EQ(name.Problem(), "THERE IS ALREADY A PANEL NAMED hall1.");

    TFormSim simulation;
    EXPECT_EQ(UntranslatedTexts(simulation), QStringList());
}

TEST_F(TranslatedTexts, SendToPanelsThePreviewAndTheCountersFormComeFromTheCatalogue)
{
    EXPECT_EQ(Form->windowTitle(), "ZOR EDITOR");
    TPanelTarget hall;
    hall.Name = "Hall";
    hall.Device.Name = "/dev/ttyS0";
    hall.Baud = 9600;
    TPanelTarget gate = hall;
    gate.Name = "Gate";
    gate.Device.Name = "/dev/ttyS1";
    TPanelChoice choice;
    choice.PanelList->SetTargets({hall, gate}, {});
    EXPECT_EQ(UntranslatedTexts(choice), QStringList());
    EXPECT_EQ(choice.Note->text(), "TICK THE PANELS TO SEND TO.");
    EXPECT_EQ(choice.PanelList->headerItem()->text(1), "DEVICE");
    EXPECT_EQ(choice.PanelList->topLevelItem(0)->toolTip(0), "Hall: /dev/ttyS0, 9600 BAUD");
    TPanelsProgress progress;
    EXPECT_EQ(UntranslatedTexts(progress), QStringList());
    TVstup counters;
    EXPECT_EQ(UntranslatedTexts(counters), QStringList());
    TPreviewDock preview;
    EXPECT_EQ(UntranslatedTexts(preview), QStringList());
    // The port of Parameters is named among the counters' targets in the operator's words.
    QString port;
    Dialogs.FormAnswers = {[&port](QDialog &d) {
        port = static_cast<TVstup &>(d).Targets->topLevelItem(0)->text(0);
        return int(QDialog::Rejected);
    }};
    Form->ZorNumericValueExecute();
    EXPECT_EQ(port, "COM 3 (PARAMETERS)"); // the default port
}

TEST_F(TranslatedTexts, ResultsSayTheirNumbersThroughPluralForms)
{
    TPanelTarget hall, gate, office;
    hall.Name = "Hall";
    gate.Name = "Gate";
    office.Name = "Office";
    TPanelOutcome ok, timeout, lost;
    timeout.Code = ResultTimeout;
    timeout.Frame = 4; // after the last of 3 blocks: the Close frame
    timeout.Blocks = 3;
    lost.Code = ResultHardwareFailure;
    TPanelResults results;
    Catalogue.Lookups.clear();
    results.SetResults(QStringLiteral("Send to panels"), {hall, gate, office}, {ok, timeout, lost});
    EXPECT_EQ(results.Summary->text(), "1 OF 3 PANELS TOOK IT; 2 DID NOT.");
    EXPECT_EQ(results.Table->item(0, 1)->text(), "COMMUNICATION O.K.");
    EXPECT_EQ(results.Table->item(1, 1)->text(), "TIMEOUT");
    EXPECT_EQ(results.Table->item(1, 2)->text(), "DURING THE CLOSE FRAME, AFTER ALL 3 BLOCKS.");
    EXPECT_EQ(results.Table->horizontalHeaderItem(2)->text(), "CAUSE");
    int counted = 0;
    for (const TLookup &l : Catalogue.Lookups)
        counted += (l.Source == QLatin1String("%1 of %n panels took it; %2 did not.") ||
                    l.Source == QLatin1String("During the Close frame, after all %n blocks.")) &&
                   l.N == 3;
    EXPECT_EQ(counted, 2) << "the numbers go to the catalogue for their plural forms";
    // The caption comes translated from the command that sent.
    results.SetResults(QStringLiteral("SEND TO PANELS"), {hall}, {ok});
    EXPECT_EQ(results.Summary->text(), "EVERY PANEL TOOK IT (1 OF 1).");
    EXPECT_EQ(UntranslatedTexts(results), QStringList());
}

TEST_F(TranslatedTexts, ResultBoxesAndTheQuestionsBeforeASendComeFromTheCatalogue)
{
    ShowResultBox(Form.get(), ResultOk);
    ShowResultBox(Form.get(), ResultTooManySegments);
    TPanelOutcome cancelled;
    cancelled.Code = ResultCancelled;
    ShowTransferResult(Form.get(), cancelled);
    ASSERT_EQ(Dialogs.Boxes.size(), 3);
    EXPECT_EQ(Dialogs.Boxes[0].Caption, "INFORMATION");
    EXPECT_EQ(Dialogs.Boxes[0].Text, "COMMUNICATION O.K.");
    EXPECT_EQ(Dialogs.Boxes[1].Caption, "ERROR");
    EXPECT_EQ(Dialogs.Boxes[1].Text, "NUMBER OF TEXT SEGMENTS     \nEXCEED INTERNAL LIMIT (100).\n"
                                     "TRY,PLEASE,REDUCE NUMBER    \nOF TEXT SEGMENTS");
    EXPECT_EQ(Dialogs.Boxes[2].Text, "TRANSFER CANCELLED");
    // Each question is one whole sentence, the number of characters in its plural form.
    Dialogs.Answers = {TMsgAnswer::No, TMsgAnswer::No};
    EXPECT_FALSE(
        ConfirmSymbolFontText(Form.get(), TSymbolFontText{3, 2}, QStringLiteral("EXPORT ANYWAY?")));
    TSendCheck empty;
    empty.Empty = true;
    EXPECT_FALSE(ConfirmSend(Form.get(), empty));
    ASSERT_EQ(Dialogs.Boxes.size(), 5);
    EXPECT_EQ(Dialogs.Boxes[3].Text,
              "THE DOCUMENT HOLDS 3 CHARACTERS IN THE SYMBOL FONT WITHOUT A COMMAND COLOUR (THE "
              "FIRST ON LINE 2); THE PANEL GETS THEM AS THE PLAIN CHARACTERS THEY ARE.\nEXPORT "
              "ANYWAY?");
    EXPECT_EQ(Dialogs.Boxes[4].Text,
              "THE DOCUMENT IS EMPTY. SENDING IT CLEARS THE PANEL. SEND ANYWAY?");
}

TEST_F(TranslatedTexts, TheRtfReadersReasonsComeFromTheCatalogue)
{
    const auto write = [this](const char *name, const QByteArray &bytes) {
        QFile file(Dir.filePath(QLatin1String(name)));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return file.fileName();
    };
    const QString deep = write("deep.zor", "{\\rtf1" + QByteArray(1001, '{'));
    const QString cut = write("cut.zor", "{\\rtf1 {\\b text}");
    QTextDocument text;
    QString error, warning;
    EXPECT_FALSE(LoadDocumentFile(deep, text, &error, &warning));
    EXPECT_EQ(error, "CANNOT READ FILE " + deep +
                         ". THE RTF GROUPS ARE NESTED MORE THAN 1000 LEVELS DEEP.");
    EXPECT_TRUE(LoadDocumentFile(cut, text, &error, &warning));
    EXPECT_EQ(warning, "FILE " + cut +
                           ": THE RTF DOCUMENT ENDS BEFORE ITS LAST GROUP IS CLOSED; THE FILE MAY "
                           "BE TRUNCATED.");
}

TEST_F(TranslatedTexts, TheRecoveryQuestionComesFromTheCatalogue)
{
    using namespace std::chrono_literals;
    const QString root = Dir.filePath(QStringLiteral("recovery"));
    {
        TStartupOptions o;
        o.FontFolders = {QStringLiteral(ZOR_SYMBOL_FONT_DIR)};
        o.SettingsFile = Dir.filePath(QStringLiteral("zoredit.INI"));
        o.StartDirectory = Dir.path();
        TMainForm gone(o);
        gone.CreateForms();
        gone.StartRecovery(QStringList{root}, 1h);
        gone.CreateDocumentWindow(QStringLiteral("Untitled"))
            ->Editor->insertPlainText(QStringLiteral("unsaved"));
        gone.WriteRecoveryCopies();
        // Ends without closing, as a crash does: the copy stays.
    }
    Dialogs.Answers = {TMsgAnswer::No};
    Form->StartRecovery(QStringList{root}, 1h);
    ASSERT_EQ(Dialogs.Boxes.size(), 1);
    EXPECT_EQ(Dialogs.Boxes[0].Text,
              "ZOREDIT DID NOT CLOSE PROPERLY. RECOVER THE UNSAVED CHANGES OF\nUNTITLED?");
}

TEST_F(TranslatedTexts, SymbolTooltipsAreWholeSentencesWithTheirNumberForPluralForms)
{
    TMDIChild *w = Form->CreateDocumentWindow(Dir.filePath(QStringLiteral("doc.zor")));
    Form->InsertCommandSymbol(QStringLiteral("s"), TCommandKind::ckParameter); // position 0
    Form->InsertCommandSymbol(QStringLiteral("05"), TCommandKind::ckParameter);
    Form->InsertCommandSymbol(QStringLiteral("r"), TCommandKind::ckParameter); // position 3
    Form->InsertCommandSymbol(QStringLiteral("05"), TCommandKind::ckParameter);
    w->Editor->insertPlainText(QStringLiteral("Hi"));
    Form->InsertCommandSymbol(QStringLiteral(":"), TCommandKind::ckTransition); // position 8
    w->Editor->insertPlainText(QStringLiteral("there"));
    const QTextDocument &d = *w->Editor->document();

    Catalogue.Lookups.clear();
    EXPECT_EQ(SymbolTipAt(d, 0), "REPEAT: 5 TIMES");
    bool counted = false;
    for (const TLookup &l : Catalogue.Lookups)
        counted = counted || (l.Source == QLatin1String("%1: %n times") && l.N == 5);
    EXPECT_TRUE(counted) << "the number goes to the catalogue for its plural form";
    EXPECT_EQ(SymbolTipAt(d, 3), "PAUSE 05: 0.5 S");
    EXPECT_EQ(SymbolTipAt(d, 8), "MOVE TEXT IN FROM RIGHT, THE 2ND TEXT");
    EXPECT_EQ(UntitledCaption(1), "UNTITLED");
}

TEST(TranslatedSentences, NamesPutIntoASentenceAreNeverTakenForItsPlaceholders)
{
    // A folder named like a placeholder: the line number must go to the sentence's own %3.
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("%1")));
    const QString path = dir.filePath(QStringLiteral("%1/zor.log"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("start\nerror!!!!\n");
    file.close();
    TLogView log;
    EXPECT_TRUE(log.LoadLog(path));
    EXPECT_TRUE(log.Status->text().startsWith(path + QStringLiteral(", written ")))
        << log.Status->text().toStdString();
    EXPECT_TRUE(log.Status->text().endsWith(QStringLiteral("; the transfer stopped at line 2")))
        << log.Status->text().toStdString();
}

TEST(TranslatedSentences, TheLogViewWritesTheFilesTimeAsTheInterfacesLanguageWritesDates)
{
    class TDateFormat : public QTranslator
    {
    public:
        bool isEmpty() const override { return false; }
        QString translate(const char *context, const char *source, const char *, int) const override
        {
            return QLatin1String(context) == QLatin1String("zor::TLogView") &&
                           QLatin1String(source) == QLatin1String("yyyy-MM-dd HH:mm:ss")
                       ? QStringLiteral("d. M. yyyy H:mm:ss")
                       : QString();
        }
    } czech;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("zor.log"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("start\n");
    file.close();
    const QDateTime written = QFileInfo(path).lastModified();
    TLogView log;
    QCoreApplication::installTranslator(&czech);
    EXPECT_TRUE(log.LoadLog(path));
    QCoreApplication::removeTranslator(&czech);
    EXPECT_EQ(log.Status->text(), path + QStringLiteral(", written ") +
                                      written.toString(QStringLiteral("d. M. yyyy H:mm:ss")));
    EXPECT_TRUE(log.LoadLog(path));
    EXPECT_EQ(log.Status->text(), path + QStringLiteral(", written ") +
                                      written.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")));
}

TEST(TranslatedSentences, TheEnglishSentencesWithNumbersStayAsTheyWere)
{
    test::TScriptedDialogs dialogs;
    TPanelTarget hall, gate;
    hall.Name = "Hall";
    gate.Name = "Gate";
    TPanelOutcome ok, timeout;
    timeout.Code = ResultTimeout;
    timeout.Frame = 2;
    timeout.Blocks = 1;
    TPanelResults results;
    results.SetResults(QStringLiteral("Send to panels"), {hall, gate}, {ok, timeout});
    EXPECT_EQ(results.Summary->text(), "1 of 2 panels took it; 1 did not.");
    EXPECT_EQ(results.Table->item(1, 1)->text(), "Timeout");
    EXPECT_EQ(results.Table->item(1, 2)->text(), "During the Close frame, after all 1 blocks.");
    results.SetResults(QStringLiteral("Send to panels"), {hall, gate}, {ok, ok});
    EXPECT_EQ(results.Summary->text(), "Every panel took it (2 of 2).");
    // One character is said in the singular, more in the plural.
    dialogs.Answers = {TMsgAnswer::No, TMsgAnswer::Yes};
    EXPECT_FALSE(
        ConfirmSymbolFontText(nullptr, TSymbolFontText{1, 4}, QStringLiteral("Send anyway?")));
    EXPECT_TRUE(
        ConfirmSymbolFontText(nullptr, TSymbolFontText{2, 1}, QStringLiteral("Send anyway?")));
    ASSERT_EQ(dialogs.Boxes.size(), 2);
    EXPECT_EQ(dialogs.Boxes[0].Text,
              "The document holds 1 character in the symbol font without a command colour (on line "
              "4); the panel gets it as the plain character it is.\nSend anyway?");
    EXPECT_EQ(dialogs.Boxes[1].Text,
              "The document holds 2 characters in the symbol font without a command colour (the "
              "first on line 1); the panel gets them as the plain characters they are.\nSend "
              "anyway?");
    EXPECT_EQ(ResultMessageText(ResultTooManySegments),
              QString::fromStdString(ResultText(ResultTooManySegments)));
}

} // namespace
} // namespace zor
