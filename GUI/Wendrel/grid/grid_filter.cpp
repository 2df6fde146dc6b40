#include "grid/grid_filter.h"

#include <algorithm>
#include <numeric>
#include <stdexcept>
#include <string>
#include <unordered_set>

#include "grid/grid_filter_list.h"
#include "grid/grid_graphic.h"

namespace {

// Collects every cell's value and style into a column map, by row id.
class FILTER_DEVICE : public GRID_DEVICE {
public:
    FILTER_DEVICE(TGridMap& map, const TRowOrder* order) : m_map(map), m_order(order) {}
    void DoRenderRange(const CELL_RANGE&, const CELL_RANGE& gridRange, CELL_CONTENT& content) override {
        const int columns = int(m_map.size());
        for (int c = std::max(gridRange.left, 0); c < std::min(gridRange.right, columns); ++c) {
            TColumnMap& map = m_map[size_t(c)];
            const int rows = int(map.styles.size());
            for (int r = std::max(gridRange.top, 0); r < std::min(gridRange.bottom, rows); ++r) {
                // Drawn at its display position, stored at its row id.
                const int id = m_order ? m_order->posToId[size_t(r)] : r;
                if (id < 0 || id >= rows) continue;
                map.column->SetValue(id, content);
                map.styles[size_t(id)] = m_style;
            }
        }
    }

private:
    TGridMap& m_map;
    const TRowOrder* m_order;
};

// Puts a device's previous row mask back and takes the decorator's sink off
// it at the end of a draw (also when drawing throws).
class TDrawScope {
public:
    TDrawScope(GRID_DEVICE& device, const TRowMask* mask, IDeviceSink* sink)
        : m_device(device), m_previous(device.SetFilter(mask)), m_sink(sink) {
        device.Advise(sink);
    }
    ~TDrawScope() {
        Unadvise();
        m_device.SetFilter(m_previous);
    }
    void Unadvise() {
        if (m_sink) m_device.Unadvise(m_sink);
        m_sink = nullptr;
    }
    TDrawScope(const TDrawScope&) = delete;
    TDrawScope& operator=(const TDrawScope&) = delete;

private:
    GRID_DEVICE& m_device;
    const TRowMask* m_previous;
    IDeviceSink* m_sink;
};

// Pixels between the tree levels.
constexpr int kLevelIndent = 12;
// Image indices of the glyphs in the element images.
enum { GLYPH_COLLAPSED = 0, GLYPH_EXPANDED = 1, GLYPH_LEAF = 2, FILTER_BUTTON = 9, FILTER_BUTTON_ACTIVE = 10 };
constexpr UINT kFlatPushButton = DFCS_BUTTONPUSH | DFCS_FLAT;

}  // namespace

CFilterDecorator::CFilterDecorator(CDefGridView* view) : CDefGridDecoratorImpl(view) {
    m_mask.order = &m_order;
    m_mask.shown = &m_shown;
}

CFilterDecorator::~CFilterDecorator() = default;

CELL_COORD CFilterDecorator::GetSize() const {
    CELL_COORD size = m_view->GetSize();
    size.column += m_leftCount;
    return size;
}

void CFilterDecorator::GetActiveRange(CELL_RANGE& range) const {
    m_view->GetActiveRange(range);
    range.left += m_leftCount;
    range.right += m_leftCount;
}

int CFilterDecorator::PositionOf(int id) const {
    if (!m_order) return id;
    return id >= 0 && size_t(id) < m_order->idToPos.size() ? m_order->idToPos[size_t(id)] : id;
}

int CFilterDecorator::RowIdAt(int position) const {
    if (!m_order) return position;
    return position >= 0 && size_t(position) < m_order->posToId.size() ? m_order->posToId[size_t(position)] : position;
}

// ---------------------------------------------------------------- trees and maps

void CFilterDecorator::RebuildRowMask() {
    m_mask.Rebuild(m_rowCount);
    m_treeCacheValid = false;
}

void CFilterDecorator::Invalidate() {
    m_hierarchy.reset();
    m_plain.reset();
    m_map.reset();
    m_order.reset();
}

