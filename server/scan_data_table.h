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

    std::vector<ScanColumn> columns;
    std::string name;
};
