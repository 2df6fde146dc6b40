#include "qr_log.h"

#include "qr_thread.h"

#include <array>
#include <atomic>
#include <ctime>
#include <mutex>
#include <shared_mutex>
#include <utility>
#include <vector>

namespace {

constexpr char kBuiltInMask[] = "11111111100000000000";
constexpr int kMaskLength = 20;

// Read without a lock on every line; relaxed atomics keep that race-free.
struct Mask {
    std::array<std::atomic<char>, kMaskLength> chars;
    Mask()
    {
        for (int i = 0; i < kMaskLength; ++i)
            chars[i].store(kBuiltInMask[i], std::memory_order_relaxed);
    }
};

std::array<std::atomic<char>, kMaskLength>& mask()
{
    static Mask m;
    return m.chars;
}

// Guards the stream pointer: lines hold it shared, a swap holds it exclusive.
std::shared_mutex& stream_lock()
{
    static std::shared_mutex m;
    return m;
}
FILE* g_log_file = nullptr;  // guarded by stream_lock(); null means stdout

// Thread tags, one entry per thread, searched from the front.
std::mutex& tag_lock()
{
    static std::mutex m;
    return m;
}
std::vector<std::pair<int, std::string>>& tags()  // guarded by tag_lock()
{
    static std::vector<std::pair<int, std::string>> t;
    return t;
}

std::string tag_of(int tid)
{
    std::lock_guard<std::mutex> lk(tag_lock());
    for (const auto& entry : tags())
        if (entry.first == tid)
            return entry.second;
    return std::string();
}

}  // namespace

std::string get_errormask()
{
    std::string out(kMaskLength, '0');
    for (int i = 0; i < kMaskLength; ++i)
        out[i] = mask()[i].load(std::memory_order_relaxed);
    return out;
}

bool qr_log_enabled(int level)
{
    if (level < 0 || level >= kMaskLength)
        return false;
    return mask()[level].load(std::memory_order_relaxed) == '1';
}

void set_errorlevel(int level)
{
    unsigned limit = static_cast<unsigned>(level);
    for (int i = 0; i < kMaskLength; ++i)
        mask()[i].store(static_cast<unsigned>(i) <= limit ? '1' : '0', std::memory_order_relaxed);
}

void set_errorlevel(qr_errlevel level)
{
    set_errorlevel(static_cast<int>(level));
}

void set_errorlevel(const char* text)
{
    std::string t = text ? text : "";
    mask()[0].store('1', std::memory_order_relaxed);
    for (int i = 1; i < kMaskLength; ++i) {
        char c = static_cast<size_t>(i) < t.size() ? t[i - 1] : kBuiltInMask[i];
        mask()[i].store(c, std::memory_order_relaxed);
    }
}

const char* get_log_message(int level)
{
    static const char* const names[] = {"Emergrncy", "Alert    ", "Critical ", "Error    ",
                                        "Warning  ", "Notice   ", "Info     ", "Debug    ",
                                        "Debug_1  ", "Debug_2  ", "Statistic"};
    if (level < 0 || level > 10)
        return "unknown  ";
    return names[level];
}

FILE* get_log_file_fd()
{
    std::shared_lock<std::shared_mutex> lk(stream_lock());
    return g_log_file ? g_log_file : stdout;
}

void set_log_file_fd(FILE* file)
{
    std::unique_lock<std::shared_mutex> lk(stream_lock());
    g_log_file = file;
}

void qr_print2log(int level, const std::string& text)
{
    time_t now = time(nullptr);
    struct tm local;
    if (!localtime_r(&now, &local))
        return;
    int tid = qr_thread_getid();
    std::string tag = tag_of(tid);

    std::shared_lock<std::shared_mutex> lk(stream_lock());
    FILE* out = g_log_file ? g_log_file : stdout;
    // One formatted write keeps the line whole under the stream's own lock.
    std::fprintf(out, "%02d/%02d/%04d %02d:%02d:%02d %s[%4d] %s %s \n", local.tm_mon + 1, local.tm_mday,
                 local.tm_year + 1900, local.tm_hour, local.tm_min, local.tm_sec, tag.c_str(), tid,
                 get_log_message(level), text.c_str());
    std::fflush(out);
}

void qr_print2log(int level, const std::ostringstream& text)
{
    qr_print2log(level, text.str());
}

void SetThreadLogTag(const std::string& tag)
{
    int tid = qr_thread_getid();
    std::lock_guard<std::mutex> lk(tag_lock());
    for (auto& entry : tags()) {
        if (entry.first == tid) {
            entry.second = tag;
            return;
        }
    }
    tags().emplace_back(tid, tag);
}

void ClearThreadLogTag()
{
    int tid = qr_thread_getid();
    std::lock_guard<std::mutex> lk(tag_lock());
    auto& t = tags();
    for (auto it = t.begin(); it != t.end(); ++it) {
        if (it->first == tid) {
            t.erase(it);
            return;
        }
    }
}
