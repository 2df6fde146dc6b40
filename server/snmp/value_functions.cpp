#include "value_functions.h"

#include "pci_names.h"
#include "qr_strings.h"
#include "scan_table.h"
#include "snmp_value_text.h"

#include <cctype>
#include <limits>

namespace {

const char* const FunctionNames[VF_NONE] = {
    "$BITARRAY", "$PCI_IDS", "$SERVICE", "$CISCOIMAGE", "$IF",      "$MUL",     "$ADD",       "$SUB",
    "$CONCAT",   "$COUNT",   "$LOOKUP",  "$SUM",        "$NOTZERO", "$DATE",    "$GET_INDEX",
};

struct Context {
    CSnmpSession* session;
    const std::string& address;
    const std::string& community;
    const std::string& walk_file;
    const std::string& folder;
};

void scan(const Context& c, const std::string& oid, ValueList& values, bool lines = false)
{
    scan_table(c.session, c.address, oid, c.community, c.walk_file, values, lines);
}

size_t evaluate(const Context& c, const std::string& argument, ValueList& values)
{
    return evaluate_argument(c.session, argument, c.address, c.community, c.walk_file, values, c.folder);
}

const std::string& value_or(const ValueList& list, size_t i)
{
    static const std::string empty;
    if (i < list.size())
        return list[i];
    return list.empty() ? empty : list[0];
}

// Wrapping arithmetic: the operands come from agents and may be anything.
int64_t wrap_add(int64_t a, int64_t b) { return static_cast<int64_t>(static_cast<uint64_t>(a) + static_cast<uint64_t>(b)); }
int64_t wrap_sub(int64_t a, int64_t b) { return static_cast<int64_t>(static_cast<uint64_t>(a) - static_cast<uint64_t>(b)); }
int64_t wrap_mul(int64_t a, int64_t b) { return static_cast<int64_t>(static_cast<uint64_t>(a) * static_cast<uint64_t>(b)); }

void bit_array(const Context& c, const std::string& text, ValueList& out)
{
    evaluate(c, text, out);
    for (std::string& v : out)
        v = hex_to_bit_list(v);
}

void pci_ids(const Context& c, std::string text, ValueList& out)
{
    std::string field_name = NextToken(text, ",", false);
    int field = 0;
    if (field_name == "DEVICE") field = 1;
    else if (field_name == "SUBVENDOR") field = 2;
    else if (field_name == "SUBDEVICE") field = 3;
    else if (field_name == "REVISION") field = 4;
    ValueList vendors, devices, sub_vendors, sub_devices;
    scan(c, text + ".23", vendors);
    scan(c, text + ".24", devices);
    scan(c, text + ".26", sub_vendors);
    scan(c, text + ".25", sub_devices);
    auto at = [](const ValueList& l, size_t i) { return i < l.size() ? l[i] : std::string(); };
    for (size_t r = 0; r < vendors.size(); ++r) {
        if (vendors[r].empty()) {
            out.push_back(std::string());
            continue;
        }
        std::string ids[4] = {vendors[r], at(devices, r), at(sub_vendors, r), at(sub_devices, r)};
        lookup_pci_names(ids, c.folder);
        // The four scans give no revision: that field has no name to show.
        out.push_back(field < 4 ? ids[field] : std::string());
    }
}

void service(const Context& c, const std::string& text, ValueList& out)
{
    ValueList values;
    scan(c, text, values);
    if (values.empty())
        return;
    static const struct {
        int bit;
        const char* name;
    } layers[] = {{0, "physical"}, {1, "datalink/subnetwork"}, {2, "internet"}, {3, "end-to-end"}, {6, "applications"}};
    uint32_t bits = static_cast<uint32_t>(value_to_int32(values[0]));
    std::string names;
    for (const auto& layer : layers) {
        if (bits & (1u << layer.bit)) {
            if (!names.empty())
                names += ", ";
            names += layer.name;
        }
    }
    out.push_back(names);
}

void cisco_image(const Context& c, std::string text, ValueList& out)
{
    if (text.find(',') == std::string::npos)
        return;
    std::string marker = NextToken(text, ",", false);
    ValueList values;
    scan(c, text, values);
    for (const std::string& v : values) {
        if (v.find(marker) == std::string::npos)
            continue;
        size_t dollar = v.find('$');
        std::string image = dollar == std::string::npos ? std::string() : v.substr(dollar + 1);
        if (!image.empty())
            image.pop_back();
        out.push_back(image);
        return;
    }
}

void if_function(const Context& c, std::string text, ValueList& out)
{
    std::string condition = NextToken(text, ",", true);
    std::string then_text = NextToken(text, ",", true);
    std::string else_text = text;
    std::string left_text = NextToken(condition, "=", false);
    ValueList left, right;
    evaluate(c, left_text, left);
    evaluate(c, condition, right);
    size_t rows = pad_value_pair(left, right);
    for (size_t u = 0; u < rows; ++u) {
        ValueList chosen;
        evaluate(c, left[u] == right[u] ? then_text : else_text, chosen);
        out.push_back(u < chosen.size() ? chosen[u] : value_or(chosen, u));
    }
}

void arithmetic(const Context& c, int function, std::string text, ValueList& out)
{
    std::string a_text = NextToken(text, ",", false);
    ValueList a, b;
    evaluate(c, a_text, a);
    evaluate(c, text, b);
    size_t rows = pad_value_pair(a, b);
    for (size_t r = 0; r < rows; ++r) {
        int64_t x = value_to_int64(a[r]);
        int64_t y = value_to_int64(b[r]);
        int64_t result = function == VF_MUL ? wrap_mul(x, y) : function == VF_ADD ? wrap_add(x, y) : wrap_sub(x, y);
        out.push_back(Int64ToString(result));
    }
}

void concat(const Context& c, std::string text, ValueList& out)
{
    std::vector<ValueList> lists;
    while (!text.empty()) {
        std::string argument = NextToken(text, ",", true);
        lists.emplace_back();
        evaluate(c, argument, lists.back());
    }
    size_t rows = pad_value_lists(lists, lists.size());
    for (size_t r = 0; r < rows; ++r) {
        std::string joined;
        for (const ValueList& l : lists)
            joined += l[r];
        out.push_back(joined);
    }
}

void count(const Context& c, std::string text, ValueList& out)
{
    std::string table_oid = NextToken(text, "=", false);
    ValueList table, right;
    scan(c, table_oid, table);
    evaluate(c, text, right);
    int64_t n = 0;
    if (right.empty()) {
        n = static_cast<int64_t>(table.size());
    } else {
        for (size_t i = 0; i < table.size(); ++i)
            if (table[i] == value_or(right, i))
                ++n;
    }
    out.push_back(Int64ToString(n));
}

void lookup(const Context& c, std::string text, ValueList& out)
{
    std::string table = NextToken(text, ",", false);
    std::string key_column = NextToken(text, "=", false);
    std::string wanted = NextToken(text, ",", false);
    std::string rest = text;
    enum { Sum, Count, Vals } mode = Sum;
    if (rest.find("SUM") != std::string::npos) {
        rest.erase(0, 3);
        mode = Sum;
    }
    if (rest.find("COUNT") != std::string::npos) {
        rest.erase(0, 5);
        mode = Count;
    }
    if (rest.find("VALS") != std::string::npos) {
        rest.erase(0, 4);
        mode = Vals;
    }
    ValueList keys, column;
    scan(c, table + "." + key_column, keys);
    std::vector<size_t> rows;
    for (size_t i = 0; i < keys.size(); ++i)
        if (keys[i] == wanted)
            rows.push_back(i);
    scan(c, table + "." + rest, column);
    int64_t total = 0;
    for (size_t i : rows) {
        if (i >= column.size())
            continue;
        if (mode == Sum)
            total = wrap_add(total, value_to_int64(column[i]));
        else if (mode == Count)
            total += column[i].empty() ? 0 : 1;
        else
            out.push_back(column[i]);
    }
    if (mode != Vals)
        out.push_back(Int64ToString(total));
}

void sum(const Context& c, const std::string& text, ValueList& out)
{
    ValueList values;
    scan(c, text, values);
    if (values.empty())
        return;
    // Read and summed in 64 bits: Counter32, Gauge32 and TimeTicks values
    // reach 4294967295, and a few of them must not overflow the total.
    int64_t total = 0;
    for (const std::string& v : values)
        total = wrap_add(total, value_to_int64(v));
    out.push_back(Int64ToString(total));
}

void not_zero(const Context& c, const std::string& text, ValueList& out)
{
    ValueList values;
    scan(c, text, values);
    for (const std::string& v : values)
        out.push_back(value_to_int32(v) != 0 ? v : std::string());
}

void date(const Context& c, const std::string& text, ValueList& out)
{
    scan(c, text + ",D", out);
}

void get_index(const Context& c, const std::string& text, ValueList& out)
{
    ValueList lines;
    scan(c, text, lines, true);
    for (const std::string& line : lines) {
        std::string oid = line.substr(0, line.find(' '));
        size_t dot = oid.rfind('.');
        out.push_back(dot == std::string::npos ? oid : oid.substr(dot + 1));
    }
}

template <typename T>
T parse_decimal(const std::string& text)
{
    size_t i = 0;
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i])))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    // Saturates instead of overflowing, as the C library's conversions do.
    uint64_t magnitude = 0;
    const uint64_t limit = static_cast<uint64_t>(std::numeric_limits<T>::max()) + (negative ? 1 : 0);
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        magnitude = magnitude * 10 + static_cast<uint64_t>(text[i] - '0');
        if (magnitude > limit) {
            magnitude = limit;
            for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
            }
            break;
        }
    }
    if (negative)
        return magnitude == limit ? std::numeric_limits<T>::min() : static_cast<T>(-static_cast<int64_t>(magnitude));
    return static_cast<T>(magnitude);
}

}  // namespace

