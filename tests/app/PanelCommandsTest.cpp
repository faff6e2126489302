// Named panels from the editor: the Panels page of Parameters, Zor > Send to panels, Numeric
// fields to ticked panels, a log per panel: the windows. Real ports against `zor panel` where the
// ports themselves matter (the device test), scripted ports elsewhere; what the panels receive
// from several transfers at once is tested on the fan-out itself (tests/comm/PanelSendTest.cpp).
#include "app/CommSetup.h"
#include "app/Zoredit.h"
#include "comm/Frames.h"
#include "comm/PanelEmulator.h"
#include "comm/ProfileFile.h"
#include "comm/forms/Bargraf.h"
#include "comm/forms/LogView.h"
#include "comm/forms/Nastav.h"
#include "comm/forms/Numeric.h"
#include "comm/forms/PanelChoice.h"
#include "comm/forms/PanelName.h"
#include "comm/forms/PanelResults.h"
#include "comm/forms/PanelsPage.h"
#include "comm/forms/PanelsProgress.h"
#include "comm/forms/PortCombo.h"
#include "editor/Child.h"
#include "tests/support/FakeSerialPort.h"
#include "tests/support/MainFormFixture.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTableWidget>
#include <QTextCursor>
#include <gtest/gtest.h>

#include <atomic>
#include <map>
#include <memory>
#ifndef _WIN32
// `zor panel` on a pseudo-terminal: the Linux build's.
#include "harness/PanelProcess.h"
#include "harness/Ser2netProcess.h"
#endif

namespace zor {
namespace {

using TBytes = TFakeSerialPort::TBytes;

struct TResultRow
{
    QString Name, Result, Cause;
    bool operator==(const TResultRow &) const = default;
};

void PrintTo(const TResultRow &r, std::ostream *os)
{
    *os << '{' << r.Name.toStdString() << " | " << r.Result.toStdString() << " | "
        << r.Cause.toStdString() << '}';
}

class PanelCommandsTest : public test::TMainFormTest
{
protected:
    QString Ini() const { return Dir.filePath("zoredit.INI"); }

    // A new main window on a settings file with this text, as at a start.
    void StartWith(const QByteArray &settings)
    {
        {
            QFile ini(Ini());
            EXPECT_TRUE(ini.open(QIODevice::WriteOnly));
            ini.write(settings);
        }
        Form.reset();
        TStartupOptions o;
        o.FontFolders = {QStringLiteral(ZOR_SYMBOL_FONT_DIR)};
        o.SettingsFile = Ini();
        o.StartDirectory = Dir.path();
        Form = std::make_unique<TMainForm>(o);
        Form->CreateForms();
    }

    // Every port is scripted and talks to the emulated panel of the device it opened; any other
    // device cannot be opened, and its port says Unreachable.
    void ScriptedPanels(const QStringList &devices)
    {
        for (const QString &device : devices)
            Panels[device.toStdString()] = std::make_unique<TPanelEmulator>();
        Form->SetSerialPortFactory([this] {
            auto port = std::make_unique<TFakeSerialPort>();
            for (const auto &[device, panel] : Panels)
                port->Devices.insert(device);
            port->Problem = Unreachable;
            port->Responder = [this, fake = port.get()](const TBytes &frame) {
                if (OnFrame)
                    OnFrame(fake->Device, frame);
                return Panels.at(fake->Device)->Feed(frame.data(), frame.size());
            };
            return port;
        });
    }

    TMDIChild *Document(const QString &text)
    {
        TMDIChild *w = Form->CreateDocumentWindow("Untitled");
        QTextCursor(w->Editor->document()).insertText(text);
        return w;
    }

    static std::function<int(QDialog &)> Accept(std::function<void(QDialog &)> fill = {})
    {
        return [fill](QDialog &d) {
            if (fill)
                fill(d);
            return int(QDialog::Accepted);
        };
    }

    // Ticks these panels in the Send to panels dialog and sends.
    static std::function<int(QDialog &)> Tick(const QStringList &names)
    {
        return Accept(
            [names](QDialog &d) { static_cast<TPanelChoice &>(d).PanelList->SetTicked(names); });
    }

