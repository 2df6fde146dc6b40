// Speed of the spreadsheet export: a 50,000-row by 10-column grid (texts,
// numbers, addresses and dates under a title row) exported through our
// automation server (TrvExcel.dll beside the program, registered for the run
// and unregistered after) into a workbook in the temporary folder, which is
// removed afterwards. Prints the export's time in milliseconds, the cells per
// second and the file's size.
#include <windows.h>
#include <ole2.h>

#include <cstdio>
#include <string>
#include <vector>

#include "grid/grid_border.h"
#include "grid/grid_excel.h"
#include "grid/grid_filter.h"
#include "grid/grid_title.h"
#include "grid/grid_vector.h"

namespace {

constexpr int kRows = 50000;
constexpr int kColumns = 10;

double Now() {
    LARGE_INTEGER f, t;
    ::QueryPerformanceFrequency(&f);
    ::QueryPerformanceCounter(&t);
    return double(t.QuadPart) * 1000.0 / double(f.QuadPart);
}

// Calls the server's DllRegisterServer or DllUnregisterServer.
bool Register(HMODULE server, bool on) {
    // Through void*: the entry point's type is not GetProcAddress's.
    auto entry = reinterpret_cast<HRESULT(STDAPICALLTYPE*)()>(reinterpret_cast<void*>(
        ::GetProcAddress(server, on ? "DllRegisterServer" : "DllUnregisterServer")));
    return entry && SUCCEEDED(entry());
}

}  // namespace

int main() {
    ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    HMODULE server = ::LoadLibraryA("TrvExcel.dll");
    if (!server || !Register(server, true)) {
        std::printf("cannot register TrvExcel.dll\n");
        return 1;
    }
    char temp[MAX_PATH];
    ::GetTempPathA(MAX_PATH, temp);
    std::string folder = std::string(temp) + "trv-excel-bench";
    ::CreateDirectoryA(folder.c_str(), nullptr);
    HKEY key;
    ::RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Tarvane\\Spreadsheet Server", 0, nullptr, 0, KEY_WRITE, nullptr,
                      &key, nullptr);
    ::RegSetValueExA(key, "Folder", 0, REG_SZ, reinterpret_cast<const BYTE*>(folder.c_str()), DWORD(folder.size() + 1));
    const DWORD open = 0;
    ::RegSetValueExA(key, "Open", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&open), sizeof open);
    ::RegCloseKey(key);

    auto* data = new CVectorGridView;
    auto* title = new CTitleGridView(true);
    for (int c = 0; c < kColumns; ++c) title->SetColumnLabel(c, ("Column " + std::to_string(c)).c_str(), COLUMN_TYPE_TEXT);
    for (int r = 0; r < kRows; ++r)
        for (int c = 0; c < kColumns; ++c) {
            char text[64];
            switch (c % 4) {
            case 0: std::snprintf(text, sizeof text, "host-%d", r); break;
            case 1: std::snprintf(text, sizeof text, "%d", r * 7 + c); break;
            case 2: std::snprintf(text, sizeof text, "10.%d.%d.%d", r / 65536, (r / 256) % 256, r % 256); break;
            default: std::snprintf(text, sizeof text, "%d/%d/2026 10:%02d:00 AM", 1 + r % 12, 1 + r % 28, r % 60); break;
            }
            data->SetCellText(c, r, text);
        }
    data->SetColumnCount(kColumns);
    auto* border = new CBorderDecorator(data);
    border->SetBorderView(GRID_ELEMENT_HEADER, title);
    CFilterDecorator filter(border);
    CELL_STYLE_TABLE styles = CreateBasicStyles();
    const std::vector<int> widths(kColumns, 100);

    const double start = Now();
    int rc = 0;
    try {
        ExportViewToExcel(filter, *styles, widths, "Bench");
    } catch (const _com_error& e) {
        std::printf("export failed: 0x%08lX\n", (unsigned long)e.Error());
        rc = 1;
    }
    const double elapsed = Now() - start;
    const std::string file = folder + "\\Book1.xlsx";
    WIN32_FILE_ATTRIBUTE_DATA info = {};
    ::GetFileAttributesExA(file.c_str(), GetFileExInfoStandard, &info);
    const double cells = double(kRows + 1) * kColumns;
    std::printf("export of %d x %d cells: %.0f ms (%.0f cells/s), file %lu bytes\n", kRows + 1, kColumns, elapsed,
                cells / (elapsed / 1000.0), (unsigned long)info.nFileSizeLow);
    ::DeleteFileA(file.c_str());
    ::RemoveDirectoryA(folder.c_str());
    Register(server, false);
    return rc;
}
