#include "connection_log.h"

#include "qr_exception.h"
#include "qr_log.h"
#include "qr_thread.h"
#include "xml_settings.h"

#include <chrono>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

CConnectionLog::CConnectionLog(int watch_step_ms) : step_ms_(watch_step_ms) {}

CConnectionLog::~CConnectionLog()
{
    Stop();
}

void CConnectionLog::SerializeSettings(bool save, TiXmlElement* settings_root)
{
    TiXmlElement* section = XmlSettingsNode(save, settings_root, "ConnectionLink");
    if (!section)
        return;
    XmlSettingString(save, section, "LOGFILE", settings_.file_name);
    XmlSettingULong(save, section, "MAX_LOG_SIZE_BT", settings_.max_size);
    XmlSettingInt(save, section, "LOG_CUT_PERC", settings_.cut_percent);
    XmlSettingInt(save, section, "LOG_LEVEL", settings_.level);
    if (!save && settings_.level == 0)
        settings_.level = 7;
}

bool CConnectionLog::Running()
{
    std::lock_guard<std::mutex> lock(m_);
    return settings_.state == 0;
}

bool CConnectionLog::WaitForChecks(int count, int seconds)
{
    std::unique_lock<std::mutex> lock(m_);
    return cv_.wait_for(lock, std::chrono::seconds(seconds), [&] { return checks_ >= count; });
}

int CConnectionLog::Start()
{
    {
        std::lock_guard<std::mutex> lock(m_);
        if (settings_.state != 2)
            return 0;  // running already
        checks_ = 0;
    }
    settings_.file = settings_.file_name.empty() ? nullptr : std::fopen(settings_.file_name.c_str(), "a");
    if (!settings_.file)
        return 1;
    set_log_file_fd(settings_.file);
    set_errorlevel(settings_.level);
    {
        std::lock_guard<std::mutex> lock(m_);
        settings_.state = 0;
    }
    try {
        qr_thread_create(&CConnectionLog::LogWatchThread, this);
    } catch (const qr_exception_t& e) {
        // The log runs on, only never cut.
        TRV_LOG(qr_Error, "The connection log's watch thread did not start: " << e.message());
        std::lock_guard<std::mutex> lock(m_);
        settings_.state = 3;  // no thread to acknowledge a stop
    }
    TRV_LOG(qr_Notice, "Log was started.");
    return 0;
}

int CConnectionLog::Stop()
{
    {
        std::unique_lock<std::mutex> lock(m_);
        if (settings_.state == 2)
            return 1;
        const bool watched = settings_.state == 0;
        lock.unlock();
        TRV_LOG(qr_Notice, "Log was stopped");
        lock.lock();
        if (watched) {
            settings_.state = 1;
            cv_.notify_all();
            cv_.wait(lock, [this] { return settings_.state == 0; });
        }
        settings_.state = 2;
    }
    // Swapped under the common log's own lock: no line is being written to
    // the file when it is closed.
    set_log_file_fd(stderr);
    if (settings_.file)
        std::fclose(settings_.file);
    settings_.file = nullptr;
    return 0;
}

void CConnectionLog::LogWatchThread(void* log)
{
    static_cast<CConnectionLog*>(log)->Watch();
}

void CConnectionLog::Watch()
{
    for (;;) {
        {
            std::unique_lock<std::mutex> lock(m_);
            const auto stop_requested = [this] { return settings_.state != 0; };
            for (int i = 0; i < 20; ++i) {
                if (cv_.wait_for(lock, std::chrono::milliseconds(step_ms_), stop_requested)) {
                    // Acknowledge; the stopper may go on (and destroy us)
                    // once the lock is released.
                    settings_.state = 0;
                    cv_.notify_all();
                    return;
                }
            }
        }
        std::error_code ec;
        const std::uintmax_t size = std::filesystem::file_size(settings_.file_name, ec);
        // Unsigned: a maximum of 2 GB or more is a size, not a negative number.
        if (!ec && size > settings_.max_size)
            Cut();
        std::lock_guard<std::mutex> lock(m_);
        ++checks_;
        cv_.notify_all();
    }
}

void CConnectionLog::Cut()
{
    // Lines of other threads go to the standard error stream meanwhile.
    set_log_file_fd(stderr);
    if (settings_.file)
        std::fclose(settings_.file);
    CutLogFile(settings_.file_name, static_cast<float>(settings_.cut_percent));
    settings_.file = std::fopen(settings_.file_name.c_str(), "a");
    if (!settings_.file) {
        TRV_LOG(qr_Error, "The connection log " << settings_.file_name
                                                << " could not be opened again after its cut; logging to the "
                                                   "standard error stream");
        return;
    }
    set_log_file_fd(settings_.file);
    TRV_LOG(qr_Notice, "Log was truncated");
}

bool CutLogFile(const std::string& file_name, float percent)
{
    std::ifstream in(file_name, std::ios::binary);
    if (!in)
        return false;
    const std::string content((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    in.close();
    if (!(percent >= 0.0f))
        percent = 0.0f;  // also NaN
    if (percent > 100.0f)
        percent = 100.0f;
    std::size_t cut = static_cast<std::size_t>(std::floor(static_cast<double>(content.size()) * percent * 0.01));
    if (cut > content.size())
        cut = content.size();

    const std::string cut_name = file_name + ".cut";
    {
        std::ofstream out(cut_name, std::ios::binary | std::ios::trunc);
        out.write(content.data() + cut, static_cast<std::streamsize>(content.size() - cut));
        out.close();
        if (!out) {
            std::error_code ignored;
            std::filesystem::remove(cut_name, ignored);
            TRV_LOG(qr_Error, "The connection log " << file_name << " was not cut: " << cut_name
                                                    << " could not be written");
            return false;
        }
    }
    std::error_code ec;
    std::filesystem::rename(cut_name, file_name, ec);
    if (ec) {
        std::error_code ignored;
        std::filesystem::remove(cut_name, ignored);
        TRV_LOG(qr_Error, "The connection log " << file_name << " was not cut: " << ec.message());
        return false;
    }
    return true;
}
