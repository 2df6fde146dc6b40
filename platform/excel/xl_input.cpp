#include "xl_input.h"

#include <cctype>
#include <cmath>
#include <cstdlib>

namespace xl {
namespace {

struct Cursor {
    const std::string& s;
    size_t i = 0;
    bool End() const { return i >= s.size(); }
    char Peek() const { return End() ? '\0' : s[i]; }
    bool Take(char c) {
        if (Peek() != c) return false;
        ++i;
        return true;
    }
    void SkipSpaces() {
        while (Peek() == ' ') ++i;
    }
    // Digits as a number; count gets how many (none: false).
    bool Digits(long long& value, int& count) {
        value = 0;
        count = 0;
        while (std::isdigit(static_cast<unsigned char>(Peek()))) {
            if (count < 12) value = value * 10 + (s[i] - '0');
            ++count;
            ++i;
        }
        return count > 0;
    }
};

bool IsDigit(char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; }

std::string Trim(const std::string& s) {
    size_t b = s.find_first_not_of(' ');
    if (b == std::string::npos) return std::string();
    size_t e = s.find_last_not_of(' ');
    return s.substr(b, e - b + 1);
}

bool EqualsNoCase(const std::string& a, const char* b) {
    size_t n = 0;
    for (; b[n]; ++n)
        if (n >= a.size() || std::toupper(static_cast<unsigned char>(a[n])) != b[n]) return false;
    return n == a.size();
}

// [sign] digits with optional comma groups of three, [. digits], [E [sign] digits], [%].
bool ParseNumber(const std::string& t, TypedValue& out) {
    std::string plain;
    size_t i = 0;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) plain += t[i++];
    size_t intStart = i;
    int groupDigits = -1;  // digits since the last comma, -1 before any comma
    while (i < t.size() && (IsDigit(t[i]) || t[i] == ',')) {
        if (t[i] == ',') {
            if (i == intStart || (groupDigits >= 0 && groupDigits != 3)) return false;
            if (groupDigits < 0 && i - intStart > 3) return false;
            groupDigits = 0;
        } else {
            plain += t[i];
            if (groupDigits >= 0) ++groupDigits;
        }
        ++i;
    }
    if (groupDigits >= 0 && groupDigits != 3) return false;
    bool anyDigit = i > intStart;
    if (i < t.size() && t[i] == '.') {
        plain += t[i++];
        while (i < t.size() && IsDigit(t[i])) {
            plain += t[i++];
            anyDigit = true;
        }
    }
    if (!anyDigit) return false;
    if (i < t.size() && (t[i] == 'e' || t[i] == 'E')) {
        plain += 'e';
        ++i;
        if (i < t.size() && (t[i] == '+' || t[i] == '-')) plain += t[i++];
        size_t e = i;
        while (i < t.size() && IsDigit(t[i])) plain += t[i++];
        if (i == e) return false;
    }
    bool percent = i < t.size() && t[i] == '%';
    if (percent) ++i;
    if (i != t.size()) return false;
    char* end = nullptr;
    double v = std::strtod(plain.c_str(), &end);
    if (!end || *end != '\0' || !std::isfinite(v)) return false;
    out.kind = TypedValue::NUMBER;
    out.number = percent ? v / 100 : v;
    out.numFormat = percent ? (plain.find('.') != std::string::npos ? "0.00%" : "0%") : std::string();
    return true;
}

// h:mm[:ss[.fff]] [AM|PM]; sets the fraction of a day and the format shown.
bool ParseTime(Cursor& c, double& fraction, std::string& format) {
    long long h, m, sec = 0;
    int n;
    if (!c.Digits(h, n) || n > 2 || !c.Take(':') || !c.Digits(m, n) || n != 2 || m > 59) return false;
    bool seconds = false;
    double frac = 0;
    if (c.Take(':')) {
        if (!c.Digits(sec, n) || n != 2 || sec > 59) return false;
        seconds = true;
        if (c.Take('.')) {
            long long f;
            if (!c.Digits(f, n)) return false;
            frac = f / std::pow(10.0, n < 12 ? n : 12);
        }
    }
    size_t mark = c.i;
    c.SkipSpaces();
    bool pm = false, ampm = false;
    if (c.s.size() - c.i >= 2) {
        std::string tail = c.s.substr(c.i, 2);
        if (EqualsNoCase(tail, "AM") || EqualsNoCase(tail, "PM")) {
            ampm = true;
            pm = EqualsNoCase(tail, "PM");
            c.i += 2;
        }
    }
    if (!ampm) c.i = mark;
    if (ampm) {
        if (h < 1 || h > 12) return false;
        h = h % 12 + (pm ? 12 : 0);
    } else if (h > 23) {
        return false;
    }
    fraction = (h * 3600 + m * 60 + sec + frac) / 86400.0;
    format = std::string("h:mm") + (seconds ? ":ss" : "") + (ampm ? " AM/PM" : "");
    return true;
}

// m/d/yyyy, m/d/yy or yyyy-mm-dd (or yyyy/mm/dd); sets the serial day.
bool ParseDate(Cursor& c, double& serial) {
    long long a, b, y;
    int na, nb, ny;
    if (!c.Digits(a, na)) return false;
    char sep = c.Peek();
    if (sep != '/' && sep != '-') return false;
    ++c.i;
    if (!c.Digits(b, nb) || !c.Take(sep) || !c.Digits(y, ny)) return false;
    int year, month, day;
    if (na == 4) {  // year first
        if (nb > 2 || ny > 2) return false;
        year = int(a), month = int(b), day = int(y);
    } else {
        if (sep != '/' || na > 2 || nb > 2 || (ny != 2 && ny != 4)) return false;
        year = int(y), month = int(a), day = int(b);
        if (ny == 2) year += year < 30 ? 2000 : 1900;
    }
    serial = DateSerial(year, month, day);
    return serial >= 0;
}

}  // namespace

