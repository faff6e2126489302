#include "app/Zoredit.h"
#include "comm/Frames.h"
#include "comm/PanelEmulator.h"
#include "comm/ProfileFile.h"
#include "comm/forms/Bargraf.h"
#include "comm/forms/Nastav.h"
#include "comm/forms/Numeric.h"
#include "editor/Child.h"
#include "editor/DocumentManager.h"
#include "tests/support/FakeSerialPort.h"
#include "tests/support/MainFormFixture.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <QTextCursor>
#include <gtest/gtest.h>

namespace zor {
namespace {

class CommCommandsTest : public test::TMainFormTest
{
protected:
    CommCommandsTest()
    {
        // Every transfer talks to an emulated panel through a scripted port.
        Form->SetSerialPortFactory([this] {
            auto port = std::make_unique<TFakeSerialPort>();
            port->Responder = [this](const TFakeSerialPort::TBytes &frame) {
                return Panel.Feed(frame.data(), frame.size());
            };
            return port;
        });
    }

    QString Ini() const { return Dir.filePath("zoredit.INI"); }
    TGraf *Graf() const { return Form->findChild<TGraf *>(); }

    static std::function<int(QDialog &)> Accept(std::function<void(QDialog &)> fill = {})
    {
        return [fill](QDialog &d) {
            if (fill)
                fill(d);
            return int(QDialog::Accepted);
        };
    }

