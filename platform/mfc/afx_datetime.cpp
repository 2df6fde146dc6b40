#include "afx_datetime.h"

#include <oleauto.h>

#include <cmath>

namespace {

// A DATE before 1899-12-30 counts its time part forwards from a negative day
// (-1.25 is 1899-12-29 06:00): arithmetic happens on a linear value.
double linearFromDate(DATE dt) {
    if (dt >= 0) return dt;
    const double day = std::ceil(dt);
    return day - (dt - day);
}

DATE dateFromLinear(double l) {
    if (l >= 0) return l;
    const double day = std::floor(l);
    return day - (l - day);
}

bool toSystemTime(const COleDateTime& d, SYSTEMTIME& st) {
    if (d.GetStatus() != COleDateTime::valid) return false;
    // Round to the nearest second first: VariantTimeToSystemTime truncates.
    const double secs = std::round(linearFromDate(d.m_dt) * 86400.0);
    return VariantTimeToSystemTime(dateFromLinear(secs / 86400.0), &st) != 0;
}

}  // namespace

COleDateTimeSpan::COleDateTimeSpan(LONG lDays, int nHours, int nMins, int nSecs) {
    SetDateTimeSpan(lDays, nHours, nMins, nSecs);
}

void COleDateTimeSpan::SetDateTimeSpan(LONG lDays, int nHours, int nMins, int nSecs) {
    m_span = lDays + ((nHours * 60.0 + nMins) * 60.0 + nSecs) / 86400.0;
    m_status = valid;
}

COleDateTime::COleDateTime(int nYear, int nMonth, int nDay, int nHour, int nMin, int nSec) {
    SetDateTime(nYear, nMonth, nDay, nHour, nMin, nSec);
}

COleDateTime::COleDateTime(const SYSTEMTIME& st) {
    SYSTEMTIME copy = st;
    copy.wMilliseconds = 0;
    m_status = SystemTimeToVariantTime(&copy, &m_dt) ? valid : invalid;
}

COleDateTime::COleDateTime(const FILETIME& ft) {
    FILETIME local;
    SYSTEMTIME st;
    if (FileTimeToLocalFileTime(&ft, &local) && FileTimeToSystemTime(&local, &st))
        *this = COleDateTime(st);
    else
        m_status = invalid;
}

COleDateTime::COleDateTime(__time64_t timeSrc) {
    std::tm tm{};
    if (_localtime64_s(&tm, &timeSrc) != 0)
        m_status = invalid;
    else
        SetDateTime(tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec);
}

COleDateTime WINAPI COleDateTime::GetCurrentTime() {
    SYSTEMTIME st;
    GetLocalTime(&st);
    return COleDateTime(st);
}

