// The log-trimming thread: it trims the file being logged to and ends, joined,
// when the server stops, so nothing of it is left running at exit.
#include "blocked_thread.h"
#include "log_file.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <thread>

namespace {

// The threads of the process now. A sanitizer starts a helper thread with
// the first thread the program starts: WarmUp has it started before counting.
std::size_t ThreadCount()
{
    std::size_t count = 0;
    for ([[maybe_unused]] const auto& task : std::filesystem::directory_iterator("/proc/self/task"))
        ++count;
    return count;
}

void WarmUp()
{
    std::thread([] {}).join();
}

}  // namespace

TEST(LogTrimThread, TrimsTheLogThenEndsWhenStopped)
{
    TempDir dir;
    const std::string name = dir.file("server.log");
    ASSERT_TRUE(OpenLogFile(name));
    {
        std::ofstream log(name, std::ios::app);
        log << "HEAD-MARK\n" << std::string(1200000, 'x') << "\nTAIL-MARK\n";
    }
    WarmUp();
    const std::size_t before = ThreadCount();
    StartLogTrimThread({name, 1, 50, 1});
    ASSERT_TRUE(trvtest::poll_until([&] { return std::filesystem::file_size(name) < 1000000; }));
    const std::string text = ReadWholeFile(name);
    EXPECT_EQ(text.find("HEAD-MARK"), std::string::npos);
    EXPECT_NE(text.find("TAIL-MARK"), std::string::npos);
    EXPECT_EQ(ThreadCount(), before + 1);

    StopLogTrimThread();
    EXPECT_EQ(ThreadCount(), before);
    StopLogTrimThread();  // a second stop finds nothing to do
    CloseLogFile();
}

TEST(LogTrimThread, StopDoesNotWaitForThePeriod)
{
    TempDir dir;
    WarmUp();
    const std::size_t before = ThreadCount();
    // A day between looks: only the stop can end the thread in time.
    StartLogTrimThread({dir.file("server.log"), 1, 50, 24 * 3600 * 1000});
    StartLogTrimThread({dir.file("server.log"), 1, 50, 1});  // already running: no second thread
    EXPECT_EQ(ThreadCount(), before + 1);
    StopLogTrimThread();
    EXPECT_EQ(ThreadCount(), before);
}
