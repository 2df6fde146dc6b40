#include "grid/grid_column.h"

#include <array>
#include <cmath>
#include <vector>

namespace {

// Case folding of the ANSI code page one byte at a time, as the class
// layer's strings fold; a constant of the system, built on first use.
const unsigned char* FoldTable() {
    static const std::array<unsigned char, 256> table = [] {
        std::array<unsigned char, 256> t{};
        for (int i = 0; i < 256; ++i) {
            char c = char(i);
            if (i != 0) ::CharLowerBuffA(&c, 1);
            t[size_t(i)] = static_cast<unsigned char>(c);
        }
        return t;
    }();
    return table.data();
}

// Byte-wise order of the lower-cased texts.
int CompareFolded(const std::string& a, const std::string& b) {
    const unsigned char* fold = FoldTable();
    const size_t n = a.size() < b.size() ? a.size() : b.size();
    for (size_t i = 0; i < n; ++i) {
        const int d = int(fold[static_cast<unsigned char>(a[i])]) - int(fold[static_cast<unsigned char>(b[i])]);
        if (d != 0) return d;
    }
    return a.size() < b.size() ? -1 : (a.size() > b.size() ? 1 : 0);
}

bool IsNothing(const VARIANT& v) { return v.vt == VT_EMPTY || v.vt == VT_NULL; }

// The value a column reads: the sort value, else the display value; null
// when both are empty or null.
const VARIANT* SourceOf(const CELL_ELEMENT& e) {
    if (!IsNothing(e.value)) return &e.value;
    if (!IsNothing(e.value2)) return &e.value2;
    return nullptr;
}

// Converts with the standard VARIANT conversion; false when it fails.
bool ChangeType(const VARIANT& v, VARTYPE vt, VARIANT& out) {
    ::VariantInit(&out);
    return SUCCEEDED(::VariantChangeType(&out, const_cast<VARIANT*>(&v), 0, vt));
}

bool ToDouble(const VARIANT& v, VARTYPE vt, double& out) {
    switch (v.vt) {  // the common cases without a conversion call
    case VT_R8: out = v.dblVal; return true;
    case VT_DATE: out = v.date; return true;
    case VT_I4: out = v.lVal; return true;
    case VT_INT: out = v.intVal; return true;
    case VT_UI4: out = v.ulVal; return true;
    default: break;
    }
    VARIANT tmp;
    if (!ChangeType(v, vt, tmp)) return false;
    out = vt == VT_DATE ? tmp.date : tmp.dblVal;
    ::VariantClear(&tmp);
    return true;
}

// TCopyVariantToE<T, VT>: a value as a number of type T through the
// conversion to VT; TCopyVariantToIp: a value as an IPv4 address (its
// 32-bit number, given as a real number). False when the value does not
// convert; the column then stores 0.
template <class T, VARTYPE VT>
struct TCopyVariantToE;

template <>
struct TCopyVariantToE<int, VT_I4> {
    static bool Copy(const VARIANT& v, int& out) {
        if (v.vt == VT_I4) {
            out = v.lVal;
            return true;
        }
        VARIANT tmp;
        if (!ChangeType(v, VT_I4, tmp)) return false;
        out = tmp.lVal;
        return true;
    }
};

template <>
struct TCopyVariantToE<double, VT_DATE> {
    // A real number first; a text that is not one may still be a date.
    static bool Copy(const VARIANT& v, double& out) {
        return (ToDouble(v, VT_R8, out) || ToDouble(v, VT_DATE, out)) && std::isfinite(out);
    }
};

struct TCopyVariantToIp {
    static bool Copy(const VARIANT& v, unsigned long& out) {
        double d = 0;
        if (!ToDouble(v, VT_R8, d) || !(d >= 0.0 && d < 4294967296.0)) return false;
        out = static_cast<unsigned long>(d);
        return true;
    }
};

const std::string& EmptyText() {
    static const std::string empty;
    return empty;
}

class TStringColumn : public TGridColumn {
public:
    bool Less(int a, int b) override {
        const std::string& ta = Text(a);
        const std::string& tb = Text(b);
        // Case folded; empty texts after all others.
        if (ta.empty()) return false;
        if (tb.empty()) return true;
        return CompareFolded(ta, tb) < 0;
    }
    bool Equal(int a, int b) override { return Text(a) == Text(b); }
    void SetValue(int id, const CELL_CONTENT& content) override {
        if (id < 0 || size_t(id) >= m_texts.size()) return;
        m_texts[size_t(id)] = content.middle.text ? content.middle.text : "";
    }
    void Resize(int count) override { m_texts.resize(count > 0 ? size_t(count) : 0); }
    void GetText(int id, std::string& text) override { text = Text(id); }
    bool IsEmpty(int id) override { return Text(id).empty(); }

private:
    const std::string& Text(int id) const {
        return id >= 0 && size_t(id) < m_texts.size() ? m_texts[size_t(id)] : EmptyText();
    }
    std::vector<std::string> m_texts;
};

template <class T, class Copier>
class TVariantColumnImpl : public TGridColumn {
public:
    bool Less(int a, int b) override { return Number(a) < Number(b); }
    bool Equal(int a, int b) override { return Number(a) == Number(b); }
    void SetValue(int id, const CELL_CONTENT& content) override {
        if (id < 0 || size_t(id) >= m_entries.size()) return;
        Entry& e = m_entries[size_t(id)];
        e.text = content.middle.text ? content.middle.text : "";
        e.number = T();
        const VARIANT* source = SourceOf(content.middle);
        T number = T();
        if (source && Copier::Copy(*source, number)) e.number = number;
    }
    void Resize(int count) override { m_entries.resize(count > 0 ? size_t(count) : 0); }
    void GetText(int id, std::string& text) override { text = Valid(id) ? m_entries[size_t(id)].text : EmptyText(); }
    bool IsEmpty(int id) override { return !Valid(id) || m_entries[size_t(id)].text.empty(); }

private:
    struct Entry {
        std::string text;
        T number = T();
    };
    bool Valid(int id) const { return id >= 0 && size_t(id) < m_entries.size(); }
    T Number(int id) const { return Valid(id) ? m_entries[size_t(id)].number : T(); }
    std::vector<Entry> m_entries;
};

}  // namespace

TGridColumn* CreateGridColumn(int typeCode) {
    switch (typeCode) {
    case COLUMN_TYPE_INTEGER: return new TVariantColumnImpl<int, TCopyVariantToE<int, VT_I4>>;
    case COLUMN_TYPE_IP: return new TVariantColumnImpl<unsigned long, TCopyVariantToIp>;
    case COLUMN_TYPE_REAL: return new TVariantColumnImpl<double, TCopyVariantToE<double, VT_DATE>>;
    default: return new TStringColumn;
    }
}
