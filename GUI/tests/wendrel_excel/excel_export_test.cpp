// Export of a grid to the spreadsheet program through our automation server
// (TrvExcel.dll, registered with regsvr32 for the run): a filtered chain
// with texts, numbers, addresses, dates and empty cells; the server's own
// object model (merged ranges, names, refused calls); and the failure when no
// server is registered. The workbooks land in the folder given as the first
// argument, where check_workbooks.py reads them back after the run.
#include <windows.h>
#include <ole2.h>

#include <cmath>
#include <cstring>
#include <set>
#include <string>

#include "afxwin.h"
#include "grid/grid_excel.h"
#include "gridwnd/grid_ctrl.h"
#include "gridwnd/grid_export.h"
#include "xl_input.h"
#include "grid_test_util.h"

using namespace gt;

namespace {

std::string g_folder;  // Windows path of the output folder

std::string ProgramFolder() {
    char path[MAX_PATH];
    DWORD n = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string s(path, n);
    return s.substr(0, s.find_last_of('\\') + 1);
}

// Runs regsvr32 silently on the server; its exit code (0 on success).
DWORD RegSvr32(bool unregister) {
    std::string command = std::string("regsvr32.exe /s ") + (unregister ? "/u " : "") + "\"" + ProgramFolder() +
                          "TrvExcel.dll\"";
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    if (!::CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return ~0u;
    ::WaitForSingleObject(pi.hProcess, INFINITE);
    DWORD code = ~0u;
    ::GetExitCodeProcess(pi.hProcess, &code);
    ::CloseHandle(pi.hThread);
    ::CloseHandle(pi.hProcess);
    return code;
}

void SetServerSettings(const std::string& folder) {
    HKEY key;
    WCHECK_EQ(::RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Tarvane\\Spreadsheet Server", 0, nullptr, 0, KEY_WRITE,
                                nullptr, &key, nullptr),
              ERROR_SUCCESS);
    ::RegSetValueExA(key, "Folder", 0, REG_SZ, reinterpret_cast<const BYTE*>(folder.c_str()), DWORD(folder.size() + 1));
    const DWORD open = 0;  // nothing to open the files with here
    ::RegSetValueExA(key, "Open", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&open), sizeof open);
    ::RegCloseKey(key);
}

bool FileExists(const std::string& path) { return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// Hosts: name, count, load, address, last seen; "gamma" is filtered out.
Chain Hosts() {
    Chain c = MakeChain({{"Name", COLUMN_TYPE_TEXT},
                         {"Count", COLUMN_TYPE_INTEGER},
                         {"Load", COLUMN_TYPE_REAL},
                         {"Address", COLUMN_TYPE_IP},
                         {"Seen", COLUMN_TYPE_REAL}},
                        {{"router-1"}, {"Switch \xE4"}, {"gamma"}, {""}, {"printer"}});
    const long counts[] = {42, -7, 1, 0, 1234567};
    const double loads[] = {3.25, 0.5, 1, 0, -12.125};
    const char* addresses[] = {"10.0.0.1", "192.168.1.254", "10.0.0.3", "", "172.16.0.9"};
    // 2026-12-11 11:47:27, 2026-12-11, 1999-01-31 23:59:59, -, 1900-03-01 06:00
    const double seen[] = {46367.0 + (11 * 3600 + 47 * 60 + 27) / 86400.0, 46367.0,
                           36191.0 + (23 * 3600 + 59 * 60 + 59) / 86400.0, 0, 61.25};
    for (int r = 0; r < 5; ++r) {
        if (r == 3) continue;  // a row of empty cells but its name
        c.data->SetCellVariant(1, r, _variant_t(counts[r]), _variant_t());
        c.data->SetCellVariant(2, r, _variant_t(loads[r]), _variant_t());
        c.data->SetCellText(3, r, addresses[r]);
        c.data->SetCellVariant(4, r, _variant_t(seen[r], VT_DATE), _variant_t());
    }
    return c;
}

void KeepOnly(CFilterDecorator& f, int column, const std::set<std::string>& keep) {
    TRowBits& mask = f.GetVisibleRows(column + f.GetLeftCount());
    TGridColumn& values = *f.GetGridMap()[size_t(column)].column;
    mask[0] = false;
    std::string text;
    for (size_t id = 1; id < mask.size(); ++id) {
        values.GetText(int(id), text);
        mask[id] = keep.count(text) != 0;
    }
    f.ApplyFilter();
}

// Calls a member by name; the result, or the failing result code in hr.
_variant_t CallByName(IDispatch* d, const wchar_t* name, WORD flags, std::vector<_variant_t> args, HRESULT* hr) {
    DISPID id;
    LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
    *hr = d->GetIDsOfNames(IID_NULL, names, 1, 0, &id);
    if (FAILED(*hr)) return _variant_t();
    std::vector<VARIANT> reversed(args.rbegin(), args.rend());
    DISPID put = DISPID_PROPERTYPUT;
    DISPPARAMS p = {reversed.data(), nullptr, UINT(reversed.size()), 0};
    if (flags & DISPATCH_PROPERTYPUT) {
        p.rgdispidNamedArgs = &put;
        p.cNamedArgs = 1;
    }
    _variant_t result;
    *hr = d->Invoke(id, IID_NULL, 0, flags, &p, &result, nullptr, nullptr);
    return result;
}

IDispatch* Child(IDispatch* d, const wchar_t* name, std::vector<_variant_t> args = {}) {
    HRESULT hr;
    _variant_t v = CallByName(d, name, DISPATCH_PROPERTYGET | DISPATCH_METHOD, std::move(args), &hr);
    WCHECK_EQ(hr, S_OK);
    if (v.vt != VT_DISPATCH || !v.pdispVal) return nullptr;
    v.pdispVal->AddRef();
    return v.pdispVal;
}

}  // namespace

