// Linked into every test program: gives it TRV_SOURCE_DIR and TRV_BINARY_DIR
// in its environment (and its children's) however ctest started it.
//
// The server's log goes to a file of the test process rather than to its
// output, so a failure's own messages are not lost among thousands of log
// lines: a failed test prints only the last lines the log got while it ran,
// and a program whose tests all passed removes its log file.
// TRV_TEST_LOG=stdout keeps the log on the standard output.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <filesystem>
#include <string>
#include <unistd.h>

// Present when the program links the common library's log; a weak reference
// does not pull the log into programs that never use it.
void set_log_file_fd(FILE* file) __attribute__((weak));

namespace {

constexpr size_t TailLines = 80;

class LogToFile : public ::testing::EmptyTestEventListener {
public:
    void OnTestProgramStart(const ::testing::UnitTest&) override
    {
        const char* mode = std::getenv("TRV_TEST_LOG");
        if (!set_log_file_fd || (mode && std::strcmp(mode, "stdout") == 0))
            return;
        std::string folder = std::string(TRV_TEST_BINARY_DIR) + "/tests/logs";
        std::error_code ignored;
        std::filesystem::create_directories(folder, ignored);
        char exe[4096];
        ssize_t n = ::readlink("/proc/self/exe", exe, sizeof exe - 1);
        std::string name = n > 0 ? std::string(exe, static_cast<size_t>(n)) : std::string("test");
        name = name.substr(name.rfind('/') + 1);
        path_ = folder + "/" + name + "-" + std::to_string(::getpid()) + ".log";
        file_ = std::fopen(path_.c_str(), "a");
        if (file_)
            set_log_file_fd(file_);
    }

    void OnTestStart(const ::testing::TestInfo&) override
    {
        if (!file_)
            return;
        start_ = LogSize();
    }

    void OnTestEnd(const ::testing::TestInfo& info) override
    {
        if (!file_ || !info.result()->Failed())
            return;
        failed_ = true;
        const long end = LogSize();
        // A reader of its own: threads a test left behind may still write
        // through the log's stream.
        std::deque<std::string> tail;
        size_t skipped = 0;
        if (FILE* in = std::fopen(path_.c_str(), "r")) {
            if (start_ >= 0 && std::fseek(in, start_, SEEK_SET) == 0) {
                std::string line;
                int c;
                long at = start_;
                while (at < end && (c = std::fgetc(in)) != EOF) {
                    ++at;
                    line.push_back(static_cast<char>(c));
                    if (c != '\n')
                        continue;
                    tail.push_back(std::move(line));
                    line.clear();
                    if (tail.size() > TailLines) {
                        tail.pop_front();
                        ++skipped;
                    }
                }
            }
            std::fclose(in);
        }
        std::printf("---- the log of this test: %zu lines before these left out (all in %s) ----\n", skipped,
                    path_.c_str());
        for (const std::string& l : tail)
            std::fputs(l.c_str(), stdout);
        std::printf("---- end of the log ----\n");
        std::fflush(stdout);
    }

    void OnTestProgramEnd(const ::testing::UnitTest& unit) override
    {
        if (!file_)
            return;
        if (!failed_ && unit.Passed())
            std::remove(path_.c_str());
    }

private:
    long LogSize()
    {
        std::fflush(file_);
        std::error_code ignored;
        const auto size = std::filesystem::file_size(path_, ignored);
        return ignored ? -1 : static_cast<long>(size);
    }

    std::string path_;
    FILE* file_ = nullptr;  // stays open: threads left by a test may still log
    long start_ = -1;
    bool failed_ = false;
};

struct TestEnvironment {
    TestEnvironment()
    {
        setenv("TRV_SOURCE_DIR", TRV_TEST_SOURCE_DIR, 0);
        setenv("TRV_BINARY_DIR", TRV_TEST_BINARY_DIR, 0);
        ::testing::UnitTest::GetInstance()->listeners().Append(new LogToFile);
    }
} test_environment;

}  // namespace
