#include "comm/TransferRunner.h"
#include "comm/Frames.h"
#include "comm/PanelEmulator.h"
#include "comm/Results.h"
#include "comm/forms/Bargraf.h"
#include "tests/support/FakeSerialPort.h"

#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace zor {
namespace {

using TBytes = TFakeSerialPort::TBytes;

// A runner whose every transfer talks to an emulated panel through a scripted port.
class TransferRunnerTest : public testing::Test
{
protected:
    TransferRunnerTest()
    {
        Runner.Devices = TPortDevices::Single("/dev/panel");
        Runner.PortFactory = [this] {
            auto port = std::make_unique<TFakeSerialPort>();
            // Gone with the port: while it is left, it may still send.
            auto alive = std::make_shared<int>(0);
            Ports = alive;
            port->FailOpen = FailOpen;
            port->Problem = Problem;
            port->Responder = [this, fake = port.get(), alive](const TBytes &frame) {
                Frames.push_back(frame);
                if (OnFrame)
                    OnFrame(frame);
                if (LoseLineAt && LoseLineAt(frame))
                    fake->FailRead = true;
                return Panel.Feed(frame.data(), frame.size());
            };
            return port;
        };
        Window.Follow(&Runner);
    }

    static bool IsBlock(const TBytes &frame, int block)
    {
        return frame.size() == BlockFrameLength && GetWord(frame.data() + 2) == block;
    }

