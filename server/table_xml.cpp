#include "table_xml.h"

#include "qr_strings.h"

#include <tinyxml.h>

#include <algorithm>
#include <cstdlib>

namespace {

struct UnitKeyword {
    const char* word;
    int code;
};

const UnitKeyword unit_keywords[] = {
    {"KB", UNIT_KB},   {"MB", UNIT_MB},   {"GB", UNIT_GB},     {"KHZ", UNIT_KHZ},
    {"MHZ", UNIT_MHZ}, {"GHZ", UNIT_GHZ}, {"BITS", UNIT_BITS},
};

struct UnitScale {
    double factor;
    const char* suffix;
};

// Indexed by unit code 1 to 6.
const UnitScale unit_scales[] = {
    {0, ""},
    {1.0 / 1024.0, " Kb"},
    {1.0 / 1048576.0, " Mb"},
    {1.0 / 1073741824.0, " Gb"},
    {0.001, " KHz"},
    {0.000001, " MHz"},
    {0.000000001, " GHz"},
};

void set_flag(bool* flag)
{
    if (flag)
        *flag = true;
}

// One field of a group as the table shows it.
struct ShownField {
    long index;
    std::string name;  // the field's name in this group
    std::string spec;  // its column specification
};

std::vector<ShownField> shown_fields(const LayoutGroup& group, size_t field_count)
{
    std::vector<ShownField> out;
    for (long i : walk_field_order(build_field_order(group, field_count))) {
        const LayoutField* f = group.fields.find(static_cast<int>(i));
        out.push_back(ShownField{i, f ? f->field_name : std::string(), f ? f->column_spec : std::string()});
    }
    return out;
}

int unit_of(const std::string& spec)
{
    std::string title = spec;
    int unit = UNIT_NONE;
    parse_column_spec(title, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &unit, nullptr);
    return unit;
}

TiXmlElement cell(const std::string& text)
{
    TiXmlElement c("CELL");
    c.SetAttribute("text", text);
    return c;
}

}  // namespace

void parse_column_spec(std::string& spec, bool* hidden, bool* index, bool* parent, bool* sort,
                       bool* comparefield, bool* comparetitle, int* unit, TiXmlElement* element)
{
    if (unit)
        *unit = UNIT_NONE;
    bool is_hidden = false, is_index = false, is_parent = false, is_sort = false;

    std::vector<std::string> parts;
    split_comma_list(spec, parts);
    std::string title = parts.empty() ? std::string() : parts[0];
    RemoveBlanks(title);

    for (std::string keyword : parts) {
        RemoveBlanks(keyword);
        UpperOutsideQuotes(keyword);
        if (keyword == "COMPAREFIELD")
            set_flag(comparefield);
        else if (keyword == "COMPARETITLE")
            set_flag(comparetitle);
        else if (keyword == "HIDDEN")
            is_hidden = true;
        else if (keyword == "INDEX")
            is_index = true;
        else if (keyword == "PARENT")
            is_parent = true;
        else if (keyword == "SORT")
            is_sort = true;
        else
            for (const UnitKeyword& u : unit_keywords)
                if (keyword == u.word && unit)
                    *unit = u.code;
    }
    if (is_hidden)
        set_flag(hidden);
    if (is_index)
        set_flag(index);
    if (is_parent)
        set_flag(parent);
    if (is_sort)
        set_flag(sort);

    spec = title;
    if (!element)
        return;
    if (is_hidden)
        element->SetAttribute("hidden", "1");
    if (is_index)
        element->SetAttribute("index", "1");
    if (is_parent)
        element->SetAttribute("parent", "1");
    if (is_sort)
        element->SetAttribute("sort", "1");
    element->SetAttribute("defname", title);
}

void format_unit_value(int unit, std::string& text)
{
    if (unit >= UNIT_KB && unit <= UNIT_GHZ) {
        // strtod reads the leading number and gives 0 without one.
        double value = std::strtod(text.c_str(), nullptr);
        int64_t scaled = RoundToInt64(value * unit_scales[unit].factor);
        text = scaled != 0 ? Int64ToString(scaled) + unit_scales[unit].suffix : std::string();
    } else if (unit == UNIT_BITS) {
        long long bits = std::strtoll(text.c_str(), nullptr, 10);
        if (bits != 0)
            text += " Bits";
        else
            text.clear();
    }
}

FieldOrder build_field_order(const LayoutGroup& group, size_t field_count)
{
    std::vector<std::pair<int, long>> named;  // field index, display order
    for (const auto& entry : group.fields)
        if (entry.key >= 0 && static_cast<size_t>(entry.key) < field_count && !entry.value.field_name.empty())
            named.emplace_back(entry.key, entry.value.order);
    std::sort(named.begin(), named.end());
    FieldOrder order;
    for (const auto& n : named)
        order.set(n.second, n.first);
    return order;
}