int32_t value_to_int32(const std::string& text)
{
    return parse_decimal<int32_t>(text);
}

int64_t value_to_int64(const std::string& text)
{
    return parse_decimal<int64_t>(text);
}

int classify_value_function(std::string& expression)
{
    UpperOutsideQuotes(expression);
    RemoveBlanks(expression);
    for (int i = 0; i < VF_NONE; ++i) {
        std::string name = FunctionNames[i];
        size_t p = expression.find(name);
        if (p == std::string::npos)
            continue;
        size_t cut = p + name.size() + 1;
        expression.erase(0, cut < expression.size() ? cut : expression.size());
        if (!expression.empty())
            expression.pop_back();
        return i;
    }
    return VF_NONE;
}

size_t pad_value_pair(ValueList& a, ValueList& b)
{
    while (a.size() < b.size())
        a.push_back(a.empty() ? std::string() : a.back());
    while (b.size() < a.size())
        b.push_back(b.empty() ? std::string() : b.back());
    return a.size();
}

size_t pad_value_lists(std::vector<ValueList>& lists, size_t count)
{
    if (count > lists.size())
        count = lists.size();
    size_t longest = 0;
    for (size_t i = 0; i < count; ++i)
        if (lists[i].size() > longest)
            longest = lists[i].size();
    for (size_t i = 0; i < count; ++i)
        while (lists[i].size() < longest)
            lists[i].push_back(lists[i].empty() ? std::string() : lists[i].back());
    return longest;
}

