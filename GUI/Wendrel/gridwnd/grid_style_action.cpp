#include "gridwnd/grid_style_action.h"

#include <algorithm>
#include <memory>

#include "grid/grid_device.h"
#include "grid/grid_view.h"
#include "gridwnd/grid_ctrl.h"

TStyleAction::~TStyleAction() = default;

size_t TStyleAction::Bit() const
{
    if (int(m_aspect) < 0 || int(m_aspect) > 4) ThrowBitsetPosition();
    return size_t(m_aspect);
}

bool TStyleAction::CollectFromColumn(COLUMN_INFO& column)
{
    if (!column.differs.test(Bit()) || !column.style) return false;
    return CollectFromStyle(*column.style);
}

void TStyleAction::ApplyToColumn(COLUMN_INFO& column)
{
    column.differs.set(Bit());
    ApplyToStyle(*column.style);
}

void TStyleAction::CheckColumnEqual(COLUMN_INFO& column, const GRAPHIC_CELL_STYLE& reference)
{
    const size_t bit = Bit();
    if (column.differs.test(bit) && CompareStyles(*column.style, reference)) column.differs.reset(bit);
}

void TStyleAction::SynchronizeColumn(COLUMN_INFO& column, const GRAPHIC_CELL_STYLE& reference)
{
    const size_t bit = Bit();
    if (!column.differs.test(bit)) CopyAspect(*column.style, reference);
    else if (CompareStyles(*column.style, reference)) column.differs.reset(bit);
}

void TStyleAction::CopyStyleToColumn(COLUMN_INFO& column, const GRAPHIC_CELL_STYLE& source)
{
    const size_t bit = Bit();
    CopyAspect(*column.style, source);
    column.differs.reset(bit);
}

void TStyleAction::ValidateAspect(COLUMN_INFO& column, const GRAPHIC_CELL_STYLE& reference) const
{
    const size_t bit = Bit();
    column.differs.set(bit, !const_cast<TStyleAction*>(this)->CompareStyles(*column.style, reference));
}

// ---------------------------------------------------------------- the grid's side

void CDefGridCtrl::CollectStyles(HRGN region, std::vector<int>& styles)
{
    RECT box;
    if (!m_view || !region || ::GetRgnBox(region, &box) == NULLREGION) return;
    const CELL_RANGE range(std::max(0, int(box.left)), std::max(0, int(box.top)),
                           std::min(int(box.right), GetColumnCount()), std::min(int(box.bottom), GetRowCount()));
    if (range.IsEmpty()) return;
    std::vector<int> met;
    TCollectDevice device(region, met);
    m_view->Draw(device, CELL_INFO(range));
    for (int s : met)
        if (std::find(styles.begin(), styles.end(), s) == styles.end()) styles.push_back(s);
}

void CDefGridCtrl::ApplyAction(TStyleAction& action, bool showDialog)
{
    const size_t bit = size_t(action.GetAspect());
    if (bit > 4) ThrowBitsetPosition();
    CELL_STYLE_VECTOR& table = *m_styles;
    GRAPHIC_CELL_STYLE& base = table[STYLE_NORMAL];
    const int left = m_activeRange.left == GRID_UNSET ? 0 : m_activeRange.left;
    const int right = m_activeRange.right == GRID_UNSET ? left : std::min(m_activeRange.right, GetColumnCount());

    // Whole columns selected: the change lands on the columns' own styles.
    bool anyColumn = false;
    for (int c = left; c < right; ++c) {
        COLUMN_INFO& column = m_layout.columns[size_t(c)];
        if (!(column.state & COLUMN_STATE_SELECTED)) continue;
        anyColumn = true;
        if (!(column.differs.test(bit) && column.style && action.CollectFromStyle(*column.style)))
            action.CollectFromStyle(base);
    }
    if (anyColumn) {
        if (showDialog && action.ShowDialog()) {
            for (int c = left; c < right; ++c) {
                COLUMN_INFO& column = m_layout.columns[size_t(c)];
                if (!(column.state & COLUMN_STATE_SELECTED)) continue;
                if (!column.style) column.style.reset(new GRAPHIC_CELL_STYLE(base));
                action.ApplyToColumn(column);
                action.CheckColumnEqual(column, base);
                if (column.differs.none()) column.style.reset();
            }
            Update();
        }
        return;
    }

    // Otherwise the shared styles of the selected cells.
    std::vector<int> styles;
    CollectStyles(GetSelection(), styles);
    for (int s : styles)
        if (!action.CollectFromStyle(table[size_t(s)])) break;
    if (!showDialog) return;

    // Show every cell the change reaches while the user chooses.
    HRGN kept = ::CreateRectRgn(0, 0, 0, 0);
    ::CombineRgn(kept, GetSelection(), nullptr, RGN_COPY);
    HRGN reached = ::CreateRectRgn(0, 0, 0, 0);
    if (m_view) {
        CELL_IMAGE overall = GetOverallImage();
        THighlightDevice device(styles, overall, reached);
        m_view->Draw(device, CELL_INFO(overall.range));
    }
    Select(reached);
    if (action.ShowDialog()) {
        for (int s : styles) action.ApplyToStyle(table[size_t(s)]);
        for (int c = left; c < right; ++c) {
            COLUMN_INFO& column = m_layout.columns[size_t(c)];
            if (!column.style) continue;
            action.CopyAspect(*column.style, base);
            column.differs.reset(bit);
            if (column.differs.none()) column.style.reset();
        }
    }
    Select(kept);
    Update();
}
