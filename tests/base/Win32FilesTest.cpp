// The file helpers and the settings location on Win32 calls: UTF-8 names through the wide API,
// a failed replace that leaves the old file, devices that are written into but never read as
// documents, and where the settings file goes.
#include "base/AtomicFile.h"
#include "base/BoundedRead.h"
#include "base/Platform.h"
#include "comm/Results.h"
#include "comm/Settings.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <optional>
#include <string>
#include <thread>
#include <windows.h>
#include <winsock2.h>

namespace zor {
namespace {

namespace fs = std::filesystem;

std::string Utf8(const fs::path &path)
{
    const std::u8string name = path.u8string();
    return {name.begin(), name.end()};
}

class Win32Files : public testing::Test
{
protected:
    void SetUp() override
    {
        fs::remove_all(Dir);
        fs::create_directories(Dir);
    }
    void TearDown() override
    {
        for (const auto &entry : fs::directory_iterator(Dir))
            SetFileAttributesW(entry.path().c_str(), FILE_ATTRIBUTE_NORMAL);
        fs::remove_all(Dir);
    }

    std::string Read(const std::string &path)
    {
        std::string data;
        const TFileRead read = ReadFileBounded(path, 1 << 20, &data);
        EXPECT_TRUE(read.Ok()) << path << ": " << read.Reason();
        return data;
    }

    std::size_t Entries() const
    {
        return static_cast<std::size_t>(std::distance(fs::directory_iterator(Dir), {}));
    }

