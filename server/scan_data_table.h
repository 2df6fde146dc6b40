// In-memory scan data: a table is a list of columns, a column a list of texts.
//
// The scanner fills one column per mapped value, the loader writes such tables
// to and reads them from the inventory database, and the table builders turn
// them into elements. Columns may differ in length; the table has as many rows
// as its longest column, and a missing value reads as empty text. Plain values:
// copy them freely; a single object must not be changed by two threads at once.
#pragma once

#include <string>
#include <vector>

class TiXmlElement;
struct LayoutGroup;

class ScanColumn {
public:
    ScanColumn() = default;

    int get_index() const { return index; }
    void set_index(int i) { index = i; }
    std::string get_name() const { return name; }

    // The value at row r, or empty text where the column is shorter.
    const std::string& value_at(size_t r) const;

    std::vector<std::string> values;
    int index = -1;
    std::string name;
};

class ScanDataTable {
public:
    ScanDataTable() = default;

    // Length of the longest column; 0 without columns.
    size_t row_count() const;
    // Number of values held by all columns together.
    size_t value_count() const;

    void add_column(const ScanColumn& column) { columns.push_back(column); }
    void append_columns(const ScanDataTable& other);
    // Appends fresh columns until there are n; never removes any.
    void resize_columns(size_t n);
    // Fills the empty values of this table from other's; values already
    // present are never overwritten.
    void assign_columns(const ScanDataTable& other);

    // Writes the differences between this table (left, one stored record per
    // column) and other (right) under parent, as the comparison of two hosts
    // shows them; true when something was written (table_compare.cpp).
    bool compare(TiXmlElement& parent, const ScanDataTable& other, const std::vector<LayoutGroup>& layout) const;
    // Tables of at most one record: every field of every layout group.
    bool compare_single(TiXmlElement& parent, const ScanDataTable& other,
                        const std::vector<LayoutGroup>& layout) const;
    // Records matched by their first COMPAREFIELD value; only records without
    // a partner are written.
    bool compare_keyed(TiXmlElement& parent, const ScanDataTable& other,
                       const std::vector<LayoutGroup>& layout) const;

    std::vector<ScanColumn> columns;
    std::string name;
};
