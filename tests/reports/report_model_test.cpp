// The in-memory steps of a report: the host filter in the query, units by
// caption words, sorted rows, the grouping tree and its output rows, and the
// parsing of a report definition's lists.
#include "report_thread.h"

#include <gtest/gtest.h>

namespace {

IntArray ints(std::initializer_list<int> values)
{
    IntArray a;
    for (int v : values)
        a.Add(v);
    return a;
}

TEST(ReportModel, HostFilterReplacesTheMarker)
{
    struct Case {
        const char* query;
        IntArray hosts;
        const char* expected;
    } cases[] = {
        {"SELECT a FROM t WHERE x=1 ##", ints({5, 7}), "SELECT a FROM t WHERE x=1  AND  ( ScanSummaryData.host_id IN (5,7)) "},
        {"SELECT a FROM t WHERE #", ints({5}), "SELECT a FROM t WHERE  ( ScanSummaryData.host_id IN (5)) "},
        {"SELECT a FROM t WHERE # ORDER BY a", ints({1, 2, 3}),
         "SELECT a FROM t WHERE  ( ScanSummaryData.host_id IN (1,2,3))  ORDER BY a"},
        // Only the first marker is replaced; a leading one never.
        {"#SELECT", ints({5}), "#SELECT"},
        {"SELECT a FROM t", ints({5}), "SELECT a FROM t"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(insert_host_filter(c.query, c.hosts), c.expected) << c.query;
}

TEST(ReportModel, UnitsFollowWholeCaptionWords)
{
    struct Case {
        const char* caption;
        const char* value;
        const char* expected;
    } cases[] = {
        {"Memory KB", "2097152", "2048"},
        {"Size, mb", "3145727", "2"},  // truncated, not rounded
        {"Disk (GB)", "2147483648", "2"},
        {"Clock MHz", "2400000000", "2400"},
        {"Bus kHz", "1999", "1"},
        {"CPU GHZ", "3000000000", "3"},
        {"Memory KB", "-2048", "-2"},
        {"Memory KB", "", ""},
        {"Serial Number", "1048576", "1048576"},  // NUMBER holds MB, but is no unit
        {"KBytes", "4096", "4096"},
        {"Bandwidth", "1000", "1000"},
        {"Memory KB", "not a number", "0"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(report_unit_value(c.caption, c.value), c.expected) << c.caption << " " << c.value;
}

tgDArray<std::string> row(std::initializer_list<const char*> values)
{
    tgDArray<std::string> r;
    for (const char* v : values)
        r.Add(v);
    return r;
}

TEST(ReportModel, RowsSortByFirstValueKeepingArrivalOrder)
{
    CDataTable table;
    for (auto r : {row({"b", "1"}), row({"a", "2"}), row({"b", "3"}), row({"", "4"}), row({"ab", "5"}),
                   row({"\xc3\xa9", "6"}), row({"a", "7"})})
        table.add_row(r);
    std::vector<std::string> order;
    for (const auto& r : table)
        order.push_back(r[1]);
    // Byte-wise: the empty text first, a prefix before its longer texts, bytes above 127 last.
    EXPECT_EQ(order, (std::vector<std::string>{"4", "2", "7", "5", "1", "3", "6"}));

    table.insert_row(row({"z", "8"}), 100);
    table.insert_row(row({"y", "9"}), 0);
    EXPECT_EQ(table[0][1], "9");
    EXPECT_EQ(table[table.Count() - 1][1], "8");
}

// Output rows of a table, one text per row: cells joined by '|'.
std::vector<std::string> flatten(const CDataTable& table, int levels, int n, int sum_column)
{
    TreeElem_ root;
    for (int r = 0; r < table.Count(); ++r)
        root.rows.Add(r);
    int counter = 0;
    build_report_tree(0, levels, counter, table, root);
    ReportRows output;
    flatten_report_tree(root, table, output, n, sum_column, n - 2, n - 1);
    std::vector<std::string> lines;
    for (const auto& values : output) {
        std::string line;
        for (size_t i = 0; i < values.size(); ++i)
            line += (i ? "|" : "") + values[i];
        lines.push_back(line);
    }
    return lines;
}

TEST(ReportModel, OneLevelGroupsWithCounts)
{
    CDataTable table;
    for (auto r : {row({"b", "x1", "10"}), row({"a", "x2", "20"}), row({"b", "x3", "30"})})
        table.add_row(r);
    // Columns: three values, index, parent; the counts go into column 2.
    EXPECT_EQ(flatten(table, 0, 5, 2), (std::vector<std::string>{
                                           "a||1|1|0",
                                           "|x2|20|-2|1",
                                           "b||2|2|0",
                                           "|x1|10|-2|2",
                                           "|x3|30|-2|2",
                                       }));
    // Without a sum column the group rows carry only their names.
    EXPECT_EQ(flatten(table, 0, 5, -1)[0], "a|||1|0");
}

TEST(ReportModel, TwoLevelsNumberEachLevelBeforeDescending)
{
    CDataTable table;
    for (auto r : {row({"r", "h1", "1"}), row({"s", "h2", "2"}), row({"r", "h3", "3"}), row({"", "h4", "4"})})
        table.add_row(r);
    EXPECT_EQ(flatten(table, 2, 5, 2), (std::vector<std::string>{
                                           "Unknown||1|1|0",
                                           "|h4|1|4|1",
                                           "||4|-2|4",
                                           "r||2|2|0",
                                           "|h1|1|5|2",
                                           "||1|-2|5",
                                           "|h3|1|6|2",
                                           "||3|-2|6",
                                           "s||1|3|0",
                                           "|h2|1|7|3",
                                           "||2|-2|7",
                                       }));
}

TEST(ReportModel, DefinitionListsSplit)
{
    tgDArray<IntArray> unions;
    split_report_unions("1&2;4", unions);
    ASSERT_EQ(unions.Count(), 2);
    EXPECT_EQ(std::vector<int>(unions[0].begin(), unions[0].end()), (std::vector<int>{1, 2}));
    EXPECT_EQ(std::vector<int>(unions[1].begin(), unions[1].end()), (std::vector<int>{4}));
    tgDArray<IntArray> none;
    split_report_unions("", none);
    EXPECT_EQ(none.Count(), 0);

    std::vector<std::string> headers;
    split_report_headers("Host,Serial No, Size", headers);
    EXPECT_EQ(headers, (std::vector<std::string>{"Host", "Serial No", " Size"}));
}

}  // namespace
