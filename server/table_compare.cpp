// Field-by-field differences between the stored records of one tab of two
// hosts, written in the TABLE element family: one ROW per differing field
// with the field's name and both values after unit formatting.
#include "map_line.h"
#include "scan_data_table.h"
#include "table_xml.h"

#include "qr_exception.h"
#include "qr_log.h"

#include <tinyxml.h>

#include <algorithm>

namespace {

struct FieldFlags {
    bool hidden = false;
    bool key = false;    // COMPAREFIELD
    bool title = false;  // COMPARETITLE
    int unit = UNIT_NONE;
};

FieldFlags field_flags(const LayoutGroup& group, size_t field)
{
    FieldFlags f;
    const LayoutField* entry = group.fields.find(static_cast<int>(field));
    if (!entry)
        return f;
    std::string spec = entry->column_spec;
    parse_column_spec(spec, &f.hidden, nullptr, nullptr, nullptr, &f.key, &f.title, &f.unit, nullptr);
    return f;
}

std::string field_name(const LayoutGroup& group, size_t field)
{
    const LayoutField* entry = group.fields.find(static_cast<int>(field));
    return entry ? entry->field_name : std::string();
}

// The number of fields compared: the larger first record of both tables.
size_t field_count(const ScanDataTable& left, const ScanDataTable& right)
{
    size_t n = 0;
    if (!left.columns.empty())
        n = left.columns[0].values.size();
    if (!right.columns.empty())
        n = std::max(n, right.columns[0].values.size());
    return n;
}

// Value i of a record; empty for no record (-1), a record past the end or a
// record without that value.
std::string record_value(const ScanDataTable& table, int record, size_t i)
{
    if (record < 0 || static_cast<size_t>(record) >= table.columns.size())
        return std::string();
    const std::vector<std::string>& values = table.columns[record].values;
    return i < values.size() ? values[i] : std::string();
}

TiXmlElement text_cell(const std::string& text)
{
    TiXmlElement c("CELL");
    c.SetAttribute("text", text);
    return c;
}

bool compare_record_fields(const std::string& name, const LayoutGroup& group, const ScanDataTable& left,
                           const ScanDataTable& right, int left_record, int right_record, TiXmlElement& parent,
                           bool direct)
{
    const size_t n = field_count(left, right);
    TiXmlElement rows("ROWS");
    bool written = false;
    for (size_t i = 0; i < n; ++i) {
        const std::string caption = field_name(group, i);
        const FieldFlags flags = field_flags(group, i);
        if (caption.empty() || flags.hidden)
            continue;
        std::string l = record_value(left, left_record, i);
        std::string r = record_value(right, right_record, i);
        format_unit_value(flags.unit, l);
        format_unit_value(flags.unit, r);
        if (l == r)  // equal, or empty on both sides
            continue;
        TiXmlElement cells("CELLS");
        cells.InsertEndChild(TiXmlElement("CELL"));
        cells.InsertEndChild(text_cell(caption));
        cells.InsertEndChild(text_cell(l));
        cells.InsertEndChild(text_cell(r));
        TiXmlElement row("ROW");
        row.InsertEndChild(cells);
        rows.InsertEndChild(row);
        written = true;
    }
    if (!written)
        return false;
    if (direct) {
        parent.InsertEndChild(rows);
    } else {
        TiXmlElement g("GROUP");
        g.SetAttribute("name", name);
        g.SetAttribute("title", "1");
        g.InsertEndChild(rows);
        parent.InsertEndChild(g);
    }
    return true;
}

struct RowMatch {
    std::vector<std::pair<int, int>> pairs;
    std::vector<int> left_only;
    std::vector<int> right_only;
    int first_key = -1;
    int title = -1;
};

// Pairs the records by the text of the first key field; no key field leaves
// every list empty.
RowMatch match_table_rows(const ScanDataTable& left, const ScanDataTable& right, const LayoutGroup& group)
{
    RowMatch m;
    const size_t n = field_count(left, right);
    std::vector<int> keys;
    for (size_t i = 0; i < n; ++i) {
        const FieldFlags f = field_flags(group, i);
        if (f.key)
            keys.push_back(static_cast<int>(i));
        if (f.title)
            m.title = static_cast<int>(i);
    }
    if (keys.empty())
        return m;
    m.first_key = keys[0];
    const size_t key = static_cast<size_t>(m.first_key);
    std::vector<bool> right_paired(right.columns.size(), false);
    for (size_t l = 0; l < left.columns.size(); ++l) {
        const std::string& value = left.columns[l].value_at(key);
        bool paired = false;
        for (size_t r = 0; r < right.columns.size() && !paired; ++r)
            if (!right_paired[r] && right.columns[r].value_at(key) == value) {
                right_paired[r] = true;
                m.pairs.emplace_back(static_cast<int>(l), static_cast<int>(r));
                paired = true;
            }
        if (!paired)
            m.left_only.push_back(static_cast<int>(l));
    }
    for (size_t r = 0; r < right.columns.size(); ++r)
        if (!right_paired[r])
            m.right_only.push_back(static_cast<int>(r));
    return m;
}

}  // namespace

bool ScanDataTable::compare(TiXmlElement& parent, const ScanDataTable& other,
                            const std::vector<LayoutGroup>& layout) const
{
    if (columns.size() < 2 && other.columns.size() < 2)
        return compare_single(parent, other, layout);
    return compare_keyed(parent, other, layout);
}

bool ScanDataTable::compare_single(TiXmlElement& parent, const ScanDataTable& other,
                                   const std::vector<LayoutGroup>& layout) const
{
    bool result = false;
    try {
        if (layout.size() == 1)
            return compare_record_fields(std::string(), layout[0], *this, other, 0, 0, parent, true);
        TiXmlElement groups("GROUPS");
        const bool has_record = !columns.empty() || !other.columns.empty();
        for (const LayoutGroup& group : layout)
            if (has_record)
                result |= compare_record_fields(group.GroupName, group, *this, other, 0, 0, groups, false);
        if (result)
            parent.InsertEndChild(groups);
    } catch (const qr_exception_t& e) {
        TRV_LOG(qr_Error, e.message());
    }
    return result;
}

bool ScanDataTable::compare_keyed(TiXmlElement& parent, const ScanDataTable& other,
                                  const std::vector<LayoutGroup>& layout) const
{
    bool result = false;
    try {
        if (layout.empty())
            return false;
        const LayoutGroup& group = layout[0];
        const RowMatch m = match_table_rows(*this, other, group);
        if (m.first_key < 0)
            return false;
        const size_t title = static_cast<size_t>(m.title >= 0 ? m.title : m.first_key);
        TiXmlElement groups("GROUPS");
        for (int l : m.left_only)
            result |= compare_record_fields(columns[l].value_at(title), group, *this, other, l, -1, groups, false);
        for (int r : m.right_only)
            result |= compare_record_fields(other.columns[r].value_at(title), group, *this, other, -1, r, groups,
                                            false);
        if (result)
            parent.InsertEndChild(groups);
    } catch (const qr_exception_t& e) {
        TRV_LOG(qr_Error, e.message());
    }
    return result;
}
