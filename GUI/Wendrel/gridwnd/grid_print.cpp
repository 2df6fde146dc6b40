#include "gridwnd/grid_print.h"

#include <algorithm>

#include "afx_print.h"
#include "grid/grid_draw_device.h"
#include "gridwnd/grid_ctrl.h"

namespace {

// The footer of a page.
CString PageLabel(UINT page, UINT count)
{
    CString text;
    text.Format("%u of %u", page, count);
    return text;
}

// Selects the page style's font for a scope.
class TFontScope {
public:
    TFontScope(HDC dc, HFONT font) : m_dc(dc), m_old(font ? ::SelectObject(dc, font) : nullptr) {}
    ~TFontScope()
    {
        if (m_old) ::SelectObject(m_dc, m_old);
    }
    TFontScope(const TFontScope&) = delete;
    TFontScope& operator=(const TFontScope&) = delete;

private:
    HDC m_dc;
    HGDIOBJ m_old;
};

}  // namespace

CDefGridPrint::CDefGridPrint() = default;

CDefGridPrint::~CDefGridPrint() = default;

void CDefGridPrint::SetView(CDefGridView* view)
{
    m_imageView.Reset(view, false);
    const CELL_COORD size = view ? view->GetSize() : CELL_COORD(0, 0);
    m_layout.columns.assign(size_t(std::max(0, size.column)), COLUMN_INFO());
    m_layout.rows.assign(size_t(std::max(0, size.row)), ROW_INFO());
}

void CDefGridPrint::OnPrepareDC(CDC* dc, CPrintInfo*)
{
    ::SetMapMode(dc->m_hDC, MM_ANISOTROPIC);
    ::SetWindowExtEx(dc->m_hDC, m_screenDpi.cx, m_screenDpi.cy, nullptr);
    ::SetViewportExtEx(dc->m_hDC, m_printerDpi.cx, m_printerDpi.cy, nullptr);
}

CSize CDefGridPrint::CalculateLabelSize(CDC* dc, const CString& text, const CRect& margins)
{
    SIZE extent{0, 0};
    ::GetTextExtentPoint32A(dc->m_hDC, text, text.GetLength(), &extent);
    return CSize(extent.cx + margins.left + margins.right, extent.cy + margins.top + margins.bottom);
}

void CDefGridPrint::OnBeginPrinting(CDC* dc, CPrintInfo* info)
{
    m_printerDpi = CSize(dc->GetDeviceCaps(LOGPIXELSX), dc->GetDeviceCaps(LOGPIXELSY));
    HDC screen = ::GetDC(nullptr);
    m_screenDpi = CSize(::GetDeviceCaps(screen, LOGPIXELSX), ::GetDeviceCaps(screen, LOGPIXELSY));
    ::ReleaseDC(nullptr, screen);
    if (m_printerDpi.cx <= 0 || m_printerDpi.cy <= 0) m_printerDpi = m_screenDpi;
    OnPrepareDC(dc, info);

    // Margins: hundredths of a millimetre to printer pixels, less the
    // unprintable offset, to logical units.
    const int offsetX = dc->GetDeviceCaps(PHYSICALOFFSETX);
    const int offsetY = dc->GetDeviceCaps(PHYSICALOFFSETY);
    auto convert = [](int margin, int dpi, int offset, int screenDpi) {
        const int pixels = std::max(0, ::MulDiv(margin, dpi, 2540) - offset);
        return ::MulDiv(pixels, screenDpi, dpi);
    };
    m_margins.left = convert(m_margins.left, m_printerDpi.cx, offsetX, m_screenDpi.cx);
    m_margins.right = convert(m_margins.right, m_printerDpi.cx, offsetX, m_screenDpi.cx);
    m_margins.top = convert(m_margins.top, m_printerDpi.cy, offsetY, m_screenDpi.cy);
    m_margins.bottom = convert(m_margins.bottom, m_printerDpi.cy, offsetY, m_screenDpi.cy);

    int footer;
    {
        TFontScope font(dc->m_hDC, GetLabelFont());
        footer = CalculateLabelSize(dc, PageLabel(1, 9), m_labelMargins).cy;
    }
    POINT page{dc->GetDeviceCaps(HORZRES), dc->GetDeviceCaps(VERTRES)};
    ::DPtoLP(dc->m_hDC, &page, 1);
    m_pageSize = CSize(page.x, page.y);
    m_bodyWidth = m_pageSize.cx - m_margins.left - m_margins.right;
    m_bodyHeight = m_pageSize.cy - m_margins.top - m_margins.bottom - footer;

    // Row heights come from one measuring pass over all cells.
    if (m_imageView) {
        CELL_IMAGE image = GetOverallImage();
        if (!image.range.IsEmpty()) {
            DRAW_DEVICE device(dc->m_hDC, image, *m_styles, true);
            device.SetMeasuring(true);
            m_imageView->Draw(device, CELL_INFO(image.range));
        }
    }
    Update();
    info->SetMaxPage(UINT(m_pages.size()));
}