    // Answers the results window, keeping its rows in Rows.
    std::function<int(QDialog &)> ReadResults()
    {
        return Accept([this](QDialog &d) {
            auto &window = static_cast<TPanelResults &>(d);
            Caption = window.windowTitle();
            Rows.clear();
            for (int r = 0; r < window.Table->rowCount(); ++r)
                Rows.push_back({window.Table->item(r, 0)->text(), window.Table->item(r, 1)->text(),
                                window.Table->item(r, 2)->text()});
            ProgressUnderResults = Form->findChild<TPanelsProgress *>()->isVisible();
        });
    }

    static constexpr const char *Unreachable = "The device server does not answer.";
    std::map<std::string, std::unique_ptr<TPanelEmulator>> Panels; // read-only while transfers run
    std::function<void(const std::string &device, const TBytes &)> OnFrame; // on the workers
    QString Caption;
    std::vector<TResultRow> Rows;
    bool ProgressUnderResults = false;
};

TEST_F(PanelCommandsTest, ThePanelsPageWritesThePanelsSectionAndKeepsTheRestOfTheFile)
{
    StartWith("; plant settings\n[PC]\nPort=2\nBaud=4800\n[Editor]\nPreview=1\n"
              "[Panels]\nOld=socket://hall:4001\n; the gate\nOther=socket://gate:4001\n");
    auto name = [](const char *typed) {
        return Accept([typed](QDialog &d) {
            static_cast<TPanelName &>(d).NameEdit->setText(QString::fromLatin1(typed));
        });
    };
    Dialogs.FormAnswers = {Accept([](QDialog &d) {
                               auto &p = static_cast<TParamet &>(d);
                               ASSERT_EQ(p.Panels->Table->topLevelItemCount(), 2);
                               EXPECT_EQ(p.Panels->Device->currentText(), "socket://hall:4001")
                                   << "the first is selected";
                               p.Panels->AddClick(); // "Other" is taken, whatever its case
                               p.Panels->AddClick(); // a comma would break zor's lists
                               p.Panels->AddClick();
                               p.Panels->Device->setEditText("rfc2217://127.0.0.1:4001");
                               p.Panels->Baud->setCurrentIndex(p.Panels->Baud->findData(19200));
                               p.Panels->SelectPanel(0);
                               p.Panels->RenameClick();
                               p.Panels->SelectPanel(1);
                               p.Panels->RemoveClick();
                               p.Panels->AddClick(); // no device yet: OK is refused
                           }),
                           name("other"),
                           name("Hall,1"),
                           name("Hall1"),
                           name("Gate"),
                           name("Spare"),
                           Accept([](QDialog &d) {
                               auto &p = static_cast<TParamet &>(d);
                               EXPECT_EQ(p.Panels->Table->topLevelItemCount(), 3)
                                   << "the dialog comes back as it was";
                               p.Panels->RemoveClick();
                           })};
    Form->ZorParametersExecute();

    ASSERT_EQ(Dialogs.Boxes.size(), 3);
    EXPECT_EQ(Dialogs.Boxes[0].Text, "There is already a panel named other.");
    EXPECT_EQ(Dialogs.Boxes[1].Text,
              "A panel's name cannot hold '=', a comma, a tab or a line break.");
    EXPECT_EQ(Dialogs.Boxes[2].Text,
              "The panel Spare has no device: choose or type one, or remove the panel.");
    QFile ini(Ini());
    ASSERT_TRUE(ini.open(QIODevice::ReadOnly));
    EXPECT_EQ(ini.readAll().toStdString(),
              "; plant settings\n[PC]\nPort=2\nBaud=4800\nFile=0\nPath=" +
                  QDir::toNativeSeparators(Dir.filePath("zor.log")).toStdString() +
                  "\n[Editor]\nPreview=1\n[Panels]\n; the gate\nGate=socket://hall:4001\n"
                  "Hall1=rfc2217://127.0.0.1:4001,19200\n");
}

TEST_F(PanelCommandsTest, ThePanelsPageRefusesWhatTheFileNamedWrongUntilItIsPutRight)
{
    StartWith("[Panels]\nZero=socket://hall:4001,0\nzero=socket://yard:4001\n");
    Dialogs.FormAnswers = {
        Accept([](QDialog &d) {
            EXPECT_EQ(static_cast<TParamet &>(d).Panels->Table->topLevelItemCount(), 2)
                << "nothing of the file is dropped";
        }),
        Accept([](QDialog &d) {
            auto &p = static_cast<TParamet &>(d);
            p.Panels->SelectPanel(0);
            p.Panels->Baud->setCurrentIndex(p.Panels->Baud->findData(9600));
        }),
        Accept([](QDialog &d) {
            auto &p = static_cast<TParamet &>(d);
            p.Panels->SelectPanel(1);
            p.Panels->RenameClick();
        }),
        Accept([](QDialog &d) { static_cast<TPanelName &>(d).NameEdit->setText("Two"); })};
    Form->ZorParametersExecute();

    ASSERT_EQ(Dialogs.Boxes.size(), 2);
    EXPECT_NE(Dialogs.Boxes[0].Text.indexOf("Zero=socket://hall:4001,0: \"0\" is no rate"), -1)
        << Dialogs.Boxes[0].Text.toStdString();
    EXPECT_NE(Dialogs.Boxes[1].Text.indexOf("\"Zero\" and \"zero\" have one name"), -1)
        << Dialogs.Boxes[1].Text.toStdString();
    QFile ini(Ini());
    ASSERT_TRUE(ini.open(QIODevice::ReadOnly));
    EXPECT_TRUE(ini.readAll().startsWith(
        "[Panels]\nZero=socket://hall:4001,9600\nTwo=socket://yard:4001\n"));
}

#ifndef _WIN32
TEST_F(PanelCommandsTest, TheTestButtonOpensTheDeviceAndSaysWhatItFoundWithoutSendingAFrame)
{
    test::TPanelProcess panel(ZOR_TOOL_PATH, {});
    test::TPanelProcess listener(ZOR_TOOL_PATH, {"--listen", "0"});
    ASSERT_FALSE(panel.DevicePath().empty());
    ASSERT_FALSE(listener.DevicePath().empty());
    const std::string refused = "socket://127.0.0.1:" + std::to_string(test::ClosedPort());
    TParamet &p = *Form->findChild<TParamet *>();
    p.ApplySettings({3, 4800, false, ""});
    p.Panels->Apply({{"Hall1", panel.DevicePath(), 0},
                     {"Gate", refused, 19200},
                     {"Yard", listener.DevicePath(), 0}});
    QSignalSpy finished(p.Panels, &TPanelsPage::TestFinished);

    p.Panels->TestClick();
    EXPECT_FALSE(p.Panels->Test->isEnabled()) << "one test at a time";
    ASSERT_TRUE(finished.wait(5000));
    EXPECT_TRUE(finished[0][0].toBool());
    EXPECT_EQ(finished[0][1].toString(),
              QString::fromStdString("Opened " + panel.DevicePath() + " at 4800 baud."))
        << "the rate of the Port page";
    EXPECT_EQ(p.Panels->TestResult->text(), "Hall1: " + finished[0][1].toString());

    p.Panels->SelectPanel(1);
    EXPECT_TRUE(p.Panels->TestResult->text().isEmpty()) << "the sentence went with its panel";
    p.Panels->TestClick();
    ASSERT_TRUE(finished.wait(5000));
    EXPECT_FALSE(finished[1][0].toBool());
    const std::string server = refused.substr(std::string("socket://").size());
    EXPECT_EQ(finished[1][1].toString().toStdString(),
              "Cannot reach " + refused + ": the connection was refused by " + server + ".");
    EXPECT_TRUE(p.Panels->Test->isEnabled());

    p.Panels->SelectPanel(2);
    p.Panels->TestClick();
    ASSERT_TRUE(finished.wait(5000));
    EXPECT_TRUE(finished[2][0].toBool());
    EXPECT_EQ(finished[2][1].toString().toStdString(),
              "Connected to " + listener.DevicePath().substr(std::string("socket://").size()) +
                  " (raw TCP: the server's own line settings apply).");

    for (test::TPanelProcess *emulator : {&panel, &listener}) {
        const std::string heard = emulator->Stop();
        EXPECT_EQ(heard.find("program"), std::string::npos) << heard;
        EXPECT_EQ(heard.find("numeric"), std::string::npos) << heard;
    }
}
#endif

TEST_F(PanelCommandsTest, SendToPanelsListsEachResultOverTheProgressWindowAndALogEach)
{
    StartWith(QByteArray("[PC]\nFile=1\nPath=") + Dir.filePath("zor.log").toUtf8() +
              "\n[Panels]\nHall=/dev/fakeHall\nOffice=socket://127.0.0.1:1\n"
              "Gate=/dev/fakeGate,19200\n");
    ScriptedPanels({"/dev/fakeHall", "/dev/fakeGate"});
    TMDIChild *w = Document(QString(150, QLatin1Char('p'))); // three blocks

    Dialogs.FormAnswers = {Accept([](QDialog &d) {
                               auto &choice = static_cast<TPanelChoice &>(d);
                               EXPECT_TRUE(choice.PanelList->Ticked().isEmpty());
                               EXPECT_FALSE(choice.SendButton->isEnabled());
                               choice.AllButton->click();
                           }),
                           ReadResults()};
    Form->ZorSendToPanelsExecute();

    EXPECT_EQ(Caption, "Send to panels");
    EXPECT_EQ(Rows, (std::vector<TResultRow>{{"Hall", "Communication O.K.", ""},
                                             {"Office", "Hardware Failure", Unreachable},
                                             {"Gate", "Communication O.K.", ""}}));
    EXPECT_TRUE(ProgressUnderResults) << "the results are shown over the progress window";
    const TPanelsProgress *progress = Form->findChild<TPanelsProgress *>();
    EXPECT_FALSE(progress->isVisible());
    ASSERT_EQ(progress->Rows().size(), 3u);
    const QString states[] = {"Communication O.K.", "Hardware Failure", "Communication O.K."};
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(progress->Rows()[i].Name->text(), Rows[i].Name);
        EXPECT_EQ(progress->Rows()[i].State->text(), states[i]);
    }
    EXPECT_EQ(progress->Rows()[0].Bar->value(), 3) << "three blocks of three";
    EXPECT_TRUE(w->Editor->isEnabled());
    for (const char *device : {"/dev/fakeHall", "/dev/fakeGate"}) {
        const auto events = Panels.at(device)->TakeEvents();
        ASSERT_FALSE(events.empty()) << device;
        EXPECT_EQ(events.back().Kind, TPanelEvent::Program) << device;
        EXPECT_EQ(events.back().Data.size(), 154u) << device << ": the translated document";
    }

