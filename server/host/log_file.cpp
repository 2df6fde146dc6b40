#include "log_file.h"

#include "qr_log.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <thread>

namespace {

std::mutex& FileMutex()
{
    static std::mutex m;
    return m;
}

FILE* g_log_file = nullptr;  // guarded by FileMutex()
std::string g_log_name;      // of g_log_file, empty without one; guarded by FileMutex()

bool OpenLocked(const std::string& name)
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

void CloseLocked()
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
    std::lock_guard<std::mutex> hold(FileMutex());
    return OpenLocked(name);
}

bool ReopenLogFile(const std::string& name)
{
    std::lock_guard<std::mutex> hold(FileMutex());
    CloseLocked();
    return OpenLocked(name);
}

void CloseLogFile()
{
    std::lock_guard<std::mutex> hold(FileMutex());
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

void StartLogTrimThread(const LogTrimParams& params)
{
    std::thread([params] {
        const long long limit = static_cast<long long>(params.max_log_size_mb) * 1000000LL;
        for (;;) {
            std::this_thread::sleep_for(std::chrono::milliseconds(params.period_ms));
            // The file being logged to now: SETSERVERINFO may have moved the log.
            std::lock_guard<std::mutex> hold(FileMutex());
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
    }).detach();
}
