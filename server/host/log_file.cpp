#include "log_file.h"

#include "qr_log.h"
#include "qr_sync.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <thread>

namespace {

qr_mutex& FileMutex()
{
    static qr_mutex m;
    return m;
}

FILE* g_log_file GUARDED_BY(FileMutex()) = nullptr;
std::string g_log_name GUARDED_BY(FileMutex());  // of g_log_file, empty without one

bool OpenLocked(const std::string& name) REQUIRES(FileMutex())
{
    FILE* file = std::fopen(name.c_str(), "a");
    if (file == nullptr)
        return false;
    std::setvbuf(file, nullptr, _IOLBF, 0);
    set_log_file_fd(file);
    g_log_file = file;
    g_log_name = name;
    return true;
}

void CloseLocked() REQUIRES(FileMutex())
{
    if (g_log_file == nullptr)
        return;
    set_log_file_fd(nullptr);
    std::fclose(g_log_file);
    g_log_file = nullptr;
    g_log_name.clear();
}

}  // namespace

bool OpenLogFile(const std::string& name)
{
    qr_automutex hold(FileMutex());
    return OpenLocked(name);
}

bool ReopenLogFile(const std::string& name)
{
    qr_automutex hold(FileMutex());
    CloseLocked();
    return OpenLocked(name);
}

void CloseLogFile()
{
    qr_automutex hold(FileMutex());
    CloseLocked();
}

void TrimLogFile(const std::string& name, int percent)
{
    if (percent < 0)
        percent = 0;
    if (percent > 100)
        percent = 100;
    std::ifstream in(name, std::ios::binary);
    if (!in)
        return;
    in.seekg(0, std::ios::end);
    const long long size = static_cast<long long>(in.tellg());
    const long long cut = static_cast<long long>(static_cast<double>(size) * percent * 0.01);
    in.seekg(cut);
    const std::string part = name + ".trim";
    {
        std::ofstream out(part, std::ios::binary | std::ios::trunc);
        out << in.rdbuf();
        if (!out && size > cut) {
            std::error_code ignored;
            std::filesystem::remove(part, ignored);
            return;
        }
    }
    std::error_code ec;
    std::filesystem::rename(part, name, ec);
}

namespace {

struct TrimThread {
    qr_semaphore stop{0};  // posted once to end the thread
    std::thread thread;
};

// Started and stopped by the main thread only, which stops it before the
// process ends.
std::unique_ptr<TrimThread> g_trim;

void TrimLoop(const LogTrimParams& params, qr_semaphore& stop)
{
    const long long limit = static_cast<long long>(params.max_log_size_mb) * 1000000LL;
    while (!stop.wait_for_ms(params.period_ms)) {
        // The file being logged to now: SETSERVERINFO may have moved the log.
        qr_automutex hold(FileMutex());
        const std::string name = g_log_name;
        if (name.empty())
            continue;
        std::error_code ec;
        const auto size = std::filesystem::file_size(name, ec);
        if (ec || static_cast<long long>(size) <= limit)
            continue;
        CloseLocked();
        TrimLogFile(name, params.log_cut_perc);
        OpenLocked(name);
    }
}

}  // namespace

void StartLogTrimThread(const LogTrimParams& params)
{
    if (g_trim)
        return;
    auto trim = std::make_unique<TrimThread>();
    trim->thread = std::thread(TrimLoop, params, std::ref(trim->stop));
    g_trim = std::move(trim);
}

void StopLogTrimThread()
{
    if (!g_trim)
        return;
    g_trim->stop.post();
    g_trim->thread.join();
    g_trim.reset();
}