    // Each panel wrote its own log; Transfer log offers them all, the last transfer's first.
    EXPECT_TRUE(QFile::exists(Dir.filePath("zor-Hall.log")));
    EXPECT_TRUE(QFile::exists(Dir.filePath("zor-Gate.log")));
    EXPECT_TRUE(QFile::exists(Dir.filePath("zor-Office.log")));
    EXPECT_FALSE(QFile::exists(Dir.filePath("zor.log"))) << "the port of Parameters sent nothing";
    Form->ZorTransferLogExecute();
    TLogView *view = Form->findChild<TLogView *>();
    ASSERT_NE(view, nullptr);
    ASSERT_EQ(view->LogChoice->count(), 4);
    EXPECT_EQ(view->LogChoice->itemText(0), "COM 3 (Parameters)");
    EXPECT_EQ(view->LogChoice->currentText(), "Hall");
    EXPECT_TRUE(view->Status->text().startsWith(Dir.filePath("zor-Hall.log")));
    view->LogChoice->setCurrentIndex(2);
    EXPECT_TRUE(view->Text->toPlainText().contains("Open error!!!!")) << "Office's log";

    // The choice is kept in the settings file and ticked the next time.
    TProfileFile ini;
    ASSERT_TRUE(ini.Load(Ini().toStdString()));
    EXPECT_EQ(ini.ReadString("Editor", SendPanelsKey, ""), "Hall,Office,Gate");
    QFile kept(Ini());
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    StartWith(kept.readAll());
    Document("again");
    Dialogs.FormAnswers = {[](QDialog &d) {
        auto &choice = static_cast<TPanelChoice &>(d);
        EXPECT_EQ(choice.PanelList->Ticked(), QStringList({"Hall", "Office", "Gate"}));
        EXPECT_TRUE(choice.SendButton->isEnabled());
        EXPECT_TRUE(choice.Note->text().isEmpty());
        return int(QDialog::Rejected);
    }};
    Form->ZorSendToPanelsExecute();
}

TEST_F(PanelCommandsTest, OneCancelStopsEveryPanelAndEachRowSaysSo)
{
    StartWith("[Panels]\nA=/dev/fakeA\nB=/dev/fakeB\nC=/dev/fakeC\n");
    ScriptedPanels({"/dev/fakeA", "/dev/fakeB", "/dev/fakeC"});
    std::atomic<int> atBlock2{0};
    std::atomic<bool> cancelled{false};
    OnFrame = [&](const std::string &, const TBytes &frame) {
        if (frame.size() != BlockFrameLength || GetWord(frame.data() + 2) != 2)
            return;
        // Once every panel is at block 2 the operator presses Cancel; each waits there until it
        // has, so that every one is stopped mid-program.
        if (++atBlock2 == 3) {
            QMetaObject::invokeMethod(
                Form.get(), [this] { Form->findChild<TPanelsProgress *>()->CancelButton->click(); },
                Qt::BlockingQueuedConnection);
            cancelled = true;
            cancelled.notify_all();
        }
        cancelled.wait(false);
    };
    Document(QString(150, QLatin1Char('c')));
    Dialogs.FormAnswers = {Tick({"A", "B", "C"}), ReadResults()};
    Form->ZorSendToPanelsExecute();

    ASSERT_EQ(Rows.size(), 3u);
    const TPanelsProgress *progress = Form->findChild<TPanelsProgress *>();
    EXPECT_FALSE(progress->CancelButton->isEnabled()) << "one Cancel, pressed once";
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(Rows[i].Result, "Transfer cancelled") << Rows[i].Name.toStdString();
        EXPECT_EQ(progress->Rows()[i].State->text(), "Transfer cancelled");
    }
}

