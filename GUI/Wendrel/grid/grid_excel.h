// Export of what a grid shows into a new workbook of the spreadsheet program,
// through OLE Automation (IDispatch): one render pass (EXCEL_DEVICE) over the
// grid's view chain writes each shown cell or merged range with its text,
// wrap, alignment and bold state; the grid's column widths become the sheet's.
// The spreadsheet program is left running and shown; nothing is saved here.
//
// Every COM failure is raised as _com_error with the failing result code;
// references already taken are released while it passes. GUI thread only
// (synchronous calls into the automation server).
#pragma once

#include <comdef.h>

#include <string>
#include <vector>

#include "grid/grid_device.h"
#include "grid/grid_style.h"
#include "grid/grid_view.h"
#include "wendrel_export.h"

// The letters of a sheet column numbered from 1: 1 "A", 26 "Z", 27 "AA", 702 "ZZ", 703 "AAA".
WENDREL_API std::string ExcelColumnName(int column);

class WENDREL_API EXCEL_DEVICE : public GRID_DEVICE {
public:
    // Holds a reference on the worksheet (its dual interface, used through
    // IDispatch) until destroyed; the style table is the caller's.
    EXCEL_DEVICE(IDispatch* worksheet, const std::vector<GRAPHIC_CELL_STYLE>& styles);
    EXCEL_DEVICE(const EXCEL_DEVICE& src);
    EXCEL_DEVICE& operator=(const EXCEL_DEVICE&) = delete;
    ~EXCEL_DEVICE() override;

    void DoRenderRange(const CELL_RANGE& viewRange, const CELL_RANGE& gridRange, CELL_CONTENT& content) override;

    // The sheet's name of a grid cell (column x, row y from 0): "B3" for (1, 2).
    static _bstr_t Coord_Grid2Excel(const CELL_COORD& cell);

private:
    IDispatch* GetExcelCell(const CELL_COORD& cell);   // a new reference
    IDispatch* GetExcelRange(const CELL_RANGE& range); // a new reference
    void RenderVariant(const CELL_RANGE& range, const VARIANT& value);
    // The style of the range being rendered (null when the index is outside the table).
    const GRAPHIC_CELL_STYLE* GetStyleRecord() const;

    IDispatch* m_sheet;
    const std::vector<GRAPHIC_CELL_STYLE>& m_styles;
    DISPID m_rangeId = DISPID_UNKNOWN;  // the worksheet's Range, looked up once
};

// The export of a view chain as a grid window shows it: the view, the style
// table, and each column's current width in pixels (columns without one keep
// the sheet's width). sheetName becomes the worksheet's name.
WENDREL_API void ExportViewToExcel(CDefGridView& view, const std::vector<GRAPHIC_CELL_STYLE>& styles,
                                   const std::vector<int>& columnWidths, const std::string& sheetName);

// Splits a version text at its first point: "12.5" gives 12 and 5, "11" 11 and 0.
WENDREL_API void SplitOfficeVersion(const char* version, int* major, int* minor);

// The version of an Office automation server ("16.0" gives 16 and 0); 0 and
// 0 when its class, object or IDispatch cannot be had. Never throws.
WENDREL_API void GetMsOfficeVers(const wchar_t* progId, int* major, int* minor);
