// Printing a grid through the document/view print loop: the console's view
// forwards its begin, print and end handlers to the DefGrid_On* functions,
// which keep a CDefGridPrint in the print job's user data. The print object
// lays the grid's view out with the grid's column widths, cuts the cells into
// pages that fit between the margins (across first, then down) and prints
// each with a centred footer "<page> of <count>". Logical units are screen
// pixels (MM_ANISOTROPIC, window extent = screen resolution, viewport extent
// = printer resolution), so the grid prints at its on-screen size.
#pragma once

#include <memory>
#include <vector>

#include "afxwin.h"
#include "gridwnd/grid_image.h"
#include "wendrel_export.h"

class CDefGridCtrl;
class CPrintInfo;

class WENDREL_API CDefGridPrint : public CDefGridImage {
public:
    CDefGridPrint();
    CDefGridPrint(const CDefGridPrint&) = delete;
    CDefGridPrint& operator=(const CDefGridPrint&) = delete;
    ~CDefGridPrint() override;

    // Uses the view without taking it; one column of width 100 and one
    // unplaced row per view column and row.
    void SetView(CDefGridView* view);
    long GetColumnWidth(int column) const { return m_layout.columns[size_t(column)].width; }
    void SetColumnWidth(int column, long width) { m_layout.columns[size_t(column)].width = int(width); }
    // Margins in hundredths of a millimetre until OnBeginPrinting turns them
    // into logical units.
    void SetMargins(const CRect& margins) { m_margins = margins; }
    const CRect& GetMargins() const { return m_margins; }

    void OnBeginPrinting(CDC* dc, CPrintInfo* info);
    void OnPrint(CDC* dc, CPrintInfo* info);

    // The cut pages, in print order (1-based page n is index n - 1).
    int GetPageCount() const { return int(m_pages.size()); }
    const CELL_IMAGE& GetPage(int index) const { return *m_pages[size_t(index)]; }
    CSize GetPageSize() const { return m_pageSize; }
    CSize GetBodySize() const { return CSize(m_bodyWidth, m_bodyHeight); }

private:
    CSize CalculateLabelSize(CDC* dc, const CString& text, const CRect& margins);
    void OnPrepareDC(CDC* dc, CPrintInfo* info);
    void Update();

    CRect m_margins{0, 0, 0, 0};
    CRect m_labelMargins{2, 2, 2, 2};
    CSize m_printerDpi{0, 0};
    CSize m_screenDpi{0, 0};
    CSize m_pageSize{0, 0};
    int m_bodyWidth = 0;
    int m_bodyHeight = 0;
    std::vector<std::unique_ptr<CELL_IMAGE>> m_pages;
};

// margins: hundredths of a millimetre.
WENDREL_API void DefGrid_OnBeginPrinting(CDefGridCtrl* grid, const CRect& margins, CDC* dc, CPrintInfo* info);
WENDREL_API void DefGrid_OnPrint(CDC* dc, CPrintInfo* info);
WENDREL_API void DefGrid_OnEndPrinting(CDC* dc, CPrintInfo* info);