// A device reached through a symbolic link is one of POSIX.
#ifndef _WIN32
TEST_F(PanelCommandsTest, PanelsOnOneDeviceAreRefusedBeforeAnythingIsSent)
{
    // No panels yet: the command says where they are named, and takes the operator there.
    Document("Hi");
    Dialogs.Answers = {TMsgAnswer::Yes};
    Dialogs.FormAnswers = {[](QDialog &d) {
        auto &p = static_cast<TParamet &>(d);
        EXPECT_EQ(p.Pages->currentWidget(), p.Panels);
        return int(QDialog::Rejected);
    }};
    Form->ZorSendToPanelsExecute();
    ASSERT_EQ(Dialogs.Boxes.size(), 1);
    EXPECT_TRUE(Dialogs.Boxes[0].Text.startsWith("No panels are named yet."));

    // One device by a link and by its own name; one device server by both URL forms.
    const QString target = Dir.filePath("ttyUSB0");
    QFile(target).open(QIODevice::WriteOnly);
    ASSERT_TRUE(QFile::link(target, Dir.filePath("by-id")));
    StartWith(QByteArray("[Panels]\nHall=") + Dir.filePath("by-id").toUtf8() +
              "\nYard=socket://127.0.0.1:4001\nGate=" + target.toUtf8() +
              "\nDock=rfc2217://127.0.0.1:4001\n");
    int ports = 0;
    Form->SetSerialPortFactory([&ports] {
        ++ports;
        return std::make_unique<TFakeSerialPort>();
    });
    Document("Hi");
    Dialogs.Boxes.clear();
    Dialogs.FormAnswers = {Accept([](QDialog &d) {
                               auto &choice = static_cast<TPanelChoice &>(d);
                               choice.PanelList->SetTicked({"Yard", "Dock"});
                               EXPECT_FALSE(choice.SendButton->isEnabled());
                               EXPECT_EQ(choice.Note->text(),
                                         "Yard and Dock use the same device "
                                         "(socket://127.0.0.1:4001): one device takes one "
                                         "transfer at a time.");
                           }),
                           Tick({"Hall", "Yard", "Gate"})};
    Form->ZorSendToPanelsExecute();
    Form->ZorSendToPanelsExecute();
    ASSERT_EQ(Dialogs.Boxes.size(), 2);
    EXPECT_TRUE(Dialogs.Boxes[0].Text.startsWith("Nothing was sent. Yard and Dock use the same "
                                                 "device"));
    EXPECT_EQ(Dialogs.Boxes[1].Text, "Nothing was sent. Hall and Gate use the same device (" +
                                         Dir.filePath("by-id") +
                                         "): one device takes one transfer at a time.");
    EXPECT_EQ(ports, 0);
}
#endif

