#include "qr_strings.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

namespace {

char upper(char c)
{
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

std::string month_day_year_now()
{
    time_t now = std::time(nullptr);
    struct tm local {};
    localtime_r(&now, &local);
    char text[64];
    std::snprintf(text, sizeof text, "%02d/%02d/%04d %02d:%02d:%02d", local.tm_mon + 1,
                  local.tm_mday, local.tm_year + 1900, local.tm_hour, local.tm_min,
                  local.tm_sec);
    return text;
}

}  // namespace

void ToUpper(std::string& text)
{
    for (char& c : text)
        c = upper(c);
}

void TrimLeft(std::string& text)
{
    text.erase(0, text.find_first_not_of(' '));
}

void TrimRight(std::string& text)
{
    size_t last = text.find_last_not_of(' ');
    text.erase(last == std::string::npos ? 0 : last + 1);
}

void Trim(std::string& text)
{
    TrimLeft(text);
    TrimRight(text);
}

void ReplaceChar(std::string& text, char from, char to)
{
    std::replace(text.begin(), text.end(), from, to);
}

void RemoveChar(std::string& text, char c)
{
    text.erase(std::remove(text.begin(), text.end(), c), text.end());
}

void RemoveBlanks(std::string& text)
{
    RemoveChar(text, ' ');
}

void ReplaceFirst(std::string& text, const std::string& what, const std::string& with)
{
    size_t at = text.find(what);
    if (at != std::string::npos)
        text.replace(at, what.size(), with);
}

void SplitAtLast(std::string& text, std::string& rest, char c)
{
    size_t at = text.rfind(c);
    if (at == std::string::npos)
        return;
    rest = text.substr(at + 1);
    text.erase(at);
}

std::string UpperOutsideQuotes(std::string& text)
{
    bool inside = false;
    for (char& c : text) {
        if (c == '"' || c == '\'')
            inside = !inside;
        else if (!inside)
            c = upper(c);
    }
    return text;
}

std::string NextToken(std::string& text, const std::string& separator, bool quotes)
{
    size_t at = std::string::npos;
    if (!quotes) {
        at = text.find(separator);
    } else if (!separator.empty()) {
        bool inside = false;
        for (size_t i = 0; i < text.size(); ++i) {
            if (text[i] == '"')
                inside = !inside;
            else if (!inside && text[i] == separator[0]) {
                at = i;
                break;
            }
        }
    }
    std::string token;
    if (at == std::string::npos) {
        token.swap(text);
    } else {
        token = text.substr(0, at);
        text.erase(0, at + separator.size());
    }
    return token;
}

bool IsNumber(const std::string& text)
{
    return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::string CopyString(const std::string& text)
{
    return text;
}

int64_t RoundToInt64(double x)
{
    // Converting a value outside the 64-bit range is undefined; saturate
    // instead, and treat a NaN as zero.
    if (std::isnan(x))
        return 0;
    if (x >= 9223372036854775807.0)
        return std::numeric_limits<int64_t>::max();
    if (x <= -9223372036854775808.0)
        return std::numeric_limits<int64_t>::min();
    int64_t whole = static_cast<int64_t>(x);
    if (x - static_cast<double>(whole) >= 0.5)
        ++whole;
    return whole;
}

std::string Int64ToString(int64_t value)
{
    return std::to_string(value);
}

std::string FormatTimeStamp()
{
    return month_day_year_now();
}

std::string CurrentDateText()
{
    return month_day_year_now();
}

std::string FormatDateTime(time_t t)
{
    if (t == -1)
        return std::string();
    struct tm local {};
    char text[64];
    if (localtime_r(&t, &local) == nullptr) {
        std::snprintf(text, sizeof text, "INCORRECT TIME VALUE [%llX].",
                      static_cast<unsigned long long>(t));
        return text;
    }
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
    return text;
}

bool IsEmptyIP(const std::string& address)
{
    return address.empty() || address == "0.0.0.0";
}