const TGridHierarchy& CFilterDecorator::GetHierarchy() {
    const int rows = std::max(m_view->GetSize().row, 0);
    if (m_hierarchy && rows == m_rowCount) return *m_hierarchy;
    // First use, or rows added or removed since: what was built describes
    // other rows.
    Invalidate();
    m_rowCount = rows;
    auto tree = std::make_unique<TGridHierarchy>();
    {
        TGridHierarchyBuilder builder(*tree, rows);
        m_view->BuildHierarchy(builder, true);
    }
    auto plain = std::make_unique<TGridHierarchy>();
    {
        TGridHierarchyBuilder builder(*plain, rows);
        m_view->BuildHierarchy(builder, false);
    }
    m_hierarchy = std::move(tree);
    m_plain = std::move(plain);
    m_expanded.assign(size_t(rows), true);
    m_shown.assign(size_t(rows), true);
    m_levels.assign(size_t(std::max(m_hierarchy->depth, 0)), true);
    RebuildRowMask();
    return *m_hierarchy;
}

const TGridHierarchy& CFilterDecorator::GetPlainHierarchy() {
    GetHierarchy();
    return *m_plain;
}

const TGridMap& CFilterDecorator::GetGridMap() {
    BuildGridMap();
    return *m_map;
}

void CFilterDecorator::BuildGridMap() {
    GetHierarchy();
    if (m_map) return;
    const int rows = m_rowCount;
    const int columns = std::max(m_view->GetSize().column, 0);
    auto map = std::make_unique<TGridMap>(size_t(columns));
    for (int c = 0; c < columns; ++c) {
        TColumnMap& col = (*map)[size_t(c)];
        col.column.reset(m_view->CreateColumn(c));
        // A view without column objects (a border without a header) compares as text.
        if (!col.column) col.column.reset(CreateGridColumn(COLUMN_TYPE_TEXT));
        col.column->Resize(rows);
        col.styles.assign(size_t(rows), 0);
        col.mask.assign(size_t(rows), false);
        for (int r = 0; r < rows; ++r) col.mask[size_t(r)] = !((*m_plain)[r].data & NODE_VALUE_ROW);
        if (rows > 0) col.mask[0] = true;
    }
    FILTER_DEVICE device(*map, m_order.get());
    m_view->Draw(device, CELL_INFO(CELL_RANGE(0, 0, columns, rows)));
    m_map = std::move(map);
}

TRowBits& CFilterDecorator::GetVisibleRows(int column) {
    BuildGridMap();
    const int index = column == GRID_UNSET ? column : column - m_leftCount;
    if (index < 0 || size_t(index) >= m_map->size()) throw std::out_of_range("no such filter column");
    return (*m_map)[size_t(index)].mask;
}

const TColumnMap& CFilterDecorator::GetColumnMap() {
    BuildGridMap();
    if (m_activeColumn < 0 || size_t(m_activeColumn) >= m_map->size()) throw std::out_of_range("no active filter column");
    return (*m_map)[size_t(m_activeColumn)];
}

TFilterListView* CFilterDecorator::GetDropDownView(int) {
    BuildGridMap();
    if (m_activeColumn < 0 || size_t(m_activeColumn) >= m_map->size()) return nullptr;
    return new TFilterListView(*m_plain, GetColumnMap());
}

void CFilterDecorator::HottrackColumn(int column, bool on) {
    m_hotColumn = on && column != GRID_UNSET ? column - m_leftCount : GRID_UNSET;
}

void CFilterDecorator::SetActiveColumn(int column) {
    m_activeColumn = column == GRID_UNSET ? GRID_UNSET : column - m_leftCount;
    ValidateActiveColumn();
}

// ---------------------------------------------------------------- filtering

bool CFilterDecorator::IsRowSelected(int row) {
    BuildGridMap();
    return PassesColumns(row);
}

