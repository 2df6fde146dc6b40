#include "qr_log.h"

#include "qr_sync.h"
#include "qr_thread.h"

#include <array>
#include <atomic>
#include <ctime>
#include <unistd.h>
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
// The descriptor behind g_log_file, readable without a lock from a signal handler.
std::atomic<int> g_log_fd{1};
// The local zone's offset from UTC as last seen by an ordinary line: a signal
// handler may not call localtime_r (it may allocate while reading the zone).
std::atomic<long> g_utc_offset{0};

// Civil date of a day count since 1970-01-01 (proleptic Gregorian).
void civil_from_days(long days, int& year, int& month, int& day)
{
    days += 719468;
    const long era = (days >= 0 ? days : days - 146096) / 146097;
    const long doe = days - era * 146097;
    const long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const long mp = (5 * doy + 2) / 153;
    day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    year = static_cast<int>(yoe + era * 400 + (month <= 2 ? 1 : 0));
}

// Seconds east of UTC at `now`, `local` being its local time: the local and
// the UTC calendar times of one instant differ by at most a day. Portable
// where struct tm has no tm_gmtoff (the console's Windows build).
long utc_offset_of(time_t now, const struct tm& local)
{
    struct tm utc;
    if (!gmtime_r(&now, &utc))
        return 0;
    long days = local.tm_yday - utc.tm_yday;
    if (local.tm_year != utc.tm_year)
        days = local.tm_year > utc.tm_year ? 1 : -1;
    return days * 86400 + (local.tm_hour - utc.tm_hour) * 3600L + (local.tm_min - utc.tm_min) * 60L +
           (local.tm_sec - utc.tm_sec);
}

// Thread tags, one entry per thread, searched from the front.
qr_mutex& tag_lock()
{
    static qr_mutex m;
    return m;
}
std::vector<std::pair<int, std::string>>& tags() REQUIRES(tag_lock())
{
    static std::vector<std::pair<int, std::string>> t;
    return t;
}

std::string tag_of(int tid)
{
    qr_automutex lk(tag_lock());
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
    if (g_log_file)
        std::fflush(g_log_file);
    time_t now = time(nullptr);
    struct tm local;
    if (localtime_r(&now, &local))
        g_utc_offset.store(utc_offset_of(now, local), std::memory_order_relaxed);
    g_log_file = file;
    g_log_fd.store(file ? fileno(file) : 1, std::memory_order_relaxed);
}

void qr_print2log_from_signal(int level, const char* text)
{
    // No allocation and no lock of ours: the process may have been stopped
    // anywhere, the heap's own lock included.
    long local = static_cast<long>(time(nullptr)) + g_utc_offset.load(std::memory_order_relaxed);
    long days = local >= 0 ? local / 86400 : (local - 86399) / 86400;
    long seconds = local - days * 86400;
    int year, month, day;
    civil_from_days(days, year, month, day);
    char line[256];
    int n = std::snprintf(line, sizeof line, "%02d/%02d/%04d %02ld:%02ld:%02ld [%4d] %s %s \n", month, day, year,
                          seconds / 3600, seconds / 60 % 60, seconds % 60, qr_thread_getid(),
                          get_log_message(level), text);
    if (n > 0) {
        size_t length = static_cast<size_t>(n) < sizeof line ? static_cast<size_t>(n) : sizeof line - 1;
        ssize_t ignored = ::write(g_log_fd.load(std::memory_order_relaxed), line, length);
        (void)ignored;
    }
}

void qr_print2log(int level, const std::string& text)
{
    time_t now = time(nullptr);
    struct tm local;
    if (!localtime_r(&now, &local))
        return;
    g_utc_offset.store(utc_offset_of(now, local), std::memory_order_relaxed);
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
    qr_automutex lk(tag_lock());
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
    qr_automutex lk(tag_lock());
    auto& t = tags();
    for (auto it = t.begin(); it != t.end(); ++it) {
        if (it->first == tid) {
            t.erase(it);
            return;
        }
    }
}
