// Dates as days since 1899-12-30: conversions, whole-day arithmetic across
// the zero day, status handling; CTime stamps.
#include <string>

#include "afx.h"
#include "wtest.h"

WTEST(dates_are_days_since_1899_12_30) {
    struct Case {
        int y, mo, d, h, mi;
        double dt;
    };
    const Case cases[] = {
        {1899, 12, 30, 0, 0, 0.0},     {1900, 1, 1, 0, 0, 2.0},      {2000, 1, 1, 0, 0, 36526.0},
        {2000, 1, 1, 18, 0, 36526.75}, {1899, 12, 29, 6, 0, -1.25},  {1800, 1, 1, 12, 0, -36522.5},
    };
    for (const Case& c : cases) {
        const COleDateTime t(c.y, c.mo, c.d, c.h, c.mi, 0);
        WCHECK(t.GetStatus() == COleDateTime::valid);
        WCHECK_EQ(t.m_dt, c.dt);
        const COleDateTime back(c.dt);
        WCHECK_EQ(back.GetYear() * 10000 + back.GetMonth() * 100 + back.GetDay(), c.y * 10000 + c.mo * 100 + c.d);
        WCHECK_EQ(back.GetHour() * 100 + back.GetMinute(), c.h * 100 + c.mi);
    }
}

WTEST(whole_day_arithmetic) {
    const COleDateTimeSpan day(1, 0, 0, 0);
    struct Case {
        COleDateTime from;
        int days;
        COleDateTime want;
    };
    const Case cases[] = {
        {COleDateTime(2024, 2, 28, 10, 30, 0), 1, COleDateTime(2024, 2, 29, 10, 30, 0)},
        {COleDateTime(2024, 2, 28, 10, 30, 0), 2, COleDateTime(2024, 3, 1, 10, 30, 0)},
        {COleDateTime(1899, 12, 29, 6, 0, 0), 1, COleDateTime(1899, 12, 30, 6, 0, 0)},
        {COleDateTime(1899, 12, 30, 6, 0, 0), -2, COleDateTime(1899, 12, 28, 6, 0, 0)},
    };
    for (const Case& c : cases) {
        COleDateTime t = c.from;
        for (int i = 0; i < (c.days < 0 ? -c.days : c.days); ++i) t = c.days < 0 ? t - day : t + day;
        WCHECK_EQ(t.m_dt, c.want.m_dt);
        WCHECK_EQ((t - c.from).GetTotalDays(), double(c.days));
    }
    WCHECK(COleDateTime(1899, 12, 29, 23, 0, 0) < COleDateTime(1899, 12, 30, 1, 0, 0));
    WCHECK(COleDateTime(1899, 12, 29, 6, 0, 0) > COleDateTime(1899, 12, 29, 5, 0, 0));
    const COleDateTime thu(2026, 12, 10, 0, 0, 0);
    WCHECK_EQ(thu.GetDayOfWeek(), 5);  // Thursday; 1 is Sunday
    WCHECK_EQ(COleDateTime(2024, 3, 1, 0, 0, 0).GetDayOfYear(), 61);
    WCHECK_EQ(std::string(thu.Format("%Y-%m-%d %H:%M")), "2026-12-10 00:00");
}

WTEST(invalid_and_null_dates_answer_minus_one) {
    COleDateTime bad(2023, 2, 29, 0, 0, 0);
    WCHECK(bad.GetStatus() == COleDateTime::invalid);
    COleDateTime empty;
    empty.SetStatus(COleDateTime::null);
    for (const COleDateTime& d : {bad, empty}) {
        WCHECK_EQ(d.GetYear(), -1);
        WCHECK_EQ(d.GetMonth(), -1);
        WCHECK_EQ(d.GetDay(), -1);
        WCHECK((d + COleDateTimeSpan(1.0)).GetStatus() != COleDateTime::valid);
    }
    COleDateTime t;
    WCHECK(!t.SetDate(2024, 13, 1));
    WCHECK(t.GetStatus() == COleDateTime::invalid);
    WCHECK(t.SetDate(2024, 12, 31));
    WCHECK(t.GetStatus() == COleDateTime::valid);
    SYSTEMTIME st{};
    st.wYear = 2025;
    st.wMonth = 6;
    st.wDay = 15;
    st.wHour = 8;
    WCHECK_EQ(COleDateTime(st).GetHour(), 8);
}

WTEST(ctime_stamps_in_local_time) {
    const CTime t(2026, 12, 10, 15, 4, 5);
    WCHECK_EQ(t.GetYear() * 10000 + t.GetMonth() * 100 + t.GetDay(), 20261210);
    WCHECK_EQ(t.GetHour() * 10000 + t.GetMinute() * 100 + t.GetSecond(), 150405);
    WCHECK_EQ(std::string(t.Format("%Y%m%d-%H%M%S")), "20261210-150405");
    WCHECK(CTime(t.GetTime() + 1) > t);
    const COleDateTime ole(t.GetTime());
    WCHECK_EQ(ole.GetHour() * 100 + ole.GetMinute(), 1504);
    WCHECK(CTime::GetCurrentTime().GetYear() >= 2024);
}