bool CFilterDecorator::PassesColumns(int row) const {
    if (row < 0 || row >= m_rowCount) return false;
    for (const TColumnMap& col : *m_map) {
        int r = row;
        // A set bit on the row or an ancestor lets it through.
        while (!col.mask[size_t(r)]) {
            r = (*m_plain)[r].parent;
            if (r == GRID_UNSET || r < 0 || r >= m_rowCount) return false;
        }
    }
    return true;
}

void CFilterDecorator::ApplyFilterFromRoot() {
    const int rows = m_rowCount;
    if (rows == 0) return;
    const TGridHierarchy& tree = *m_hierarchy;
    // Down the tree (iteratively: key trees may be deep): whether each row
    // passes, whether an ancestor passed, and whether its ancestors are expanded.
    std::vector<int> order;
    order.reserve(size_t(rows));
    std::vector<char> passes(size_t(rows), 0), ancestor(size_t(rows), 0), visible(size_t(rows), 0);
    std::vector<int> stack(1, 0);
    visible[0] = 1;
    while (!stack.empty()) {
        const int row = stack.back();
        stack.pop_back();
        order.push_back(row);
        passes[size_t(row)] = PassesColumns(row);
        for (int child : tree[row].children) {
            ancestor[size_t(child)] = passes[size_t(row)] || ancestor[size_t(row)];
            visible[size_t(child)] = visible[size_t(row)] && m_expanded[size_t(row)];
            stack.push_back(child);
        }
    }
    // Up the tree: a group stays while anything under it passes; everything
    // under a passing row stays; a collapsed row hides its subtree.
    std::vector<char> subtree(size_t(rows), 0);
    for (auto it = order.rbegin(); it != order.rend(); ++it) {
        const int row = *it;
        bool anyChild = false;
        for (int child : tree[row].children) anyChild = anyChild || subtree[size_t(child)];
        const bool selfOnly = (tree[row].data & NODE_SELF_FILTER) || (!ancestor[size_t(row)] && !anyChild);
        m_shown[size_t(row)] = selfOnly ? (visible[size_t(row)] && passes[size_t(row)]) : visible[size_t(row)];
        subtree[size_t(row)] = passes[size_t(row)] || anyChild;
    }
}

void CFilterDecorator::RecomputeLevels() {
    const TGridHierarchy& tree = *m_hierarchy;
    m_levels.assign(size_t(std::max(tree.depth, 0)), true);
    for (int row = 0; row < m_rowCount; ++row) {
        const TGridNode& node = tree[row];
        if (!node.children.empty() && !m_expanded[size_t(row)] && node.level >= 0 && node.level < int(m_levels.size()))
            m_levels[size_t(node.level)] = false;
    }
    bool clear = false;
    for (size_t level = 0; level < m_levels.size(); ++level) {
        if (!m_levels[level]) clear = true;
        if (clear) m_levels[level] = false;
    }
}

void CFilterDecorator::ApplyFilter() {
    BuildGridMap();
    ApplyFilterFromRoot();
    if (m_rowCount > 0) m_shown[0] = true;
    RebuildRowMask();
    RecomputeLevels();
    FireOnChange();
}

void CFilterDecorator::RemoveFilter() {
    m_map.reset();
    ApplyFilter();
}

// ---------------------------------------------------------------- expanding

bool CFilterDecorator::IsExpanded(int row) {
    GetHierarchy();
    const int id = RowIdAt(row);
    if (id < 0 || id >= m_rowCount) return false;
    const TGridNode& node = (*m_hierarchy)[id];
    if (node.parent != GRID_UNSET) return m_expanded[size_t(id)];
    for (int child : node.children)
        if (!m_expanded[size_t(child)]) return false;
    return true;
}

void CFilterDecorator::Expand(int row, bool expand) {
    GetHierarchy();
    const int id = RowIdAt(row);
    if (id < 0 || id >= m_rowCount) return;
    const TGridNode& node = (*m_hierarchy)[id];
    if (node.parent != GRID_UNSET) {
        m_expanded[size_t(id)] = expand;
    } else {
        for (int child : node.children) m_expanded[size_t(child)] = expand;
    }
    ApplyFilter();
}

