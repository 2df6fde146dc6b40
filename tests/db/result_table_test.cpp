#include "qr_db_data.h"

#include <gtest/gtest.h>

TEST(DbColumn, GettersReadEmptyAndNullTextAsTheirNeutralValues)
{
    DB_COLUMN c;
    c.Append("");
    c.Append("NULL");
    c.Append("42");
    c.Append("0");
    c.Append("-7.5");
    EXPECT_EQ(c.GetLong(0), 0);
    EXPECT_EQ(c.GetInt(0), -1);
    EXPECT_EQ(c.GetInt(1), -1);
    EXPECT_EQ(c.GetIntOrNull(1), -1);
    EXPECT_EQ(c.GetInt(2), 42);
    EXPECT_EQ(c.GetIntOrNull(3), 0);
    EXPECT_DOUBLE_EQ(c.GetDouble(0), -1.0);
    EXPECT_DOUBLE_EQ(c.GetDoubleRaw(0), 0.0);
    EXPECT_DOUBLE_EQ(c.GetDouble(4), -7.5);
    EXPECT_TRUE(c.GetBool(0));
    EXPECT_TRUE(c.GetBool(2));
    EXPECT_FALSE(c.GetBool(3));
    EXPECT_EQ(c.GetString(1), "");
    EXPECT_STREQ(c.GetCString(1), "");
    EXPECT_EQ(c.GetString(2), "42");
    EXPECT_EQ(c.GetTime(0), -1);
    EXPECT_EQ(c.GetTime(1), -1);
}

TEST(DbColumn, TimeReadsDatabaseTimestampsAsLocalTime)
{
    DB_COLUMN c;
    c.Append("2026-03-04 05:06:07.123");
    struct tm t = {};
    t.tm_year = 126;
    t.tm_mon = 2;
    t.tm_mday = 4;
    t.tm_hour = 5;
    t.tm_min = 6;
    t.tm_sec = 7;
    t.tm_isdst = -1;
    EXPECT_EQ(c.GetTime(0), mktime(&t));
}

TEST(DbData, ColumnsAreFoundIgnoringCaseAndUnknownNamesAddEmptyColumns)
{
    DB_DATA d;
    EXPECT_EQ(d.RowCount(), 0);
    d.Column("NetAddr").Append("10.0.0.1");
    d.Column("netaddr").Append("10.0.0.2");
    EXPECT_EQ(d.ColumnCount(), 1);
    EXPECT_EQ(d.Column("NETADDR").GetString(1), "10.0.0.2");
    EXPECT_FALSE(d.HasColumn("uid"));
    d.Column("uid");
    EXPECT_TRUE(d.HasColumn("UID"));
    EXPECT_EQ(d.RowCount(), 2);  // still the first column's
    DB_DATA copy = d;
    copy.Column("NetAddr").Append("x");
    EXPECT_EQ(d.RowCount(), 2);
    EXPECT_EQ(copy.RowCount(), 3);
}
