// What a spreadsheet makes of a text put into a cell, as when a user types it
// (en-US conventions): a number, a percentage, a date, a time, a date with a
// time, a truth value, or else the text itself. Dates and times become serial
// day numbers (day 1 = 1900-01-01, fractions for the time of day) with a
// number format that shows them as typed. Plain functions, any thread.
#pragma once

#include <string>

namespace xl {

struct TypedValue {
    enum Kind { EMPTY, TEXT, NUMBER, BOOLEAN };
    Kind kind = EMPTY;
    std::string text;        // TEXT: the text (UTF-8)
    double number = 0;       // NUMBER: the value; BOOLEAN: 0 or 1
    std::string numFormat;   // NUMBER: a number format to show it with, empty for General
};

// The value a cell takes when the text is entered. A leading apostrophe keeps
// the rest as text; a leading '=' stays text too (no formulas are computed here).
TypedValue ParseInput(const std::string& utf8);

// Serial day number of a date (1900 date system), or -1 when the date is not
// a valid one from 1900-01-01 to 9999-12-31.
double DateSerial(int year, int month, int day);

}  // namespace xl