WTEST(cell_names) {
    const std::pair<int, const char*> names[] = {{1, "A"}, {2, "B"}, {26, "Z"}, {27, "AA"}, {52, "AZ"},
                                                 {53, "BA"}, {702, "ZZ"}, {703, "AAA"}, {16384, "XFD"}};
    for (auto [column, letters] : names) WCHECK_EQ(ExcelColumnName(column), std::string(letters));
    WCHECK_EQ(std::string(EXCEL_DEVICE::Coord_Grid2Excel(CELL_COORD(0, 0))), std::string("A1"));
    WCHECK_EQ(std::string(EXCEL_DEVICE::Coord_Grid2Excel(CELL_COORD(27, 99))), std::string("AB100"));
}

// What the server makes of typed texts (en-US conventions).
WTEST(typed_input) {
    using xl::TypedValue;
    struct Case {
        const char* text;
        TypedValue::Kind kind;
        double number;
        const char* format;
    };
    const Case cases[] = {
        {"", TypedValue::EMPTY, 0, ""},
        {"42", TypedValue::NUMBER, 42, ""},
        {"-7", TypedValue::NUMBER, -7, ""},
        {" 3.25 ", TypedValue::NUMBER, 3.25, ""},
        {"1,234,567.5", TypedValue::NUMBER, 1234567.5, ""},
        {"1e3", TypedValue::NUMBER, 1000, ""},
        {"12.5%", TypedValue::NUMBER, 0.125, "0.00%"},
        {"TRUE", TypedValue::BOOLEAN, 1, ""},
        {"False", TypedValue::BOOLEAN, 0, ""},
        {"12/11/2026", TypedValue::NUMBER, 46367, "m/d/yyyy"},
        {"12/11/2026 11:47:27 AM", TypedValue::NUMBER, 46367 + (11 * 3600 + 47 * 60 + 27) / 86400.0,
         "m/d/yyyy h:mm:ss AM/PM"},
        {"12/11/2026 12:00:00 AM", TypedValue::NUMBER, 46367, "m/d/yyyy h:mm:ss AM/PM"},
        {"2026-12-11", TypedValue::NUMBER, 46367, "m/d/yyyy"},
        {"1/1/1900", TypedValue::NUMBER, 1, "m/d/yyyy"},
        {"3/1/1900", TypedValue::NUMBER, 61, "m/d/yyyy"},
        {"1/31/99", TypedValue::NUMBER, 36191, "m/d/yyyy"},
        {"13:30", TypedValue::NUMBER, 13.5 / 24, "h:mm"},
        {"10.0.0.1", TypedValue::TEXT, 0, ""},
        {"1,23", TypedValue::TEXT, 0, ""},
        {"2/30/2026", TypedValue::TEXT, 0, ""},
        {"12/11/1899", TypedValue::TEXT, 0, ""},
        {"25:00", TypedValue::TEXT, 0, ""},
        {"=1+2", TypedValue::TEXT, 0, ""},
        {"'42", TypedValue::TEXT, 0, ""},
        {"router-1", TypedValue::TEXT, 0, ""},
    };
    for (const Case& c : cases) {
        const TypedValue v = xl::ParseInput(c.text);
        WCHECK_EQ(int(v.kind), int(c.kind));
        if (v.kind != c.kind) wtest::fail(__FILE__, __LINE__, std::string("for ") + c.text);
        if (c.kind == TypedValue::NUMBER || c.kind == TypedValue::BOOLEAN) {
            WCHECK(std::fabs(v.number - c.number) < 1e-9);
            WCHECK_EQ(v.numFormat, std::string(c.format));
        }
    }
    WCHECK_EQ(xl::ParseInput("'42").text, std::string("42"));
    WCHECK_EQ(xl::ParseInput("=1+2").text, std::string("=1+2"));
}