size_t evaluate_argument(CSnmpSession* session, const std::string& argument, const std::string& address,
                         const std::string& community, const std::string& walk_file, ValueList& values,
                         const std::string& folder)
{
    if (!argument.empty() && argument[0] == '.') {
        scan_table(session, address, argument, community, walk_file, values, false);
    } else if (!argument.empty() && argument[0] == '"') {
        std::string text = argument;
        RemoveChar(text, '"');
        values.assign(1, text);
    } else if (!argument.empty() && argument[0] == '$') {
        apply_value_function(session, address, argument, community, walk_file, values, folder);
    } else {
        values.assign(1, argument);
    }
    return values.size();
}

void apply_value_function(CSnmpSession* session, const std::string& address, std::string expression,
                          const std::string& community, const std::string& walk_file,
                          ValueList& values, const std::string& folder)
{
    values.clear();
    Context c{session, address, community, walk_file, folder};
    int function = classify_value_function(expression);
    switch (function) {
    case VF_BITARRAY: bit_array(c, expression, values); break;
    case VF_PCI_IDS: pci_ids(c, expression, values); break;
    case VF_SERVICE: service(c, expression, values); break;
    case VF_CISCOIMAGE: cisco_image(c, expression, values); break;
    case VF_IF: if_function(c, expression, values); break;
    case VF_MUL:
    case VF_ADD:
    case VF_SUB: arithmetic(c, function, expression, values); break;
    case VF_CONCAT: concat(c, expression, values); break;
    case VF_COUNT: count(c, expression, values); break;
    case VF_LOOKUP: lookup(c, expression, values); break;
    case VF_SUM: sum(c, expression, values); break;
    case VF_NOTZERO: not_zero(c, expression, values); break;
    case VF_DATE: date(c, expression, values); break;
    case VF_GET_INDEX: get_index(c, expression, values); break;
    default: break;
    }
}