bool CFilterDecorator::IsLevelExpanded(int level) const {
    return level >= 0 && size_t(level) < m_levels.size() && m_levels[size_t(level)];
}

void CFilterDecorator::ExpandLevel(int level, bool expand) {
    GetHierarchy();
    for (int row = 0; row < m_rowCount; ++row) {
        const int l = (*m_hierarchy)[row].level;
        if (l == GRID_UNSET) continue;
        if (expand && l <= level) m_expanded[size_t(row)] = true;
        if (!expand && l == level) m_expanded[size_t(row)] = false;
    }
    ApplyFilter();
}

// ---------------------------------------------------------------- sorting

bool CFilterDecorator::Sort(int column, TRowComparator* comparator) {
    GetHierarchy();
    const int rows = m_rowCount;
    if (column == GRID_UNSET) {
        if (!m_view->CapableOf(CAP_NATURAL_ORDER)) return false;
        m_order.reset();
        TTrivialRowComparator natural;
        m_view->Sort(GRID_UNSET, &natural);
    } else {
        const int index = column - m_leftCount;
        if (!comparator || index < 0 || index >= m_view->GetSize().column) return false;
        if (!m_order) {
            // Number the rows in their present order: a row's id is its
            // position before the first column sort.
            auto order = std::make_unique<TRowOrder>();
            order->idToPos.resize(size_t(rows));
            std::iota(order->idToPos.begin(), order->idToPos.end(), 0);
            order->posToId = order->idToPos;
            std::vector<int> ids(order->idToPos);
            m_view->IndexRows(true, ids.begin());
            m_order = std::move(order);
        }
        BuildGridMap();
        TRowComparator* byColumn = (*m_map)[size_t(index)].column.get();
        if (!m_sortColumns.empty()) {
            m_multi = std::make_unique<TMultiComparator>();
            m_multi->Add(byColumn);
            for (int extra : m_sortColumns)
                if (extra != index && extra >= 0 && size_t(extra) < m_map->size()) m_multi->Add((*m_map)[size_t(extra)].column.get());
            byColumn = m_multi.get();
        }
        comparator->SetComparator(byColumn);
        m_view->Sort(index, comparator);
        // Read the ids back in display order. Should the view not give every
        // row a valid, distinct id, the rows are taken in display order.
        std::vector<int> ids(static_cast<size_t>(rows));
        std::iota(ids.begin(), ids.end(), 0);
        m_view->IndexRows(false, ids.begin());
        std::vector<int> idToPos(size_t(rows), -1);
        bool valid = true;
        for (int p = 0; p < rows && valid; ++p) {
            const int id = ids[size_t(p)];
            if (id < 0 || id >= rows || idToPos[size_t(id)] != -1)
                valid = false;
            else
                idToPos[size_t(id)] = p;
        }
        if (!valid) {
            std::iota(ids.begin(), ids.end(), 0);
            idToPos = ids;
        }
        m_order->posToId = std::move(ids);
        m_order->idToPos = std::move(idToPos);
    }
    RebuildRowMask();
    return true;
}

void CFilterDecorator::ArrangeHierarchy() {
    const int rows = std::max(m_view->GetSize().row, 0);
    TGridHierarchy tree;
    {
        TGridHierarchyBuilder builder(tree, rows);
        BuildHierarchy(builder, true);
    }
    // Depth first from row 0: a row, then its children that have children
    // (each with its subtree), then its children without children.
    std::vector<int> numbers(size_t(rows), 0);
    if (rows > 0) {
        int next = 0;
        std::vector<int> stack(1, 0);
        while (!stack.empty()) {
            const int row = stack.back();
            stack.pop_back();
            numbers[size_t(row)] = next++;
            const std::vector<int>& children = tree[row].children;
            for (auto it = children.rbegin(); it != children.rend(); ++it)
                if (tree[*it].children.empty()) stack.push_back(*it);
            for (auto it = children.rbegin(); it != children.rend(); ++it)
                if (!tree[*it].children.empty()) stack.push_back(*it);
        }
    }
    std::vector<int> ids(static_cast<size_t>(rows));
    std::iota(ids.begin(), ids.end(), 0);
    m_view->IndexRows(true, ids.begin());
    TRowComparatorOnVector byNumber(&numbers);
    m_view->Sort(GRID_UNSET, &byNumber);
    // The tree order becomes the unsorted order: numbered again where the
    // rows now are, a return to the unsorted order keeps them in tree order
    // instead of putting them back where they were before.
    std::iota(ids.begin(), ids.end(), 0);
    m_view->IndexRows(true, ids.begin());
    // What was built described the rows where they were.
    if (m_hierarchy) {
        Invalidate();
        m_rowCount = 0;
        FireOnChange();
    }
}