    fs::path Dir =
        fs::temp_directory_path() / ("zor-win32-" + std::to_string(GetCurrentProcessId()));
};

TEST_F(Win32Files, NamesBeyondTheCodePageRoundTripAsUtf8)
{
    // Slovak, Czech, a euro sign and a character outside the Basic Multilingual Plane: no
    // ANSI code page holds them all.
    const fs::path wide = Dir / u8"Zprávy ľščťž € \U0001F600.rtf";
    const std::string path = Utf8(wide);
    ASSERT_TRUE(WriteFileAtomically(path, "first"));
    EXPECT_TRUE(fs::exists(wide)) << "the file carries the name as given, not a code page's guess";
    EXPECT_EQ(Read(path), "first");
    ASSERT_TRUE(WriteFileAtomically(path, "second"));
    std::string whole;
    EXPECT_TRUE(ReadWholeFile(path, &whole));
    EXPECT_EQ(whole, "second");
    EXPECT_TRUE(PathExists(path));
    EXPECT_EQ(Entries(), 1u) << "no temporary file is left beside it";
}

TEST_F(Win32Files, AReplaceThatFailsLeavesTheOldFileAndNoTemporaryFile)
{
    const std::string path = Utf8(Dir / "program.txt");
    ASSERT_TRUE(WriteFileAtomically(path, "old"));

    // Held open by another program that lets nobody delete or rename it.
    HANDLE held = CreateFileW((Dir / "program.txt").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    TWriteFailure failure;
    EXPECT_FALSE(WriteFileAtomically(path, "new", &failure));
    EXPECT_TRUE(failure.Message.starts_with("Cannot replace " + path + ": ")) << failure.Message;
    CloseHandle(held);
    EXPECT_EQ(Read(path), "old");
    EXPECT_EQ(Entries(), 1u);

    // Abandoned before its commit: the same.
    {
        TAtomicFileWriter writer(path);
        ASSERT_TRUE(writer.IsOpen()) << writer.Error();
        EXPECT_TRUE(writer.Write("never"));
    }
    EXPECT_EQ(Read(path), "old");
    EXPECT_EQ(Entries(), 1u);

    // A read-only file is refused, not replaced; the settings writer says so in its own words.
    ASSERT_TRUE(SetFileAttributesW((Dir / "program.txt").c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_FALSE(WriteFileAtomically(path, "new", &failure));
    EXPECT_EQ(failure.Errno, EACCES);
    EXPECT_EQ(Read(path), "old");
    std::string reason;
    EXPECT_EQ(SaveCommSettings(path, TCommSettings{}, &reason), ResultSettingsFileError);
    EXPECT_EQ(reason, path + " is read-only");
    EXPECT_EQ(Read(path), "old");
}

TEST_F(Win32Files, DevicesAreWrittenIntoButNeverReadAsDocuments)
{
    std::string data = "x";
    for (const std::string device : {"NUL", "nul.txt", "\\\\.\\NUL"}) {
        const TFileRead read = ReadFileBounded(device, 1 << 20, &data);
        EXPECT_EQ(read.Status, TFileReadStatus::NotRegular) << device;
        EXPECT_EQ(data, "");
    }
    // The console, where the process has one; a process without one cannot open it at all.
    EXPECT_FALSE(ReadFileBounded("CON", 1 << 20, &data).Ok());
    const TFileRead folder = ReadFileBounded(Utf8(Dir), 1 << 20, &data);
    EXPECT_EQ(folder.Status, TFileReadStatus::NotRegular);
    EXPECT_EQ(folder.Reason(), std::strerror(EISDIR));
    const TFileRead missing = ReadFileBounded(Utf8(Dir / "none.rtf"), 1 << 20, &data);
    EXPECT_EQ(missing.Status, TFileReadStatus::CannotOpen);
    EXPECT_EQ(missing.Errno, ENOENT);

    std::string error;
    EXPECT_TRUE(WriteFileAtomically("NUL", "into the null device", &error)) << error;
    EXPECT_FALSE(WriteFileAtomically(Utf8(Dir), "over a folder", &error));
    EXPECT_TRUE(fs::is_directory(Dir));
}

// Sets an environment variable for one scope and puts the old value back.
class TScopedEnv
{
public:
    TScopedEnv(const wchar_t *name, const wchar_t *value) : Name(name)
    {
        if (const wchar_t *old = _wgetenv(name))
            Old = old;
        _wputenv_s(name, value ? value : L"");
    }
    ~TScopedEnv() { _wputenv_s(Name, Old ? Old->c_str() : L""); }

private:
    const wchar_t *Name;
    std::optional<std::wstring> Old;
};

TEST_F(Win32Files, TheSettingsFileLiesBesideTheProgramWhereItMayElseInAppData)
{
    const TScopedEnv appData(L"APPDATA", L"C:\\Users\\op\\AppData\\Roaming");
    const std::string beside = Utf8(Dir / "zoredit.exe");
    EXPECT_EQ(EditorSettingsFile(beside), Utf8(Dir / "zoredit.INI"));
    EXPECT_EQ(EditorSettingsFile("C:\\no\\such\\folder.d\\zoredit"),
              "C:\\Users\\op\\AppData\\Roaming\\ZorEdit\\zoredit.INI");
    EXPECT_EQ(SettingsFileFor("C:\\Program Files\\Zor.d\\zoredit"),
              "C:\\Program Files\\Zor.d\\zoredit.INI");

    const std::string exe = ExecutablePath();
    EXPECT_TRUE(exe.ends_with("test_base_win32.exe")) << exe;
    EXPECT_TRUE(PathExists(exe));
}

std::atomic<int> Interrupted{0};

void NoteInterrupt(int signal)
{
    Interrupted.store(signal);
}

TEST(Win32Console, CtrlCReachesTheRoutedHandlerAsSigintAndNotTheDefault)
{
    // The default handler would end this program; the routed one only notes the signal.
    if (!GetConsoleWindow() && !AllocConsole())
        GTEST_SKIP() << "no console to send Ctrl-C in";
    RouteInterrupts(NoteInterrupt);
    ASSERT_TRUE(GenerateConsoleCtrlEvent(CTRL_C_EVENT, 0));
    for (int i = 0; i < 200 && Interrupted.load() == 0; ++i)
        Sleep(10);
    StopRoutingInterrupts();
    EXPECT_EQ(Interrupted.load(), SIGINT);
}

// The editor's event loop learns of a console's interrupt through a socket it watches; the
// console's callback raises it on a thread of the system's.
TEST(Win32Console, AnInterruptRaisedOnAnotherThreadWakesTheWatcherAndIsTakenOnce)
{
    TInterruptWakeUp wakeUp;
    ASSERT_TRUE(wakeUp.Valid());
    EXPECT_EQ(wakeUp.Take(), -1) << "nothing raised yet, and no wait for it";
    std::thread([&wakeUp] { wakeUp.Raise(SIGTERM); }).join();
    std::thread([&wakeUp] { wakeUp.Raise(SIGINT); }).join();
    fd_set readable;
    FD_ZERO(&readable);
    FD_SET(static_cast<SOCKET>(wakeUp.Handle()), &readable);
    timeval wait{10, 0};
    ASSERT_EQ(select(0, &readable, nullptr, nullptr, &wait), 1);
    EXPECT_EQ(wakeUp.Take(), SIGTERM);
    EXPECT_EQ(wakeUp.Take(), SIGINT);
    EXPECT_EQ(wakeUp.Take(), -1);
}

} // namespace
} // namespace zor
