// The device of each port number in the Parameters dialog, the questions before a send, and the
// transfer log window.
#include "app/Zoredit.h"
#include "comm/PanelEmulator.h"
#include "comm/PortList.h"
#include "comm/forms/LogView.h"
#include "comm/forms/Nastav.h"
#include "comm/forms/PortCombo.h"
#include "editor/Child.h"
#include "tests/support/FakeSerialPort.h"
#include "tests/support/MainFormFixture.h"

#include <QAbstractButton>
#include <QAction>
#include <QButtonGroup>
#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTextCursor>
#include <gtest/gtest.h>

#include <sys/stat.h>

namespace zor {
namespace {

class TFixedPorts : public TPortEnumerator
{
public:
    std::vector<TPortInfo> List;
    mutable int Asked = 0;
    std::vector<TPortInfo> Ports() const override
    {
        ++Asked;
        return List;
    }
};

class PortsAndLogTest : public test::TMainFormTest
{
protected:
    PortsAndLogTest()
    {
        Form->SetSerialPortFactory([this] {
            auto port = std::make_unique<TFakeSerialPort>();
            port->FailOpen = FailOpen;
            port->Responder = [this](const TFakeSerialPort::TBytes &frame) {
                return Panel.Feed(frame.data(), frame.size());
            };
            return port;
        });
        TPortInfo builtIn, usb;
        builtIn.Device = "/dev/ttyS0";
        usb.Device = "/dev/ttyUSB0";
        usb.ById = "/dev/serial/by-id/usb-Maker_Adapter_A1-if00-port0";
        usb.Description = "USB serial";
        Machine.List = {builtIn, usb};
        Form->findChild<TParamet *>()->PortEnumerator = &Machine;
    }

    QString Ini() const { return Dir.filePath("zoredit.INI"); }
    QString IniText() const
    {
        QFile f(Ini());
        return QString::fromUtf8(f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray());
    }
    void WriteIni(const QByteArray &text)
    {
        QFile f(Ini());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
    }
    TMDIChild *Document(const QString &text)
    {
        TMDIChild *w = Form->CreateDocumentWindow("Untitled");
        QTextCursor(w->Editor->document()).insertText(text);
        return w;
    }