WTEST(register_server) {
    WCHECK(wtest::args().size() == 1);
    if (wtest::args().empty()) return;
    g_folder = wtest::args()[0];
    WCHECK_EQ(RegSvr32(false), 0ul);
    SetServerSettings(g_folder);
    int major = -1, minor = -1;
    GetMsOfficeVers(L"Excel.Application", &major, &minor);
    WCHECK_EQ(major, 16);
    WCHECK_EQ(minor, 0);
}

WTEST(export_filtered_grid) {
    Chain c = Hosts();
    KeepOnly(*c.filter, 0, {"router-1", "Switch \xE4", "", "printer"});
    CELL_STYLE_TABLE styles = CreateBasicStyles();
    // Column labels in a bold font of the console's own settings.
    LOGFONTA bold = {};
    bold.lfHeight = -11;
    bold.lfWeight = FW_BOLD;
    std::strcpy(bold.lfFaceName, "Arial");
    (*styles)[STYLE_HEADER].font.Reset(::CreateFontIndirectA(&bold));
    const std::vector<int> widths = {80, 120, 60, 100, 150};
    ExportViewToExcel(*c.filter, *styles, widths, "Devices");
    WCHECK(FileExists(g_folder + "\\Book1.xlsx"));
    // A second export never writes over the first.
    ExportViewToExcel(*c.filter, *styles, widths, "Ger\xE4te \xE4\xE4\xE4\xE4\xE4\xE4\xE4\xE4\xE4\xE4\xE4\xE4\xE4\xE4\xE4\xE4\xE4\xE4\xE4\xE4\xE4\xE4\xE4\xE4");
    WCHECK(FileExists(g_folder + "\\Book1 (2).xlsx"));
}

