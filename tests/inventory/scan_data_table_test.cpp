#include "scan_data_table.h"

#include <gtest/gtest.h>

namespace {

ScanColumn column(std::vector<std::string> values, int index = -1, std::string name = "")
{
    ScanColumn c;
    c.values = std::move(values);
    c.set_index(index);
    c.name = std::move(name);
    return c;
}

ScanDataTable table(std::vector<std::vector<std::string>> cols)
{
    ScanDataTable t;
    for (auto& v : cols)
        t.add_column(column(std::move(v)));
    return t;
}

TEST(ScanDataTable, FreshObjectsAreEmpty)
{
    ScanColumn c;
    EXPECT_EQ(c.get_index(), -1);
    EXPECT_EQ(c.get_name(), "");
    EXPECT_TRUE(c.values.empty());
    ScanDataTable t;
    EXPECT_EQ(t.row_count(), 0u);
    EXPECT_EQ(t.value_count(), 0u);
    EXPECT_EQ(t.name, "");
}

TEST(ScanDataTable, RowsAreTheLongestColumnAndMissingValuesReadEmpty)
{
    ScanDataTable t = table({{"a", "b", "c"}, {}, {"1", "2", "3", "4", "5"}});
    EXPECT_EQ(t.row_count(), 5u);
    EXPECT_EQ(t.value_count(), 8u);
    EXPECT_EQ(t.columns[0].value_at(2), "c");
    EXPECT_EQ(t.columns[0].value_at(4), "");
    EXPECT_EQ(t.columns[1].value_at(0), "");
}

TEST(ScanDataTable, ResizeOnlyGrows)
{
    ScanDataTable t = table({{"a"}, {"b"}, {"c"}, {"d"}});
    t.resize_columns(2);
    ASSERT_EQ(t.columns.size(), 4u);
    EXPECT_EQ(t.columns[3].values[0], "d");

    t.resize_columns(6);
    ASSERT_EQ(t.columns.size(), 6u);
    EXPECT_EQ(t.columns[5].get_index(), -1);
    EXPECT_TRUE(t.columns[5].values.empty());
    EXPECT_EQ(t.columns[0].values[0], "a");
}

TEST(ScanDataTable, AppendColumnsCopiesInOrderIncludingIndexAndName)
{
    ScanDataTable a = table({{"1"}});
    ScanDataTable b;
    b.add_column(column({"x", "y"}, 7, "ifDescr"));
    b.add_column(column({"z"}));
    a.append_columns(b);
    ASSERT_EQ(a.columns.size(), 3u);
    EXPECT_EQ(a.columns[1].values, (std::vector<std::string>{"x", "y"}));
    EXPECT_EQ(a.columns[1].get_index(), 7);
    EXPECT_EQ(a.columns[1].get_name(), "ifDescr");
    EXPECT_EQ(a.columns[2].values[0], "z");
    b.columns[0].values[0] = "changed";
    EXPECT_EQ(a.columns[1].values[0], "x");

    a.append_columns(a);  // onto itself: doubles, no dangling reads
    ASSERT_EQ(a.columns.size(), 6u);
    EXPECT_EQ(a.columns[4].values[0], "x");
}

TEST(ScanDataTable, AssignIntoEmptyTableCopiesValues)
{
    ScanDataTable src = table({{"a", "b"}, {}, {"c"}});
    ScanDataTable dst;
    dst.assign_columns(src);
    ASSERT_EQ(dst.columns.size(), 3u);
    for (size_t c = 0; c < 3; ++c)
        EXPECT_EQ(dst.columns[c].values, src.columns[c].values) << "column " << c;
}

// Merge rules in one table: per cell, this table's non-empty value wins, an empty
// or missing value takes other's, and whatever lies beyond other is untouched.
TEST(ScanDataTable, AssignNeverOverwritesPresentValues)
{
    struct Case {
        const char* what;
        std::vector<std::vector<std::string>> mine, theirs, expected;
    } cases[] = {
        {"empty cell filled, present kept", {{"a", ""}}, {{"x", "y", "z"}}, {{"a", "y", "z"}}},
        {"longer own column keeps its tail", {{"", "b", "c", "d"}}, {{"x"}}, {{"x", "b", "c", "d"}}},
        {"own extra columns untouched", {{"a"}, {"", "q"}}, {{"x"}}, {{"a"}, {"", "q"}}},
        {"missing columns added", {{"a"}}, {{"x"}, {"y1", ""}, {"z"}}, {{"a"}, {"y1", ""}, {"z"}}},
        {"empty over empty stays empty", {{""}}, {{"", ""}}, {{"", ""}}},
        {"present over empty stays", {{"a", "b"}}, {{"", ""}}, {{"a", "b"}}},
    };
    for (const Case& c : cases) {
        ScanDataTable t = table(c.mine);
        t.assign_columns(table(c.theirs));
        ASSERT_EQ(t.columns.size(), c.expected.size()) << c.what;
        for (size_t i = 0; i < c.expected.size(); ++i)
            EXPECT_EQ(t.columns[i].values, c.expected[i]) << c.what << ", column " << i;
    }
}

TEST(ScanDataTable, AssignKeepsOwnIndexAndName)
{
    ScanDataTable t;
    t.add_column(column({""}, 3, "mine"));
    ScanDataTable o;
    o.add_column(column({"v"}, 9, "theirs"));
    t.assign_columns(o);
    EXPECT_EQ(t.columns[0].values[0], "v");
    EXPECT_EQ(t.columns[0].get_index(), 3);
    EXPECT_EQ(t.columns[0].get_name(), "mine");
}

}  // namespace