    TPanelEmulator Panel;
    TGraf Window;
    TTransferRunner Runner;
    std::vector<TBytes> Frames;
    std::function<void(const TBytes &)> OnFrame; // called on the worker
    // The device goes away with the first frame for which it is true.
    std::function<bool(const TBytes &)> LoseLineAt;
    bool FailOpen = false;
    std::string Problem;
    std::weak_ptr<int> Ports; // lives as long as the last port made
};

TEST_F(TransferRunnerTest, AProgramGoesOutWithProgressThenOneResultTheSameAsReturned)
{
    TTransferRunner runner; // no window follows it
    runner.PortFactory = Runner.PortFactory;
    runner.Devices = Runner.Devices;
    QStringList order;
    QList<TPanelOutcome> finished;
    QObject::connect(&runner, &TTransferRunner::Started, [&] { order << "started"; });
    QObject::connect(&runner, &TTransferRunner::ProgramStarted, [&] { order << "program"; });
    QObject::connect(&runner, &TTransferRunner::ProgressMaximum,
                     [&](int m) { order << QString("max %1").arg(m); });
    QObject::connect(&runner, &TTransferRunner::ProgressPosition,
                     [&](int p) { order << QString("at %1").arg(p); });
    QObject::connect(&runner, &TTransferRunner::Finished, [&](const TPanelOutcome &r) {
        order << "finished";
        finished << r;
        EXPECT_TRUE(runner.Running()) << "running until every slot has returned";
    });

    const TPanelOutcome result = runner.SendProgram(std::string(150, 'p'), 1, 9600); // three blocks

    EXPECT_EQ(result.Code, ResultOk);
    EXPECT_TRUE(result.PortProblem.empty());
    EXPECT_FALSE(runner.Running());
    // The bar counts the blocks after the first, and ends full; the end comes after all of it.
    EXPECT_EQ(order,
              QStringList({"started", "program", "max 2", "at 0", "at 1", "at 2", "finished"}));
    ASSERT_EQ(finished.size(), 1);
    EXPECT_EQ(finished[0].Code, result.Code);
    const auto events = Panel.TakeEvents();
    ASSERT_FALSE(events.empty());
    EXPECT_EQ(events.back().Kind, TPanelEvent::Program);
    EXPECT_EQ(events.back().Data, std::string(150, 'p'));
}

TEST_F(TransferRunnerTest, TheProgressWindowFollowsFromAnEmptyBarAndStaysUpForTheResult)
{
    Window.ProgressBar1->setRange(0, 7);
    Window.ProgressBar1->setValue(7); // where an earlier transfer left it
    bool shownAtStart = false, modal = false;
    int barAtStart = -1;
    // Connected after the window's own slot, before the worker starts.
    QObject::connect(&Runner, &TTransferRunner::ProgramStarted, [&] {
        shownAtStart = Window.isVisible();
        modal = Window.windowModality() == Qt::ApplicationModal;
        barAtStart = Window.ProgressBar1->value();
    });

    EXPECT_EQ(Runner.SendProgram(std::string(150, 'p'), 1, 9600).Code, ResultOk);

    EXPECT_TRUE(shownAtStart);
    EXPECT_TRUE(modal);
    EXPECT_EQ(barAtStart, 0) << "every transfer starts from an empty bar";
    EXPECT_TRUE(Window.isVisible()) << "the result is told over the progress window";
    EXPECT_EQ(Window.ProgressBar1->maximum(), 2);
    EXPECT_EQ(Window.ProgressBar1->value(), 2);
    Window.hide();

    // A window that follows another runner no longer shows this one's transfers.
    TTransferRunner other;
    Window.Follow(&other);
    EXPECT_EQ(Runner.SendProgram("Hi", 1, 9600).Code, ResultOk);
    EXPECT_FALSE(Window.isVisible());
}

TEST_F(TransferRunnerTest, ANumericMessageGoesOutWithoutTheProgressWindow)
{
    QSignalSpy program(&Runner, &TTransferRunner::ProgramStarted);
    std::uint8_t message[5] = {' ', '4', '2', ' ', '7'};
    ASSERT_TRUE(Runner.StartNumeric(message, 2, 19200));
    message[1] = 'x'; // the runner keeps its own copy
    EXPECT_EQ(Runner.WaitForFinished().Code, ResultOk);
    EXPECT_TRUE(program.isEmpty());
    EXPECT_FALSE(Window.isVisible());
    const auto events = Panel.TakeEvents();
    ASSERT_FALSE(events.empty());
    EXPECT_EQ(events.back().Kind, TPanelEvent::Numeric);
    EXPECT_EQ(events.back().Data, " 42 7");
}

TEST_F(TransferRunnerTest, CancelOrEscapeStopsAfterTheFrameInFlight)
{
    for (const int way : {0, 1, 2}) {
        SCOPED_TRACE(way == 0 ? "Cancel button" : way == 1 ? "Escape" : "Cancel()");
        Frames.clear();
        OnFrame = [&](const TBytes &frame) {
            if (!IsBlock(frame, 2))
                return;
            // The worker waits until the operator's action has been handled.
            QMetaObject::invokeMethod(
                &Window,
                [&] {
                    if (way == 0)
                        Window.CancelButton->click();
                    else if (way == 1)
                        QTest::keyClick(&Window, Qt::Key_Escape);
                    else
                        Runner.Cancel();
                },
                Qt::BlockingQueuedConnection);
        };
        const TPanelOutcome result =
            Runner.SendProgram(std::string(3 * BlockDataLength - 10, 'c'), 1, 9600);
        EXPECT_EQ(result.Code, ResultCancelled);
        EXPECT_EQ(Frames.size(), 3u) << "Open, block 1 and block 2; no block 3, no Close";
        for (const auto &e : Panel.TakeEvents())
            EXPECT_NE(e.Kind, TPanelEvent::Program);
        Window.hide(); // as the one who tells the result does
    }
    // A fresh stop for the next transfer: an earlier cancel does not carry over.
    OnFrame = {};
    EXPECT_EQ(Runner.SendProgram("again", 1, 9600).Code, ResultOk);
}

TEST_F(TransferRunnerTest, TheResultCarriesThePortProblemAndTheLogProblem)
{
    FailOpen = true;
    Problem = "The device /dev/panel does not exist.";
    std::uint8_t message[5] = {' ', ' ', '1', ' ', '2'};
    TPanelOutcome result = Runner.SendNumeric(message, 1, 9600);
    EXPECT_EQ(result.Code, ResultHardwareFailure);
    EXPECT_EQ(result.PortProblem, Problem);

    FailOpen = false;
    QTemporaryDir dir;
    Runner.Log = {true, dir.path().toStdString()}; // a folder cannot be the log
    result = Runner.SendProgram("Hi", 1, 9600);
    EXPECT_EQ(result.Code, ResultOk) << "the transfer does not depend on its log";
    EXPECT_TRUE(result.PortProblem.empty());
    EXPECT_EQ(result.LogProblem, dir.path().toStdString() + ": Is a directory");

    // The device goes away during block 2 of 3.
    Runner.Log = {};
    LoseLineAt = [](const TBytes &frame) { return IsBlock(frame, 2); };
    result = Runner.SendProgram(std::string(150, 'u'), 1, 9600);
    EXPECT_EQ(result.Code, ResultHardwareFailure);
    EXPECT_EQ(result.PortProblem, "The device /dev/panel went away during block 2 of 3: the panel "
                                  "may now hold part of the program. Send again once it is back.");
}

TEST_F(TransferRunnerTest, ASecondTransferIsRefusedWhileOneRuns)
{
    QSignalSpy finished(&Runner, &TTransferRunner::Finished);
    ASSERT_TRUE(Runner.StartProgram("first", 1, 9600));
    EXPECT_TRUE(Runner.Running());
    EXPECT_FALSE(Runner.StartProgram("second", 1, 9600));
    const std::uint8_t message[5] = {' ', ' ', '1', ' ', '2'};
    EXPECT_FALSE(Runner.StartNumeric(message, 1, 9600));
    EXPECT_EQ(Runner.WaitForFinished().Code, ResultOk);
    EXPECT_EQ(finished.size(), 1);
    const auto events = Panel.TakeEvents();
    ASSERT_FALSE(events.empty());
    EXPECT_EQ(events.back().Data, "first");
    // Waiting with nothing running gives the last result at once.
    EXPECT_EQ(Runner.WaitForFinished().Code, ResultOk);
}

TEST_F(TransferRunnerTest, ARunnerDestroyedDuringATransferStopsAndWaitsForIt)
{
    auto runner = std::make_unique<TTransferRunner>();
    runner->PortFactory = Runner.PortFactory;
    runner->Devices = Runner.Devices;
    ASSERT_TRUE(runner->StartProgram(std::string(20 * BlockDataLength, 'd'), 1, 9600));
    runner.reset();                    // must neither crash nor leave the worker on freed memory
    QCoreApplication::processEvents(); // progress posted to the runner is dropped with it
    // The worker has ended with the runner: its port is gone, so nothing more can go out. (How
    // many frames went before depends on the machine's speed.)
    EXPECT_TRUE(Ports.expired()) << "the port outlived the runner";
}

} // namespace
} // namespace zor