    TPanelEmulator Panel;
};

TEST_F(CommCommandsTest, ParametersOkCreatesTheSettingsFileWithAllFourKeys)
{
    Dialogs.FormAnswers = {Accept([](QDialog &d) {
        auto &p = static_cast<TParamet &>(d);
        TParamet::SetItemIndex(p.CommPortItems, 0);
        TParamet::SetItemIndex(p.BaudRateItems, 2);
    })};
    Form->ZorParametersExecute();
    TProfileFile ini;
    ASSERT_TRUE(ini.Load(Ini().toStdString()));
    EXPECT_EQ(ini.ReadString("PC", "Port", ""), "1");
    EXPECT_EQ(ini.ReadString("PC", "File", ""), "0");
    EXPECT_EQ(ini.ReadString("PC", "Baud", ""), "19200");
    EXPECT_EQ(ini.ReadString("PC", "Path", ""), (Dir.path() + "/zor.log").toStdString());
    EXPECT_EQ(Form->Communication().Port, 1);

    Dialogs.FormAnswers = {}; // cancelled: nothing changes
    Form->ZorParametersExecute();
    EXPECT_EQ(Form->Communication().Baud, 19200);
}

TEST_F(CommCommandsTest, TheLanguageChosenInParametersIsStoredForTheNextStartBesideTheOtherKeys)
{
    {
        QFile ini(Ini());
        ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
        ini.write("[Editor]\nLanguage=klingon\nPreview=1\n[PC]\nBaud=4800\n");
    }
    Form.reset();
    TStartupOptions o;
    o.FontFolders = {QStringLiteral(ZOR_SYMBOL_FONT_DIR)};
    o.SettingsFile = Ini();
    o.StartDirectory = Dir.path();
    Form = std::make_unique<TMainForm>(o);
    Form->CreateForms();

    Dialogs.FormAnswers = {Accept([](QDialog &d) {
        auto &p = static_cast<TParamet &>(d);
        EXPECT_EQ(p.LanguageList->currentItem()->text(), "The desktop's language")
            << "a value of a later version";
        p.LanguageList->setCurrentRow(2);
    })};
    Form->ZorParametersExecute();
    TProfileFile ini;
    ASSERT_TRUE(ini.Load(Ini().toStdString()));
    EXPECT_EQ(ini.ReadString("Editor", "Language", ""), "cs");
    EXPECT_EQ(ini.ReadString("Editor", "Preview", ""), "1");
    EXPECT_EQ(ini.ReadString("PC", "Baud", ""), "4800");
    EXPECT_EQ(QCoreApplication::translate("TParamet", "Parameters"), "Parameters")
        << "the running interface keeps its language";

    // Shown again as stored, and kept when the dialog is cancelled.
    Dialogs.FormAnswers = {[](QDialog &d) {
        auto &p = static_cast<TParamet &>(d);
        EXPECT_EQ(p.TakeLanguage(), "cs");
        EXPECT_EQ(p.LanguageList->currentItem()->text(), "Čeština");
        p.LanguageList->setCurrentRow(1);
        return int(QDialog::Rejected);
    }};
    Form->ZorParametersExecute();
    ASSERT_TRUE(ini.Load(Ini().toStdString()));
    EXPECT_EQ(ini.ReadString("Editor", "Language", ""), "cs");
}

TEST_F(CommCommandsTest, UnwritableSettingsFileShowsErrorAndKeepsTheValuesForTheRun)
{
    // The settings file's folder takes no new file.
    const QString folder = Dir.path();
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner);
    const bool immutable = QProcess::execute("chattr", {"+i", folder}) == 0;
    auto unlock = qScopeGuard([&] {
        if (immutable)
            QProcess::execute("chattr", {"-i", folder});
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    });
    ASSERT_FALSE(QFile::exists(Ini()));
    QFile probe(Dir.filePath("probe"));
    if (probe.open(QIODevice::WriteOnly))
        GTEST_SKIP() << "cannot make a folder read-only here";
    Dialogs.FormAnswers = {Accept(
        [](QDialog &d) { TParamet::SetItemIndex(static_cast<TParamet &>(d).CommPortItems, 3); })};
    Form->ZorParametersExecute();
    ASSERT_EQ(Dialogs.Boxes.size(), 1);
    EXPECT_TRUE(Dialogs.Boxes[0].Text.startsWith("Error inic file\n"))
        << Dialogs.Boxes[0].Text.toStdString();
    EXPECT_GT(Dialogs.Boxes[0].Text.size(), QString("Error inic file\n").size())
        << "a second line says why";
    EXPECT_EQ(Form->Communication().Port, 4);
}

TEST_F(CommCommandsTest, AnOversizedSettingsFileIsNamedUnderErrorInicFileAndKept)
{
    QFile huge(Ini());
    ASSERT_TRUE(huge.open(QIODevice::WriteOnly));
    ASSERT_TRUE(huge.resize(TProfileFile::MaxFileBytes + 1));
    huge.close();
    Dialogs.FormAnswers = {Accept()};
    Form->ZorParametersExecute();
    ASSERT_EQ(Dialogs.Boxes.size(), 1);
    EXPECT_EQ(Dialogs.Boxes[0].Text,
              "Error inic file\n" + Ini() + " is larger than 64 KB and is not a settings file");
    EXPECT_EQ(QFileInfo(Ini()).size(), TProfileFile::MaxFileBytes + 1);
}

TEST_F(CommCommandsTest, ABaudRateThePanelDoesNotWorkAtIsShownAndNamedUnderTheResult)
{
    {
        QFile ini(Ini());
        ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
        ini.write("[PC]\nBaud=4294967296\n"); // wraps to 0, as the Windows call reads it
    }
    Form.reset();
    TStartupOptions o;
    o.FontFolders = {QStringLiteral(ZOR_SYMBOL_FONT_DIR)};
    o.SettingsFile = Ini();
    o.StartDirectory = Dir.path();
    Form = std::make_unique<TMainForm>(o);
    Form->CreateForms();
    // A real port refuses a rate of 0 when its line is set.
    Form->SetSerialPortFactory([] {
        auto port = std::make_unique<TFakeSerialPort>();
        port->FailSetLine = true;
        return port;
    });
    QTextCursor(Form->CreateDocumentWindow("Untitled")->Editor->document()).insertText("Hi");
    Form->ZorSendExecute();
    ASSERT_EQ(Dialogs.Boxes.size(), 1);
    EXPECT_EQ(Dialogs.Boxes[0].Text, "Unknow Error\nBaud=4294967296 in section [PC] of " + Ini() +
                                         ": the panel works at 4800, 9600 or 19200 baud");

    Dialogs.FormAnswers = {Accept([](QDialog &d) {
        auto &p = static_cast<TParamet &>(d);
        EXPECT_FALSE(p.BaudNote->isHidden());
        EXPECT_EQ(p.BaudNote->text(), "Stored rate 0 is not offered");
    })};
    Form->ZorParametersExecute();
    EXPECT_EQ(Form->Communication().Baud, 9600) << "OK stores the rate selected";
    TParamet &p = *Form->findChild<TParamet *>();
    p.ApplySettings(Form->Communication());
    EXPECT_TRUE(p.BaudNote->isHidden());
    Form->ZorSendExecute();
    ASSERT_EQ(Dialogs.Boxes.size(), 2);
    EXPECT_EQ(Dialogs.Boxes[1].Text, "Unknow Error") << "the rate in use is not the one named";
}

TEST_F(CommCommandsTest, DialogShowsTheSettingsAndTheLogControlsFollowTheCheckBox)
{
    TParamet &p = *Form->findChild<TParamet *>();
    p.ApplySettings({7, 4800, false, "/var/log/zor.log"});
    p.FormShow();
    EXPECT_EQ(TParamet::ItemIndex(p.CommPortItems), 3) << "port 7 shows COM 4";
    EXPECT_EQ(TParamet::ItemIndex(p.BaudRateItems), 0);
    EXPECT_FALSE(p.Cesta->isEnabled());
    EXPECT_FALSE(p.Zmena->isEnabled());
    p.CheckBoxWrite->setChecked(true);
    EXPECT_TRUE(p.Cesta->isEnabled());
    EXPECT_TRUE(p.Zmena->isEnabled());
    EXPECT_EQ(p.Cesta->text(), "/var/log/zor.log");
    p.CheckBoxWrite->setChecked(false);
    EXPECT_FALSE(p.Zmena->isEnabled());

    p.ApplySettings({0, 12345, false, ""});
    EXPECT_EQ(TParamet::ItemIndex(p.CommPortItems), -1) << "port 0 shows none";
    TCommSettings back{0, 12345, false, ""};
    p.TakeSettings(back);
    EXPECT_EQ(back.Port, 0);
    EXPECT_EQ(back.Baud, 4800) << "an odd rate leaves the earlier selection, which OK stores";
}

TEST_F(CommCommandsTest, ChoosingTheLogFileRestoresTheDocumentSaveDialog)
{
    TParamet &p = *Form->findChild<TParamet *>();
    Form->DocumentManager()->SaveDialog.FileName = "/home/op/doc.zor";
    p.ApplySettings({3, 9600, true, "/tmp/old.log"});
    Dialogs.FileNames = {QString()}; // cancelled
    p.ZmenaClick();
    EXPECT_EQ(p.DialogPath, "/tmp/old.log");
    EXPECT_EQ(Dialogs.FileDialogs[0].Filter, "ZorEdit log files[*.log]|*.log");
    EXPECT_EQ(Dialogs.FileDialogs[0].FileName, "/tmp/old.log");
    Dialogs.FileNames = {"/tmp/new.log"};
    p.ZmenaClick();
    EXPECT_EQ(p.Cesta->text(), "/tmp/new.log");
    EXPECT_EQ(Dialogs.FileDialogs[1].DefaultExt, "log") << "a bare name becomes a log";
    EXPECT_EQ(Form->DocumentManager()->SaveDialog.Filter,
              Form->DocumentManager()->OpenDialog.Filter)
        << "the documents' filter, not one of its own";
    EXPECT_EQ(Form->DocumentManager()->SaveDialog.FileName, "/home/op/doc.zor");
    EXPECT_EQ(Form->DocumentManager()->SaveDialog.DefaultExt, "zor");
}

TEST_F(CommCommandsTest, TheLogChooserAsksBeforeTakingAFileThatIsNotALog)
{
    auto write = [this](const char *name, const QByteArray &bytes) {
        QFile f(Dir.filePath(name));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return f.fileName();
    };
    const QString document = write("doc.zor", "{\\rtf1 precious}");
    const QString rtfLog = write("doc.log", "{\\rtf1 precious}");
    const QString log = write("old.log", "0x01 0x02\n");
    const QString notes = write("notes", "notes");
    TParamet &p = *Form->findChild<TParamet *>();
    p.ApplySettings({3, 9600, true, "/tmp/zor.log"});

    // A document or anything else that is not a log: No keeps the old path.
    for (const QString &foreign : {document, rtfLog, notes}) {
        Dialogs.Boxes.clear();
        Dialogs.FileNames = {foreign};
        Dialogs.Answers = {TMsgAnswer::No};
        p.ZmenaClick();
        ASSERT_EQ(Dialogs.Boxes.size(), 1) << foreign.toStdString();
        EXPECT_EQ(Dialogs.Boxes[0].Caption, "Question");
        EXPECT_EQ(Dialogs.Boxes[0].Buttons, TMsgButtons::YesNo);
        EXPECT_TRUE(Dialogs.Boxes[0].Text.startsWith(foreign));
        EXPECT_EQ(p.DialogPath, "/tmp/zor.log");
    }
    // Yes takes it.
    Dialogs.FileNames = {notes};
    Dialogs.Answers = {TMsgAnswer::Yes};
    p.ZmenaClick();
    EXPECT_EQ(p.DialogPath, notes);

    // An existing log and a new name are taken without a question.
    Dialogs.Boxes.clear();
    Dialogs.FileNames = {log, Dir.filePath("new.log")};
    p.ZmenaClick();
    EXPECT_EQ(p.DialogPath, log);
    p.ZmenaClick();
    EXPECT_EQ(p.DialogPath, Dir.filePath("new.log"));
    EXPECT_TRUE(Dialogs.Boxes.isEmpty());
}

TEST_F(CommCommandsTest, SendDeliversTheTranslatedProgramWithProgressAndResult)
{
    TMDIChild *w = Form->CreateDocumentWindow("Untitled");
    QTextCursor c(w->Editor->document());
    c.insertText("Hello");
    bool progressUnderResult = false;
    Dialogs.OnBox = [&](const test::TShownBox &) { progressUnderResult = Graf()->isVisible(); };
    Form->ZorSendExecute();
    ASSERT_EQ(Dialogs.Boxes.size(), 1);
    EXPECT_EQ(Dialogs.Boxes[0].Text, "Communication O.K.");
    EXPECT_TRUE(progressUnderResult) << "the result is told over the progress window";
    const auto events = Panel.TakeEvents();
    ASSERT_FALSE(events.empty());
    EXPECT_EQ(events.back().Kind, TPanelEvent::Program);
    EXPECT_EQ(events.back().Data, std::string("T0\x1FHello\x1F"));
    EXPECT_EQ(Graf()->ProgressBar1->maximum(), 1);
    EXPECT_EQ(Graf()->ProgressBar1->value(), 1);
    EXPECT_FALSE(Graf()->isVisible());
    EXPECT_TRUE(w->Editor->isEnabled());
    EXPECT_EQ(w->Editor->textCursor().position(), 5) << "the caret ends at the end";
}

TEST_F(CommCommandsTest, WaitMomentLeavesTheStatusBarWhenTheSendEndsHoweverItEnds)
{
    TMDIChild *w = Form->CreateDocumentWindow("Untitled");
    QLabel *status = Form->StatusPanel(0);
    QString during;
    Dialogs.OnBox = [&](const test::TShownBox &) { during = status->text(); };
    // An empty document: the question is answered No and nothing is sent.
    Dialogs.Answers = {TMsgAnswer::No};
    Form->ZorSendExecute();
    ASSERT_EQ(Dialogs.Boxes.size(), 1);
    EXPECT_EQ(during, "Wait moment please...");
    EXPECT_TRUE(Panel.TakeEvents().empty());
    EXPECT_NE(status->text(), "Wait moment please...");
    // A send that goes through.
    QTextCursor(w->Editor->document()).insertText("Hello");
    Form->ZorSendExecute();
    EXPECT_FALSE(Panel.TakeEvents().empty());
    EXPECT_NE(status->text(), "Wait moment please...");
}

TEST_F(CommCommandsTest, EveryTransferStartsWithAnEmptyProgressBar)
{
    // The bar's value at the moment the progress window appears, for each transfer.
    struct TShowWatch : QObject
    {
        QProgressBar *Bar = nullptr;
        QList<int> Values;
        bool eventFilter(QObject *, QEvent *e) override
        {
            if (e->type() == QEvent::Show)
                Values << Bar->value() - Bar->minimum();
            return false;
        }
    } watch;
    watch.Bar = Graf()->ProgressBar1;
    Graf()->installEventFilter(&watch);
    TMDIChild *w = Form->CreateDocumentWindow("Untitled");
    QTextCursor(w->Editor->document()).insertText("Hello");
    Form->ZorSendExecute();
    Form->ZorSendExecute();
    Graf()->removeEventFilter(&watch);
    EXPECT_EQ(watch.Values, QList<int>({0, 0}));
    EXPECT_EQ(Graf()->ProgressBar1->value(), Graf()->ProgressBar1->maximum());
}

TEST_F(CommCommandsTest, SendToAMissingPortReportsHardwareFailure)
{
    Form->SetSerialPortFactory([] {
        auto port = std::make_unique<TFakeSerialPort>();
        port->FailOpen = true;
        return port;
    });
    QTextCursor(Form->CreateDocumentWindow("Untitled")->Editor->document()).insertText("Hi");
    Form->ZorSendExecute();
    ASSERT_EQ(Dialogs.Boxes.size(), 1);
    EXPECT_EQ(Dialogs.Boxes[0].Text, "Hardware Failure");
}

TEST_F(CommCommandsTest, NumericFieldsRefuseLettersThenSendTheCounters)
{
    Dialogs.FormAnswers = {Accept([](QDialog &d) {
                               auto &v = static_cast<TVstup &>(d);
                               v.Edit1->setText("1a");
                               v.Edit2->setText("4");
                           }),
                           Accept([](QDialog &d) {
                               auto &v = static_cast<TVstup &>(d);
                               EXPECT_EQ(v.Edit1->text(), "1a") << "shown again as it was";
                               v.Edit1->setText("7");
                           })};
    Form->ZorNumericValueExecute();
    ASSERT_EQ(Dialogs.Boxes.size(), 2);
    EXPECT_EQ(Dialogs.Boxes[0].Text, "Only numeric value");
    EXPECT_EQ(Dialogs.Boxes[0].Caption, "Error");
    EXPECT_EQ(Dialogs.Boxes[1].Text, "Communication O.K.");
    const auto events = Panel.TakeEvents();
    ASSERT_FALSE(events.empty());
    EXPECT_EQ(events.back().Kind, TPanelEvent::Numeric);
    EXPECT_EQ(events.back().Data, "  7 4");
    EXPECT_EQ(Form->findChild<TVstup *>()->Edit1->text(), "7") << "the operator's own text is kept";

    Dialogs.Boxes.clear();
    Form->ZorNumericValueExecute(); // cancelled: nothing sent, nothing shown
    EXPECT_TRUE(Dialogs.Boxes.isEmpty());
}

TEST_F(CommCommandsTest, CancelOrEscapeStopsTheSendAfterTheFrameInFlight)
{
    TMDIChild *w = Form->CreateDocumentWindow("Untitled");
    QTextCursor(w->Editor->document()).insertText(QString(150, QLatin1Char('c'))); // three blocks
    TGraf *graf = Graf();
    for (const bool escape : {false, true}) {
        SCOPED_TRACE(escape ? "Escape" : "Cancel button");
        Dialogs.Boxes.clear();
        std::vector<TFakeSerialPort::TBytes> frames;
        Form->SetSerialPortFactory([&] {
            auto port = std::make_unique<TFakeSerialPort>();
            port->Responder = [&](const TFakeSerialPort::TBytes &frame) {
                frames.push_back(frame);
                // The operator acts while block 2 is on its way; the transfer thread waits
                // until the click has been handled.
                if (frame.size() == BlockFrameLength && GetWord(frame.data() + 2) == 2)
                    QMetaObject::invokeMethod(
                        graf,
                        [&] {
                            if (escape)
                                QTest::keyClick(graf, Qt::Key_Escape);
                            else
                                graf->CancelButton->click();
                        },
                        Qt::BlockingQueuedConnection);
                return Panel.Feed(frame.data(), frame.size());
            };
            return port;
        });
        Form->ZorSendExecute();
        ASSERT_EQ(Dialogs.Boxes.size(), 1);
        EXPECT_EQ(Dialogs.Boxes[0].Caption, "Information");
        EXPECT_EQ(Dialogs.Boxes[0].Text, "Transfer cancelled");
        EXPECT_EQ(frames.size(), 3u) << "Open, block 1 and block 2; no block 3, no Close";
        for (const auto &e : Panel.TakeEvents())
            EXPECT_NE(e.Kind, TPanelEvent::Program) << "the panel took no program";
        EXPECT_FALSE(Graf()->isVisible());
        EXPECT_TRUE(w->Editor->isEnabled());
    }
}

TEST_F(CommCommandsTest, AnUnwritableLogIsSaidOnceAfterTheResult)
{
    Form->Communication().LogToFile = true;
    Form->Communication().LogPath = Dir.path().toStdString(); // a folder
    QTextCursor(Form->CreateDocumentWindow("Untitled")->Editor->document()).insertText("Hi");
    Form->ZorSendExecute();
    ASSERT_EQ(Dialogs.Boxes.size(), 2);
    EXPECT_EQ(Dialogs.Boxes[0].Text, "Communication O.K.");
    EXPECT_EQ(Dialogs.Boxes[1].Caption, "Warning");
    EXPECT_EQ(Dialogs.Boxes[1].Icon, TMsgIcon::Warning);
    EXPECT_EQ(Dialogs.Boxes[1].Text,
              "The transfer log was not written:\n" + Dir.path() + ": Is a directory");
}

TEST_F(CommCommandsTest, APortThatCannotBeOpenedAddsItsCauseToHardwareFailure)
{
    Form->SetSerialPortFactory([] {
        auto port = std::make_unique<TFakeSerialPort>();
        port->FailOpen = true;
        port->Problem = "The device /dev/ttyUSB7 does not exist.";
        return port;
    });
    Dialogs.FormAnswers = {
        Accept([](QDialog &d) { static_cast<TVstup &>(d).Edit1->setText("5"); })};
    Form->ZorNumericValueExecute();
    QTextCursor(Form->CreateDocumentWindow("Untitled")->Editor->document()).insertText("Hi");
    Form->ZorSendExecute();
    ASSERT_EQ(Dialogs.Boxes.size(), 2);
    for (const auto &box : Dialogs.Boxes) {
        EXPECT_EQ(box.Caption, "Error");
        EXPECT_EQ(box.Text, "Hardware Failure\nThe device /dev/ttyUSB7 does not exist.");
    }
}

TEST_F(CommCommandsTest, APortLostMidTransferSaysDuringWhichBlock)
{
    Form->SetSerialPortFactory([this] {
        auto port = std::make_unique<TFakeSerialPort>();
        port->Responder = [this, fake = port.get()](const TFakeSerialPort::TBytes &frame) {
            fake->FailRead = frame.size() == BlockFrameLength; // unplugged during block 1
            return Panel.Feed(frame.data(), frame.size());
        };
        return port;
    });
    QTextCursor(Form->CreateDocumentWindow("Untitled")->Editor->document()).insertText("Hi");
    Form->ZorSendExecute();
    ASSERT_EQ(Dialogs.Boxes.size(), 1);
    EXPECT_EQ(Dialogs.Boxes[0].Caption, "Error");
    const QString text = Dialogs.Boxes[0].Text;
    EXPECT_TRUE(text.startsWith("Hardware Failure\nThe device /dev/")) << text.toStdString();
    EXPECT_TRUE(text.endsWith(" went away during block 1 of 1: the panel may now hold part of the "
                              "program. Send again once it is back."))
        << text.toStdString();
}

TEST_F(CommCommandsTest, NumericFieldsOpenWithTheFirstNumberSelectedForTyping)
{
    auto check = [](TVstup &v) {
        EXPECT_EQ(v.focusWidget(), v.Edit1);
        EXPECT_EQ(v.Edit1->selectedText(), v.Edit1->text());
    };
    Dialogs.FormAnswers = {Accept([&](QDialog &d) {
                               auto &v = static_cast<TVstup &>(d);
                               check(v);
                               v.Edit1->setText("12");
                               v.Edit2->setText("3");
                               v.Button1->setFocus(); // as a click on Send leaves it
                           }),
                           Accept([&](QDialog &d) {
                               auto &v = static_cast<TVstup &>(d);
                               check(v);
                               EXPECT_EQ(v.Edit1->text(), "12");
                               // Typed digits replace the old number.
                               QTest::keyClicks(v.Edit1, "45");
                               EXPECT_EQ(v.Edit1->text(), "45");
                           })};
    Form->ZorNumericValueExecute();
    Form->ZorNumericValueExecute();
    const auto events = Panel.TakeEvents();
    ASSERT_FALSE(events.empty());
    EXPECT_EQ(events.back().Data, " 45 3");
}

} // namespace
} // namespace zor