TEST_F(PanelCommandsTest, NumericFieldsGoToThePortOfParametersOrToTheTickedPanels)
{
    StartWith("[PC]\nPort=1\n[Ports]\nCOM1=/dev/fakeP\n[Panels]\nA=/dev/fakeA\nB=/dev/fakeB\n"
              "C=/dev/fakeP\n");
    ScriptedPanels({"/dev/fakeP", "/dev/fakeA", "/dev/fakeB"});
    auto counters = [](const char *days, QStringList ticked) {
        return Accept([days, ticked](QDialog &d) {
            auto &v = static_cast<TVstup &>(d);
            EXPECT_FALSE(v.Targets->isHidden());
            v.Edit1->setText(QString::fromLatin1(days));
            if (!ticked.isEmpty())
                v.Targets->SetTicked(ticked);
        });
    };
    // The first time the port of Parameters is ticked, and it goes there as it always has.
    Dialogs.FormAnswers = {counters("12", {})};
    Form->ZorNumericValueExecute();
    ASSERT_EQ(Dialogs.Boxes.size(), 1);
    EXPECT_EQ(Dialogs.Boxes[0].Text, "Communication O.K.");

    Dialogs.FormAnswers = {counters("34", {"A", "B"}), ReadResults()};
    Form->ZorNumericValueExecute();
    EXPECT_EQ(Caption, "Numeric fields");
    EXPECT_EQ(Rows, (std::vector<TResultRow>{{"A", "Communication O.K.", ""},
                                             {"B", "Communication O.K.", ""}}));
    const auto data = [this](const char *device) {
        std::vector<std::string> received;
        for (const auto &e : Panels.at(device)->TakeEvents())
            if (e.Kind == TPanelEvent::Numeric)
                received.push_back(e.Data);
        return received;
    };
    EXPECT_EQ(data("/dev/fakeP"), std::vector<std::string>{" 12  "});
    EXPECT_EQ(data("/dev/fakeA"), std::vector<std::string>{" 34  "});
    EXPECT_EQ(data("/dev/fakeB"), std::vector<std::string>{" 34  "});

    // The port of Parameters and a panel on its device: said, and the dialog comes back.
    Dialogs.Boxes.clear();
    Dialogs.FormAnswers = {Accept([](QDialog &d) {
                               auto &v = static_cast<TVstup &>(d);
                               v.Edit1->setText(QStringLiteral("56"));
                               v.Targets->SetTicked({"COM 1 (Parameters)", "C"});
                               EXPECT_FALSE(v.Button1->isEnabled());
                               EXPECT_EQ(v.Note->text(),
                                         "COM 1 (Parameters) and C use the same device "
                                         "(/dev/fakeP): one device takes one transfer at a time.");
                               EXPECT_FALSE(v.Note->isHidden());
                           }),
                           counters("56", {"C"}), ReadResults()};
    Form->ZorNumericValueExecute();
    ASSERT_EQ(Dialogs.Boxes.size(), 1);
    EXPECT_EQ(Dialogs.Boxes[0].Text, "COM 1 (Parameters) and C use the same device (/dev/fakeP): "
                                     "one device takes one transfer at a time.");
    EXPECT_EQ(Rows, (std::vector<TResultRow>{{"C", "Communication O.K.", ""}}));
    EXPECT_EQ(data("/dev/fakeP"), std::vector<std::string>{" 56  "}) << "once";
}

