#include "xl_book.h"

#include <cmath>
#include <tuple>

#include <xlsxwriter.h>

namespace xl {

bool Sheet::SetName(const std::string& name) {
    // At most 31 characters (not bytes: the name is UTF-8).
    size_t characters = 0;
    for (unsigned char c : name) characters += (c & 0xC0) != 0x80;
    if (name.empty() || characters > 31) return false;
    if (name.find_first_of(":\\/?*[]") != std::string::npos) return false;
    if (name.front() == '\'' || name.back() == '\'') return false;
    m_name = name;
    return true;
}

const Cell* Sheet::Find(int row, int col) const {
    auto it = m_cells.find({row, col});
    return it == m_cells.end() ? nullptr : &it->second;
}

void Sheet::Merge(Rect r) {
    // A merged area never overlaps another: joining one may reach further ones.
    for (bool grown = true; grown;) {
        grown = false;
        for (auto it = m_merges.begin(); it != m_merges.end(); ++it) {
            if (!it->Overlaps(r)) continue;
            r.row1 = std::min(r.row1, it->row1);
            r.col1 = std::min(r.col1, it->col1);
            r.row2 = std::max(r.row2, it->row2);
            r.col2 = std::max(r.col2, it->col2);
            m_merges.erase(it);
            grown = true;
            break;
        }
    }
    if (r.Cells() > 1) m_merges.push_back(r);
}

bool Sheet::IsHiddenByMerge(int row, int col) const {
    for (const Rect& r : m_merges)
        if (row >= r.row1 && row <= r.row2 && col >= r.col1 && col <= r.col2) return row != r.row1 || col != r.col1;
    return false;
}

double Sheet::GetColumnWidth(int col) const {
    auto it = m_widths.find(col);
    return it == m_widths.end() ? kDefaultColumnWidth : it->second;
}

double ColumnWidthPoints(double characters) {
    if (characters <= 0) return 0;
    double pixels = characters < 1 ? std::floor(characters * 12 + 0.5) : std::floor(characters * 7 + 0.5) + 5;
    return pixels * 0.75;
}

Book::Book(std::string name, int sheets) : m_name(std::move(name)) {
    for (int i = 1; i <= sheets; ++i) m_sheets.push_back(std::make_unique<Sheet>("Sheet" + std::to_string(i)));
}

namespace {

// One libxlsxwriter format per distinct look, made on first use.
class FormatCache {
public:
    explicit FormatCache(lxw_workbook* wb) : m_wb(wb) {}
    lxw_format* Get(const Cell& c) {
        if (!c.wrap && !c.bold && c.hAlign == H_GENERAL && c.vAlign == V_BOTTOM && c.value.numFormat.empty())
            return nullptr;
        auto key = std::make_tuple(c.wrap, c.bold, c.hAlign, c.vAlign, c.value.numFormat);
        auto it = m_formats.find(key);
        if (it != m_formats.end()) return it->second;
        lxw_format* f = workbook_add_format(m_wb);
        if (!f) return nullptr;
        if (c.wrap) format_set_text_wrap(f);
        if (c.bold) format_set_bold(f);
        switch (c.hAlign) {
        case H_CENTER: format_set_align(f, LXW_ALIGN_CENTER); break;
        case H_LEFT: format_set_align(f, LXW_ALIGN_LEFT); break;
        case H_RIGHT: format_set_align(f, LXW_ALIGN_RIGHT); break;
        default: break;
        }
        switch (c.vAlign) {
        case V_CENTER: format_set_align(f, LXW_ALIGN_VERTICAL_CENTER); break;
        case V_TOP: format_set_align(f, LXW_ALIGN_VERTICAL_TOP); break;
        default: break;
        }
        if (!c.value.numFormat.empty()) format_set_num_format(f, c.value.numFormat.c_str());
        m_formats.emplace(key, f);
        return f;
    }

private:
    lxw_workbook* m_wb;
    std::map<std::tuple<bool, bool, int, int, std::string>, lxw_format*> m_formats;
};

bool Check(lxw_error e, const char* what, std::string& error) {
    if (e == LXW_NO_ERROR) return true;
    error = std::string(what) + ": " + lxw_strerror(e);
    return false;
}

}  // namespace

bool Book::Save(const std::string& path, std::string& error) {
    lxw_workbook* wb = workbook_new(path.c_str());
    if (!wb) {
        error = "cannot start the workbook " + path;
        return false;
    }
    FormatCache formats(wb);
    bool ok = true;
    for (auto& sheet : m_sheets) {
        lxw_worksheet* ws = workbook_add_worksheet(wb, sheet->GetName().c_str());
        if (!ws) {
            error = "cannot add the sheet " + sheet->GetName();
            ok = false;
            break;
        }
        for (const auto& [col, width] : sheet->GetColumnWidths())
            ok = ok && Check(worksheet_set_column(ws, lxw_col_t(col), lxw_col_t(col), width, nullptr), "column width", error);
        // A merged area shows its first cell over the whole area: the area
        // first (it pads itself with blanks in the first cell's format), then
        // the cells, of which those hidden under an area are left out.
        for (const Rect& r : sheet->GetMerges()) {
            if (!ok) break;
            const Cell* first = sheet->Find(r.row1, r.col1);
            ok = Check(worksheet_merge_range(ws, lxw_row_t(r.row1), lxw_col_t(r.col1), lxw_row_t(r.row2),
                                             lxw_col_t(r.col2), "", first ? formats.Get(*first) : nullptr),
                       "merged range", error);
        }
        for (const auto& [at, cell] : sheet->GetCells()) {
            if (!ok) break;
            if (sheet->IsHiddenByMerge(at.first, at.second)) continue;
            const lxw_row_t row = lxw_row_t(at.first);
            const lxw_col_t col = lxw_col_t(at.second);
            lxw_format* f = formats.Get(cell);
            switch (cell.value.kind) {
            case TypedValue::TEXT:
                ok = Check(worksheet_write_string(ws, row, col, cell.value.text.c_str(), f), "cell text", error);
                break;
            case TypedValue::NUMBER:
                ok = Check(worksheet_write_number(ws, row, col, cell.value.number, f), "cell number", error);
                break;
            case TypedValue::BOOLEAN:
                ok = Check(worksheet_write_boolean(ws, row, col, cell.value.number != 0, f), "cell truth value", error);
                break;
            case TypedValue::EMPTY:
                if (f) ok = Check(worksheet_write_blank(ws, row, col, f), "blank cell", error);
                break;
            }
        }
        if (!ok) break;
    }
    lxw_error closed = workbook_close(wb);  // frees wb whatever happens
    if (ok && closed != LXW_NO_ERROR) {
        error = std::string("writing ") + path + ": " + lxw_strerror(closed);
        ok = false;
    }
    if (ok) m_saved = true;
    return ok;
}

}  // namespace xl
