#include "comm/TransferRunner.h"
#include "comm/Bargraf.h"
#include "comm/Frames.h"
#include "comm/Panel.h"
#include "comm/Results.h"
#include "tests/support/FakeSerialPort.h"

#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <thread>
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
            port->FailOpen = FailOpen;
            port->Problem = Problem;
            port->Responder = [this, fake = port.get()](const TBytes &frame) {
                Frames.push_back(frame);
                if (OnFrame)
                    OnFrame(frame);
                if (LoseLineAt && LoseLineAt(frame))
                    fake->FailRead = true;
                return Panel.Feed(frame.data(), frame.size());
            };
            return port;
        };
        Runner.SetProgressWindow(&Window);
    }

    static bool IsBlock(const TBytes &frame, int block)
    {
        return frame.size() == BlockFrameLength && GetWord(frame.data() + 2) == block;
    }

    TPanel Panel;
    TGraf Window;
    TTransferRunner Runner;
    std::vector<TBytes> Frames;
    std::function<void(const TBytes &)> OnFrame; // called on the worker
    // The device goes away with the first frame for which it is true.
    std::function<bool(const TBytes &)> LoseLineAt;
    bool FailOpen = false;
    std::string Problem;
};

TEST_F(TransferRunnerTest, AProgramGoesOutWithProgressAndTheWindowUpUntilTheResultIsTold)
{
    QSignalSpy maximum(&Runner, &TTransferRunner::ProgressMaximum);
    QSignalSpy position(&Runner, &TTransferRunner::ProgressPosition);
    Window.ProgressBar1->setRange(0, 7);
    Window.ProgressBar1->setValue(7); // where an earlier transfer left it
    bool shownAtStart = false, shownAtEnd = false;
    int barAtStart = -1;
    QObject::connect(&Runner, &TTransferRunner::Started, [&] {
        shownAtStart = Window.isVisible();
        barAtStart = Window.ProgressBar1->value();
    });
    int finished = 0;
    QObject::connect(&Runner, &TTransferRunner::Finished, [&](const TTransferResult &r) {
        ++finished;
        shownAtEnd = Window.isVisible();
        EXPECT_EQ(r.Code, ResultOk);
    });

    const TTransferResult result =
        Runner.SendProgram(std::string(150, 'p'), 1, 9600); // three blocks

    EXPECT_EQ(result.Code, ResultOk);
    EXPECT_TRUE(result.PortProblem.empty());
    EXPECT_EQ(finished, 1);
    EXPECT_TRUE(shownAtStart);
    EXPECT_EQ(barAtStart, 0) << "every transfer starts from an empty bar";
    EXPECT_TRUE(shownAtEnd) << "the result is told over the progress window";
    EXPECT_FALSE(Window.isVisible());
    EXPECT_FALSE(Runner.Running());
    // The bar counts the blocks after the first, and ends full.
    ASSERT_EQ(maximum.size(), 1);
    EXPECT_EQ(maximum[0][0].toInt(), 2);
    ASSERT_EQ(position.size(), 3);
    EXPECT_EQ(position[2][0].toInt(), 2);
    EXPECT_EQ(Window.ProgressBar1->maximum(), 2);
    EXPECT_EQ(Window.ProgressBar1->value(), 2);
    const auto events = Panel.TakeEvents();
    ASSERT_FALSE(events.empty());
    EXPECT_EQ(events.back().Kind, TPanelEvent::Program);
    EXPECT_EQ(events.back().Data, std::string(150, 'p'));
}

TEST_F(TransferRunnerTest, ANumericMessageGoesOutWithoutTheProgressWindow)
{
    bool shown = false;
    QObject::connect(&Runner, &TTransferRunner::Started, [&] { shown = Window.isVisible(); });
    std::uint8_t message[5] = {' ', '4', '2', ' ', '7'};
    ASSERT_TRUE(Runner.StartNumeric(message, 2, 19200));
    message[1] = 'x'; // the runner keeps its own copy
    EXPECT_EQ(Runner.WaitForFinished().Code, ResultOk);
    EXPECT_FALSE(shown);
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
        const TTransferResult result =
            Runner.SendProgram(std::string(3 * BlockDataLength - 10, 'c'), 1, 9600);
        EXPECT_EQ(result.Code, ResultCancelled);
        EXPECT_EQ(Frames.size(), 3u) << "Open, block 1 and block 2; no block 3, no Close";
        for (const auto &e : Panel.TakeEvents())
            EXPECT_NE(e.Kind, TPanelEvent::Program);
        EXPECT_FALSE(Window.isVisible());
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
    TTransferResult result = Runner.SendNumeric(message, 1, 9600);
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
    // The worker has ended with the runner: nothing more goes out on the port afterwards. (How
    // many frames went before depends on the machine's speed; retries may add some.)
    const std::size_t sent = Frames.size();
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(Frames.size(), sent);
}

} // namespace
} // namespace zor