WTEST(server_object_model) {
    CLSID clsid;
    WCHECK_EQ(::CLSIDFromProgID(L"Excel.Application", &clsid), S_OK);
    IDispatch* app = nullptr;
    WCHECK_EQ(::CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch, reinterpret_cast<void**>(&app)), S_OK);
    if (!app) return;
    IDispatch* books = Child(app, L"Workbooks");
    IDispatch* book = Child(books, L"Add");
    IDispatch* sheet = Child(book, L"ActiveSheet");
    HRESULT hr;
    // Names a sheet cannot have are refused; the name stays.
    for (const wchar_t* bad : {L"", L"a/b", L"x[1]", L"0123456789012345678901234567890123"}) {
        CallByName(sheet, L"Name", DISPATCH_PROPERTYPUT, {_variant_t(bad)}, &hr);
        WCHECK_EQ(hr, HRESULT(0x800A03EC));
    }
    CallByName(sheet, L"Name", DISPATCH_PROPERTYPUT, {_variant_t(L"Model")}, &hr);
    WCHECK_EQ(hr, S_OK);
    WCHECK(std::wstring(_bstr_t(CallByName(sheet, L"Name", DISPATCH_PROPERTYGET, {}, &hr))) == L"Model");
    // A value written to the first cell of a merged area; a later merge that
    // overlaps it joins it.
    IDispatch* area = Child(sheet, L"Range", {_variant_t(L"B2"), _variant_t(L"D2")});
    CallByName(area, L"Merge", DISPATCH_METHOD, {}, &hr);
    WCHECK_EQ(hr, S_OK);
    IDispatch* more = Child(sheet, L"Range", {_variant_t(L"D2:D3")});
    CallByName(more, L"Merge", DISPATCH_METHOD, {}, &hr);
    WCHECK_EQ(hr, S_OK);
    IDispatch* first = Child(sheet, L"Range", {_variant_t(L"B2")});
    CallByName(first, L"Value2", DISPATCH_PROPERTYPUT, {_variant_t(L"merged")}, &hr);
    WCHECK_EQ(hr, S_OK);
    WCHECK(std::wstring(_bstr_t(CallByName(first, L"Value2", DISPATCH_PROPERTYGET, {}, &hr))) == L"merged");
    // Texts become what a user typing them gets.
    IDispatch* typed = Child(sheet, L"Range", {_variant_t(L"A5")});
    CallByName(typed, L"Value2", DISPATCH_PROPERTYPUT, {_variant_t(L"1,234.5")}, &hr);
    _variant_t number = CallByName(typed, L"Value2", DISPATCH_PROPERTYGET, {}, &hr);
    WCHECK_EQ(number.vt, VARTYPE(VT_R8));
    WCHECK_EQ(double(number), 1234.5);
    // Cells and alignments that do not exist are refused.
    for (const wchar_t* bad : {L"A0", L"XFE1", L"A1048577", L"1A", L"B2:"}) {
        CallByName(sheet, L"Range", DISPATCH_PROPERTYGET, {_variant_t(bad)}, &hr);
        WCHECK_EQ(hr, HRESULT(0x800A03EC));
    }
    CallByName(first, L"HorizontalAlignment", DISPATCH_PROPERTYPUT, {_variant_t(12L)}, &hr);
    WCHECK_EQ(hr, HRESULT(0x800A03EC));
    CallByName(first, L"NoSuchMember", DISPATCH_PROPERTYGET, {}, &hr);
    WCHECK_EQ(hr, DISP_E_UNKNOWNNAME);
    // Shown: written (as the folder's next free name) and kept for the check.
    CallByName(app, L"Visible", DISPATCH_PROPERTYPUT, {_variant_t(true)}, &hr);
    WCHECK_EQ(hr, S_OK);
    WCHECK(FileExists(g_folder + "\\Book1 (3).xlsx"));
    for (IDispatch* d : {typed, first, more, area, sheet, book, books, app})
        if (d) d->Release();
}

// One pass's cells straight into a sheet: a cell spanning three columns
// becomes one merged range with its value and format in its first cell; an
// empty cell still gets wrap and alignment.
WTEST(device_merges_spanning_cell) {
    CLSID clsid;
    IDispatch* app = nullptr;
    WCHECK_EQ(::CLSIDFromProgID(L"Excel.Application", &clsid), S_OK);
    WCHECK_EQ(::CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch, reinterpret_cast<void**>(&app)), S_OK);
    if (!app) return;
    IDispatch* books = Child(app, L"Workbooks");
    IDispatch* book = Child(books, L"Add", {_variant_t(-4167L)});
    IDispatch* sheet = Child(book, L"ActiveSheet");
    HRESULT hr;
    CallByName(sheet, L"Name", DISPATCH_PROPERTYPUT, {_variant_t(L"Spans")}, &hr);
    CELL_STYLE_TABLE styles = CreateBasicStyles();
    {
        EXCEL_DEVICE device(sheet, *styles);
        CELL_CONTENT wide;
        wide.middle.text = "wide";
        device.SetStyleIndex(STYLE_HORIZONTAL_TITLE1);
        device.RenderRange(CELL_RANGE(0, 0, 3, 1), wide);
        CELL_CONTENT empty;
        device.SetStyleIndex(STYLE_NORMAL);
        device.RenderRange(CELL_RANGE(1, 1, 2, 2), empty);
        // A style index outside the table writes the cell plain, left aligned.
        CELL_CONTENT plain;
        plain.middle.text = "plain";
        device.SetStyleIndex(99);
        device.RenderRange(CELL_RANGE(2, 1, 3, 2), plain);
    }
    CallByName(app, L"Visible", DISPATCH_PROPERTYPUT, {_variant_t(true)}, &hr);
    WCHECK_EQ(hr, S_OK);
    WCHECK(FileExists(g_folder + "\\Book1 (4).xlsx"));
    for (IDispatch* d : {sheet, book, books, app})
        if (d) d->Release();
}