TEST_F(PanelCommandsTest, TheResultsSayInWhichFrameAPanelStoppedAnswering)
{
    StartWith("[Panels]\nA=/dev/fakeA\nB=/dev/fakeB\nC=/dev/fakeC\n");
    // Each panel answers its first frames (every copy counts) and then falls silent.
    const std::map<std::string, int> answered = {
        {"/dev/fakeA", 0}, {"/dev/fakeB", 2}, {"/dev/fakeC", 4}};
    auto heard = std::make_shared<std::map<std::string, std::atomic<int>>>();
    for (const auto &[device, count] : answered) {
        (*heard)[device] = 0;
        Panels[device] = std::make_unique<TPanelEmulator>();
    }
    Form->SetSerialPortFactory([this, heard, answered] {
        auto port = std::make_unique<TFakeSerialPort>();
        port->Responder = [this, heard, answered, fake = port.get()](const TBytes &frame) {
            if (++heard->at(fake->Device) > answered.at(fake->Device))
                return TBytes{};
            return Panels.at(fake->Device)->Feed(frame.data(), frame.size());
        };
        return port;
    });
    Document(QString(150, QLatin1Char('x')));
    Dialogs.FormAnswers = {Tick({"A", "B", "C"}), ReadResults()};
    Form->ZorSendToPanelsExecute();
    EXPECT_EQ(Rows, (std::vector<TResultRow>{
                        {"A", "Timeout", "During the Open frame."},
                        {"B", "Timeout", "During block 2 of 3."},
                        {"C", "Timeout", "During the Close frame, after all 3 blocks."}}));
}

} // namespace
} // namespace zor