// ---------------------------------------------------------------- saving

FILTER_SAVE CFilterDecorator::SaveFilter() {
    BuildGridMap();
    FILTER_SAVE save;
    std::string text;
    for (TColumnMap& col : *m_map) {
        save.emplace_back();
        if (!col.IsFiltered()) continue;
        std::list<CString>& list = save.back();
        std::unordered_set<std::string> saved;
        for (int r = 1; r < m_rowCount; ++r) {
            if (col.mask[size_t(r)]) continue;
            col.column->GetText(r, text);
            if (saved.insert(text).second) list.emplace_back(text.c_str());
        }
    }
    return save;
}

void CFilterDecorator::LoadFilter(FILTER_SAVE save) {
    BuildGridMap();
    if (save.size() != m_map->size()) return;
    std::string text;
    for (size_t c = 0; c < save.size(); ++c) {
        if (save[c].empty()) continue;
        TColumnMap& col = (*m_map)[c];
        std::unordered_set<std::string> out;
        for (const CString& s : save[c]) out.insert(std::string(s.GetString(), size_t(s.GetLength())));
        if (m_rowCount > 0) col.mask[0] = false;
        for (int r = 1; r < m_rowCount; ++r) {
            col.column->GetText(r, text);
            col.mask[size_t(r)] = out.count(text) == 0;
        }
    }
    ApplyFilter();
}

// ---------------------------------------------------------------- drawing

void CFilterDecorator::BeforeRenderRange(const CELL_RANGE& range, CELL_CONTENT& content) {
    if (range.Width() != 1 || range.Height() != 1 || range.top != 0 || range.left < m_leftCount) return;
    if (!m_site || !m_site->GetEnabledTools().test(GRID_TOOL_FILTER)) return;
    const int index = range.left - m_leftCount;
    const bool filtered = m_map && size_t(index) < m_map->size() && (*m_map)[size_t(index)].IsFiltered();
    CELL_ELEMENT& button = content.right;
    button.image = filtered ? FILTER_BUTTON_ACTIVE : FILTER_BUTTON;
    button.element = static_cast<IFilterElement*>(this);
    button.toolKind = GRID_TOOL_FILTER;
    button.buttonKind = DFC_BUTTON;
    button.buttonState = index == m_activeColumn ? (DFCS_BUTTONPUSH | DFCS_PUSHED) : DFCS_BUTTONPUSH;
}

void CFilterDecorator::Draw(GRID_DEVICE& device, const CELL_INFO& info) {
    GetHierarchy();
    TDrawScope scope(device, &m_mask, static_cast<IDeviceSink*>(this));
    const CELL_RANGE& r = info.range;
    if (r.IsUnset()) return;
    const int columns = m_view->GetSize().column;
    const CELL_RANGE inner(std::clamp(r.left - m_leftCount, 0, std::max(columns, 0)), r.top,
                           std::clamp(r.right - m_leftCount, 0, std::max(columns, 0)), r.bottom);
    {
        TCellMapShift shift(device, CELL_COORD(m_leftCount, 0));
        m_view->Draw(device, CELL_INFO(inner));
    }
    scope.Unadvise();
    if (m_leftCount != 1 || r.left > 0 || r.right <= 0) return;
    // The tree column is drawn only by passes that lay cells out in pixels.
    GRAPHIC_DEVICE* graphic = dynamic_cast<GRAPHIC_DEVICE*>(&device);
    if (!graphic) return;
    const int first = std::max(1, r.top), last = std::min(r.bottom, m_rowCount);
    if (first < last) {
        for (int row = first; row < last; ++row) {
            CELL_CONTENT empty;
            device.RenderRange(CELL_RANGE(0, row, 1, row + 1), empty);
        }
        DrawTree(*graphic, CELL_RANGE(0, first, 1, last));
    }
    if (r.top <= 0 && r.bottom > 0 && m_rowCount > 0) {
        TStyleScope header(device, STYLE_HEADER);
        CELL_CONTENT empty;
        device.RenderRange(CELL_RANGE(0, 0, 1, 1), empty);
        DrawLevelButtons(*graphic);
    }
}

