#include "grid/grid_vector.h"

#include <algorithm>
#include <numeric>
#include <stdexcept>
#include <unordered_map>

#include "grid/grid_comparator.h"
#include "grid/grid_device.h"
#include "grid/grid_log.h"
#include "grid/grid_style.h"

namespace {

void CopyVariant(VARIANT& to, const VARIANT& from) {
    const HRESULT hr = ::VariantCopy(&to, const_cast<VARIANT*>(&from));
    if (FAILED(hr)) _com_issue_error(hr);
}

// Takes a value without copying; the source is left empty.
void TakeVariant(VARIANT& to, VARIANT& from) noexcept {
    ::VariantClear(&to);
    to = from;
    ::VariantInit(&from);
}

// The standard conversion of a value to 8-bit text (empty for VT_EMPTY and VT_NULL).
std::string VariantText(const VARIANT& v) {
    if (v.vt == VT_EMPTY || v.vt == VT_NULL) return std::string();
    VARIANT s;
    ::VariantInit(&s);
    const HRESULT hr = ::VariantChangeType(&s, const_cast<VARIANT*>(&v), 0, VT_BSTR);
    if (FAILED(hr)) _com_issue_error(hr);
    std::string text;
    const int length = int(::SysStringLen(s.bstrVal));
    if (length > 0) {
        const int n = ::WideCharToMultiByte(CP_ACP, 0, s.bstrVal, length, nullptr, 0, nullptr, nullptr);
        if (n > 0) {
            text.resize(size_t(n));
            ::WideCharToMultiByte(CP_ACP, 0, s.bstrVal, length, &text[0], n, nullptr, nullptr);
        }
    }
    ::VariantClear(&s);
    return text;
}

}  // namespace

// ---------------------------------------------------------------- VECTOR_CELL_DATA

VECTOR_CELL_DATA::VECTOR_CELL_DATA() {
    ::VariantInit(&value);
    ::VariantInit(&sortValue);
    ::VariantInit(&extraValue);
}

VECTOR_CELL_DATA::VECTOR_CELL_DATA(const VECTOR_CELL_DATA& src) : VECTOR_CELL_DATA() {
    text = src.text;
    image = src.image;
    index2 = src.index2;
    CopyVariant(value, src.value);
    CopyVariant(sortValue, src.sortValue);
    CopyVariant(extraValue, src.extraValue);
    tag = src.tag;
    toolKind = src.toolKind;
    element = src.element;
    reserved = src.reserved;
}

VECTOR_CELL_DATA::VECTOR_CELL_DATA(VECTOR_CELL_DATA&& src) noexcept
    : text(std::move(src.text)),
      image(src.image),
      index2(src.index2),
      tag(src.tag),
      toolKind(src.toolKind),
      element(src.element),
      reserved(src.reserved) {
    value = src.value;
    sortValue = src.sortValue;
    extraValue = src.extraValue;
    ::VariantInit(&src.value);
    ::VariantInit(&src.sortValue);
    ::VariantInit(&src.extraValue);
}

VECTOR_CELL_DATA& VECTOR_CELL_DATA::operator=(const VECTOR_CELL_DATA& src) {
    if (this == &src) return *this;
    // Copy the values first: a failed copy leaves this cell as it was.
    VECTOR_CELL_DATA copy;
    CopyVariant(copy.value, src.value);
    CopyVariant(copy.sortValue, src.sortValue);
    CopyVariant(copy.extraValue, src.extraValue);
    text = src.text;
    image = src.image;
    index2 = src.index2;
    TakeVariant(value, copy.value);
    TakeVariant(sortValue, copy.sortValue);
    TakeVariant(extraValue, copy.extraValue);
    tag = src.tag;
    toolKind = src.toolKind;
    element = src.element;
    reserved = src.reserved;
    return *this;
}

VECTOR_CELL_DATA& VECTOR_CELL_DATA::operator=(VECTOR_CELL_DATA&& src) noexcept {
    if (this == &src) return *this;
    text = std::move(src.text);
    image = src.image;
    index2 = src.index2;
    TakeVariant(value, src.value);
    TakeVariant(sortValue, src.sortValue);
    TakeVariant(extraValue, src.extraValue);
    tag = src.tag;
    toolKind = src.toolKind;
    element = src.element;
    reserved = src.reserved;
    return *this;
}

VECTOR_CELL_DATA::~VECTOR_CELL_DATA() {
    ::VariantClear(&value);
    ::VariantClear(&sortValue);
    ::VariantClear(&extraValue);
}

// ---------------------------------------------------------------- CVectorGridView

CVectorGridView::~CVectorGridView() = default;

void CVectorGridView::Resize(int columns, int rows) {
    if (rows != -1) m_rows.resize(rows > 0 ? size_t(rows) : 0);
    if (columns != -1) m_columnCount = columns;
}

