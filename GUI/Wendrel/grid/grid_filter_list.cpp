#include "grid/grid_filter_list.h"

#include <algorithm>

#include "grid/grid_device.h"
#include "grid/grid_style.h"

namespace {

// Orders value rows by level, then blanks first, then by the column. Rows
// that the column finds neither less nor equal (texts that differ only in
// case) are ordered by their exact texts, so equal values end up together.
class TLevelRowComporator : public TRowComparator {
public:
    TLevelRowComporator(const TGridHierarchy& plain, TGridColumn& column) : m_plain(plain), m_column(column) {}
    bool Less(int a, int b) override {
        const int la = m_plain[a].level, lb = m_plain[b].level;
        if (la != lb) return la < lb;
        if (m_column.IsEmpty(b)) return false;
        if (m_column.IsEmpty(a)) return true;
        if (m_column.Less(a, b)) return true;
        if (m_column.Less(b, a) || m_column.Equal(a, b)) return false;
        m_column.GetText(a, m_a);
        m_column.GetText(b, m_b);
        return m_a < m_b;
    }
    bool Equal(int a, int b) override {
        return m_plain[a].level == m_plain[b].level && m_column.IsEmpty(a) == m_column.IsEmpty(b) && m_column.Equal(a, b);
    }

private:
    const TGridHierarchy& m_plain;
    TGridColumn& m_column;
    std::string m_a, m_b;
};

}  // namespace

TFilterListView::TFilterListView(const TGridHierarchy& plain, const TColumnMap& column) : m_plain(plain), m_column(column) {
    for (int id = 0; id < plain.GetRowCount(); ++id)
        if (plain[id].data & NODE_VALUE_ROW) m_rows.push_back(id);
    TGridColumn& values = *column.column;
    TLevelRowComporator order(plain, values);
    std::stable_sort(m_rows.begin(), m_rows.end(), [&](int a, int b) { return order.Less(a, b); });

    for (int i = 0; i < int(m_rows.size()); ++i) {
        if (i > 0 && order.Equal(m_rows[size_t(i - 1)], m_rows[size_t(i)])) {
            m_items.back().end = i + 1;
            continue;
        }
        Item item;
        item.first = i;
        item.end = i + 1;
        m_items.push_back(item);
    }

    // Within each level, a blank item followed by values gets a
    // "(NonBlanks)" item right after it covering those values.
    if (m_items.size() < 2) return;
    auto levelOf = [&](const Item& item) { return plain[m_rows[size_t(item.first)]].level; };
    auto blank = [&](const Item& item) { return values.IsEmpty(m_rows[size_t(item.first)]); };
    int runLevel = levelOf(m_items.back());
    size_t runLast = m_items.size() - 1;
    bool valueAfter = false;
    for (size_t k = m_items.size() - 1; k >= 1; --k) {
        if (levelOf(m_items[k]) != runLevel) {
            runLevel = levelOf(m_items[k]);
            runLast = k;
            valueAfter = false;
        }
        if (!blank(m_items[k])) {
            valueAfter = true;
        } else if (valueAfter) {
            Item group;
            group.group = true;
            group.first = m_items[k + 1].first;
            group.end = m_items[runLast].end;
            m_items.insert(m_items.begin() + std::ptrdiff_t(k + 1), group);
            ++runLast;
        }
    }
}

std::string TFilterListView::GetItemText(int k) const {
    if (k == 0) return "(All)";
    const Item& item = m_items[size_t(k)];
    if (item.group) return "(NonBlanks)";
    std::string text;
    m_column.column->GetText(m_rows[size_t(item.first)], text);
    return text.empty() ? "(Blanks)" : text;
}

int TFilterListView::GetItemStyle(int k) const {
    if (k == 0) return STYLE_FILTER_ALL;
    const int id = m_rows[size_t(m_items[size_t(k)].first)];
    return id >= 0 && size_t(id) < m_column.styles.size() ? m_column.styles[size_t(id)] : STYLE_NORMAL;
}

void TFilterListView::Draw(GRID_DEVICE& device, const CELL_INFO& info) {
    const CELL_RANGE& r = info.range;
    if (r.IsEmpty() || r.left > 0 || r.right <= 0) return;
    const int bottom = std::min(r.bottom, int(m_items.size()));
    for (int k = std::max(r.top, 0); k < bottom; ++k) {
        if (!device.BeginRow(k)) continue;
        const std::string text = GetItemText(k);
        {
            TStyleScope style(device, GetItemStyle(k));
            CELL_CONTENT content;
            content.middle.text = text.c_str();
            device.RenderRange(CELL_RANGE(0, k, 1, k + 1), content);
        }
        device.EndRow(k);
    }
}
