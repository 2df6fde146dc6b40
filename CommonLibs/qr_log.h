// Levelled logging to one file shared by every thread.
//
// A line is "MM/DD/YYYY hh:mm:ss TAG[ tid] LEVELNAME text \n". A 20-character
// mask of '0' and '1' decides per level whether a line is composed at all:
// test qr_log_enabled(level) (or use TRV_LOG) before building the text.
// Until set_log_file_fd() is called, lines go to the standard output.
#pragma once

#include <cstdio>
#include <sstream>
#include <string>

enum qr_errlevel {
    qr_Emergency = 0,
    qr_Alert = 1,
    qr_Critical = 2,
    qr_Error = 3,
    qr_Warning = 4,
    qr_Notice = 5,
    qr_Info = 6,
    qr_Debug = 7,
    qr_Debug_1 = 8,
    qr_Debug_2 = 9,
    qr_Statistic = 10,
};

// A copy of the 20-character mask; character L is '1' when level L is on.
std::string get_errormask();
bool qr_log_enabled(int level);
// Levels up to `level` on, the rest off (unsigned comparison: negative = all on).
void set_errorlevel(qr_errlevel level);
void set_errorlevel(int level);
// Character 0 becomes '1'; character i takes text[i-1] where the text has it,
// else the built-in mask's character.
void set_errorlevel(const char* text);

// The level's name padded to nine characters, or "unknown  ".
const char* get_log_message(int level);

FILE* get_log_file_fd();
// Swaps the log stream; the caller opens and closes files. Safe while other
// threads log: no line is written to a stream being replaced.
void set_log_file_fd(FILE* file);

// Writes one line whatever the mask says; never throws.
void qr_print2log(int level, const std::string& text);
void qr_print2log(int level, const std::ostringstream& text);

// Writes one untagged line straight to the log's descriptor without taking
// a lock or allocating: the only form a signal handler may use.
void qr_print2log_from_signal(int level, const char* text);

// The calling thread's tag, shown before the id in its lines.
void SetThreadLogTag(const std::string& tag);
void ClearThreadLogTag();

class qr_thread_log_tag {
public:
    explicit qr_thread_log_tag(const std::string& tag) { SetThreadLogTag(tag); }
    ~qr_thread_log_tag() { ClearThreadLogTag(); }
    qr_thread_log_tag(const qr_thread_log_tag&) = delete;
    qr_thread_log_tag& operator=(const qr_thread_log_tag&) = delete;
};

// Composes and writes a line only when its level is on:
//   TRV_LOG(qr_Error, "Cannot open " << path);
#define TRV_LOG(level, expr)                                   \
    do {                                                       \
        if (qr_log_enabled(level)) {                           \
            std::ostringstream trv_log_text_;                  \
            trv_log_text_ << expr;                             \
            qr_print2log((level), trv_log_text_);              \
        }                                                      \
    } while (0)
