// Map lines: the rows of an administration map table that apply to one
// device, and the small records the map loaders fill (device key, formulas,
// keyed lists, tab layout). Built per device and per scan by the caller, who
// owns them; plain values, used by one thread at a time.
#pragma once

#include "qr_array.h"
#include "scan_data_table.h"

#include <string>
#include <vector>

// An ordered list of (key, value) pairs that keeps the order in which keys
// were first used. Looking up an absent key appends it with an empty value.
template <class V>
class KeyedList {
public:
    struct Entry {
        int key;
        V value;
    };

    V& operator[](int key)
    {
        for (Entry& e : entries_)
            if (e.key == key)
                return e.value;
        entries_.push_back(Entry{key, V{}});
        return entries_.back().value;
    }
    const V* find(int key) const
    {
        for (const Entry& e : entries_)
            if (e.key == key)
                return &e.value;
        return nullptr;
    }
    size_t size() const { return entries_.size(); }
    bool empty() const { return entries_.empty(); }
    void clear() { entries_.clear(); }
    typename std::vector<Entry>::const_iterator begin() const { return entries_.begin(); }
    typename std::vector<Entry>::const_iterator end() const { return entries_.end(); }

private:
    std::vector<Entry> entries_;
};

// The device key that selects map rows: the table to read and the device's
// identity. agent_type is the device's agent type of the tab's category.
class MapLineFilter {
public:
    MapLineFilter(std::string table_name, std::string sys_obj_id, int class_id, int group_id,
                  int vendor_id, int agent_type)
        : table(std::move(table_name)), SysObjId(std::move(sys_obj_id)), ClassId(class_id),
          GroupId(group_id), VendorId(vendor_id), AgentType(agent_type)
    {}
    MapLineFilter(const MapLineFilter&) = default;
    MapLineFilter& operator=(const MapLineFilter&) = default;

    // The same device key for another table.
    MapLineFilter with_table(const std::string& table_name) const
    {
        MapLineFilter f(*this);
        f.table = table_name;
        return f;
    }

    std::string table;
    std::string SysObjId;
    int ClassId;
    int GroupId;
    int VendorId;
    int AgentType;
};

// The agent type of a category: 0 hardware, 1 software, 2 monitoring; any
// other category has none (-1), which only null-Agent rows match.
int agent_type_of_category(int category, int hard, int soft, int mon);

// One VALUE or TABLE row: its cells f1, f2 ... are the column's values and
// its UID the column's index.
class MapLine : public ScanColumn {
public:
    MapLine() = default;

    int value_flag = 0;  // 1 unless the row is a TABLE row
    std::string Plugin = "std";
    std::string TableOID;
    int ScanOrder = 0;
    KeyedList<std::string> enum_specs;  // column position (0 = f1) -> enum specification
};

typedef std::vector<MapLine> MapLineList;

// The formulas of one block, keyed -1 for the FORMULA row's GroupName and
// 0, 1, ... for its non-empty cells. In a FormulaCell (qr_array.h) a marked
// term names a block, an unmarked one a ScanOrder value of the current block.
typedef KeyedList<FormulaCell> FormulaList;

// Parses "12 or b3" into (12) (B3) and stores it under key.
void parse_formula(FormulaList& formulas, int key, const std::string& text);
// "12B3" for the example above; for log lines only.
std::string formula_text(const FormulaList& formulas);
// "a,,b," -> "a", "", "b": no empty last part for a trailing comma.
void split_comma_list(const std::string& text, std::vector<std::string>& parts);

// Tab layout: one group per GROUP row of the tab's map table.
struct LayoutField {
    std::string column_spec;
    std::string field_name;
    int order = 0;
};
struct LayoutGroup {
    KeyedList<LayoutField> fields;  // field position (0 = f1) -> field
    std::string GroupName;
    std::string DefGroupName;
};
typedef std::vector<LayoutGroup> TabLayout;
