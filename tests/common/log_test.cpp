#include "qr_log.h"
#include "qr_thread.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iomanip>
#include <regex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace {

// Points the log at a temporary file for one test and reads it back.
class LogFile {
public:
    LogFile()
    {
        file_ = std::tmpfile();
        previous_ = get_log_file_fd();
        set_log_file_fd(file_);
    }
    ~LogFile()
    {
        set_log_file_fd(previous_ == stdout ? nullptr : previous_);
        std::fclose(file_);
    }
    std::vector<std::string> lines()
    {
        std::fflush(file_);
        std::rewind(file_);
        std::vector<std::string> out;
        std::string line;
        int c;
        while ((c = std::fgetc(file_)) != EOF) {
            if (c == '\n') {
                out.push_back(line);
                line.clear();
            } else {
                line.push_back(static_cast<char>(c));
            }
        }
        std::fseek(file_, 0, SEEK_END);
        return out;
    }

private:
    FILE* file_;
    FILE* previous_;
};

}  // namespace

TEST(Log, BuiltInMaskBeforeAnyLevelIsSet)
{
    // A fresh process (re-executed, not forked from this one, whose mask
    // earlier tests may have changed): the mask starts as the built-in one.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            bool ok = get_errormask() == "11111111100000000000" && qr_log_enabled(qr_Debug_1) &&
                      !qr_log_enabled(qr_Debug_2) && !qr_log_enabled(qr_Statistic);
            std::exit(ok ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
}

TEST(Log, SetErrorLevelNumbers)
{
    struct Case {
        int level;
        const char* mask;
    } cases[] = {
        {3, "11110000000000000000"},
        {10, "11111111111000000000"},
        {0, "10000000000000000000"},
        {-1, "11111111111111111111"},
        {19, "11111111111111111111"},
    };
    for (const Case& c : cases) {
        set_errorlevel(c.level);
        EXPECT_EQ(get_errormask(), c.mask) << "level " << c.level;
    }
}

TEST(Log, SetErrorLevelText)
{
    set_errorlevel("0000");
    EXPECT_EQ(get_errormask(), "10001111100000000000");
    set_errorlevel("");
    EXPECT_EQ(get_errormask(), "11111111100000000000");
    set_errorlevel("1111111111111111111111111");
    EXPECT_EQ(get_errormask(), "11111111111111111111");
}

TEST(Log, LevelNames)
{
    EXPECT_STREQ(get_log_message(0), "Emergrncy");
    EXPECT_STREQ(get_log_message(3), "Error    ");
    EXPECT_STREQ(get_log_message(10), "Statistic");
    EXPECT_STREQ(get_log_message(11), "unknown  ");
    EXPECT_STREQ(get_log_message(-1), "unknown  ");
}

TEST(Log, LineFormatWithAndWithoutTag)
{
    LogFile log;
    set_errorlevel(qr_Debug);
    {
        qr_thread_log_tag tag("TRV");
        TRV_LOG(qr_Error, "it's " << 42);
    }
    TRV_LOG(qr_Info, "untagged");
    TRV_LOG(qr_Debug_1, "not composed");

    std::vector<std::string> lines = log.lines();
    ASSERT_EQ(lines.size(), 2u);
    std::string tid = std::to_string(qr_thread_getid());
    std::regex tagged(R"(^\d\d/\d\d/\d{4} \d\d:\d\d:\d\d TRV\[ *)" + tid + R"(\] Error     it's 42 $)");
    std::regex plain(R"(^\d\d/\d\d/\d{4} \d\d:\d\d:\d\d \[ *)" + tid + R"(\] Info      untagged $)");
    EXPECT_TRUE(std::regex_match(lines[0], tagged)) << lines[0];
    EXPECT_TRUE(std::regex_match(lines[1], plain)) << lines[1];
}

TEST(Log, ThreadIdIsPaddedToFourCharacters)
{
    LogFile log;
    qr_print2log(qr_Warning, "x");
    std::vector<std::string> lines = log.lines();
    ASSERT_EQ(lines.size(), 1u);
    char expected[32];
    std::snprintf(expected, sizeof expected, "[%4d] Warning  ", qr_thread_getid());
    EXPECT_NE(lines[0].find(expected), std::string::npos) << lines[0];
}

TEST(Log, TagsArePerThreadAndClearedSafely)
{
    LogFile log;
    ClearThreadLogTag();  // no entry: changes nothing
    SetThreadLogTag("A");
    SetThreadLogTag("B");  // replaces
    std::thread other([] {
        qr_thread_log_tag tag("OTHER");
        qr_print2log(qr_Error, "from other");
    });
    other.join();
    qr_print2log(qr_Error, "from main");
    ClearThreadLogTag();
    qr_print2log(qr_Error, "cleared");

    std::vector<std::string> lines = log.lines();
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_NE(lines[0].find(" OTHER["), std::string::npos) << lines[0];
    EXPECT_NE(lines[1].find(" B["), std::string::npos) << lines[1];
    EXPECT_TRUE(std::regex_search(lines[2], std::regex(R"(\d\d:\d\d:\d\d \[)"))) << "no tag after clearing: " << lines[2];
}

TEST(Log, ManyThreadsKeepLinesWholeWhileTheStreamIsSwapped)
{
    LogFile log;
    set_errorlevel(qr_Info);
    FILE* other = std::tmpfile();
    std::vector<std::thread> threads;
    for (int t = 0; t < 8; ++t) {
        threads.emplace_back([t] {
            qr_thread_log_tag tag("T" + std::to_string(t));
            for (int i = 0; i < 200; ++i)
                TRV_LOG(qr_Info, "line " << i << " of thread " << t);
        });
    }
    // Swap the stream back and forth while lines are written.
    FILE* mine = get_log_file_fd();
    for (int i = 0; i < 50; ++i) {
        set_log_file_fd(other);
        set_log_file_fd(mine);
    }
    for (auto& th : threads)
        th.join();
    std::fflush(other);
    std::rewind(other);
    size_t in_other = 0;
    for (int c; (c = std::fgetc(other)) != EOF;)
        in_other += c == '\n';
    std::fclose(other);
    std::regex shape(R"(^\d\d/\d\d/\d{4} \d\d:\d\d:\d\d T\d\[ *\d+\] Info      line \d+ of thread \d $)");
    std::vector<std::string> lines = log.lines();
    EXPECT_EQ(lines.size() + in_other, 8u * 200u) << "every line lands in one of the two files";
    for (const std::string& line : lines)
        EXPECT_TRUE(std::regex_match(line, shape)) << line;
}

TEST(Log, SignalHandlerLogsAtDebugAndStaysInstalled)
{
    LogFile log;
    set_errorlevel(qr_Debug);
    qr_print2log(qr_Debug, "before");
    std::signal(SIGUSR1, SignalHandler);
    std::raise(SIGUSR1);
    std::raise(SIGUSR1);  // still ours: the default action would end the process
    set_errorlevel(qr_Info);
    std::raise(SIGUSR1);  // Debug off: nothing written
    std::signal(SIGUSR1, SIG_DFL);

    std::vector<std::string> lines = log.lines();
    ASSERT_EQ(lines.size(), 3u);
    std::regex shape(R"(^\d\d/\d\d/\d{4} \d\d:\d\d:\d\d \[ *\d+\] Debug     Signal )" + std::to_string(SIGUSR1) +
                     R"( handled $)");
    auto when = [](const std::string& line) {
        std::tm t{};
        std::istringstream in(line.substr(0, 19));
        in >> std::get_time(&t, "%m/%d/%Y %H:%M:%S");
        t.tm_isdst = -1;
        return std::mktime(&t);
    };
    for (size_t i = 1; i < lines.size(); ++i) {
        EXPECT_TRUE(std::regex_match(lines[i], shape)) << lines[i];
        // The handler's local time agrees with an ordinary line's.
        EXPECT_LE(std::abs(static_cast<long>(when(lines[i]) - when(lines[0]))), 5L) << lines[0] << "\n" << lines[i];
    }
}
