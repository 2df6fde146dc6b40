// Dates and times: COleDateTime (days since 1899-12-30 as a double, with a
// status; a date that is not valid answers -1 to every part query),
// COleDateTimeSpan (days as a double) and CTime (seconds since 1970 in
// local time). Values; any thread.
#pragma once

#include <ctime>

#include "afx_exceptions.h"

#define AFX_OLE_DATETIME_ERROR (-1)

class TRVMFC_API COleDateTimeSpan {
public:
    enum DateTimeSpanStatus { valid = 0, invalid = 1, null = 2 };
    COleDateTimeSpan() = default;
    COleDateTimeSpan(double dblSpanSrc) : m_span(dblSpanSrc) {}
    COleDateTimeSpan(LONG lDays, int nHours, int nMins, int nSecs);
    void SetDateTimeSpan(LONG lDays, int nHours, int nMins, int nSecs);
    double GetTotalDays() const { return m_span; }
    double GetTotalHours() const { return m_span * 24; }
    double GetTotalMinutes() const { return m_span * 24 * 60; }
    double GetTotalSeconds() const { return m_span * 24 * 60 * 60; }
    LONG GetDays() const { return LONG(m_span); }
    DateTimeSpanStatus GetStatus() const { return m_status; }
    void SetStatus(DateTimeSpanStatus s) { m_status = s; }
    operator double() const { return m_span; }
    COleDateTimeSpan operator+(const COleDateTimeSpan& o) const { return m_span + o.m_span; }
    COleDateTimeSpan operator-(const COleDateTimeSpan& o) const { return m_span - o.m_span; }
    COleDateTimeSpan operator-() const { return -m_span; }

    double m_span = 0;
    DateTimeSpanStatus m_status = valid;
};

class TRVMFC_API COleDateTime {
public:
    enum DateTimeStatus { error = -1, valid = 0, invalid = 1, null = 2 };

    COleDateTime() = default;
    COleDateTime(DATE dtSrc) : m_dt(dtSrc) {}
    COleDateTime(int nYear, int nMonth, int nDay, int nHour, int nMin, int nSec);
    COleDateTime(const SYSTEMTIME& systimeSrc);
    COleDateTime(const FILETIME& filetimeSrc);  // UTC file time, converted to local
    COleDateTime(__time64_t timeSrc);            // seconds since 1970, converted to local

    static COleDateTime WINAPI GetCurrentTime();  // local time

    DateTimeStatus GetStatus() const { return m_status; }
    void SetStatus(DateTimeStatus status) { m_status = status; }
    // Each answers 0 and marks the value invalid on an impossible date.
    int SetDateTime(int nYear, int nMonth, int nDay, int nHour, int nMin, int nSec);
    int SetDate(int nYear, int nMonth, int nDay) { return SetDateTime(nYear, nMonth, nDay, 0, 0, 0); }
    int SetTime(int nHour, int nMin, int nSec) { return SetDateTime(1899, 12, 30, nHour, nMin, nSec); }

    BOOL GetAsSystemTime(SYSTEMTIME& sysTime) const;
    int GetYear() const;
    int GetMonth() const;
    int GetDay() const;
    int GetHour() const;
    int GetMinute() const;
    int GetSecond() const;
    int GetDayOfWeek() const;  // 1 = Sunday
    int GetDayOfYear() const;  // 1 = January 1st

    operator DATE() const { return m_dt; }
    COleDateTime operator+(const COleDateTimeSpan& span) const;
    COleDateTime operator-(const COleDateTimeSpan& span) const;
    COleDateTime& operator+=(const COleDateTimeSpan& span) { return *this = *this + span; }
    COleDateTime& operator-=(const COleDateTimeSpan& span) { return *this = *this - span; }
    COleDateTimeSpan operator-(const COleDateTime& date) const;
    bool operator==(const COleDateTime& o) const { return m_status == o.m_status && m_dt == o.m_dt; }
    bool operator!=(const COleDateTime& o) const { return !(*this == o); }
    bool operator<(const COleDateTime& o) const;
    bool operator>(const COleDateTime& o) const { return o < *this; }
    bool operator<=(const COleDateTime& o) const { return !(o < *this); }
    bool operator>=(const COleDateTime& o) const { return !(*this < o); }

    // strftime-style format of the local date and time.
    CString Format(LPCSTR pFormat) const;

    DATE m_dt = 0;
    DateTimeStatus m_status = valid;
};

class TRVMFC_API CTime {
public:
    CTime() = default;
    CTime(__time64_t time) : m_time(time) {}
    CTime(int nYear, int nMonth, int nDay, int nHour, int nMin, int nSec, int nDST = -1);
    CTime(const SYSTEMTIME& st, int nDST = -1);
    static CTime WINAPI GetCurrentTime();
    __time64_t GetTime() const { return m_time; }
    int GetYear() const { return Local().tm_year + 1900; }
    int GetMonth() const { return Local().tm_mon + 1; }
    int GetDay() const { return Local().tm_mday; }
    int GetHour() const { return Local().tm_hour; }
    int GetMinute() const { return Local().tm_min; }
    int GetSecond() const { return Local().tm_sec; }
    int GetDayOfWeek() const { return Local().tm_wday + 1; }
    CString Format(LPCSTR pFormat) const;
    bool operator==(CTime o) const { return m_time == o.m_time; }
    bool operator!=(CTime o) const { return m_time != o.m_time; }
    bool operator<(CTime o) const { return m_time < o.m_time; }
    bool operator>(CTime o) const { return m_time > o.m_time; }
    bool operator<=(CTime o) const { return m_time <= o.m_time; }
    bool operator>=(CTime o) const { return m_time >= o.m_time; }

private:
    std::tm Local() const;
    __time64_t m_time = 0;
};
