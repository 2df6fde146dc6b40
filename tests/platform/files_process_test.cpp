// The platform's file copies and program runs: results and the failure text
// the caller logs.
#include "files.h"
#include "process.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <thread>
#include <vector>

TEST(PlatformFiles, ConcurrentWholeCopiesPlaceTheFileOnce)
{
    TempDir dir;
    const std::string from = dir.file("template.db");
    const std::string to = dir.file("copy.db");
    WriteWholeFile(from, std::string(300000, 'd'));
    constexpr int copies = 4;
    bool placed[copies] = {};
    bool ok[copies] = {};
    std::vector<std::thread> threads;
    for (int i = 0; i < copies; ++i)
        threads.emplace_back([&, i] {
            std::string error;
            ok[i] = CopyFileWhole(from, to, placed[i], error);
        });
    for (std::thread& t : threads)
        t.join();
    int placers = 0;
    for (int i = 0; i < copies; ++i) {
        EXPECT_TRUE(ok[i]);
        placers += placed[i] ? 1 : 0;
    }
    EXPECT_EQ(placers, 1);
    EXPECT_EQ(ReadWholeFile(to), ReadWholeFile(from));
    // No temporary file is left beside the copy.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 2);
}

TEST(PlatformFiles, FailuresNameTheFileAndTheCause)
{
    TempDir dir;
    std::string error;
    bool placed = true;
    EXPECT_FALSE(CopyFileWhole(dir.file("absent"), dir.file("to"), placed, error));
    EXPECT_FALSE(placed);
    EXPECT_EQ(error, "Cannot open " + dir.file("absent") + ": No such file or directory");
    EXPECT_FALSE(CopyFileOver(dir.file("absent"), dir.file("to"), error));
    EXPECT_EQ(error.rfind("cannot copy " + dir.file("absent") + ": ", 0), 0u) << error;

    EXPECT_TRUE(RemoveFileIfPresent(dir.file("absent"), error));
    std::filesystem::create_directory(dir.file("folder"));
    WriteWholeFile(dir.file("folder/inside"), "x");
    EXPECT_FALSE(RemoveFileIfPresent(dir.file("folder"), error));
    EXPECT_EQ(error.rfind("Cannot remove " + dir.file("folder") + ": ", 0), 0u) << error;

    std::uint64_t size = 0;
    WriteWholeFile(dir.file("five"), "12345");
    ASSERT_TRUE(FileSize(dir.file("five"), size));
    EXPECT_EQ(size, 5u);
    EXPECT_FALSE(FileSize(dir.file("absent"), size));
}

TEST(PlatformProcess, RunQuietlyGivesTheExitCodeOrWhyItCouldNotRun)
{
    struct Case {
        std::vector<std::string> arguments;
        bool started;
        int exit_code;
    };
    const Case cases[] = {
        {{"true"}, true, 0},
        {{"sh", "-c", "echo noise; echo more >&2; exit 7"}, true, 7},
        {{"sh", "-c", "kill -9 $$"}, true, -1},
        {{"trv-no-such-program"}, false, -1},
    };
    for (const Case& c : cases) {
        int exit_code = 99;
        std::string error;
        EXPECT_EQ(RunQuietly(c.arguments, exit_code, error), c.started) << c.arguments.back();
        EXPECT_EQ(exit_code, c.exit_code) << c.arguments.back();
        if (!c.started) {
            EXPECT_EQ(error, "Cannot run trv-no-such-program: No such file or directory");
        }
    }
}
