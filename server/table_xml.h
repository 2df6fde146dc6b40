// The TABLE element family that consoles show as a grid (TABLE, HEADER,
// COLUMN, GROUPS, GROUP, ROWS, ROW, CELLS, CELL), the column specification
// that drives it (a title and keywords such as SORT or MHZ), the formatting
// of values with units, and the pseudo-columns the server fills itself in a
// scanned table.
//
// Free functions on values the caller owns; no state, no database, any
// thread. `DataLoader::tab_to_xml` is the entry point of the request handlers.
#pragma once

#include "map_line.h"
#include "qr_array.h"
#include "qr_map.h"
#include "scan_data_table.h"

#include <string>
#include <vector>

class TiXmlElement;

// Unit codes of the column specification keywords.
enum {
    UNIT_NONE = 0,
    UNIT_KB = 1,
    UNIT_MB = 2,
    UNIT_GB = 3,
    UNIT_KHZ = 4,
    UNIT_MHZ = 5,
    UNIT_GHZ = 6,
    UNIT_BITS = 7,
};

// Reads a column specification ("Total Size, kb, sort"): every output is
// optional; unit is set to 0 first, flags are only ever set. spec becomes its
// title (the first part without blanks, case kept). Keywords are the whole
// comma-separated parts, without blanks, upper-cased outside quotes; unknown
// ones are ignored and the last unit keyword wins. When element is given it
// gets hidden, index, parent and sort "1" for the flags present, then
// defname = title.
void parse_column_spec(std::string& spec, bool* hidden, bool* index, bool* parent, bool* sort,
                       bool* comparefield, bool* comparetitle, int* unit, TiXmlElement* element);

// Rewrites a cell text for its unit: scaled and rounded with the unit's
// suffix for codes 1 to 6, the digits plus " Bits" for 7, empty when the
// number is 0; any other code leaves the text alone.
void format_unit_value(int unit, std::string& text);

// Display order -> field index, one list per layout group.
typedef qr_map<long, long> FieldOrder;
typedef tgDArray<FieldOrder> FieldOrderList;

// The field order list of a group over the first field_count fields: for
// each field index in ascending order that the group names, key = the
// field's display order, value = the index (a later index with the same
// display order replaces the earlier one).
FieldOrder build_field_order(const LayoutGroup& group, size_t field_count);

// The field indices of a list in ascending display order. Sorting (rather
// than counting display orders up from 0) ends for any orders, negative or
// far apart.
std::vector<long> walk_field_order(const FieldOrder& order);

// Writes HEADER, then ROWS (one layout group) or GROUPS, and has_empty_rows
// into the TABLE element. Entries are the table's columns (one stored record
// each, values in field order). Nothing is written without a group or entry.
void build_table_xml(const ScanDataTable& table, TiXmlElement& element, const TabLayout& layout,
                     bool horizontal);

// Fills the pseudo-columns of a scanned table by their names (names[c] for
// column c): "server_sysobjid", "server_ip", "server_dns" get their value in
// the first place; "server_index" gets 1, 2, ... for every row. The fourth
// argument is accepted and not used.
void add_server_fields(ScanDataTable& table, const std::vector<std::string>& names, const std::string& address,
                       const std::string& dns_name, const std::string& unused, const std::string& sysobjid);