    TFixedPorts Machine;
    TPanelEmulator Panel;
    bool FailOpen = false;
};

TEST_F(PortsAndLogTest, DialogShowsEachNumbersDeviceAndOkStoresPickedAndTypedOnes)
{
    WriteIni("; the hall panel\n[Ports]\nCOM1=/dev/ttyACM7\n[Other]\nKeep=1\n");
    Form->Ports().Device[0] = "/dev/ttyACM7";
    Dialogs.FormAnswers = {[this](QDialog &d) {
        auto &p = static_cast<TParamet &>(d);
        EXPECT_EQ(p.PortDevice->currentText(), "/dev/ttyS2") << "COM 3 by default";
        p.CommPortItems->button(0)->setChecked(true);
        EXPECT_EQ(p.PortDevice->currentText(), "/dev/ttyACM7");

        p.PortDevice->showPopup(); // the list is the machine's, read as it opens
        p.PortDevice->hidePopup();
        EXPECT_EQ(Machine.Asked, 1);
        const int usb = p.PortDevice->findText("/dev/serial/by-id/usb-Maker_Adapter_A1-if00-port0");
        EXPECT_GE(usb, 0) << "a USB adapter is offered by its stable name";
        EXPECT_EQ(p.PortDevice->currentText(), "/dev/ttyACM7") << "opening keeps the text";
        p.PortDevice->setCurrentIndex(usb);
        emit p.PortDevice->activated(usb);

        p.CommPortItems->button(1)->setChecked(true);
        EXPECT_EQ(p.PortDevice->currentText(), "/dev/ttyS1");
        p.PortDevice->setEditText(" ttyUSB3 ");
        p.CommPortItems->button(0)->setChecked(true);
        EXPECT_EQ(p.PortDevice->currentText(), "/dev/serial/by-id/usb-Maker_Adapter_A1-if00-port0")
            << "each number keeps its own edit";
        return int(QDialog::Accepted);
    }};
    Form->ZorParametersExecute();
    EXPECT_TRUE(Dialogs.Boxes.isEmpty());
    EXPECT_EQ(IniText(), "; the hall panel\n[Ports]\n"
                         "COM1=/dev/serial/by-id/usb-Maker_Adapter_A1-if00-port0\n"
                         "COM2=/dev/ttyUSB3\n[Other]\nKeep=1\n\n[PC]\nPort=1\nFile=0\nBaud=9600\n"
                         "Path=" +
                             Dir.path() + "/zor.log\n");
    EXPECT_EQ(Form->Ports().ForPort(2), "/dev/ttyUSB3") << "the next transfer uses it";
}

TEST_F(PortsAndLogTest, CancelWritesNothingAndTheNextShowingStartsFromTheSettings)
{
    WriteIni("[Ports]\nCOM3=/dev/ttyUSB0\n");
    Form->Ports().Device[2] = "/dev/ttyUSB0";
    Dialogs.FormAnswers = {[](QDialog &d) {
        static_cast<TParamet &>(d).PortDevice->setEditText("/dev/ttyS9");
        return int(QDialog::Rejected);
    }};
    Form->ZorParametersExecute();
    EXPECT_EQ(IniText(), "[Ports]\nCOM3=/dev/ttyUSB0\n");
    EXPECT_EQ(Form->Ports().ForPort(3), "/dev/ttyUSB0");

    Dialogs.FormAnswers = {[](QDialog &d) {
        auto &p = static_cast<TParamet &>(d);
        EXPECT_EQ(p.PortDevice->currentText(), "/dev/ttyUSB0");
        p.PortDevice->setEditText(""); // emptied: back to the number's default
        return int(QDialog::Accepted);
    }};
    Form->ZorParametersExecute();
    EXPECT_EQ(Form->Ports().ForPort(3), "/dev/ttyS2");
}

TEST_F(PortsAndLogTest, EmptyDocumentIsSentOnlyWhenTheOperatorInsists)
{
    Document("  \n");
    Form->ZorSendExecute();
    ASSERT_EQ(Dialogs.Boxes.size(), 1);
    EXPECT_EQ(Dialogs.Boxes[0].Text,
              "The document is empty. Sending it clears the panel. Send anyway?");
    EXPECT_EQ(Dialogs.Boxes[0].Buttons, TMsgButtons::YesNo);
    EXPECT_EQ(Dialogs.Boxes[0].Default, TMsgAnswer::No);
    EXPECT_TRUE(Panel.TakeEvents().empty()) << "the default answer sends nothing";

    Dialogs.Boxes.clear();
    Dialogs.Answers = {TMsgAnswer::Yes};
    Form->ZorSendExecute();
    ASSERT_EQ(Dialogs.Boxes.size(), 2);
    EXPECT_EQ(Dialogs.Boxes[1].Text, "Communication O.K.");
    EXPECT_FALSE(Panel.TakeEvents().empty());
}

TEST_F(PortsAndLogTest, CharactersThePanelCannotShowAreListedBeforeSending)
{
    Document(QString::fromUtf8("Čas \u4E2D\nok \u263A"));
    Dialogs.Answers = {TMsgAnswer::No};
    Form->ZorSendExecute();
    ASSERT_EQ(Dialogs.Boxes.size(), 1);
    const QString text = Dialogs.Boxes[0].Text;
    EXPECT_TRUE(text.contains(QString::fromUtf8("line 1, column 5: \u4E2D"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QString::fromUtf8("line 2, column 4: \u263A"))) << text.toStdString();
    EXPECT_FALSE(text.contains(QString::fromUtf8("Č"))) << "letters of the code page are fine";
    EXPECT_TRUE(text.endsWith("Send anyway?"));
    EXPECT_TRUE(Panel.TakeEvents().empty());

    Dialogs.Boxes.clear();
    Dialogs.Answers = {TMsgAnswer::Yes};
    Form->ZorSendExecute();
    ASSERT_EQ(Dialogs.Boxes.size(), 2);
    const auto events = Panel.TakeEvents();
    ASSERT_FALSE(events.empty());
    EXPECT_NE(events.back().Data.find("?\r\nok ?"), std::string::npos);
}

TEST_F(PortsAndLogTest, TransferLogIsOfferedOnlyWhenThereIsOneAndMarksTheFailingStep)
{
    EXPECT_FALSE(Form->findChild<QAction *>("TransferLog")->isEnabled())
        << "logging off and no log yet";
    Form->ZorTransferLogExecute();
    EXPECT_EQ(Form->findChild<TLogView *>(), nullptr);

    Form->Communication().LogToFile = true;
    Form->UpdateTransferLogAction();
    EXPECT_TRUE(Form->findChild<QAction *>("TransferLog")->isEnabled());

    FailOpen = true;
    Document("Hi");
    Form->ZorSendExecute();
    Form->ZorTransferLogExecute();
    ASSERT_NE(Form->findChild<TLogView *>(), nullptr);
    EXPECT_TRUE(Form->findChild<TLogView *>()->isVisible());
    const QStringList lines = Form->findChild<TLogView *>()->Text->toPlainText().split('\n');
    // No frame went out through a port that did not open: the log shows none.
    EXPECT_EQ(lines, QStringList{"Open error!!!!"});
    EXPECT_EQ(Form->findChild<TLogView *>()->HighlightedLine, lines.size() - 1);
    EXPECT_TRUE(Form->findChild<TLogView *>()->Text->isReadOnly());

    // The log outlives the setting: switched off, the old log can still be read.
    Form->Communication().LogToFile = false;
    Form->UpdateTransferLogAction();
    EXPECT_TRUE(Form->findChild<QAction *>("TransferLog")->isEnabled());

    FailOpen = false;
    Form->Communication().LogToFile = true;
    Form->ZorSendExecute();
    Form->ZorTransferLogExecute();
    EXPECT_EQ(Form->findChild<TLogView *>()->HighlightedLine, -1)
        << "a good transfer marks nothing";
}

TEST(TransferLogFile, WhatIsNotARegularFileIsNeitherWaitedOnNorReadAndTheReasonIsShown)
{
    QTemporaryDir dir;
    const QString fifo = dir.filePath("fifo.log");
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    TLogView view;
    // Before, the FIFO held the editor until a program wrote into it, and /dev/zero filled the
    // window with 16 MB of nothing.
    for (const QString &path : {fifo, QStringLiteral("/dev/zero")}) {
        SCOPED_TRACE(path.toStdString());
        EXPECT_FALSE(view.LoadLog(path));
        EXPECT_EQ(view.Status->text(), path + " is not a regular file (a device, a FIFO or a "
                                              "socket): there is no log in it to show.");
        EXPECT_TRUE(view.Text->toPlainText().isEmpty());
    }
    EXPECT_FALSE(view.LoadLog(dir.path()));
    EXPECT_EQ(view.Status->text(), dir.path() + " cannot be read: Is a directory");
    EXPECT_FALSE(view.LoadLog(dir.filePath("none.log")));
    EXPECT_EQ(view.Status->text(),
              "There is no transfer log at " + dir.filePath("none.log") + " yet.");
    QFile large(dir.filePath("large.log"));
    ASSERT_TRUE(large.open(QIODevice::WriteOnly) && large.resize(TLogView::MaxLogBytes + 1));
    EXPECT_FALSE(view.LoadLog(large.fileName()));
    EXPECT_EQ(view.Status->text(), large.fileName() + " is too large to be a transfer log.");

    // Choosing one as the log asks nothing: it is written into, never replaced.
    EXPECT_FALSE(TParamet::IsForeignFile(fifo));
    EXPECT_FALSE(TParamet::IsForeignFile(QStringLiteral("/dev/null")));
    QFile document(dir.filePath("saved.log"));
    ASSERT_TRUE(document.open(QIODevice::WriteOnly) && document.write("{\\rtf1 }") > 0);
    document.close();
    EXPECT_TRUE(TParamet::IsForeignFile(document.fileName()));
}

TEST(TransferLogLines, FailingStepOnTheLineOfTheLastDumpIsFound)
{
    const QStringList lines = LogLines("Close Send\r\n01,02,\r\n\r\nClose Receive\r\n"
                                       "01,FE,Close error!!!!");
    ASSERT_EQ(lines.size(), 5);
    EXPECT_EQ(FailingLogLine(lines), 4);
    EXPECT_EQ(FailingLogLine(LogLines("Open Send\r\n01,\r\n")), -1);
}

} // namespace
} // namespace zor