std::vector<long> walk_field_order(const FieldOrder& order)
{
    std::vector<long> fields;
    for (const auto& p : order.sorted_by_key())
        fields.push_back(p.second);
    return fields;
}

void build_table_xml(const ScanDataTable& table, TiXmlElement& element, const TabLayout& layout, bool horizontal)
{
    if (layout.empty() || table.columns.empty())
        return;
    const std::vector<ScanColumn>& entries = table.columns;
    const size_t field_count = entries[0].values.size();
    bool any_empty_row = false;

    TiXmlElement header("HEADER");
    if (horizontal) {
        for (const ShownField& f : shown_fields(layout[0], field_count)) {
            TiXmlElement column("COLUMN");
            column.SetAttribute("name", f.name);
            std::string spec = f.spec;
            parse_column_spec(spec, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &column);
            header.InsertEndChild(column);
        }
    } else {
        TiXmlElement property("COLUMN");
        property.SetAttribute("name", "Property");
        header.InsertEndChild(property);
        for (size_t e = 0; e < entries.size(); ++e) {
            TiXmlElement column("COLUMN");
            column.SetAttribute("name", entries.size() == 1 ? std::string("Value") : "Value " + std::to_string(e + 1));
            header.InsertEndChild(column);
        }
    }
    element.InsertEndChild(header);

    TiXmlElement groups("GROUPS");
    TiXmlElement single_rows("ROWS");
    for (const LayoutGroup& group : layout) {
        const std::vector<ShownField> fields = shown_fields(group, field_count);
        TiXmlElement rows("ROWS");
        if (horizontal) {
            std::vector<int> units;
            for (const ShownField& f : fields)
                units.push_back(unit_of(f.spec));
            for (const ScanColumn& entry : entries) {
                TiXmlElement row("ROW");
                TiXmlElement cells("CELLS");
                bool has_data = false;
                for (size_t k = 0; k < fields.size(); ++k) {
                    std::string text = entry.value_at(static_cast<size_t>(fields[k].index));
                    has_data = has_data || !text.empty();
                    format_unit_value(units[k], text);
                    cells.InsertEndChild(cell(text));
                }
                row.InsertEndChild(cells);
                if (!has_data) {
                    row.SetAttribute("empty", "1");
                    any_empty_row = true;
                }
                rows.InsertEndChild(row);
            }
        } else {
            for (const ShownField& f : fields) {
                TiXmlElement row("ROW");
                TiXmlElement cells("CELLS");
                cells.InsertEndChild(cell(f.name));
                const int unit = unit_of(f.spec);
                bool has_data = false;
                for (const ScanColumn& entry : entries) {
                    std::string text = entry.value_at(static_cast<size_t>(f.index));
                    has_data = has_data || !text.empty();
                    format_unit_value(unit, text);
                    cells.InsertEndChild(cell(text));
                }
                std::string spec = f.spec;
                parse_column_spec(spec, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &row);
                row.InsertEndChild(cells);
                if (!has_data) {
                    row.SetAttribute("empty", "1");
                    any_empty_row = true;
                }
                rows.InsertEndChild(row);
            }
        }
        if (layout.size() == 1) {
            single_rows = rows;
        } else {
            TiXmlElement g("GROUP");
            g.SetAttribute("name", group.GroupName);
            g.SetAttribute("defname", group.DefGroupName);
            g.InsertEndChild(rows);
            groups.InsertEndChild(g);
        }
    }
    if (any_empty_row)
        element.SetAttribute("has_empty_rows", "1");
    if (layout.size() == 1)
        element.InsertEndChild(single_rows);
    else
        element.InsertEndChild(groups);
}

void add_server_fields(ScanDataTable& table, const std::vector<std::string>& names, const std::string& address,
                       const std::string& dns_name, const std::string& /*unused*/, const std::string& sysobjid)
{
    const size_t rows = table.row_count();
    const size_t n = std::min(names.size(), table.columns.size());
    for (size_t c = 0; c < n; ++c) {
        const std::string& name = names[c];
        std::vector<std::string>& values = table.columns[c].values;
        bool chosen = false;
        std::string value;
        if (name == "server_sysobjid") {
            if (!sysobjid.empty()) {
                value = sysobjid;
                chosen = true;
            }
        } else if (name == "server_ip") {
            value = address;
            chosen = true;
        } else if (name == "server_dns") {
            value = dns_name;
            chosen = true;
        }
        if (chosen) {
            if (!value.empty()) {
                if (!values.empty())
                    values[0] = value;
                else
                    values.push_back(value);
            }
        } else if (name == "server_index") {
            for (size_t r = 0; r < rows; ++r) {
                std::string number = std::to_string(r + 1);
                if (r < values.size())
                    values[r] = number;
                else
                    values.push_back(number);
            }
        }
    }
}
