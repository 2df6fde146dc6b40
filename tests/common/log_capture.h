// Points the log at a temporary file for the life of the object and gives
// back what was written meanwhile.
#pragma once

#include "qr_log.h"

#include <cstdio>
#include <string>

class LogCapture {
public:
    LogCapture() : file_(std::tmpfile()), previous_(get_log_file_fd())
    {
        set_log_file_fd(file_);
    }
    ~LogCapture()
    {
        set_log_file_fd(previous_ == stdout ? nullptr : previous_);
        std::fclose(file_);
    }
    LogCapture(const LogCapture&) = delete;
    LogCapture& operator=(const LogCapture&) = delete;

    std::string text()
    {
        std::fflush(file_);
        std::rewind(file_);
        std::string out;
        int c;
        while ((c = std::fgetc(file_)) != EOF)
            out.push_back(static_cast<char>(c));
        return out;
    }

private:
    FILE* file_;
    FILE* previous_;
};
