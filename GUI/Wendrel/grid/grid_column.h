// Columns of values indexed by row ID, filled from the contents a render pass
// produces, and compared as text, signed integer, IPv4 address or real
// number (dates are real numbers). A view makes them (CreateColumn) by the
// data-type code of the column; the caller owns and deletes them.
//
// A value that does not convert to the column's type ("n/a" in an integer
// column) counts as an empty value (number 0): sorting, filtering and
// painting never fail on it. GUI thread only.
#pragma once

#include <string>

#include "grid/grid_comparator.h"
#include "grid/grid_content.h"
#include "wendrel_export.h"

// Data-type codes of a column (the tag of its title cell); any other code is text.
enum GRID_COLUMN_TYPE {
    COLUMN_TYPE_TEXT = 1,
    COLUMN_TYPE_INTEGER = 2,
    COLUMN_TYPE_IP = 3,
    COLUMN_TYPE_REAL = 4,   // real numbers and dates
};

class TGridColumn : public TRowComparator {
public:
    // Stores row id's value from the content of its cell (middle element:
    // its text, its value, and its second value when the first is empty).
    virtual void SetValue(int id, const CELL_CONTENT& content) = 0;
    // Room for IDs 0 to count-1; new entries are empty.
    virtual void Resize(int count) = 0;
    virtual void GetText(int id, std::string& text) = 0;
    virtual bool IsEmpty(int id) = 0;
};

// Makes the column of a data-type code (text for any code but 2, 3, 4).
// Internal to the library: views call it from CreateColumn.
TGridColumn* CreateGridColumn(int typeCode);