double DateSerial(int year, int month, int day) {
    if (year < 1900 || year > 9999 || month < 1 || month > 12 || day < 1) return -1;
    static const int lengths[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    int length = lengths[month - 1] + (month == 2 && leap ? 1 : 0);
    if (day > length) return -1;
    // Days from 1899-12-30 (civil-from-days arithmetic); the 1900 system
    // counts a 29 February 1900 that never was, so dates before March 1900
    // are one lower.
    auto days = [](long y, long m, long d) {
        y -= m <= 2;
        long era = y / 400;
        long yoe = y - era * 400;
        long doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
        long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
        return era * 146097 + doe;
    };
    double serial = double(days(year, month, day) - days(1899, 12, 30));
    if (serial < 61) serial -= 1;
    return serial;
}

TypedValue ParseInput(const std::string& utf8) {
    TypedValue out;
    if (utf8.empty()) return out;
    if (utf8[0] == '\'') {
        out.kind = TypedValue::TEXT;
        out.text = utf8.substr(1);
        return out;
    }
    out.kind = TypedValue::TEXT;
    out.text = utf8;
    const std::string t = Trim(utf8);
    if (t.empty() || t[0] == '=') return out;
    if (EqualsNoCase(t, "TRUE") || EqualsNoCase(t, "FALSE")) {
        out.kind = TypedValue::BOOLEAN;
        out.number = EqualsNoCase(t, "TRUE") ? 1 : 0;
        out.text.clear();
        return out;
    }
    TypedValue number;
    if (ParseNumber(t, number)) return number;

    Cursor c{t};
    double serial = 0, fraction = 0;
    std::string timeFormat;
    if (ParseDate(c, serial)) {
        c.SkipSpaces();
        if (!c.End()) {
            if (!ParseTime(c, fraction, timeFormat)) return out;
        }
        if (!c.End()) return out;
        TypedValue date;
        date.kind = TypedValue::NUMBER;
        date.number = serial + fraction;
        date.numFormat = timeFormat.empty() ? "m/d/yyyy" : "m/d/yyyy " + timeFormat;
        return date;
    }
    c.i = 0;
    if (ParseTime(c, fraction, timeFormat) && c.End()) {
        TypedValue time;
        time.kind = TypedValue::NUMBER;
        time.number = fraction;
        time.numFormat = timeFormat;
        return time;
    }
    return out;
}

}  // namespace xl
