// The connection log: the console's own log of its server traffic, written
// through the common log into a file of the user's choosing, with a watch
// thread that cuts the file from the front when it grows above its maximum.
// The settings live in the console settings document, section
// "ConnectionLink".
//
// The link owns one CConnectionLog; Start, Stop and the settings are for the
// GUI thread, and the settings may be changed only while the log is stopped
// (the options page stops it, stores, and starts it again). The watch thread
// and the stopping thread share only the state word, under m_.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <cstdio>
#include <mutex>
#include <string>

class TiXmlElement;

struct TConnectionLogSettings {
    std::string file_name;               // LOGFILE
    std::FILE* file = nullptr;           // the open file while running
    std::uint32_t max_size = 10000000;   // MAX_LOG_SIZE_BT, bytes
    int cut_percent = 50;                // LOG_CUT_PERC: removed from the front at a cut
    int level = 7;                       // LOG_LEVEL of the common log, 0..10
    int state = 2;                       // 2 not running, 0 running, else a stop request
};

class CConnectionLog {
public:
    // `watch_step_ms`: the watch thread checks the file every 20 steps (10 s
    // with the default); tests make it short.
    explicit CConnectionLog(int watch_step_ms = 500);
    ~CConnectionLog();  // stops the log
    CConnectionLog(const CConnectionLog&) = delete;
    CConnectionLog& operator=(const CConnectionLog&) = delete;

    TConnectionLogSettings& Settings() { return settings_; }

    // Loads or saves the four keys in the section "ConnectionLink" under the
    // settings root (created when saving). A level of 0 loads as 7.
    void SerializeSettings(bool save, TiXmlElement* settings_root);
    // 0 when the log runs, 1 when its file could not be opened.
    int Start();
    // 0, or 1 when it was not running. The common log goes back to the
    // standard error stream and the file is closed.
    int Stop();
    bool Running();
    // Waits until the watch thread has checked the file's size `count` times
    // since the start (for tests; a check need not lead to a cut).
    bool WaitForChecks(int count, int seconds);

    // The watch thread's body; `log` is the CConnectionLog.
    static void LogWatchThread(void* log);

private:
    void Watch();
    void Cut();

    const int step_ms_;
    TConnectionLogSettings settings_;
    std::mutex m_;                 // guards settings_.state and checks_
    int checks_ = 0;
    std::condition_variable cv_;
};

// Removes `percent` per cent of the file's bytes from its front (the integer
// part of size x percent x 0.01; percent is held to 0..100). The cut text is
// written to a new file first, which then replaces the old one: a failure
// leaves the old file as it was. False when nothing was changed.
bool CutLogFile(const std::string& file_name, float percent);
