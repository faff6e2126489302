// zor.exe started as Windows starts programs, with a wide command line: file names no code page
// holds reach the files, and what this build cannot do is refused with a reason.
#include "base/AtomicFile.h"
#include "base/Version.h"
#include "commands/DocumentTranslation.h"
#include "editor/rtf/RtfCodec.h"
#include "tests/support/SampleDocuments.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>
#include <windows.h>

namespace zor {
namespace {

namespace fs = std::filesystem;

struct TRun
{
    DWORD Status = 255;
    std::string Out;
    std::string Err;
};

std::string Contents(const fs::path &path)
{
    const std::u8string name = path.u8string();
    std::string text;
    ReadWholeFile(std::string(name.begin(), name.end()), &text);
    return text;
}

class ZorExe : public testing::Test
{
protected:
    void SetUp() override { fs::create_directories(Dir); }
    void TearDown() override { fs::remove_all(Dir); }

    // zor.exe, beside this program.
    static fs::path Tool()
    {
        std::wstring self(MAX_PATH, L'\0');
        self.resize(GetModuleFileNameW(nullptr, self.data(), MAX_PATH));
        return fs::path(self).parent_path() / L"zor.exe";
    }

    // Runs zor.exe with the arguments, quoted for CommandLineToArgvW.
    TRun Zor(const std::vector<std::wstring> &args)
    {
        const fs::path tool = Tool();
        std::wstring line = L"\"" + tool.wstring() + L"\"";
        for (const std::wstring &a : args)
            line += L" \"" + a + L"\"";

        SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
        const fs::path out = Dir / L"stdout", err = Dir / L"stderr";
        HANDLE o = CreateFileW(out.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS,
                               0, nullptr);
        HANDLE e = CreateFileW(err.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS,
                               0, nullptr);
        STARTUPINFOW start{};
        start.cb = sizeof start;
        start.dwFlags = STARTF_USESTDHANDLES;
        start.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
        start.hStdOutput = o;
        start.hStdError = e;
        PROCESS_INFORMATION process{};
        TRun run;
        if (CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                           &start, &process)) {
            WaitForSingleObject(process.hProcess, INFINITE);
            GetExitCodeProcess(process.hProcess, &run.Status);
            CloseHandle(process.hProcess);
            CloseHandle(process.hThread);
        }
        CloseHandle(o);
        CloseHandle(e);
        run.Out = Contents(out);
        run.Err = Contents(err);
        return run;
    }

