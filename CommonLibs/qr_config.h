// Configuration sections and the parser of date-time texts.
//
// A section object is built on one thread and afterwards only read, by any
// number of threads at once; nothing locks it.
#pragma once

#include <ctime>
#include <string>

// "YYYY-MM-DD hh:mm:ss." in local time. "NULL" and the empty text give -1
// silently; any other text without six numbers in that form logs an Error
// line and gives -1.
time_t ParseDateTime(const std::string& text);
