#include "scan_data_table.h"

#include <algorithm>

const std::string& ScanColumn::value_at(size_t r) const
{
    static const std::string empty;
    return r < values.size() ? values[r] : empty;
}

size_t ScanDataTable::row_count() const
{
    size_t rows = 0;
    for (const ScanColumn& c : columns)
        rows = std::max(rows, c.values.size());
    return rows;
}

size_t ScanDataTable::value_count() const
{
    size_t n = 0;
    for (const ScanColumn& c : columns)
        n += c.values.size();
    return n;
}

void ScanDataTable::append_columns(const ScanDataTable& other)
{
    // Copy first: other may be this table.
    std::vector<ScanColumn> copy = other.columns;
    columns.insert(columns.end(), copy.begin(), copy.end());
}

void ScanDataTable::resize_columns(size_t n)
{
    if (columns.size() < n)
        columns.resize(n);
}

void ScanDataTable::assign_columns(const ScanDataTable& other)
{
    if (&other == this)
        return;
    resize_columns(other.columns.size());
    for (size_t c = 0; c < other.columns.size(); ++c) {
        std::vector<std::string>& mine = columns[c].values;
        const std::vector<std::string>& theirs = other.columns[c].values;
        if (mine.size() < theirs.size())
            mine.resize(theirs.size());
        for (size_t r = 0; r < theirs.size(); ++r) {
            if (mine[r].empty())
                mine[r] = theirs[r];
        }
    }
}