void CDefGridPrint::Update()
{
    m_pages.clear();
    const int columns = GetColumnCount(), rows = GetRowCount();
    CalculateColumnRange(0, columns, 0);
    CalculateRowRange(0, rows);
    for (int r = 0; r < rows;) {
        const int top = m_layout.rows[size_t(r)].position;
        int rowEnd = r + 1;
        while (rowEnd < rows &&
               m_layout.rows[size_t(rowEnd)].position + m_layout.rows[size_t(rowEnd)].height - top <= m_bodyHeight - 1)
            ++rowEnd;
        for (int c = 0; c < columns;) {
            const int left = m_layout.columns[size_t(c)].position;
            int columnEnd = c + 1;
            while (columnEnd < columns && m_layout.columns[size_t(columnEnd)].position +
                                                  m_layout.columns[size_t(columnEnd)].width - left <=
                                              m_bodyWidth - 1)
                ++columnEnd;
            auto page = std::make_unique<CELL_IMAGE>(m_layout);
            page->origin = CPoint(left - m_margins.left - 1, top - m_margins.top - 1);
            page->range = CELL_RANGE(c, r, columnEnd, rowEnd);
            m_pages.push_back(std::move(page));
            c = columnEnd;
        }
        r = rowEnd;
    }
}

void CDefGridPrint::OnPrint(CDC* dc, CPrintInfo* info)
{
    OnPrepareDC(dc, info);
    const UINT number = info->m_nCurPage;
    if (number == 0 || number > m_pages.size()) return;
    HDC hdc = dc->m_hDC;
    if (info->m_bPreview) {
        HPEN pen = ::CreatePen(PS_DOT, 0, ::GetSysColor(COLOR_WINDOWTEXT));
        HGDIOBJ oldPen = ::SelectObject(hdc, pen);
        HGDIOBJ oldBrush = ::SelectObject(hdc, ::GetStockObject(NULL_BRUSH));
        ::Rectangle(hdc, m_margins.left, m_margins.top, m_pageSize.cx - m_margins.right,
                    m_pageSize.cy - m_margins.bottom);
        ::SelectObject(hdc, oldBrush);
        ::SelectObject(hdc, oldPen);
        ::DeleteObject(pen);
    }

    const CELL_IMAGE& page = *m_pages[number - 1];
    ::SetWindowOrgEx(hdc, page.origin.x, page.origin.y, nullptr);
    CRect cells;
    page.GetRangeRect(page.range, cells);
    POINT clip[2] = {{cells.left - 1, cells.top - 1}, {cells.right - 1, cells.bottom - 1}};
    ::LPtoDP(hdc, clip, 2);
    HRGN region = ::CreateRectRgn(clip[0].x, clip[0].y, clip[1].x, clip[1].y);
    ::SelectClipRgn(hdc, region);
    ::DeleteObject(region);
    if (m_imageView) {
        CELL_IMAGE image(m_layout);
        image.range = page.range;
        DRAW_DEVICE device(hdc, image, *m_styles, true);
        m_imageView->Draw(device, CELL_INFO(page.range));
    }
    ::SelectClipRgn(hdc, nullptr);
    ::SetWindowOrgEx(hdc, 0, 0, nullptr);

    TFontScope font(hdc, GetLabelFont());
    const CString label = PageLabel(number, UINT(m_pages.size()));
    SIZE extent{0, 0};
    ::GetTextExtentPoint32A(hdc, label, label.GetLength(), &extent);
    const int oldMode = ::SetBkMode(hdc, TRANSPARENT);
    ::TextOutA(hdc, m_margins.left + (m_bodyWidth - extent.cx) / 2, m_margins.top + m_bodyHeight + m_labelMargins.top,
               label, label.GetLength());
    ::SetBkMode(hdc, oldMode);
}

void DefGrid_OnBeginPrinting(CDefGridCtrl* grid, const CRect& margins, CDC* dc, CPrintInfo* info)
{
    auto* print = new CDefGridPrint;
    print->SetMargins(margins);
    info->m_lpUserData = print;
    print->SetStyles(grid->GetStyles());
    print->SetView(grid->GetView());
    const int columns = std::min(grid->GetColumnCount(), print->GetColumnCount());
    for (int c = 0; c < columns; ++c) {
        const COLUMN_INFO& from = grid->GetColumns()[size_t(c)];
        COLUMN_INFO& to = print->GetColumnVar(c);
        to.width = from.width;
        to.state = from.state;
        to.differs = from.differs;
        to.style = from.style;
    }
    print->OnBeginPrinting(dc, info);
}

void DefGrid_OnPrint(CDC* dc, CPrintInfo* info)
{
    if (auto* print = static_cast<CDefGridPrint*>(info->m_lpUserData)) print->OnPrint(dc, info);
}

void DefGrid_OnEndPrinting(CDC*, CPrintInfo* info)
{
    delete static_cast<CDefGridPrint*>(info->m_lpUserData);
    info->m_lpUserData = nullptr;
}