// The export of a grid window: its filtered view, its own style table and
// the widths its columns have in the window.
WTEST(export_from_grid_window) {
    HWND owner = ::CreateWindowExA(0, "STATIC", "owner", WS_POPUP, 0, 0, 600, 300, nullptr, nullptr,
                                   ::GetModuleHandleA(nullptr), nullptr);
    WCHECK(owner != nullptr);
    Chain c = Hosts();
    KeepOnly(*c.filter, 0, {"router-1", "Switch \xE4", "", "printer"});
    {
        CDefGridCtrl grid;
        WCHECK(grid.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 500, 200), CWnd::FromHandle(owner), 7));
        // Without a view there is nothing to export and no server is started.
        grid.SetView(nullptr);
        HRESULT raised = S_OK;
        try {
            ExportToExcel(&grid, "Empty");
        } catch (const _com_error& e) {
            raised = e.Error();
        }
        WCHECK_EQ(raised, E_POINTER);
        grid.SetView(c.owner.release());
        LOGFONTA bold = {};
        bold.lfHeight = -11;
        bold.lfWeight = FW_BOLD;
        std::strcpy(bold.lfFaceName, "Arial");
        (*grid.GetStyles())[STYLE_HEADER].font.Reset(::CreateFontIndirectA(&bold));
        const int widths[] = {80, 120, 60, 100, 150};
        for (int f = 0; f < 5; ++f) grid.SetColumnWidth(f, widths[f]);
        ExportToExcel(&grid, "Window");
        WCHECK(FileExists(g_folder + "\\Book1 (5).xlsx"));
        grid.DestroyWindow();
    }
    ::DestroyWindow(owner);
    HRESULT raised = S_OK;
    try {
        ExportToExcel(nullptr, "None");
    } catch (const _com_error& e) {
        raised = e.Error();
    }
    WCHECK_EQ(raised, E_POINTER);
}

WTEST(office_version_split) {
    const struct {
        const char* text;
        int major, minor;
    } cases[] = {{"11.0", 11, 0}, {"12.5", 12, 5}, {"16.0.1", 16, 0}, {"9", 9, 0}, {"", 0, 0}, {nullptr, 0, 0}};
    for (const auto& c : cases) {
        int major = -1, minor = -1;
        SplitOfficeVersion(c.text, &major, &minor);
        WCHECK_EQ(major, c.major);
        WCHECK_EQ(minor, c.minor);
    }
}

WTEST(unregistered_server_raises_com_error) {
    WCHECK_EQ(RegSvr32(true), 0ul);
    Chain c = Hosts();
    CELL_STYLE_TABLE styles = CreateBasicStyles();
    HRESULT raised = S_OK;
    std::string message;
    try {
        ExportViewToExcel(*c.filter, *styles, {80}, "None");
    } catch (const _com_error& e) {
        raised = e.Error();
        message = e.ErrorMessage() ? e.ErrorMessage() : "";
    }
    WCHECK_EQ(raised, CO_E_CLASSSTRING);
    WCHECK(!message.empty());
    int major = -1, minor = -1;
    GetMsOfficeVers(L"Excel.Application", &major, &minor);
    WCHECK_EQ(major, 0);
    WCHECK_EQ(minor, 0);

    // A program id whose class has no server left.
    HKEY key;
    WCHECK_EQ(::RegCreateKeyExA(HKEY_LOCAL_MACHINE, "Software\\Classes\\Excel.Application\\CLSID", 0, nullptr, 0,
                                KEY_WRITE, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    const char clsid[] = "{EBA401CF-0A7B-4665-9186-30548118EA43}";
    ::RegSetValueExA(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(clsid), sizeof clsid);
    ::RegCloseKey(key);
    raised = S_OK;
    try {
        ExportViewToExcel(*c.filter, *styles, {80}, "None");
    } catch (const _com_error& e) {
        raised = e.Error();
    }
    WCHECK_EQ(raised, REGDB_E_CLASSNOTREG);
    ::RegDeleteTreeA(HKEY_LOCAL_MACHINE, "Software\\Classes\\Excel.Application");
}

// COM for the whole run, in the apartment a GUI thread has.
static const int g_com = [] {
    ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    return 0;
}();
