// Panels at other sites from the editor: Zor > Send, Numeric fields and Send to panels to mqtt
// devices of Parameters and of the Panels page, through a real broker and a gateway in this
// process, end as a transfer on a local line with the same result ends.
#include "app/Zoredit.h"
#include "comm/ProfileFile.h"
#include "comm/Results.h"
#include "comm/forms/Nastav.h"
#include "comm/forms/Numeric.h"
#include "comm/forms/PanelChoice.h"
#include "comm/forms/PanelName.h"
#include "comm/forms/PanelResults.h"
#include "comm/forms/PanelsPage.h"
#include "comm/forms/PortCombo.h"
#include "comm/forms/TransferDialogs.h"
#include "editor/Child.h"
#include "harness/MosquittoBroker.h"
#include "harness/Ser2netProcess.h"
#include "tests/support/GatewayInProcess.h"
#include "tests/support/MainFormFixture.h"

#include <QDateTime>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTextCursor>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <fstream>

namespace zor {
namespace {

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

const TGatewayAnswer Taken{0, "Communication O.K.", ""};
const TGatewayAnswer Disabled{6, "Program disable", ""};

class MqttCommandsTest : public test::TMainFormTest
{
protected:
    void SetUp() override
    {
        if (test::TMosquittoBroker::Program().empty())
            GTEST_SKIP() << "mosquitto is not installed (scripts/setup.sh installs it)";
    }

    std::filesystem::path Path(const char *name) const
    {
        return std::filesystem::path(Dir.filePath(QString::fromLatin1(name)).toStdString());
    }
    QString Ini() const { return Dir.filePath("zoredit.INI"); }

    // A new main window on a settings file with this text, as at a start.
    void StartWith(const std::string &settings)
    {
        std::ofstream(Ini().toStdString(), std::ios::binary) << settings;
        Form.reset();
        TStartupOptions o;
        o.FontFolders = {QStringLiteral(ZOR_SYMBOL_FONT_DIR)};
        o.SettingsFile = Ini();
        o.StartDirectory = Dir.path();
        Form = std::make_unique<TMainForm>(o);
        Form->CreateForms();
    }

    void Document(const QString &text)
    {
        TMDIChild *w = Form->CreateDocumentWindow("Untitled");
        QTextCursor(w->Editor->document()).insertText(text);
    }

    static std::function<int(QDialog &)> Accept(std::function<void(QDialog &)> fill = {})
    {
        return [fill](QDialog &d) {
            if (fill)
                fill(d);
            return int(QDialog::Accepted);
        };
    }

    static std::function<int(QDialog &)> Counters(const char *days, const char *accidents,
                                                  QStringList ticked = {})
    {
        return Accept([days, accidents, ticked](QDialog &d) {
            auto &v = static_cast<TVstup &>(d);
            v.Edit1->setText(QString::fromLatin1(days));
            v.Edit2->setText(QString::fromLatin1(accidents));
            if (!ticked.isEmpty())
                v.Targets->SetTicked(ticked);
        });
    }

    // Answers the results window, keeping its rows in Rows.
    std::function<int(QDialog &)> ReadResults()
    {
        return Accept([this](QDialog &d) {
            auto &window = static_cast<TPanelResults &>(d);
            Rows.clear();
            for (int r = 0; r < window.Table->rowCount(); ++r)
                Rows.push_back({window.Table->item(r, 0)->text(), window.Table->item(r, 1)->text(),
                                window.Table->item(r, 2)->text()});
        });
    }