void CVectorGridView::InsertRow(int row) {
    if (row < 0 || row > GetRowCount()) return;
    m_rows.insert(m_rows.begin() + row, VECTOR_ROW_ELEMENT());
}

int CVectorGridView::AppendRow(VECTOR_ROW_ELEMENT** out) {
    m_rows.emplace_back();
    if (out) *out = &m_rows.back();
    return GetRowCount() - 1;
}

void CVectorGridView::DeleteRow(int row) {
    if (row < 0 || row >= GetRowCount()) return;
    m_rows.erase(m_rows.begin() + row);
}

VECTOR_ROW_ELEMENT* CVectorGridView::GetRowUnsafe(int row) {
    return row >= 0 && row < GetRowCount() ? &m_rows[size_t(row)] : nullptr;
}

const VECTOR_ROW_ELEMENT* CVectorGridView::GetRowUnsafe(int row) const {
    return row >= 0 && row < GetRowCount() ? &m_rows[size_t(row)] : nullptr;
}

int CVectorGridView::GetRowID(int row) const {
    const VECTOR_ROW_ELEMENT* r = GetRowUnsafe(row);
    return r ? r->id : GRID_UNSET;
}

long CVectorGridView::GetRowData(int row) {
    const VECTOR_ROW_ELEMENT* r = GetRowUnsafe(row);
    return r ? r->data : 0;
}

void CVectorGridView::SetRowData(int row, long data) {
    if (VECTOR_ROW_ELEMENT* r = GetRowUnsafe(row)) r->data = data;
}

VECTOR_CELL_DATA& CVectorGridView::AllocateCell(int column, int row) {
    if (column < 0 || row < 0) throw std::out_of_range("negative cell index");
    if (row >= GetRowCount()) m_rows.resize(size_t(row) + 1);
    VECTOR_ROW_ELEMENT& r = m_rows[size_t(row)];
    if (!r.cells) r.cells = std::make_unique<std::vector<VECTOR_CELL_DATA>>();
    if (size_t(column) >= r.cells->size()) {
        // Room for every column at once: a row filled cell by cell then
        // allocates once instead of growing (and leaving freed blocks) per cell.
        if (size_t(column) >= r.cells->capacity()) r.cells->reserve(size_t(std::max(column + 1, m_columnCount)));
        r.cells->resize(size_t(column) + 1);
    }
    if (m_columnCount < column + 1) m_columnCount = column + 1;
    return (*r.cells)[size_t(column)];
}

VECTOR_CELL_DATA* CVectorGridView::GetCellUnsafe(int column, int row) {
    VECTOR_ROW_ELEMENT* r = GetRowUnsafe(row);
    if (!r || !r->cells || column < 0 || size_t(column) >= r->cells->size()) return nullptr;
    return &(*r->cells)[size_t(column)];
}

const VECTOR_CELL_DATA* CVectorGridView::GetCellUnsafe(int column, int row) const {
    return const_cast<CVectorGridView*>(this)->GetCellUnsafe(column, row);
}

const char* CVectorGridView::GetCellText(int column, int row, int* image) const {
    if (image) *image = -1;
    const VECTOR_CELL_DATA* cell = GetCellUnsafe(column, row);
    if (!cell) return nullptr;
    if (image) *image = cell->image;
    return cell->text.c_str();
}

void CVectorGridView::SetCell(int column, int row, const VECTOR_CELL_DATA& cell) {
    // Copied first: the record may be a cell of this view that growing moves.
    VECTOR_CELL_DATA copy(cell);
    AllocateCell(column, row) = std::move(copy);
}

void CVectorGridView::SetCellText(int column, int row, const char* text, int tag) {
    VECTOR_CELL_DATA cell;
    cell.text = text ? text : "";
    cell.tag = tag;
    AllocateCell(column, row) = std::move(cell);
}

void CVectorGridView::SetCellVariant(int column, int row, const _variant_t& value, const _variant_t& sort, int tag) {
    VECTOR_CELL_DATA cell;
    CopyVariant(cell.value, value);
    CopyVariant(cell.sortValue, sort);
    cell.tag = tag;
    cell.text = VariantText(value);
    AllocateCell(column, row) = std::move(cell);
}

std::vector<int>::iterator CVectorGridView::IndexRows(bool store, std::vector<int>::iterator it) {
    for (VECTOR_ROW_ELEMENT& r : m_rows) {
        if (store)
            r.id = *it;
        else
            *it = r.id;
        ++it;
    }
    return it;
}

void CVectorGridView::FillElement(const VECTOR_CELL_DATA& cell, CELL_ELEMENT& e) {
    e.text = cell.text.c_str();
    e.image = cell.image;
    // A value that cannot be copied is left empty: painting never fails on a cell.
    for (auto [to, from] : {std::pair(&e.value, &cell.sortValue), std::pair(&e.value2, &cell.value)}) {
        const HRESULT hr = ::VariantCopy(to, const_cast<VARIANT*>(from));
        if (FAILED(hr)) {
            GridLogFailure("VariantCopy of a cell value (type %u) failed: 0x%08lX", unsigned(from->vt), (unsigned long)hr);
            ::VariantInit(to);
        }
    }
    e.toolKind = cell.toolKind;
    e.element = cell.element.Get();
}

