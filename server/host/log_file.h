// The server's log file: opening it, swapping it while other threads log,
// and the trimming thread that cuts its front once it grows too large.
//
// The open log FILE and the trimming thread are owned here; every swap goes
// through set_log_file_fd, which no line being written can race, and is
// serialised by this file's own mutex. Any thread may call these functions;
// the trimming thread is started and stopped by the program's main thread.
#pragma once

#include <string>

struct LogTrimParams {
    std::string name;
    int max_log_size_mb;    // above 0, or no trimming
    int log_cut_perc;       // 0..100
    int period_ms = 10000;  // how often the size is looked at
};

// Opens `name` for appending and logs to it; false (logging stays on the
// standard output) when it cannot be opened.
bool OpenLogFile(const std::string& name);
// Closes the log FILE, logs to the standard output, then opens `name`.
bool ReopenLogFile(const std::string& name);
// Logs to the standard output and closes the log FILE.
void CloseLogFile();
// Starts the trimming thread: every `period_ms` (10 s), the file being
// logged to at that moment (not `params.name`, which is the start-up one),
// when it is above the limit, loses its first `log_cut_perc` percent.
// Nothing when it already runs.
void StartLogTrimThread(const LogTrimParams& params);
// Tells the trimming thread to end and waits for it; nothing when none runs.
// A trim under way is finished first.
void StopLogTrimThread();
// Cuts the front `percent` of the file (clamped to 0..100). The kept tail is
// written to a new file that replaces the old one, so a failure never loses
// the whole log.
void TrimLogFile(const std::string& name, int percent);
