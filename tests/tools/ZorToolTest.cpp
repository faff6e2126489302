// zor as a user runs it: the options of every subcommand, documents in and programs out, and
// nothing reported as done that was not.
#include "base/AtomicFile.h"
#include "base/Version.h"
#include "comm/Panels.h"
#include "commands/DocumentTranslation.h"
#include "editor/rtf/RtfCodec.h"
#include "harness/ExecTool.h"
#include "harness/PanelProcess.h"
#include "tests/base/FileTestSupport.h"
#include "tests/support/SampleDocuments.h"

#include <gtest/gtest.h>

#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <sys/sysmacros.h>

namespace zor {
namespace {

namespace fs = std::filesystem;

const std::string Tool = ZOR_TOOL_PATH;

struct TRun
{
    int Status = -1;
    std::string Out;
    std::string Err;
};

class ZorTool : public testing::Test
{
protected:
    void SetUp() override
    {
        fs::create_directories(Dir);
        fs::permissions(Dir, fs::perms::all);
    }
    void TearDown() override { fs::remove_all(Dir); }

    // Runs zor with args; standard output goes to stdoutPath when given (for /dev/full).
    TRun Zor(std::vector<std::string> args, const std::string &stdoutPath = {},
             bool unprivileged = false)
    {
        const std::string out = stdoutPath.empty() ? (Dir / "stdout").string() : stdoutPath;
        const std::string err = (Dir / "stderr").string();
        const int o = open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
        const int e = open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
        const pid_t pid = test::ExecTool(ToolPath, std::move(args), o, e, [&] {
            if (o < 0 || e < 0)
                _exit(126);
            if (unprivileged && test::BecomeUnprivileged() != 0)
                _exit(test::CannotArrange);
            for (const auto &[name, value] : Env)
                setenv(name.c_str(), value.c_str(), 1);
        });
        for (const int fd : {o, e})
            if (fd >= 0)
                close(fd);
        int status = 0;
        waitpid(pid, &status, 0);
        TRun run;
        run.Status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        if (stdoutPath.empty())
            ReadWholeFile(out, &run.Out);
        ReadWholeFile(err, &run.Err);
        return run;
    }

    std::string Write(const std::string &name, const std::string &bytes)
    {
        const auto path = (Dir / name).string();
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }

    std::string Contents(const std::string &path)
    {
        std::string text;
        ReadWholeFile(path, &text);
        return text;
    }

    // An empty settings file: the defaults, whatever the build folder holds.
    std::vector<std::string> Port(const std::string &device)
    {
        return {"--device", device, "--settings", Write("empty.INI", "")};
    }

