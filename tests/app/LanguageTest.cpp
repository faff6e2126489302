#include "app/Language.h"
#include "app/EditorSettings.h"
#include "comm/DeviceTest.h"
#include "comm/PanelSend.h"
#include "comm/Panels.h"
#include "comm/ProfileFile.h"
#include "comm/Settings.h"
#include "comm/TransferLogWriter.h"
#include "tests/support/FakeSerialPort.h"
#include "ui/MessageText.h"
#if !defined(_WIN32)
#include "comm/posix/PortProblem.h"
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

#include <QCoreApplication>
#include <QFile>
#include <cerrno>
#include <cstring>
#include <gtest/gtest.h>

namespace zor {
namespace {

TEST(InterfaceLanguage, FollowsTheDesktopOnlyWhereACatalogueExistsAndTheSettingOverrulesIt)
{
    const QLocale czech(QStringLiteral("cs_CZ")), german(QStringLiteral("de_DE")),
        british(QStringLiteral("en_GB"));
    EXPECT_EQ(InterfaceLocale(QStringLiteral("system"), czech).language(), QLocale::Czech);
    // A desktop language without a catalogue gets English, not a half-translated mixture.
    EXPECT_EQ(InterfaceLocale(QStringLiteral("system"), german).language(), QLocale::English);
    // An English desktop keeps its country, so dates read as the operator is used to.
    EXPECT_EQ(InterfaceLocale(QStringLiteral("system"), british), british);
    EXPECT_EQ(InterfaceLocale(QStringLiteral("en"), czech).language(), QLocale::English);
    EXPECT_EQ(InterfaceLocale(QStringLiteral("cs"), british).language(), QLocale::Czech);
}

TEST(InterfaceLanguage, AnUnknownOrMissingSettingMeansTheDesktopsLanguage)
{
    EXPECT_EQ(ReadLanguage(TProfileFile("[Editor]\nLanguage=CS\n")), "cs");
    EXPECT_EQ(ReadLanguage(TProfileFile("[Editor]\nLanguage= en \n")), "en");
    EXPECT_EQ(ReadLanguage(TProfileFile("[Editor]\nLanguage=fr\n")), "system");
    EXPECT_EQ(ReadLanguage(TProfileFile("[Editor]\nLanguage=\n")), "system");
    EXPECT_EQ(ReadLanguage(TProfileFile("[Editor]\nPreview=1\n")), "system");
}

TEST(InterfaceLanguage, TheChoiceIsWrittenAndTheRestOfTheFileKept)
{
    const std::string path = std::string(::testing::TempDir()) + "language.ini";
    {
        TProfileFile profile("[PC]\nPort=2\n[Editor]\nPreview=1\n");
        ASSERT_TRUE(profile.Save(path));
    }
    ASSERT_TRUE(WriteLanguage(path, "cs"));
    TProfileFile written;
    ASSERT_TRUE(written.Load(path));
    EXPECT_EQ(ReadLanguage(written), "cs");
    EXPECT_EQ(written.ReadInteger("PC", "Port", 0), 2);
    EXPECT_TRUE(written.ReadBool("Editor", "Preview", false));
}

// Last: the catalogues stay installed for the rest of the process.
TEST(InterfaceLanguage, CzechInstallsTheBuiltInCatalogueAndQtsOwnAndSetsTheDefaultLocale)
{
    EXPECT_TRUE(QFile::exists(QStringLiteral(":/i18n/zoredit_cs.qm")));
    ASSERT_TRUE(InstallTranslations(QLocale(QStringLiteral("cs_CZ"))));
    EXPECT_EQ(QLocale().language(), QLocale::Czech);
    // Qt's standard buttons, from Qt's own catalogue (installed with the build's dependencies).
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("Zrušit"));
}

// The cores say what went wrong in English, for zor; the editor says the same in its language.
TEST(InterfaceLanguage, TheCoresSentencesAreSaidInCzechWhileTheirEnglishStaysAsItWas)
{
    ASSERT_TRUE(InstallTranslations(QLocale(QStringLiteral("cs_CZ"))));

#if !defined(_WIN32)
    const TMessage missing = DescribeOpenError("/dev/ttyUSB7", ENOENT);
    EXPECT_EQ(missing.Text(), "The device /dev/ttyUSB7 does not exist.");
    EXPECT_EQ(MessageText(missing), QStringLiteral("Zařízení /dev/ttyUSB7 neexistuje."));
    // A name put into a sentence is never taken for one of its placeholders.
    EXPECT_EQ(DescribeOpenError("/tmp/%2%1", ENOENT).Text(),
              "The device /tmp/%2%1 does not exist.");
    EXPECT_EQ(MessageText(DescribeOpenError("/tmp/%2%1", ENOENT)),
              QStringLiteral("Zařízení /tmp/%2%1 neexistuje."));
#endif

    // A timeout under a rate the panel does not work at names the settings file's line.
    TPanelTarget target;
    target.Device = PanelDevice("/dev/ttyS0");
    target.BaudProblem = BaudRateProblem(TProfileFile("[PC]\nBaud=115200\n"), "/etc/z.INI");
    TPanelOutcome timeout;
    timeout.Code = ResultTimeout;
    EXPECT_EQ(OutcomeCause(target, timeout).Text(),
              "Baud=115200 in section [PC] of /etc/z.INI: the panel works at 4800, 9600 or "
              "19200 baud");
    EXPECT_EQ(MessageText(OutcomeCause(target, timeout)),
              QStringLiteral("Baud=115200 v sekci [PC] souboru /etc/z.INI: panel pracuje s "
                             "rychlostí 4800, 9600 nebo 19200 Bd"));

    TFakeSerialPort port;
    const TDeviceTestResult opened = TestDevice(port, "/dev/ttyS1", 9600);
    ASSERT_TRUE(opened.Ok);
    EXPECT_EQ(opened.Sentence.Text(), "Opened /dev/ttyS1 at 9600 baud.");
    EXPECT_EQ(MessageText(opened.Sentence),
              QStringLiteral("Zařízení /dev/ttyS1 bylo otevřeno s rychlostí 9600 Bd."));

    // A settings problem with the system's reason inside it: both parts in Czech.
    TFileRead unreadable;
    unreadable.Status = TFileReadStatus::CannotOpen;
    unreadable.Errno = EACCES;
    EXPECT_EQ(TProfileFile::Problem("/etc/z.INI", unreadable).Text(),
              "cannot read /etc/z.INI: Permission denied");
    EXPECT_EQ(MessageText(TProfileFile::Problem("/etc/z.INI", unreadable)),
              QStringLiteral("nelze přečíst /etc/z.INI: Přístup odepřen"));

    // A panel of the settings file that cannot be used, as the Panels page names it.
    const std::vector<TNamedPanel> panels =
        LoadPanels(TProfileFile("[Panels]\nHala=/dev/ttyS0,96oo\n"));
    ASSERT_EQ(panels.size(), 1u);
    EXPECT_EQ(MessageText(panels[0].Problem()),
              QStringLiteral("Hala=/dev/ttyS0,96oo: „96oo“ není přenosová rychlost; panel pracuje "
                             "s rychlostí 4800, 9600 nebo 19200 Bd"));

    // A transfer log that cannot be written: the system's reason in Czech after the path.
    const std::string folder = ::testing::TempDir();
    TTransferLogWriter log(TTransferLog{true, folder});
    log.Begin();
    EXPECT_EQ(MessageText(log.Problem()),
              QString::fromStdString(folder) + QStringLiteral(": Je to složka"));

#if !defined(_WIN32)
    // A gateway's panel behind a broker that is not there: the sender's sentence and the
    // system's reason both in Czech.
    const int probe = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    ASSERT_EQ(::bind(probe, reinterpret_cast<sockaddr *>(&address), sizeof address), 0);
    ASSERT_EQ(::getsockname(probe, reinterpret_cast<sockaddr *>(&address), &length), 0);
    ::close(probe);
    const std::string where = "127.0.0.1:" + std::to_string(ntohs(address.sin_port));
    TPanelTarget gateway;
    gateway.Device = PanelDevice("mqtt://" + where + "/north/Gate");
    const TPanelOutcome refused =
        SendToPanels({gateway}, TPanelJob::Program("Hala"), TPanelSend{}).front();
    EXPECT_EQ(refused.PortProblem.Text(),
              "the broker at " + where + " cannot be reached: Connection refused");
    EXPECT_EQ(MessageText(refused.PortProblem),
              QString::fromStdString("broker na " + where + " není dostupný: ") +
                  SystemErrorText(ECONNREFUSED));
    EXPECT_NE(SystemErrorText(ECONNREFUSED), QString::fromLocal8Bit(std::strerror(ECONNREFUSED)))
        << "the editor's own words for a refused connection";
#endif

    // An error the editor has no words of its own for keeps the system's.
    EXPECT_EQ(SystemErrorText(EDOM), QString::fromLocal8Bit(std::strerror(EDOM)));
}

} // namespace
} // namespace zor