    std::vector<TResultRow> Rows;
};

TEST_F(MqttCommandsTest, SendAndNumericFieldsGoToTheGatewayNamedAsTheDeviceOfParameters)
{
    test::TMosquittoBroker::TOptions options;
    options.Users = {{"office", "pw-office"}, {"gw", "pw-gw"}};
    test::TMosquittoBroker broker(Path(""), options);
    ASSERT_TRUE(broker.Running()) << broker.LogText();
    std::ofstream(Path("office.pw")) << "pw-office\n";
    StartWith("[PC]\nPort=2\n[Mqtt]\nPasswordFile=" + Path("office.pw").string() + "\n");
    std::atomic<bool> refuse = false;
    test::TGatewayInProcess gate(
        broker.Port, "Gate",
        [&](const TGatewayDecision &, const TGatewayProgress &) {
            return refuse ? Disabled : Taken;
        },
        "gw", "pw-gw");
    ASSERT_TRUE(gate.Ready()) << broker.LogText();

    // Parameters takes the broker's panel as the port's device, as typed.
    const QString device = QStringLiteral("mqtt://office@127.0.0.1:%1/north/Gate").arg(broker.Port);
    Dialogs.FormAnswers = {
        Accept([&](QDialog &d) { static_cast<TParamet &>(d).PortDevice->setEditText(device); })};
    Form->ZorParametersExecute();
    EXPECT_TRUE(Dialogs.Boxes.isEmpty());
    TProfileFile ini;
    ASSERT_TRUE(ini.Load(Ini().toStdString()));
    EXPECT_EQ(ini.ReadString("Ports", "COM2", ""), device.toStdString());

    Document(QStringLiteral("Hello"));
    Form->ZorSendExecute();
    refuse = true;
    Form->ZorSendExecute();
    refuse = false;
    Dialogs.FormAnswers = {Counters("12", "3")};
    Form->ZorNumericValueExecute();
    // A field left blank has no form in a request to a gateway.
    Dialogs.FormAnswers = {Counters("12", "")};
    Form->ZorNumericValueExecute();
    ASSERT_EQ(Dialogs.Boxes.size(), 4);
    EXPECT_EQ(Dialogs.Boxes[0].Text, "Communication O.K.");
    EXPECT_EQ(Dialogs.Boxes[1].Text, ResultMessageText(ResultProgramDisabled))
        << "the panel's refusal, as a local panel's";
    EXPECT_EQ(Dialogs.Boxes[2].Text, "Communication O.K.");
    EXPECT_EQ(Dialogs.Boxes[3].Text,
              ResultMessageText(ResultUnknownError) +
                  "\nthe gateway for north/Gate takes both counters as numbers: a blank one "
                  "cannot go to it");
    EXPECT_EQ(gate.Carried(), (std::vector<std::string>{std::string("T0\x1FHello\x1F"),
                                                        std::string("T0\x1FHello\x1F"), " 12 3"}));

    // A gateway that has gone offline is said to be, at once, and since when when it stopped
    // cleanly (a Last Will cannot say; the test of the command line covers that).
    gate.Stop();
    Dialogs.Boxes.clear();
    Form->ZorSendExecute();
    ASSERT_EQ(Dialogs.Boxes.size(), 1);
    const QString offline =
        ResultMessageText(ResultUnknownError) + "\nthe gateway for north/Gate is offline (since ";
    EXPECT_TRUE(Dialogs.Boxes[0].Text.startsWith(offline)) << Dialogs.Boxes[0].Text.toStdString();
    EXPECT_TRUE(
        QDateTime::fromString(Dialogs.Boxes[0].Text.mid(offline.size(), 20), Qt::ISODate).isValid())
        << Dialogs.Boxes[0].Text.toStdString();

    // Without its password, nothing goes.
    std::filesystem::remove(Path("office.pw"));
    Dialogs.Boxes.clear();
    Form->ZorSendExecute();
    ASSERT_EQ(Dialogs.Boxes.size(), 1);
    EXPECT_EQ(Dialogs.Boxes[0].Text.toStdString(),
              "Nothing was sent. " + Path("office.pw").string() + ": the password cannot be read");
}

TEST_F(MqttCommandsTest, ThePanelsPageTakesGatewaysPanelsAndSendToPanelsListsTheirResults)
{
    test::TMosquittoBroker broker(Path(""));
    ASSERT_TRUE(broker.Running()) << broker.LogText();
    const std::string at = "mqtt://127.0.0.1:" + std::to_string(broker.Port) + "/north/";
    StartWith("[Panels]\nGate=" + at + "Gate\nYard=" + at + "Yard,19200\n");
    test::TGatewayInProcess gate(
        broker.Port, "Gate",
        [](const TGatewayDecision &, const TGatewayProgress &) { return Taken; });
    test::TGatewayInProcess yard(
        broker.Port, "Yard",
        [](const TGatewayDecision &, const TGatewayProgress &) { return Disabled; });
    ASSERT_TRUE(gate.Ready() && yard.Ready()) << broker.LogText();

    // Shown and kept as written; a panel added with such a device is no missing port.
    Dialogs.FormAnswers = {
        Accept([&](QDialog &d) {
            auto &p = static_cast<TParamet &>(d);
            EXPECT_EQ(p.Panels->Device->currentText().toStdString(), at + "Gate");
            p.Panels->AddClick();
            p.Panels->Device->setEditText(QString::fromStdString(at + "Hall"));
        }),
        Accept([](QDialog &d) { static_cast<TPanelName &>(d).NameEdit->setText("Hall"); })};
    Form->ZorParametersExecute();
    EXPECT_TRUE(Dialogs.Boxes.isEmpty());
    TProfileFile ini;
    ASSERT_TRUE(ini.Load(Ini().toStdString()));
    EXPECT_EQ(ini.ReadString("Panels", "Hall", ""), at + "Hall");
    EXPECT_EQ(ini.ReadString("Panels", "Yard", ""), at + "Yard,19200");

    Document(QString(150, QLatin1Char('p')));
    Dialogs.FormAnswers = {
        Accept([](QDialog &d) {
            static_cast<TPanelChoice &>(d).PanelList->SetTicked({"Gate", "Yard"});
        }),
        ReadResults()};
    Form->ZorSendToPanelsExecute();
    EXPECT_EQ(Rows,
              (std::vector<TResultRow>{{"Gate", "Communication O.K.", ""},
                                       {"Yard", "Program disable", "During the Open frame."}}))
        << "as a local panel that refuses the program";

    Dialogs.FormAnswers = {Counters("7", "0", {"Gate"}), ReadResults()};
    Form->ZorNumericValueExecute();
    EXPECT_EQ(Rows, (std::vector<TResultRow>{{"Gate", "Communication O.K.", ""}}));
    const std::vector<std::string> carried = gate.Carried();
    ASSERT_EQ(carried.size(), 2u);
    EXPECT_EQ(carried[0].size(), 154u) << "the translated document";
    EXPECT_EQ(carried[1], "  7 0");
    EXPECT_EQ(yard.Carried().size(), 1u);
}

TEST_F(MqttCommandsTest, TheTestButtonSaysWhetherThePanelsGatewayIsOnline)
{
    test::TMosquittoBroker broker(Path(""));
    ASSERT_TRUE(broker.Running()) << broker.LogText();
    const std::string at = "mqtt://127.0.0.1:" + std::to_string(broker.Port) + "/north/";
    const std::string away = "127.0.0.1:" + std::to_string(test::ClosedPort());
    StartWith("[Panels]\nGate=" + at + "Gate\nYard=" + at + "Yard\nAway=mqtt://" + away +
              "/north/Away\n");
    test::TGatewayInProcess gate(
        broker.Port, "Gate",
        [](const TGatewayDecision &, const TGatewayProgress &) { return Taken; });
    ASSERT_TRUE(gate.Ready()) << broker.LogText();

    std::vector<std::pair<bool, QString>> said;
    QString shown;
    Dialogs.FormAnswers = {Accept([&](QDialog &d) {
        auto &page = *static_cast<TParamet &>(d).Panels;
        QSignalSpy finished(&page, &TPanelsPage::TestFinished);
        const auto test = [&](int panel) {
            page.SelectPanel(panel);
            page.TestClick();
            if (finished.wait(10000))
                said.emplace_back(finished.back()[0].toBool(), finished.back()[1].toString());
        };
        test(0);
        shown = page.TestResult->text();
        gate.Stop();
        test(0);
        test(1); // never served
        test(2);
    })};
    Form->ZorParametersExecute();
    ASSERT_EQ(said.size(), 4u);
    // Then the system's words for the refusal.
    said.back().second.truncate(said.back().second.lastIndexOf(QLatin1Char(':')));
    EXPECT_EQ(said, (std::vector<std::pair<bool, QString>>{
                        {true, "gateway online"},
                        {false, "gateway offline"},
                        {false, "no gateway has announced itself for this panel at its broker"},
                        {false,
                         QString::fromStdString("The broker at " + away + " cannot be reached")}}));
    EXPECT_EQ(shown, "Gate: gateway online");
    EXPECT_TRUE(gate.Carried().empty()) << "a test sends nothing";
}

} // namespace
} // namespace zor
