// Small readers of result rows shared by the loader's operation files.
// Internal to the loader; no state.
#pragma once

#include "qr_db_data.h"

#include <string>

namespace loader_sql {

// Integer of a column by name (0 when the column or value is missing).
inline int int_at(const DB_DATA& data, const std::string& column, int row)
{
    const DB_COLUMN* c = data.Find(column);
    return c && row < c->Size() ? static_cast<int>(c->GetLong(row)) : 0;
}

// Text of a column by name (empty when the column or value is missing).
inline std::string text_at(const DB_DATA& data, const std::string& column, int row)
{
    const DB_COLUMN* c = data.Find(column);
    return c && row < c->Size() ? c->GetString(row) : std::string();
}

// Name of data cell k (1-based): f1, f2, ...
inline std::string cell_name(int k)
{
    return "f" + std::to_string(k);
}

// The highest cell number a map table may have.
constexpr int max_cells = 100;

}  // namespace loader_sql