int COleDateTime::SetDateTime(int nYear, int nMonth, int nDay, int nHour, int nMin, int nSec) {
    static const int days[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (nYear % 4 == 0 && nYear % 100 != 0) || nYear % 400 == 0;
    const bool ok = nYear >= 100 && nYear <= 9999 && nMonth >= 1 && nMonth <= 12 && nDay >= 1 &&
                    nDay <= (nMonth == 2 && !leap ? 28 : days[nMonth - 1]) && nHour >= 0 && nHour <= 23 &&
                    nMin >= 0 && nMin <= 59 && nSec >= 0 && nSec <= 59;
    if (!ok) {
        m_dt = 0;
        m_status = invalid;
        return 0;
    }
    SYSTEMTIME st{};
    st.wYear = WORD(nYear);
    st.wMonth = WORD(nMonth);
    st.wDay = WORD(nDay);
    st.wHour = WORD(nHour);
    st.wMinute = WORD(nMin);
    st.wSecond = WORD(nSec);
    m_status = SystemTimeToVariantTime(&st, &m_dt) ? valid : invalid;
    return m_status == valid;
}

BOOL COleDateTime::GetAsSystemTime(SYSTEMTIME& sysTime) const { return toSystemTime(*this, sysTime); }

int COleDateTime::GetYear() const {
    SYSTEMTIME st;
    return toSystemTime(*this, st) ? st.wYear : AFX_OLE_DATETIME_ERROR;
}
int COleDateTime::GetMonth() const {
    SYSTEMTIME st;
    return toSystemTime(*this, st) ? st.wMonth : AFX_OLE_DATETIME_ERROR;
}
int COleDateTime::GetDay() const {
    SYSTEMTIME st;
    return toSystemTime(*this, st) ? st.wDay : AFX_OLE_DATETIME_ERROR;
}
int COleDateTime::GetHour() const {
    SYSTEMTIME st;
    return toSystemTime(*this, st) ? st.wHour : AFX_OLE_DATETIME_ERROR;
}
int COleDateTime::GetMinute() const {
    SYSTEMTIME st;
    return toSystemTime(*this, st) ? st.wMinute : AFX_OLE_DATETIME_ERROR;
}
int COleDateTime::GetSecond() const {
    SYSTEMTIME st;
    return toSystemTime(*this, st) ? st.wSecond : AFX_OLE_DATETIME_ERROR;
}
int COleDateTime::GetDayOfWeek() const {
    SYSTEMTIME st;
    return toSystemTime(*this, st) ? st.wDayOfWeek + 1 : AFX_OLE_DATETIME_ERROR;
}
int COleDateTime::GetDayOfYear() const {
    SYSTEMTIME st;
    if (!toSystemTime(*this, st)) return AFX_OLE_DATETIME_ERROR;
    const COleDateTime jan1(st.wYear, 1, 1, 0, 0, 0);
    return int(std::floor(linearFromDate(m_dt)) - std::floor(linearFromDate(jan1.m_dt))) + 1;
}

COleDateTime COleDateTime::operator+(const COleDateTimeSpan& span) const {
    if (m_status != valid || span.m_status != COleDateTimeSpan::valid) {
        COleDateTime r;
        r.m_status = m_status != valid ? m_status : invalid;
        return r;
    }
    return COleDateTime(dateFromLinear(linearFromDate(m_dt) + span.m_span));
}

COleDateTime COleDateTime::operator-(const COleDateTimeSpan& span) const { return *this + (-span); }

COleDateTimeSpan COleDateTime::operator-(const COleDateTime& date) const {
    COleDateTimeSpan r(linearFromDate(m_dt) - linearFromDate(date.m_dt));
    if (m_status != valid || date.m_status != valid) r.m_status = COleDateTimeSpan::invalid;
    return r;
}

bool COleDateTime::operator<(const COleDateTime& o) const {
    return linearFromDate(m_dt) < linearFromDate(o.m_dt);
}

CString COleDateTime::Format(LPCSTR pFormat) const {
    SYSTEMTIME st;
    if (!toSystemTime(*this, st)) return CString(m_status == null ? "" : "Invalid DateTime");
    std::tm tm{};
    tm.tm_year = st.wYear - 1900;
    tm.tm_mon = st.wMonth - 1;
    tm.tm_mday = st.wDay;
    tm.tm_hour = st.wHour;
    tm.tm_min = st.wMinute;
    tm.tm_sec = st.wSecond;
    tm.tm_wday = st.wDayOfWeek;
    tm.tm_yday = GetDayOfYear() - 1;
    tm.tm_isdst = -1;
    char buf[256];
    const size_t n = std::strftime(buf, sizeof(buf), pFormat, &tm);
    return CString(buf, int(n));
}

CTime::CTime(int nYear, int nMonth, int nDay, int nHour, int nMin, int nSec, int nDST) {
    std::tm tm{};
    tm.tm_year = nYear - 1900;
    tm.tm_mon = nMonth - 1;
    tm.tm_mday = nDay;
    tm.tm_hour = nHour;
    tm.tm_min = nMin;
    tm.tm_sec = nSec;
    tm.tm_isdst = nDST;
    m_time = _mktime64(&tm);
    if (m_time == -1) AfxThrowInvalidArgException();
}

CTime::CTime(const SYSTEMTIME& st, int nDST)
    : CTime(st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond, nDST) {}

CTime WINAPI CTime::GetCurrentTime() { return CTime(_time64(nullptr)); }

std::tm CTime::Local() const {
    std::tm tm{};
    if (_localtime64_s(&tm, &m_time) != 0) AfxThrowInvalidArgException();
    return tm;
}

CString CTime::Format(LPCSTR pFormat) const {
    const std::tm tm = Local();
    char buf[256];
    const size_t n = std::strftime(buf, sizeof(buf), pFormat, &tm);
    return CString(buf, int(n));
}