void CFilterDecorator::BuildTreeCache() {
    if (m_treeCacheValid) return;
    const TGridHierarchy& tree = *m_hierarchy;
    const int rows = m_rowCount;
    m_inWalk.assign(size_t(rows), 0);
    m_lastBelow.assign(size_t(rows), -1);
    m_connectors.clear();
    if (rows > 0) {
        // Depth first from the root; with a row order, rows shown only on
        // their own merit are skipped with their subtrees.
        std::vector<int> walk;
        std::vector<int> stack(1, 0);
        while (!stack.empty()) {
            const int row = stack.back();
            stack.pop_back();
            if (m_order && row != 0 && (tree[row].data & NODE_SELF_FILTER)) continue;
            walk.push_back(row);
            m_inWalk[size_t(row)] = 1;
            const std::vector<int>& children = tree[row].children;
            for (auto it = children.rbegin(); it != children.rend(); ++it) stack.push_back(*it);
        }
        for (auto it = walk.rbegin(); it != walk.rend(); ++it) {
            int last = -1;
            for (int child : tree[*it].children) {
                if (m_shown[size_t(child)]) last = std::max(last, PositionOf(child));
                last = std::max(last, m_lastBelow[size_t(child)]);
            }
            m_lastBelow[size_t(*it)] = last;
        }
        for (int row : walk) {
            const int pos = PositionOf(row);
            if (m_shown[size_t(row)] && tree[row].parent != GRID_UNSET && m_lastBelow[size_t(row)] > pos)
                m_connectors.emplace_back(pos, row);
        }
        std::sort(m_connectors.begin(), m_connectors.end());
    }
    m_treeCacheValid = true;
}