    fs::path Dir = fs::temp_directory_path() / ("zor-tool-" + std::to_string(getpid()));
    // The zor that Zor runs, and variables it gets in its environment.
    std::string ToolPath = Tool;
    std::vector<std::pair<std::string, std::string>> Env;
};

TEST_F(ZorTool, EverySubcommandHelpsOnStandardOutput)
{
    for (const std::string sub :
         {"translate", "simulate", "send", "numeric", "panel", "panels", "ports", "gateway"}) {
        const TRun run = Zor({sub, "--help"});
        EXPECT_EQ(run.Status, 0) << sub;
        EXPECT_NE(run.Out.find("Usage: zor " + sub), std::string::npos) << sub;
        EXPECT_EQ(run.Err, "") << sub;
    }
    TRun run = Zor({"--help"});
    EXPECT_EQ(run.Status, 0);
    EXPECT_NE(run.Out.find("translate"), std::string::npos);
    run = Zor({"--version"});
    EXPECT_EQ(run.Status, 0);
    EXPECT_EQ(run.Out, std::string(kVersion) + "\n");
}

TEST_F(ZorTool, BadCommandLinesSayWhatIsWrong)
{
    EXPECT_EQ(Zor({}).Status, 2);
    TRun run = Zor({"bogus"});
    EXPECT_EQ(run.Status, 2);
    EXPECT_NE(run.Err.find("bogus"), std::string::npos);

    run = Zor({"send", "--program"});
    EXPECT_EQ(run.Status, 2);
    EXPECT_NE(run.Err.find("--program needs a file"), std::string::npos) << run.Err;

    const std::string doc = Write("a.zor", "text");
    run = Zor({"send", doc, "--program", doc});
    EXPECT_EQ(run.Status, 2);
    EXPECT_NE(run.Err.find("excludes"), std::string::npos) << run.Err;
    EXPECT_EQ(Zor({"translate"}).Status, 2);
    EXPECT_EQ(Zor({"translate", doc, "--bogus"}).Status, 2);
    EXPECT_EQ(Zor({"send", doc, "--baud", "0"}).Status, 2);
    EXPECT_EQ(Zor({"panel", "--refuse", "nothing"}).Status, 2);
}

TEST_F(ZorTool, TranslatesADocumentToStandardOutputOrAFile)
{
    const std::string program = TranslateDocument(test::SymbolF3AndHi()).Program;
    ASSERT_EQ(program, "F3T0\x1FHi\x1F");
    const std::string doc = Write("sample.zor", rtf::Write(test::SymbolF3AndHi()));
    TRun run = Zor({"translate", doc});
    EXPECT_EQ(run.Status, 0);
    EXPECT_EQ(run.Out, program);

    const std::string out = (Dir / "program.bin").string();
    EXPECT_EQ(Zor({"translate", doc, "-o", out}).Status, 0);
    EXPECT_EQ(Contents(out), program);
    EXPECT_EQ(Zor({"translate", doc, "--hex"}).Out, "46 33 54 30 1F 48 69 1F\n");

    // Plain text is a document too, as the editor opens it.
    run = Zor({"translate", Write("plain.zor", "Hi")});
    EXPECT_EQ(run.Status, 0);
    EXPECT_EQ(run.Out, TranslateDocument(doc::ReadPlainText("Hi")).Program);
}

TEST_F(ZorTool, WhatIsNotADocumentFileIsRefusedByEverySubcommand)
{
    const std::string fifo = (Dir / "fifo").string();
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    for (const std::string &path : {Dir.string(), std::string("/dev/zero"), fifo}) {
        for (const std::string sub : {"translate", "simulate"}) {
            const TRun run = Zor({sub, path});
            EXPECT_EQ(run.Status, 1) << sub << " " << path;
            EXPECT_EQ(run.Out, "") << sub << " " << path;
            EXPECT_NE(run.Err.find("cannot read " + path), std::string::npos) << run.Err;
        }
        EXPECT_EQ(Zor({"simulate", "--program", path}).Status, 1) << path;
    }
    EXPECT_NE(Zor({"translate", Dir.string()}).Err.find("Is a directory"), std::string::npos);

    const std::string huge = (Dir / "huge.zor").string();
    {
        std::ofstream(huge, std::ios::binary);
    }
    fs::resize_file(huge, rtf::MaxInputBytes + 1);
    EXPECT_EQ(Zor({"translate", huge}).Status, 1);
}

TEST_F(ZorTool, SaysWhatIsAmissWithADocumentOnStandardError)
{
    // Nested deeper than the reader follows: refused, nothing translated or sent.
    const std::string deep =
        Write("deep.zor", "{\\rtf1 Hello" + std::string(1001, '{') + "x" + std::string(1002, '}'));
    for (const std::string sub : {"translate", "simulate", "send"}) {
        const TRun run = Zor({sub, deep});
        EXPECT_EQ(run.Status, 1) << sub;
        EXPECT_EQ(run.Out, "") << sub;
        EXPECT_NE(run.Err.find("The RTF groups are nested more than 1000 levels deep."),
                  std::string::npos)
            << run.Err;
    }

    // Cut off before its last group closes: what was there, and a warning.
    doc::Document doc = test::SymbolF3AndHi();
    const std::string whole = rtf::Write(doc);
    TRun run = Zor({"translate", Write("cut.zor", whole.substr(0, whole.rfind("\\par")))});
    EXPECT_EQ(run.Status, 0);
    EXPECT_EQ(run.Out, TranslateDocument(doc).Program);
    EXPECT_NE(run.Err.find("warning: "), std::string::npos) << run.Err;
    EXPECT_NE(run.Err.find("the file may be truncated"), std::string::npos) << run.Err;

    // A character in the symbol font without a command colour goes as what it is, said so.
    doc::CharFormat recoloured;
    recoloured.Face = "ZorSymbolFont";
    recoloured.Charset = doc::SymbolCharset;
    doc.Append(recoloured, U';');
    run = Zor({"translate", Write("recoloured.zor", rtf::Write(doc))});
    EXPECT_EQ(run.Status, 0);
    EXPECT_EQ(run.Out, "F3T0\x1FHi;\x1F");
    EXPECT_NE(run.Err.find("warning: " + Dir.string() +
                           "/recoloured.zor: The document holds 1 "
                           "character in the symbol font without a command colour (on line 1); "
                           "the panel gets it as the plain character it is."),
              std::string::npos)
        << run.Err;

    // A document as ZorEdit writes it says nothing.
    EXPECT_EQ(Zor({"translate", Write("sample.zor", rtf::Write(test::SymbolF3AndHi()))}).Err, "");
}

TEST_F(ZorTool, OutputsKeepTheEditorsRules)
{
    const std::string doc = Write("sample.zor", rtf::Write(test::SymbolF3AndHi()));
    TRun run = Zor({"translate", doc}, "/dev/full");
    EXPECT_NE(run.Status, 0);
    EXPECT_NE(run.Err.find("No space left on device"), std::string::npos) << run.Err;
    run = Zor({"simulate", doc, "--frames", "3", "--dots"}, "/dev/full");
    EXPECT_NE(run.Status, 0);
    EXPECT_NE(run.Err.find("standard output"), std::string::npos) << run.Err;
    EXPECT_NE(Zor({"--help"}, "/dev/full").Status, 0);

    // A file made read-only is not replaced by a user who may not write it.
    const std::string locked = Write("locked.bin", "keep");
    const std::string gif = Write("locked.gif", "keep");
    for (const auto &path : {locked, gif})
        fs::permissions(path,
                        fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    run = Zor({"translate", doc, "-o", locked}, {}, true);
    ASSERT_NE(run.Status, test::CannotArrange);
    EXPECT_EQ(run.Status, 1);
    EXPECT_NE(run.Err.find("Permission denied"), std::string::npos) << run.Err;
    EXPECT_EQ(Contents(locked), "keep");
    run = Zor({"simulate", doc, "--frames", "2", "--gif", gif}, {}, true);
    EXPECT_EQ(run.Status, 1);
    EXPECT_EQ(Contents(gif), "keep");
}

TEST_F(ZorTool, OutputsGoThroughLinksAndIntoDevicesAndNeverReplaceEither)
{
    const std::string doc = Write("sample.zor", rtf::Write(test::SymbolF3AndHi()));
    const std::string program = TranslateDocument(test::SymbolF3AndHi()).Program;
    fs::create_directories(Dir / "real");
    fs::create_symlink("real/program.bin", Dir / "program.bin");
    fs::create_symlink(Dir / "real" / "run.gif", Dir / "run.gif");
    const std::string out = (Dir / "program.bin").string();
    const std::string gif = (Dir / "run.gif").string();
    EXPECT_EQ(Zor({"translate", doc, "-o", out}).Status, 0);
    EXPECT_EQ(Contents((Dir / "real" / "program.bin").string()), program);
    EXPECT_EQ(Zor({"simulate", doc, "--frames", "2", "--gif", gif}).Status, 0);
    EXPECT_TRUE(Contents((Dir / "real" / "run.gif").string()).starts_with("GIF89a"));
    EXPECT_TRUE(fs::is_symlink(out));
    EXPECT_TRUE(fs::is_symlink(gif));

    // Its own standard output by name, through a link of the test's own made as /dev/stdout is.
    fs::create_symlink("/proc/self/fd/1", Dir / "own-stdout");
    TRun run = Zor({"translate", doc, "-o", (Dir / "own-stdout").string()});
    EXPECT_EQ(run.Status, 0) << run.Err;
    EXPECT_EQ(run.Out, program);
    EXPECT_TRUE(fs::is_symlink(Dir / "own-stdout"));

    const std::string null = (Dir / "null").string();
    const std::string full = (Dir / "full").string();
    if (mknod(null.c_str(), S_IFCHR | 0666, makedev(1, 3)) != 0 ||
        mknod(full.c_str(), S_IFCHR | 0666, makedev(1, 7)) != 0)
        GTEST_SKIP() << "this machine does not let the tests make device nodes: "
                     << std::strerror(errno);
    const auto isDevice = [](const std::string &path, unsigned minor) {
        struct stat st
        {
        };
        return lstat(path.c_str(), &st) == 0 && S_ISCHR(st.st_mode) && ::minor(st.st_rdev) == minor;
    };
    for (const std::vector<std::string> &writes :
         {std::vector<std::string>{"translate", doc, "-o"},
          std::vector<std::string>{"simulate", doc, "--frames", "2", "--gif"}}) {
        SCOPED_TRACE(writes[0]);
        auto args = writes;
        args.push_back(null);
        run = Zor(args);
        EXPECT_EQ(run.Status, 0) << run.Err;
        args.back() = full;
        run = Zor(args);
        EXPECT_EQ(run.Status, 1);
        EXPECT_NE(run.Err.find("Cannot write " + full + ": No space left on device"),
                  std::string::npos)
            << run.Err;
        EXPECT_TRUE(isDevice(null, 3));
        EXPECT_TRUE(isDevice(full, 7));
    }
}

TEST_F(ZorTool, SendsADocumentAsTheEditorTranslatesIt)
{
    // Through a link, which stays one.
    fs::create_directories(Dir / "panel");
    fs::create_symlink("panel/received.bin", Dir / "received.bin");
    const std::string received = (Dir / "received.bin").string();
    test::TPanelProcess panel(Tool, {"--out", received, "--count", "1"});
    ASSERT_FALSE(panel.DevicePath().empty());
    auto args = Port(panel.DevicePath());
    args.insert(args.begin(), {"send", Write("sample.zor", rtf::Write(test::SymbolF3AndHi()))});
    const TRun run = Zor(args);
    EXPECT_EQ(run.Status, 0) << run.Err;
    EXPECT_EQ(run.Out, "Communication O.K.\n");
    panel.Wait();
    EXPECT_EQ(Contents(received), TranslateDocument(test::SymbolF3AndHi()).Program);
    EXPECT_TRUE(fs::is_symlink(received));

    // A program the panel could not keep is never said to be written.
    test::TPanelProcess full(Tool, {"--out", "/dev/full", "--count", "1"});
    ASSERT_FALSE(full.DevicePath().empty());
    args = Port(full.DevicePath());
    args.insert(args.begin(), {"send", Write("sample.zor", rtf::Write(test::SymbolF3AndHi()))});
    EXPECT_EQ(Zor(args).Status, 0);
    EXPECT_EQ(full.Wait().find("written to"), std::string::npos);
}

TEST_F(ZorTool, AFolderIsNeverSentAsAnEmptyProgram)
{
    test::TPanelProcess panel(Tool, {});
    ASSERT_FALSE(panel.DevicePath().empty());
    auto args = Port(panel.DevicePath());
    args.insert(args.begin(), {"send", Dir.string()});
    const TRun run = Zor(args);
    EXPECT_EQ(run.Status, 1);
    EXPECT_EQ(run.Out, "");
    EXPECT_NE(run.Err.find("Is a directory"), std::string::npos) << run.Err;
    EXPECT_EQ(panel.Stop(), ""); // the panel heard nothing
}

TEST_F(ZorTool, SendRefusesAnEmptyProgramUnlessAskedToClearThePanel)
{
    const std::string blank = Write("blank.zor", "  \n\n");
    const std::string nothing = Write("nothing.bin", "");
    for (const auto &source :
         {std::vector<std::string>{blank}, std::vector<std::string>{"--program", nothing}}) {
        test::TPanelProcess panel(Tool, {});
        ASSERT_FALSE(panel.DevicePath().empty());
        auto args = Port(panel.DevicePath());
        args.insert(args.begin(), "send");
        args.insert(args.begin() + 1, source.begin(), source.end());
        const TRun run = Zor(args);
        EXPECT_EQ(run.Status, 2);
        EXPECT_EQ(run.Out, "");
        EXPECT_NE(run.Err.find(source.back() + " shows nothing"), std::string::npos) << run.Err;
        EXPECT_NE(run.Err.find("--allow-empty"), std::string::npos) << run.Err;
        EXPECT_EQ(panel.Stop(), "") << "the panel heard nothing";
    }

    const std::string received = (Dir / "received.bin").string();
    test::TPanelProcess panel(Tool, {"--out", received, "--count", "1"});
    auto args = Port(panel.DevicePath());
    args.insert(args.begin(), {"send", blank, "--allow-empty"});
    const TRun run = Zor(args);
    ASSERT_EQ(run.Status, 0) << run.Err;
    panel.Wait();
    EXPECT_EQ(Contents(received), "T0\x1F  \r\n\r\n\x1F");
}

TEST_F(ZorTool, SendListsTheCharactersThePanelCannotShowAndSendsThem)
{
    const std::string doc = Write("han.zor", "ab\nc\u6F22d \u20AC?\n"); // UTF-8
    const std::string received = (Dir / "received.bin").string();
    test::TPanelProcess panel(Tool, {"--out", received, "--count", "1"});
    auto args = Port(panel.DevicePath());
    args.insert(args.begin(), {"send", doc});
    const TRun run = Zor(args);
    ASSERT_EQ(run.Status, 0) << run.Err;
    EXPECT_EQ(run.Out, "Communication O.K.\n");
    // The euro sign is in the panel's code page and a typed '?' is the operator's own.
    EXPECT_EQ(run.Err, doc + ":2:2: U+6F22 cannot be shown, sent as ?\n");
    panel.Wait();
    EXPECT_NE(Contents(received).find("c?d"), std::string::npos);
}

TEST_F(ZorTool, ASettingsFileNamedOnTheCommandLineIsReadOrNothingIsSent)
{
    const std::string huge = Write("huge.INI", "[PC]\nPort=1\n");
    fs::resize_file(huge, 64 * 1024 + 1);
    const std::string doc = Write("sample.zor", "Hi");
    const struct
    {
        std::string Path;
        std::string Says;
    } cases[] = {
        {(Dir / "missing.INI").string(), "No such file or directory"},
        {Dir.string(), "Is a directory"},
        {"/dev/zero", "Not a regular file"},
        {huge, huge + " is larger than 64 KB and is not a settings file"},
    };
    for (const auto &c : cases) {
        test::TPanelProcess panel(Tool, {});
        ASSERT_FALSE(panel.DevicePath().empty());
        for (const std::vector<std::string> &command :
             {std::vector<std::string>{"send", doc}, {"numeric", "1", "2"}}) {
            auto args = command;
            args.insert(args.end(), {"--device", panel.DevicePath(), "--settings", c.Path});
            const TRun run = Zor(args);
            EXPECT_EQ(run.Status, 1) << c.Path;
            EXPECT_EQ(run.Out, "");
            EXPECT_TRUE(run.Err.starts_with("Error inic file\n")) << run.Err;
            EXPECT_NE(run.Err.find(c.Says), std::string::npos) << run.Err;
        }
        EXPECT_EQ(panel.Stop(), "") << "the panel heard nothing";
    }
}

TEST_F(ZorTool, TheEditorsSettingsFileMayBeMissingButNotUnreadable)
{
    // A copy of the tool in a folder of its own reads the zoredit.INI beside it.
    ToolPath = (Dir / "zor").string();
    fs::copy_file(Tool, ToolPath);
    const std::string ini = Write("zoredit.INI", "");
    fs::resize_file(ini, 64 * 1024 + 1);
    const std::string doc = Write("sample.zor", "Hi");
    test::TPanelProcess panel(Tool, {"--count", "1"});
    ASSERT_FALSE(panel.DevicePath().empty());
    TRun run = Zor({"send", doc, "--device", panel.DevicePath()});
    EXPECT_EQ(run.Status, 1);
    EXPECT_EQ(run.Err,
              "Error inic file\n" + ini + " is larger than 64 KB and is not a settings file\n");

    fs::remove(ini);
    run = Zor({"send", doc, "--device", panel.DevicePath()});
    EXPECT_EQ(run.Status, 0) << run.Err;
    EXPECT_EQ(panel.Wait(), "program 6 bytes: 54 30 1F 48 69 1F\n");
}

TEST_F(ZorTool, ABaudRateThePanelDoesNotWorkAtIsNamedUnderTheResult)
{
    const std::string doc = Write("sample.zor", "Hi");
    for (const std::string baud : {"0", "-9600", "4294967296"}) {
        test::TPanelProcess panel(Tool, {});
        ASSERT_FALSE(panel.DevicePath().empty());
        const std::string ini = Write("baud.INI", "[PC]\nBaud=" + baud + "\n");
        const TRun run = Zor({"send", doc, "--device", panel.DevicePath(), "--settings", ini});
        EXPECT_EQ(run.Status, 1) << baud;
        EXPECT_EQ(run.Err, "Unknow Error\nBaud=" + baud + " in section [PC] of " + ini +
                               ": the panel works at 4800, 9600 or 19200 baud\n");
        EXPECT_EQ(panel.Stop(), "") << "the panel heard nothing";
    }
}

TEST_F(ZorTool, SendsTheCountersGivenOrCountedFromADate)
{
    struct
    {
        std::vector<std::string> Args;
        std::string Panel;
    } cases[] = {
        {{"123", "45"}, "numeric days \"123\" accidents \"45\"\n"},
        {{"7", ""}, "numeric days \"  7\" accidents \"  \"\n"},
        // 2024 is a leap year: 31 + 29 + 31 + 9 days.
        {{"--since", "2024-01-01", "--today", "2024-04-10", "--accidents", "3"},
         "numeric days \"100\" accidents \" 3\"\n"},
        {{"--since", "2024-04-10", "--today", "2024-04-10"},
         "numeric days \"  0\" accidents \" 0\"\n"},
        {{"--since", "2021-04-11", "--today", "2024-01-05", "--accidents", "99"},
         "numeric days \"999\" accidents \"99\"\n"},
    };
    for (const auto &c : cases) {
        test::TPanelProcess panel(Tool, {"--count", "1"});
        ASSERT_FALSE(panel.DevicePath().empty());
        auto args = Port(panel.DevicePath());
        args.insert(args.begin(), "numeric");
        args.insert(args.begin() + 1, c.Args.begin(), c.Args.end());
        const TRun run = Zor(args);
        EXPECT_EQ(run.Status, 0) << run.Err;
        EXPECT_EQ(panel.Wait(), c.Panel);
    }
}

TEST_F(ZorTool, CountersThatDoNotFitThePanelAreRefusedWithAReason)
{
    struct
    {
        std::vector<std::string> Args;
        std::string Says;
    } cases[] = {
        {{"--since", "2021-04-10", "--today", "2024-01-05"},
         "zor numeric: 1000 accident-free days since 2021-04-10 do not fit the panel's three "
         "digits (at most 999).\nNothing was sent"},
        {{"--since", "2021-04-10", "--today", "2024-01-05"}, "systemctl disable --now"},
        {{"--since", "2024-01-02", "--today", "2024-01-01"}, "after today"},
        {{"--since", "2026-02-30", "--today", "2027-01-01"},
         "zor numeric: --since 2026-02-30: there is no such date (February 2026 has 28 days)"},
        {{"--since", "2024-01-01", "--today", "2024-13-01"}, "there is no such date"},
        {{"--since", "2024-01-01", "--today", "2024-1-2"}, "YYYY-MM-DD"},
        {{"--since", "2024-01-01", "--today", "2024-01-02", "--accidents", "100"}, "two digits"},
        {{"--since", "2024-01-01", "--today", "2024-01-02", "--accidents", "-1"}, "two digits"},
        {{"--accidents", "1"}, "--since"},
        {{"1234", "5"},
         "zor numeric: Only numeric value: the accident-free days take up to three "
         "digits (0 to 999), the accidents since 1 January up to two (0 to 99)"},
        {{"12", "x"}, "zor numeric: Only numeric value"},
    };
    for (const auto &c : cases) {
        auto args = Port((Dir / "no-such-device").string());
        args.insert(args.begin(), "numeric");
        args.insert(args.begin() + 1, c.Args.begin(), c.Args.end());
        const TRun run = Zor(args);
        EXPECT_EQ(run.Status, 2) << c.Says;
        EXPECT_NE(run.Err.find(c.Says), std::string::npos) << run.Err;
    }
}

// A settings file naming panels on emulators: NAME=DEVICE[,BAUD] for each.
struct TPlant
{
    struct TPanelEmulator
    {
        std::string Name;
        std::unique_ptr<test::TPanelProcess> Process;
        std::string Out;
    };
    std::vector<TPanelEmulator> Panels;

    const TPanelEmulator &operator[](const std::string &name) const
    {
        for (const TPanelEmulator &p : Panels)
            if (p.Name == name)
                return p;
        throw std::out_of_range(name);
    }
    std::string Device(const std::string &name) const
    {
        return (*this)[name].Process->DevicePath();
    }
    // What each panel heard, and ends them.
    std::string Heard(const std::string &name) const { return (*this)[name].Process->Stop(); }
};

// What zor says of a transfer to several panels; what the panels receive, their rates and their
// logs are tested on the fan-out itself (tests/comm/PanelSendTest.cpp).
TEST_F(ZorTool, SendsToSeveralPanelsAtOnceOneLineEachAndTheWorstStatus)
{
    TPlant plant;
    std::string ini = "[PC]\nBaud=19200\n[Panels]\n";
    for (const auto &[name, options] :
         std::vector<std::pair<std::string, std::vector<std::string>>>{
             {"Hall1", {}}, {"Gate", {"--refuse", "block1"}}, {"Yard", {}}}) {
        plant.Panels.push_back({name, std::make_unique<test::TPanelProcess>(Tool, options), {}});
        ASSERT_FALSE(plant.Device(name).empty());
        ini += name + "=" + plant.Device(name) + (name == "Gate" ? ",9600\n" : "\n");
    }
    const std::string settings = Write("plant.INI", ini);

    TRun run = Zor({"panels", "--settings", settings});
    EXPECT_EQ(run.Status, 0);
    EXPECT_EQ(run.Out, "Hall1\t" + plant.Device("Hall1") + "\t19200\nGate\t" +
                           plant.Device("Gate") + "\t9600\nYard\t" + plant.Device("Yard") +
                           "\t19200\n");

    const std::string doc = Write("sample.zor", rtf::Write(test::SymbolF3AndHi()));
    run = Zor({"send", doc, "--settings", settings, "--all-panels"});
    EXPECT_EQ(run.Status, 6) << "the worst: Program disable";
    EXPECT_EQ(run.Out, "Hall1\t0\tCommunication O.K.\nGate\t6\tProgram disable\n"
                       "Yard\t0\tCommunication O.K.\n");

    // In the order given, a bare device named by itself; one panel alone answers as ever.
    run = Zor({"numeric", "1", "2", "--settings", settings, "--panel", "yard", "--device",
               plant.Device("Hall1")});
    EXPECT_EQ(run.Status, 0) << run.Err;
    EXPECT_EQ(run.Out, "Yard\t0\tCommunication O.K.\n" + plant.Device("Hall1") +
                           "\t0\tCommunication O.K.\n");
    run = Zor({"numeric", "3", "4", "--settings", settings, "--panel", "Gate"});
    EXPECT_EQ(run.Status, 0) << run.Err;
    EXPECT_EQ(run.Out, "Communication O.K.\n");
}

TEST_F(ZorTool, PanelsNamedWrongOrTwiceAreRefusedBeforeAnythingIsSent)
{
    test::TPanelProcess panel(Tool, {});
    ASSERT_FALSE(panel.DevicePath().empty());
    fs::create_symlink(panel.DevicePath(), Dir / "usb-by-id");
    const std::string settings = Write("plant.INI", "[Panels]\nHall1=" + panel.DevicePath() + "\n");
    const std::string doc = Write("sample.zor", "Hi");
    const struct
    {
        std::vector<std::string> Args;
        std::string Says;
    } cases[] = {
        {{"--panel", "Hall2"},
         "zor send: there is no panel named Hall2 in section [Panels] of " + settings +
             "; nothing was sent\n"},
        {{"--panel", "Hall1", "--device", (Dir / "usb-by-id").string()},
         "zor send: Hall1 (" + panel.DevicePath() + ") and " + (Dir / "usb-by-id").string() +
             " are the same device; nothing was sent\n"},
        {{"--all-panels", "--settings", Write("none.INI", "[PC]\nPort=1\n"), "--device", "x"},
         "zor send: --all-panels: there are no panels in section [Panels] of " +
             (Dir / "none.INI").string() + "; nothing was sent\n"},
        {{"--device", panel.DevicePath(), "--panel", "hall1"},
         "zor send: " + panel.DevicePath() + " and Hall1 are the same device; nothing was sent\n"},
        {{"--panel", "Hall1", "--panel", "HALL1"}, "zor send: Hall1 is named twice"},
        // A network name that cannot be read is a mistake to correct, not a device to retry.
        {{"--panel", "Hall1", "--device", "socket://127.0.0.1:0"},
         "zor send: socket://127.0.0.1:0: write socket://HOST:PORT or rfc2217://HOST:PORT, PORT a "
         "number from 1 to 65535; nothing was sent\n"},
        {{"--device", "rfc2217://127.0.0.1:99999"}, "rfc2217://127.0.0.1:99999: write"},
        {{"--device", "socket://127.0.0.1"}, "socket://127.0.0.1: write"},
        {{"--device", "socket://[::1:4001"}, "socket://[::1:4001: write"},
        {{"--all-panels", "--panel", "Hall1"}, "excludes"},
        {{"--port", "1", "--panel", "Hall1"}, "excludes"},
        {{"--panel"}, "--panel needs a panel's name"},
        {{"--panel", "Hall1", "--settings",
          Write("zero.INI", "[Panels]\nHall1=" + panel.DevicePath() + "\nZero=/dev/pts/3,0\n")},
         "zor send: Zero=/dev/pts/3,0: \"0\" is no rate; the panel works at 4800, 9600 or 19200 "
         "baud in section [Panels] of " +
             (Dir / "zero.INI").string() + "; nothing was sent\n"},
        {{"--all-panels", "--settings",
          Write("twice.INI", "[Panels]\nH\u00E4ll\u00E9=" + panel.DevicePath() +
                                 "\nH\u00C4LL\u00C9=/dev/null\n")},
         "have one name"},
    };
    for (const auto &c : cases) {
        std::vector<std::string> args = {"send", doc};
        if (std::find(c.Args.begin(), c.Args.end(), "--settings") == c.Args.end())
            args.insert(args.end(), {"--settings", settings});
        args.insert(args.end(), c.Args.begin(), c.Args.end());
        const TRun run = Zor(args);
        EXPECT_EQ(run.Status, 2) << c.Says;
        EXPECT_EQ(run.Out, "");
        EXPECT_NE(run.Err.find(c.Says), std::string::npos) << run.Err;
    }
    TRun run = Zor({"numeric", "1", "2", "--settings", settings, "--device", "socket://[::1:4001"});
    EXPECT_EQ(run.Status, 2);
    EXPECT_NE(run.Err.find("zor numeric: socket://[::1:4001: write"), std::string::npos) << run.Err;
    EXPECT_EQ(panel.Stop(), "") << "the panel heard nothing";

    run = Zor({"panels", "--settings", (Dir / "none.INI").string()});
    EXPECT_EQ(run.Status, 0);
    EXPECT_EQ(run.Out, "");
    EXPECT_EQ(run.Err, "zor panels: there are no panels in section [Panels] of " +
                           (Dir / "none.INI").string() + "\n");
    // The usable panels are listed, the others named; the status stops a script.
    run = Zor({"panels", "--settings", (Dir / "zero.INI").string()});
    EXPECT_EQ(run.Status, 2);
    EXPECT_EQ(run.Out, "Hall1\t" + panel.DevicePath() + "\t9600\n");
    EXPECT_NE(run.Err.find("zor panels: Zero=/dev/pts/3,0: "), std::string::npos) << run.Err;
    run = Zor({"panels", "--settings", (Dir / "missing.INI").string()});
    EXPECT_EQ(run.Status, 1);
    EXPECT_TRUE(run.Err.starts_with("Error inic file\n")) << run.Err;
}

// The counters service's run, with the settings of /etc/default/zor-counters in its environment.
TEST_F(ZorTool, TheCountersServiceSendsToThePanelsItNamesOrAllOrTheOneDevice)
{
    TPlant plant;
    for (const char *name : {"Hall1", "Gate", "Lone"}) {
        plant.Panels.push_back(
            {name, std::make_unique<test::TPanelProcess>(Tool, std::vector<std::string>{}), {}});
        ASSERT_FALSE(plant.Device(name).empty());
    }
    const std::string settings = Write("plant.INI", "[Panels]\nHall1=" + plant.Device("Hall1") +
                                                        "\nGate=" + plant.Device("Gate") + "\n");
    const std::string empty = Write("empty.INI", "");
    char today[16];
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    std::strftime(today, sizeof today, "%Y-%m-%d", localtime_r(&now, &local));
    ToolPath = ZOR_COUNTERS_SCRIPT;
    const struct
    {
        std::vector<std::pair<std::string, std::string>> Env;
        std::string Out;
    } runs[] = {
        {{{"ZOR_SETTINGS", settings}},
         "Hall1\t0\tCommunication O.K.\nGate\t0\tCommunication O.K.\n"},
        {{{"ZOR_SETTINGS", settings}, {"ZOR_PANELS", " Gate  "}}, "Communication O.K.\n"},
        {{{"ZOR_SETTINGS", empty}}, "Communication O.K.\n"},
        {{}, "Communication O.K.\n"},
    };
    for (const auto &r : runs) {
        Env = {{"ZOR_SINCE", today}, {"ZOR_ACCIDENTS", "7"}, {"ZOR_DEVICE", plant.Device("Lone")},
               {"ZOR_BAUD", "9600"}, {"ZOR_SETTINGS", ""},   {"ZOR_PANELS", ""}};
        Env.insert(Env.end(), r.Env.begin(), r.Env.end());
        const TRun run = Zor({});
        EXPECT_EQ(run.Status, 0) << run.Err;
        EXPECT_EQ(run.Out, r.Out);
        // Falling back to the one device is the design, not a fault: the journal says so.
        EXPECT_EQ(run.Err,
                  r.Out.starts_with("Hall1") || r.Env.size() > 1
                      ? ""
                      : "no panels named: using ZOR_DEVICE=" + plant.Device("Lone") + "\n");
    }
    const std::string once = "numeric days \"  0\" accidents \" 7\"\n";
    EXPECT_EQ(plant.Heard("Hall1"), once);
    EXPECT_EQ(plant.Heard("Gate"), once + once);
    EXPECT_EQ(plant.Heard("Lone"), once + once);

    Env = {{"ZOR_SINCE", today}, {"ZOR_SETTINGS", (Dir / "missing.INI").string()}};
    TRun run = Zor({});
    EXPECT_EQ(run.Status, 1) << "an unreadable settings file is no plant without panels";
    EXPECT_TRUE(run.Err.starts_with("Error inic file\n")) << run.Err;

    // A rate the panel cannot work at is refused for good (the service does not retry 2).
    Env = {{"ZOR_SINCE", today},
           {"ZOR_SETTINGS", Write("zero.INI", "[Panels]\nZero=" + plant.Device("Lone") + ",0\n")}};
    run = Zor({});
    EXPECT_EQ(run.Status, 2);
    EXPECT_NE(run.Err.find("zor panels: Zero="), std::string::npos) << run.Err;
    EXPECT_EQ(plant.Heard("Lone"), once + once);
}

TEST_F(ZorTool, ListsSerialPortsOrSaysThereAreNone)
{
    const TRun run = Zor({"ports"});
    EXPECT_EQ(run.Status, 0);
    if (run.Out.empty()) {
        EXPECT_NE(run.Err.find("no serial ports"), std::string::npos);
    }
    for (std::size_t start = 0; start < run.Out.size();) {
        const auto end = run.Out.find('\n', start);
        ASSERT_NE(end, std::string::npos);
        const std::string line = run.Out.substr(start, end - start);
        EXPECT_EQ(std::count(line.begin(), line.end(), '\t'), 4) << line;
        EXPECT_TRUE(line.starts_with("/dev/")) << line;
        start = end + 1;
    }
}

} // namespace
} // namespace zor