    fs::path Dir = fs::temp_directory_path() / ("zor-exe-" + std::to_string(GetCurrentProcessId()));
};

TEST_F(ZorExe, NamesNoCodePageHoldsReachTheFiles)
{
    const std::string program = TranslateDocument(test::SymbolF3AndHi()).Program;
    const fs::path doc = Dir / L"Zpr\u00e1vy \u013e\u0161\u010d \u20ac \U0001F600.zor";
    const fs::path out = Dir / L"v\u00fdstup \u20ac.bin";
    const std::u8string docName = doc.u8string();
    ASSERT_TRUE(WriteFileAtomically(std::string(docName.begin(), docName.end()),
                                    rtf::Write(test::SymbolF3AndHi())));

    TRun run = Zor({L"translate", doc.wstring()});
    EXPECT_EQ(run.Status, 0u) << run.Err;
    EXPECT_EQ(run.Out, program);
    run = Zor({L"translate", doc.wstring(), L"-o", out.wstring()});
    EXPECT_EQ(run.Status, 0u) << run.Err;
    EXPECT_EQ(Contents(out), program);
}

TEST_F(ZorExe, AProgramOnStandardOutputKeepsItsBytes)
{
    // A line break in the text is CR LF in the program; a text-mode console stream would make
    // it CR CR LF.
    const fs::path doc = Dir / L"two lines.zor";
    const std::u8string name = doc.u8string();
    ASSERT_TRUE(WriteFileAtomically(std::string(name.begin(), name.end()), "A\nB"));
    const TRun run = Zor({L"translate", doc.wstring()});
    EXPECT_EQ(run.Status, 0u) << run.Err;
    EXPECT_EQ(run.Out, "T0\x1F"
                       "A\r\nB\x1F");
}

TEST_F(ZorExe, SimulateExportsAnAnimatedGif)
{
    const fs::path program = Dir / L"program.bin", gif = Dir / L"běh.gif";
    const std::u8string name = program.u8string();
    ASSERT_TRUE(WriteFileAtomically(std::string(name.begin(), name.end()), "T0\x1FHi\x1F"));
    const TRun run = Zor(
        {L"simulate", L"--program", program.wstring(), L"--gif", gif.wstring(), L"--frames", L"5"});
    EXPECT_EQ(run.Status, 0u) << run.Err;
    const std::u8string gifName = gif.u8string();
    EXPECT_TRUE(Contents(gif).starts_with("GIF89a")) << std::string(gifName.begin(), gifName.end());
}

TEST_F(ZorExe, PanelSaysThisBuildHasNoEmulator)
{
    for (const std::vector<std::wstring> &args :
         {std::vector<std::wstring>{L"panel"}, {L"panel", L"--listen", L"4001"}}) {
        const TRun run = Zor(args);
        EXPECT_EQ(run.Status, 1u);
        EXPECT_EQ(run.Err, "zor panel: this build has no panel emulator: it needs a "
                           "pseudo-terminal; run zor panel on Linux and reach it through a COM "
                           "port or socket://\r\n");
    }
}

// No MQTT client library in this build: a panel behind a gateway is refused with the reason, and
// the gateway itself is Linux's.
TEST_F(ZorExe, AnMqttDeviceAndTheGatewaySayThisBuildHasNoMqtt)
{
    const fs::path program = Dir / L"program.bin";
    const std::u8string name = program.u8string();
    ASSERT_TRUE(WriteFileAtomically(std::string(name.begin(), name.end()), "T0\x1FHi\x1F"));
    TRun run = Zor(
        {L"send", L"--program", program.wstring(), L"--device", L"mqtt://127.0.0.1/north/Gate"});
    EXPECT_EQ(run.Status, 1u);
    EXPECT_NE(run.Err.find("this build cannot reach panels through an MQTT broker\r\n"),
              std::string::npos)
        << run.Err;
    run = Zor({L"gateway", L"--broker", L"mqtt://127.0.0.1", L"--site", L"north", L"--panel",
               L"Gate=COM3"});
    EXPECT_EQ(run.Status, 1u);
    EXPECT_EQ(run.Err, "zor gateway: this build has no MQTT gateway: run zor gateway on Linux, on "
                       "the box beside the panels\r\n");
}

// What Explorer and Windows read from the program itself: its icon, its version, a manifest that
// lets it take long paths and UTF-8, and no debug sections in a release build.
TEST_F(ZorExe, CarriesItsIconVersionAndManifestWithoutDebugSections)
{
    const fs::path tool = Tool();
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(tool.c_str(), &ignored);
    ASSERT_GT(size, 0u);
    std::vector<char> info(size);
    ASSERT_TRUE(GetFileVersionInfoW(tool.c_str(), 0, size, info.data()));
    void *value = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(info.data(), L"\\StringFileInfo\\040904B0\\ProductVersion", &value,
                               &length));
    const std::string version(kVersion);
    EXPECT_EQ(std::wstring(static_cast<const wchar_t *>(value)),
              std::wstring(version.begin(), version.end()));

    const HMODULE module = LoadLibraryExW(
        tool.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    ASSERT_NE(module, nullptr);
    EXPECT_NE(FindResourceW(module, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(14)), nullptr)
        << "the icon group";
    const HRSRC manifest = FindResourceW(module, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));
    ASSERT_NE(manifest, nullptr);
    const std::string text(static_cast<const char *>(LockResource(LoadResource(module, manifest))),
                           SizeofResource(module, manifest));
    FreeLibrary(module);
    for (const char *setting :
         {"level=\"asInvoker\"", ">true</longPathAware>", ">UTF-8</activeCodePage>"})
        EXPECT_NE(text.find(setting), std::string::npos) << setting;

    // Section names: MinGW's debug sections are ".debug_*", or "/N" naming one in the string table.
    const std::string image = Contents(tool);
    ASSERT_GT(image.size(), 0x40u);
    const auto word = [&image](std::size_t at, std::size_t bytes) {
        std::uint32_t v = 0;
        for (std::size_t i = 0; i < bytes && at + i < image.size(); ++i)
            v |= static_cast<std::uint32_t>(static_cast<unsigned char>(image[at + i])) << (8 * i);
        return v;
    };
    const std::size_t header = word(0x3C, 4);
    ASSERT_EQ(image.compare(header, 4, std::string("PE\0\0", 4)), 0);
    const std::size_t sections = word(header + 6, 2);
    const std::size_t first = header + 24 + word(header + 20, 2);
    for (std::size_t i = 0; i < sections; ++i) {
        const std::string name = image.substr(first + 40 * i, 8).c_str();
        EXPECT_FALSE(name.starts_with(".debug") || name.starts_with("/")) << name;
    }
}

} // namespace
} // namespace zor
