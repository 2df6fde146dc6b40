// The server's object model as automation clients see it: the application,
// its workbook collection, a workbook, a worksheet, a range of cells (also a
// sheet's column collection) and a range's font. Each object keeps the data
// it works on alive (shared), so a client may release them in any order.
// Making the application visible writes every workbook not yet written to an
// .xlsx file and opens it with the program the user has for such files.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "xl_book.h"
#include "xl_dispatch.h"

namespace xl {

// Where shown workbooks go, and whether they are opened: HKCU
// "Software\Tarvane\Spreadsheet Server", values "Folder" (text; default the
// user's documents folder) and "Open" (DWORD; default 1).
constexpr const wchar_t* kSettingsKey = L"Software\\Tarvane\\Spreadsheet Server";

struct AppState {
    std::vector<std::shared_ptr<Book>> books;
    int nextBook = 1;
    bool visible = false;
};

// A new application object (one reference).
IDispatch* NewApplication();

// "B3" or "$B$3" to a zero-based row and column; false when it is not a cell name.
bool ParseCellName(const std::wstring& name, int& row, int& col);
// "A1", "A1:C4" to a rectangle.
bool ParseRangeName(const std::wstring& name, Rect& r);

// Writes a workbook as Folder\<name>.xlsx (or <name> (2).xlsx and so on when
// taken) and opens it when the settings say so; the path written in path.
HRESULT SaveAndShow(Book& book, std::wstring& path);

}  // namespace xl