void CVectorGridView::Draw(GRID_DEVICE& device, const CELL_INFO& info) { DrawRange(device, info.range); }

void CVectorGridView::DrawRange(GRID_DEVICE& device, const CELL_RANGE& range) {
    if (range.IsEmpty()) return;
    const int bottom = std::min(range.bottom, GetRowCount());
    for (int r = std::max(range.top, 0); r < bottom; ++r) {
        if (!device.BeginRow(r)) continue;
        const VECTOR_ROW_ELEMENT& row = m_rows[size_t(r)];
        const int style = row.style != -1 ? row.style : device.GetStyleIndex();
        {
            TStyleScope scope(device, style);
            for (int c = range.left; c < range.right; ++c) {
                CELL_CONTENT content;
                if (row.cells && c >= 0 && size_t(c) < row.cells->size()) FillElement((*row.cells)[size_t(c)], content.middle);
                device.RenderRange(CELL_RANGE(c, r, c + 1, r + 1), content);
            }
            device.EndRow(r);
        }
    }
}

bool CVectorGridView::Sort(int, TRowComparator* comparator) {
    if (!CapableOf(CAP_SORTABLE)) return false;
    TRowComparator* cmp = comparator;
    if (m_adapter) {
        m_adapter->SetComparator(comparator);
        cmp = m_adapter.Get();
    }
    // A comparator that cannot order rows (an adapter wrapping nothing) is refused.
    if (!cmp || !cmp->CanCompare()) return false;
    // The order is found on indices first, so a comparator that throws
    // leaves the rows as they were.
    std::vector<int> order(m_rows.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [&](int a, int b) { return RowIdLess(*cmp, m_rows[size_t(a)].id, m_rows[size_t(b)].id); });
    std::vector<VECTOR_ROW_ELEMENT> sorted;
    sorted.reserve(m_rows.size());
    for (int i : order) sorted.push_back(std::move(m_rows[size_t(i)]));
    m_rows.swap(sorted);
    return !m_rows.empty();
}

void CVectorGridView::BuildHierarchy(TGridHierarchyBuilder& builder, bool tree) {
    if (m_hierarchyColumn == -1 || (!m_treeMode && !tree)) {
        CDefGridViewImpl::BuildHierarchy(builder, tree);
        return;
    }
    const int count = GetRowCount();
    const int offset = builder.offset;
    std::unordered_map<int, int> rowOfKey;
    rowOfKey.reserve(size_t(count));
    for (int i = 0; i < count; ++i) rowOfKey.emplace(m_rows[size_t(i)].key, i);  // the first row keeps a key
    const int data = m_treeMode ? (GetCapabilityWord() & ~NODE_SELF_FILTER) : (GetCapabilityWord() | NODE_SELF_FILTER);
    const std::vector<TGridNode>& nodes = builder.tree.nodes;
    auto entered = [&](int i) { return builder.tree.IsRow(offset + i) && nodes[size_t(offset + i)].IsEntered(); };

    // Children met before their parent wait for it (a list per parent, in row order).
    std::vector<int> firstWaiting(size_t(count), -1), lastWaiting(size_t(count), -1), nextWaiting(size_t(count), -1);
    std::vector<int> release;
    auto enterWaiting = [&](int parentRow) {
        release.assign(1, parentRow);
        while (!release.empty()) {
            const int p = release.back();
            release.pop_back();
            for (int w = firstWaiting[size_t(p)]; w != -1; w = nextWaiting[size_t(w)])
                if (builder.EnterUnder(offset + w, offset + p, data)) release.push_back(w);
            firstWaiting[size_t(p)] = lastWaiting[size_t(p)] = -1;
        }
    };
    for (int i = 0; i < count; ++i) {
        const VECTOR_ROW_ELEMENT& row = m_rows[size_t(i)];
        if (row.parentKey == 0) {
            builder.Enter(offset + i, data | (row.style != STYLE_LEVEL1 ? NODE_TOP_LEVEL : 0));
        } else {
            auto found = rowOfKey.find(row.parentKey);
            if (found == rowOfKey.end()) continue;  // no such parent: left out
            const int p = found->second;
            if (!entered(p)) {
                if (lastWaiting[size_t(p)] == -1)
                    firstWaiting[size_t(p)] = i;
                else
                    nextWaiting[size_t(lastWaiting[size_t(p)])] = i;
                lastWaiting[size_t(p)] = i;
                continue;
            }
            builder.EnterUnder(offset + i, offset + p, data);
        }
        if (entered(i) && firstWaiting[size_t(i)] != -1) enterWaiting(i);
    }
}
