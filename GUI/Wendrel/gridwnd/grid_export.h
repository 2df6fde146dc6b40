// Export of what a grid window shows into a new workbook of the spreadsheet
// program: the window's view chain, its style table and its current column
// widths handed to ExportViewToExcel.
#pragma once

#include <string>

#include "wendrel_export.h"

class CDefGridCtrl;

// Throws _com_error: E_POINTER for a null grid, a grid without a view or
// without a style table (before any server is started), else whatever the
// export itself raises.
WENDREL_API void ExportToExcel(const CDefGridCtrl* grid, const std::string& sheetName);
