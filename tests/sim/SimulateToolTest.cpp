// zor simulate as a user calls it: the dot print-out, the fixed clock, the frame limit, errors.
#include "editor/rtf/RtfCodec.h"
#include "tests/sim/EngineTestSupport.h"
#include "tests/support/SampleDocuments.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sys/wait.h>

namespace zor::test {
namespace {

struct TToolRun
{
    int Status = -1;
    std::string Output;
};

TToolRun RunZor(const std::string &arguments)
{
    TToolRun run;
    const std::string command =
        std::string(ZOR_TOOL_PATH) + " simulate " + arguments + " 2>/dev/null";
    FILE *pipe = popen(command.c_str(), "r");
    if (!pipe)
        return run;
    char buffer[65536];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
        run.Output.append(buffer, n);
    const int status = pclose(pipe);
    run.Status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

class SimulateTool : public ::testing::Test
{
protected:
    std::string WriteProgram(const std::string &program)
    {
        std::ofstream(Path, std::ios::binary) << program;
        return Path.string();
    }
    void TearDown() override { std::filesystem::remove(Path); }

    std::filesystem::path Path = std::filesystem::temp_directory_path() /
                                 ("zor-simulate-test-" + std::to_string(::getpid()) + ".prog");
};

template <class TPicture> std::string DotsOf(const TPicture &b)
{
    std::string s;
    for (int y = 0; y < PanelRows; ++y) {
        for (int x = 0; x < PanelColumns; ++x)
            s += static_cast<char>('0' + b.Dot(x, y));
        s += '\n';
    }
    return s + '\n';
}

TEST_F(SimulateTool, PrintsEveryFrameAsDots)
{
    const std::string program = Program("I1L2F1T0)", {"Hi"});
    const auto run = RunZor("--program " + WriteProgram(program) + " --dots");
    ASSERT_EQ(run.Status, 0);

    TDisplayEngine engine;
    TRecorder rec;
    engine.SetFrameSink(&rec);
    engine.RunDisplayEngine(program, 0);
    std::string expected;
    for (const auto &f : rec.Frames)
        expected += DotsOf(f);
    EXPECT_EQ(rec.Frames.size(), 24u);
    EXPECT_EQ(run.Output, expected);
}

TEST_F(SimulateTool, FrameLimitAndClock)
{
    const std::string loop = WriteProgram(Program("T0", {"Hi"}));
    auto run = RunZor("--program " + loop);
    EXPECT_EQ(run.Status, 0);
    EXPECT_EQ(run.Output, "500 frames, frame limit reached\n");
    run = RunZor("--program " + loop + " --frames 7 --dots");
    EXPECT_EQ(run.Output.size(), 7u * (10u * 121u + 1u));
    // Numbers are decimal as written: a leading zero is not octal, 0x is not hexadecimal.
    EXPECT_EQ(RunZor("--program " + loop + " --frames 010").Output,
              "10 frames, frame limit reached\n");
    EXPECT_EQ(RunZor("--program " + loop + " --frames 0x10").Status, 2);

    WriteProgram(Program("E12)"));
    run = RunZor("--program " + Path.string() + " --clock 2026-12-06T13:51:35 --frames 1 --dots");
    TDisplayEngine engine;
    TFixedClock clock({2026, 12, 6, 13, 51, 35});
    engine.SetClock(&clock);
    engine.RunDisplayEngine(Program("E12)"), 0, 1);
    EXPECT_EQ(run.Output, DotsOf(engine.LastFrame()));
}

TEST_F(SimulateTool, SimulatesADocument)
{
    const std::string path = WriteProgram(rtf::Write(SymbolF3AndHi()));
    auto run = RunZor(path + " --frames 3 --dots");
    ASSERT_EQ(run.Status, 0);

    TDisplayEngine engine;
    TRecorder rec;
    engine.SetFrameSink(&rec);
    engine.RunDisplayEngine(Program("F3T0", {"Hi"}), 0, 3);
    std::string expected;
    for (const auto &f : rec.Frames)
        expected += DotsOf(f);
    EXPECT_EQ(run.Output, expected);

    // An empty document has no command part: nothing is simulated.
    WriteProgram(rtf::Write(doc::Document{}));
    run = RunZor(path + " --dots");
    EXPECT_EQ(run.Status, 0);
    EXPECT_TRUE(run.Output.empty());
}

TEST_F(SimulateTool, RefusesBadArguments)
{
    const std::string p = WriteProgram(Program("T0", {"Hi"}));
    EXPECT_EQ(RunZor("").Status, 2);
    EXPECT_EQ(RunZor("--program " + p + " --frames 0").Status, 2);
    EXPECT_EQ(RunZor("--program " + p + " --frames x").Status, 2);
    EXPECT_EQ(RunZor("--program " + p + " --clock 2026-13-01T00:00:00").Status, 2);
    EXPECT_EQ(RunZor("--program " + p + " --bogus").Status, 2);
    EXPECT_EQ(RunZor("--program " + p + " --gif").Status, 2);
    EXPECT_NE(RunZor("--program /nonexistent/program").Status, 0);
    EXPECT_NE(RunZor("--program " + p + " --gif /nonexistent/folder/a.gif").Status, 0);
}

TEST_F(SimulateTool, FrameCountsPastTheBoundsAreRefusedAndNothingIsWritten)
{
    const std::string p = WriteProgram(Program("T0", {"Hi"}));
    const std::filesystem::path gif = Path.string() + ".gif";
    auto run = [](const std::string &arguments) {
        std::string output;
        FILE *pipe =
            popen((std::string(ZOR_TOOL_PATH) + " simulate " + arguments + " 2>&1").c_str(), "r");
        char buffer[4096];
        std::size_t n;
        while (pipe && (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
            output.append(buffer, n);
        const int status = pipe ? pclose(pipe) : -1;
        return std::pair{WIFEXITED(status) ? WEXITSTATUS(status) : -1, output};
    };
    auto [status, output] = run("--program " + p + " --frames 90001");
    EXPECT_EQ(status, 2);
    EXPECT_NE(output.find("from 1 to 90000"), std::string::npos) << output;

    std::tie(status, output) = run("--program " + p + " --frames 15001 --gif " + gif.string());
    EXPECT_EQ(status, 2);
    EXPECT_NE(output.find("at most 15000 frames"), std::string::npos) << output;
    EXPECT_FALSE(std::filesystem::exists(gif));
}

} // namespace
} // namespace zor::test