void CFilterDecorator::DrawTree(GRAPHIC_DEVICE& device, const CELL_RANGE& request) {
    const TGridHierarchy& tree = *m_hierarchy;
    if (m_rowCount == 0) return;
    const CELL_IMAGE& image = device.GetCellImage();
    const CELL_COORD map = device.GetCellMap();
    if (map.column < 0 || map.column >= image.GetColumnCount()) return;
    BuildTreeCache();
    const int cellLeft = image.GetColumn(map.column).position;
    auto rowTop = [&](int pos) { return image.GetRow(map.row + pos).position; };
    auto rowHeight = [&](int pos) { return image.GetRow(map.row + pos).height; };
    auto inLayout = [&](int pos) { return map.row + pos >= 0 && map.row + pos < image.GetRowCount(); };
    // Only shown rows that have a parent, and that the walk reaches, get a glyph.
    auto hasGlyph = [&](int id) {
        return id >= 0 && id < m_rowCount && m_inWalk[size_t(id)] && m_shown[size_t(id)] && tree[id].parent != GRID_UNSET;
    };

    CELL_ELEMENT glyph;
    glyph.buttonKind = DFC_BUTTON;
    glyph.buttonState = kFlatPushButton;
    glyph.toolKind = GRID_TOOL_EXPAND;
    glyph.element = static_cast<IPlusElement*>(this);
    glyph.data = -1;
    const CSize size = device.GetElementSize(glyph);

    if (device.Measurement()) {
        for (int id = 0; id < m_rowCount; ++id) {
            const int pos = PositionOf(id);
            if (hasGlyph(id) && inLayout(pos)) device.StretchRow(map.row + pos, size.cy - 4);
        }
        return;
    }
    // Connectors: from a glyph down to the last shown row below it, for the
    // rows whose span meets the request.
    for (const auto& [pos, row] : m_connectors) {
        if (pos >= request.bottom) break;
        const int last = m_lastBelow[size_t(row)];
        if (last < request.top || !inLayout(pos) || !inLayout(last)) continue;
        const int cx = cellLeft + kLevelIndent * tree[row].level;
        const int cy = rowTop(pos) + rowHeight(pos) / 2;
        const int bottom = rowTop(last) + rowHeight(last) - (tree[row].parent == 0 ? 3 : 1);
        const CELL_RANGE span(0, pos, 1, last + 1);
        const CELL_RANGE grid(map.column, map.row + pos, map.column + 1, map.row + last + 1);
        TCanvasLease canvas(device, span, grid, true);
        canvas->DrawTreeLine(cx, cy, cx + 4, bottom);
    }
    // Glyphs of the requested rows.
    for (int pos = std::max(request.top, 0); pos < std::min(request.bottom, m_rowCount); ++pos) {
        const int row = RowIdAt(pos);
        if (!hasGlyph(row) || !inLayout(pos)) continue;
        const TGridNode& node = tree[row];
        glyph.image = node.children.empty() ? GLYPH_LEAF : (m_expanded[size_t(row)] ? GLYPH_EXPANDED : GLYPH_COLLAPSED);
        const int cx = cellLeft + kLevelIndent * node.level;
        const int cy = rowTop(pos) + rowHeight(pos) / 2;
        const RECT rect = {cx - size.cx / 2, cy - size.cy / 2, cx - size.cx / 2 + size.cx, cy - size.cy / 2 + size.cy};
        const CELL_RANGE cell(0, pos, 1, pos + 1);
        const CELL_RANGE grid(map.column, map.row + pos, map.column + 1, map.row + pos + 1);
        TCanvasLease canvas(device, cell, grid, true);
        canvas->BeginCell(cell, grid);
        device.DrawElementHelper(*canvas, rect, glyph);
        canvas->EndCell(cell, grid);
    }
}

void CFilterDecorator::DrawLevelButtons(GRAPHIC_DEVICE& device) {
    const TGridHierarchy& tree = *m_hierarchy;
    if (tree.depth < 3 || (m_order && (tree[0].data & NODE_SELF_FILTER))) return;
    const CELL_IMAGE& image = device.GetCellImage();
    const CELL_COORD map = device.GetCellMap();
    if (map.column < 0 || map.column >= image.GetColumnCount() || map.row < 0 || map.row >= image.GetRowCount()) return;
    CELL_ELEMENT button;
    button.buttonKind = DFC_BUTTON;
    button.buttonState = kFlatPushButton;
    button.toolKind = GRID_TOOL_EXPAND;
    button.element = static_cast<IPlusElement*>(this);
    const CSize size = device.GetElementSize(button);
    const CELL_RANGE cell(0, 0, 1, 1);
    const CELL_RANGE grid(map.column, map.row, map.column + 1, map.row + 1);
    const int cellLeft = image.GetColumn(map.column).position;
    const int cy = image.GetRow(map.row).position + image.GetRow(map.row).height / 2;
    for (int level = 1; level <= tree.depth - 2; ++level) {
        if (device.Measurement()) {
            device.StretchRow(map.row, size.cy);
            continue;
        }
        button.image = IsLevelExpanded(level) ? GLYPH_EXPANDED : GLYPH_COLLAPSED;
        button.data = level;
        const int cx = cellLeft + kLevelIndent * level;
        const RECT rect = {cx - size.cx / 2, cy - size.cy / 2, cx - size.cx / 2 + size.cx, cy - size.cy / 2 + size.cy};
        TCanvasLease canvas(device, cell, grid, true);
        canvas->BeginCell(cell, grid);
        device.DrawElementHelper(*canvas, rect, button);
        canvas->EndCell(cell, grid);
    }
}
