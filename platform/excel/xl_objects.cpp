#include "xl_objects.h"

#include <shellapi.h>
#include <shlobj.h>

#include <cstdio>
#include <cwctype>

namespace xl {
namespace {

// Interface ids the objects answer besides IUnknown and IDispatch.
const IID IID_XlApplication = {0x000208D5, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
const IID IID_XlWorkbooks = {0x000208DB, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
const IID IID_XlWorkbook = {0x000208DA, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
const IID IID_XlWorksheet = {0x000208D8, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
const IID IID_XlRange = {0x00020846, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

// Member ids: those clients call by number are fixed; the others are found by name.
enum : DISPID {
    ID_VALUE2 = 0x56C,
    ID_WRAPTEXT = 0x114,
    ID_HALIGN = 0x88,
    ID_VALIGN = 0x89,
    ID_FONT = 0x92,
    ID_BOLD = 0x60,
    ID_MERGE = 0x234,
    ID_ITEM = 0xAA,
    ID_WIDTH = 0x7A,
    ID_COLUMNWIDTH = 0xF2,
    ID_WORKBOOKS = 0x10001,
    ID_VISIBLE,
    ID_VERSION,
    ID_ADD,
    ID_COUNT,
    ID_ACTIVESHEET,
    ID_NAME,
    ID_COLUMNS,
    ID_RANGE,
};

const Member kApplicationMembers[] = {
    {L"Workbooks", ID_WORKBOOKS}, {L"Visible", ID_VISIBLE}, {L"Version", ID_VERSION}, {nullptr, 0}};
const Member kWorkbooksMembers[] = {{L"Add", ID_ADD}, {L"Count", ID_COUNT}, {nullptr, 0}};
const Member kWorkbookMembers[] = {{L"ActiveSheet", ID_ACTIVESHEET}, {L"Name", ID_NAME}, {nullptr, 0}};
const Member kWorksheetMembers[] = {
    {L"Name", ID_NAME}, {L"Columns", ID_COLUMNS}, {L"Range", ID_RANGE}, {nullptr, 0}};
const Member kRangeMembers[] = {{L"Value2", ID_VALUE2},
                                {L"WrapText", ID_WRAPTEXT},
                                {L"HorizontalAlignment", ID_HALIGN},
                                {L"VerticalAlignment", ID_VALIGN},
                                {L"Font", ID_FONT},
                                {L"Merge", ID_MERGE},
                                {L"Item", ID_ITEM},
                                {L"Width", ID_WIDTH},
                                {L"ColumnWidth", ID_COLUMNWIDTH},
                                {nullptr, 0}};
const Member kFontMembers[] = {{L"Bold", ID_BOLD}, {nullptr, 0}};

// The largest range whose cells one call may change (a whole column is more).
constexpr long long kMaxCellsPerCall = 1000000;

constexpr bool IsGet(WORD flags) { return (flags & (DISPATCH_PROPERTYGET | DISPATCH_METHOD)) != 0; }
constexpr bool IsPut(WORD flags) { return (flags & DISPATCH_PROPERTYPUT) != 0; }

HRESULT ReturnText(const std::wstring& text, VARIANT* result) {
    if (!result) return S_OK;
    result->vt = VT_BSTR;
    result->bstrVal = ::SysAllocStringLen(text.data(), UINT(text.size()));
    return result->bstrVal ? S_OK : E_OUTOFMEMORY;
}

HRESULT ReturnBool(bool value, VARIANT* result) {
    if (result) {
        result->vt = VT_BOOL;
        result->boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
    }
    return S_OK;
}

HRESULT ReturnDouble(double value, VARIANT* result) {
    if (result) {
        result->vt = VT_R8;
        result->dblVal = value;
    }
    return S_OK;
}

HRESULT ReturnLong(long value, VARIANT* result) {
    if (result) {
        result->vt = VT_I4;
        result->lVal = value;
    }
    return S_OK;
}

// What a cell takes from a value put into it.
bool ValueFromVariant(const VARIANT& v, TypedValue& out) {
    out = TypedValue();
    switch (v.vt) {
    case VT_EMPTY:
    case VT_NULL:
        return true;
    case VT_BSTR: {
        std::wstring text(v.bstrVal ? v.bstrVal : L"", v.bstrVal ? ::SysStringLen(v.bstrVal) : 0);
        if (text.size() > 32767) return false;  // longer than a cell holds
        out = ParseInput(Utf8(text));
        return true;
    }
    case VT_BOOL:
        out.kind = TypedValue::BOOLEAN;
        out.number = v.boolVal != VARIANT_FALSE ? 1 : 0;
        return true;
    case VT_DATE:
        out.kind = TypedValue::NUMBER;
        out.number = v.date;
        out.numFormat = "m/d/yyyy h:mm";
        return true;
    default: {
        double d;
        if (!ToDouble(v, d)) return false;
        out.kind = TypedValue::NUMBER;
        out.number = d;
        return true;
    }
    }
}

HRESULT ValueToVariant(const Cell* cell, VARIANT* result) {
    if (!result || !cell) return S_OK;
    switch (cell->value.kind) {
    case TypedValue::TEXT: return ReturnText(Wide(cell->value.text), result);
    case TypedValue::NUMBER: return ReturnDouble(cell->value.number, result);
    case TypedValue::BOOLEAN: return ReturnBool(cell->value.number != 0, result);
    case TypedValue::EMPTY: return S_OK;
    }
    return S_OK;
}

class Font;

class Range : public DispObject {
public:
    Range(std::shared_ptr<Book> book, Sheet& sheet, Rect r, bool columns = false)
        : DispObject(IID_XlRange, kRangeMembers), m_book(std::move(book)), m_sheet(sheet), m_rect(r),
          m_columns(columns) {}

    // Applies a change to every cell of the range; refuses ranges too large.
    template <class F>
    HRESULT ForEachCell(F change) {
        if (m_rect.Cells() > kMaxCellsPerCall) return kCallFailed;
        for (int y = m_rect.row1; y <= m_rect.row2; ++y)
            for (int x = m_rect.col1; x <= m_rect.col2; ++x) change(m_sheet.At(y, x));
        return S_OK;
    }
    const Cell* First() const { return m_sheet.Find(m_rect.row1, m_rect.col1); }
    IDispatch* NewFont();

protected:
    HRESULT Call(DISPID id, WORD flags, const Args& args, VARIANT* result) override {
        const VARIANT* put = args.PutValue();
        switch (id) {
        case ID_VALUE2:
            if (IsPut(flags) && put) {
                TypedValue value;
                if (!ValueFromVariant(*put, value)) return DISP_E_TYPEMISMATCH;
                return ForEachCell([&](Cell& c) { c.value = value; });
            }
            return IsGet(flags) ? ValueToVariant(First(), result) : DISP_E_MEMBERNOTFOUND;
        case ID_WRAPTEXT:
            if (IsPut(flags) && put) {
                bool on;
                if (!ToBool(*put, on)) return DISP_E_TYPEMISMATCH;
                return ForEachCell([&](Cell& c) { c.wrap = on; });
            }
            return IsGet(flags) ? ReturnBool(First() && First()->wrap, result) : DISP_E_MEMBERNOTFOUND;
        case ID_HALIGN:
        case ID_VALIGN: {
            const bool horizontal = id == ID_HALIGN;
            if (IsPut(flags) && put) {
                long a;
                if (!ToInt(*put, a)) return DISP_E_TYPEMISMATCH;
                const bool known = horizontal ? (a == H_GENERAL || a == H_CENTER || a == H_LEFT || a == H_RIGHT)
                                              : (a == V_BOTTOM || a == V_CENTER || a == V_TOP);
                if (!known) return kCallFailed;
                return ForEachCell([&](Cell& c) { (horizontal ? c.hAlign : c.vAlign) = int(a); });
            }
            if (!IsGet(flags)) return DISP_E_MEMBERNOTFOUND;
            const Cell* c = First();
            return ReturnLong(horizontal ? (c ? c->hAlign : H_GENERAL) : (c ? c->vAlign : V_BOTTOM), result);
        }
        case ID_FONT:
            return IsGet(flags) ? ReturnObject(NewFont(), result) : DISP_E_MEMBERNOTFOUND;
        case ID_MERGE: {
            bool across = false;
            if (const VARIANT* a = args.Get(0))
                if (!ToBool(*a, across)) return DISP_E_TYPEMISMATCH;
            if (across) {
                for (int y = m_rect.row1; y <= m_rect.row2; ++y) m_sheet.Merge(Rect{y, m_rect.col1, y, m_rect.col2});
            } else {
                m_sheet.Merge(m_rect);
            }
            return S_OK;
        }
        case ID_ITEM: return Item(args, result);
        case ID_WIDTH: {
            if (!IsGet(flags)) return DISP_E_MEMBERNOTFOUND;
            double points = 0;
            for (int x = m_rect.col1; x <= m_rect.col2; ++x) points += ColumnWidthPoints(m_sheet.GetColumnWidth(x));
            return ReturnDouble(points, result);
        }
        case ID_COLUMNWIDTH:
            if (IsPut(flags) && put) {
                double w;
                if (!ToDouble(*put, w)) return DISP_E_TYPEMISMATCH;
                if (!(w >= 0 && w <= 255)) return kCallFailed;
                for (int x = m_rect.col1; x <= m_rect.col2; ++x) m_sheet.SetColumnWidth(x, w);
                return S_OK;
            }
            if (!IsGet(flags)) return DISP_E_MEMBERNOTFOUND;
            for (int x = m_rect.col1 + 1; x <= m_rect.col2; ++x)
                if (m_sheet.GetColumnWidth(x) != m_sheet.GetColumnWidth(m_rect.col1)) {
                    if (result) result->vt = VT_NULL;  // columns of different widths
                    return S_OK;
                }
            return ReturnDouble(m_sheet.GetColumnWidth(m_rect.col1), result);
        }
        return DISP_E_MEMBERNOTFOUND;
    }

private:
    // Item(n) of a column collection is its n-th column; of a range, the n-th
    // cell row by row; Item(row, column) the cell at that place (all from 1).
    HRESULT Item(const Args& args, VARIANT* result) {
        const VARIANT* first = args.Get(0);
        long a = 0, b = 0;
        if (!first || !ToInt(*first, a)) return DISP_E_TYPEMISMATCH;
        if (a < 1) return kCallFailed;
        Rect r;
        if (const VARIANT* second = args.Get(1)) {
            if (!ToInt(*second, b)) return DISP_E_TYPEMISMATCH;
            if (b < 1) return kCallFailed;
            r = Rect{m_rect.row1 + int(a) - 1, m_rect.col1 + int(b) - 1, 0, 0};
        } else if (m_columns) {
            const int col = m_rect.col1 + int(a) - 1;
            r = Rect{0, col, kMaxRows - 1, col};
            if (col >= kMaxColumns) return kCallFailed;
            return ReturnObject(new Range(m_book, m_sheet, r), result);
        } else {
            const long width = m_rect.col2 - m_rect.col1 + 1;
            r = Rect{m_rect.row1 + int((a - 1) / width), m_rect.col1 + int((a - 1) % width), 0, 0};
        }
        r.row2 = r.row1;
        r.col2 = r.col1;
        if (r.row1 >= kMaxRows || r.col1 >= kMaxColumns) return kCallFailed;
        return ReturnObject(new Range(m_book, m_sheet, r), result);
    }

    std::shared_ptr<Book> m_book;  // keeps the sheet alive
    Sheet& m_sheet;
    Rect m_rect;
    bool m_columns;
};

class Font : public DispObject {
public:
    explicit Font(Range* range) : DispObject(IID_IDispatch, kFontMembers), m_range(range) { m_range->AddRef(); }

protected:
    ~Font() override { m_range->Release(); }
    HRESULT Call(DISPID id, WORD flags, const Args& args, VARIANT* result) override {
        if (id != ID_BOLD) return DISP_E_MEMBERNOTFOUND;
        if (const VARIANT* put = args.PutValue(); IsPut(flags) && put) {
            bool on;
            if (!ToBool(*put, on)) return DISP_E_TYPEMISMATCH;
            return m_range->ForEachCell([&](Cell& c) { c.bold = on; });
        }
        if (!IsGet(flags)) return DISP_E_MEMBERNOTFOUND;
        return ReturnBool(m_range->First() && m_range->First()->bold, result);
    }

private:
    Range* m_range;
};

IDispatch* Range::NewFont() { return new Font(this); }

class Worksheet : public DispObject {
public:
    Worksheet(std::shared_ptr<Book> book, Sheet& sheet)
        : DispObject(IID_XlWorksheet, kWorksheetMembers), m_book(std::move(book)), m_sheet(sheet) {}

protected:
    HRESULT Call(DISPID id, WORD flags, const Args& args, VARIANT* result) override {
        switch (id) {
        case ID_NAME:
            if (const VARIANT* put = args.PutValue(); IsPut(flags) && put) {
                std::wstring name;
                if (!ToText(*put, name)) return DISP_E_TYPEMISMATCH;
                for (size_t i = 0; i < m_book->GetSheetCount(); ++i) {
                    Sheet& other = m_book->GetSheet(i);
                    if (&other != &m_sheet && _wcsicmp(Wide(other.GetName()).c_str(), name.c_str()) == 0)
                        return kCallFailed;  // names are unique in a workbook
                }
                return m_sheet.SetName(Utf8(name)) ? S_OK : kCallFailed;
            }
            return IsGet(flags) ? ReturnText(Wide(m_sheet.GetName()), result) : DISP_E_MEMBERNOTFOUND;
        case ID_COLUMNS:
            if (!IsGet(flags)) return DISP_E_MEMBERNOTFOUND;
            return ReturnObject(new Range(m_book, m_sheet, Rect{0, 0, kMaxRows - 1, kMaxColumns - 1}, true), result);
        case ID_RANGE: {
            if (!IsGet(flags)) return DISP_E_MEMBERNOTFOUND;
            const VARIANT* a = args.Get(0);
            std::wstring name;
            Rect r;
            if (!a || !ToText(*a, name)) return DISP_E_TYPEMISMATCH;
            if (!ParseRangeName(name, r)) return kCallFailed;
            if (const VARIANT* b = args.Get(1)) {
                Rect other;
                if (!ToText(*b, name)) return DISP_E_TYPEMISMATCH;
                if (!ParseRangeName(name, other)) return kCallFailed;
                r = Rect{std::min(r.row1, other.row1), std::min(r.col1, other.col1), std::max(r.row2, other.row2),
                         std::max(r.col2, other.col2)};
            }
            return ReturnObject(new Range(m_book, m_sheet, r), result);
        }
        }
        return DISP_E_MEMBERNOTFOUND;
    }

private:
    std::shared_ptr<Book> m_book;
    Sheet& m_sheet;
};

class Workbook : public DispObject {
public:
    explicit Workbook(std::shared_ptr<Book> book) : DispObject(IID_XlWorkbook, kWorkbookMembers), m_book(std::move(book)) {}

protected:
    HRESULT Call(DISPID id, WORD flags, const Args&, VARIANT* result) override {
        if (!IsGet(flags)) return DISP_E_MEMBERNOTFOUND;
        if (id == ID_ACTIVESHEET) return ReturnObject(new Worksheet(m_book, m_book->GetActiveSheet()), result);
        if (id == ID_NAME) return ReturnText(Wide(m_book->GetName()), result);
        return DISP_E_MEMBERNOTFOUND;
    }

private:
    std::shared_ptr<Book> m_book;
};

class Workbooks : public DispObject {
public:
    explicit Workbooks(std::shared_ptr<AppState> app) : DispObject(IID_XlWorkbooks, kWorkbooksMembers), m_app(std::move(app)) {}

protected:
    HRESULT Call(DISPID id, WORD flags, const Args& args, VARIANT* result) override {
        if (id == ID_COUNT) return IsGet(flags) ? ReturnLong(long(m_app->books.size()), result) : DISP_E_MEMBERNOTFOUND;
        if (id != ID_ADD) return DISP_E_MEMBERNOTFOUND;
        // Only a new workbook of one worksheet: no templates from files.
        if (const VARIANT* t = args.Get(0)) {
            long kind;
            if (t->vt == VT_BSTR || !ToInt(*t, kind) || kind != -4167) return kCallFailed;
        }
        auto book = std::make_shared<Book>("Book" + std::to_string(m_app->nextBook++), 1);
        m_app->books.push_back(book);
        return ReturnObject(new Workbook(book), result);
    }

private:
    std::shared_ptr<AppState> m_app;
};

class Application : public DispObject {
public:
    Application() : DispObject(IID_XlApplication, kApplicationMembers), m_app(std::make_shared<AppState>()) {}

protected:
    HRESULT Call(DISPID id, WORD flags, const Args& args, VARIANT* result) override {
        switch (id) {
        case ID_WORKBOOKS:
            return IsGet(flags) ? ReturnObject(new Workbooks(m_app), result) : DISP_E_MEMBERNOTFOUND;
        case ID_VERSION:
            return IsGet(flags) ? ReturnText(L"16.0", result) : DISP_E_MEMBERNOTFOUND;
        case ID_VISIBLE:
            if (const VARIANT* put = args.PutValue(); IsPut(flags) && put) {
                bool on;
                if (!ToBool(*put, on)) return DISP_E_TYPEMISMATCH;
                m_app->visible = on;
                if (!on) return S_OK;
                // Shown means handed to the user: as a file in the spreadsheet program.
                for (auto& book : m_app->books) {
                    if (book->IsSaved()) continue;
                    std::wstring path;
                    const HRESULT hr = SaveAndShow(*book, path);
                    if (FAILED(hr)) return hr;
                }
                return S_OK;
            }
            return IsGet(flags) ? ReturnBool(m_app->visible, result) : DISP_E_MEMBERNOTFOUND;
        }
        return DISP_E_MEMBERNOTFOUND;
    }

private:
    std::shared_ptr<AppState> m_app;
};

void Log(const char* format, const std::string& a, const std::string& b) {
    char text[1024];
    std::snprintf(text, sizeof text, format, a.c_str(), b.c_str());
    ::OutputDebugStringA(text);
    std::fputs(text, stderr);
}

std::wstring ReadFolderSetting(DWORD& open) {
    open = 1;
    std::wstring folder;
    HKEY key;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, kSettingsKey, 0, KEY_READ, &key) == ERROR_SUCCESS) {
        wchar_t buffer[MAX_PATH];
        DWORD size = sizeof buffer - sizeof(wchar_t), type = 0;
        if (::RegQueryValueExW(key, L"Folder", nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size) == ERROR_SUCCESS &&
            (type == REG_SZ || type == REG_EXPAND_SZ)) {
            buffer[size / sizeof(wchar_t)] = L'\0';
            folder = buffer;
        }
        DWORD value = 0;
        size = sizeof value;
        if (::RegQueryValueExW(key, L"Open", nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) == ERROR_SUCCESS &&
            type == REG_DWORD)
            open = value;
        ::RegCloseKey(key);
    }
    if (folder.empty()) {
        wchar_t documents[MAX_PATH];
        if (SUCCEEDED(::SHGetFolderPathW(nullptr, CSIDL_PERSONAL | CSIDL_FLAG_CREATE, nullptr, 0, documents)))
            folder = documents;
    }
    return folder;
}

}  // namespace

IDispatch* NewApplication() { return new Application(); }

bool ParseCellName(const std::wstring& name, int& row, int& col) {
    size_t i = 0;
    if (i < name.size() && name[i] == L'$') ++i;
    long c = 0;
    size_t letters = 0;
    while (i < name.size() && std::iswalpha(name[i]) && name[i] < 128) {
        c = c * 26 + (std::towupper(name[i]) - L'A' + 1);
        ++i;
        if (++letters > 3) return false;
    }
    if (letters == 0) return false;
    if (i < name.size() && name[i] == L'$') ++i;
    long r = 0;
    size_t digits = 0;
    while (i < name.size() && name[i] >= L'0' && name[i] <= L'9') {
        r = r * 10 + (name[i] - L'0');
        ++i;
        if (++digits > 7) return false;
    }
    if (digits == 0 || i != name.size() || r < 1 || r > kMaxRows || c > kMaxColumns) return false;
    row = int(r - 1);
    col = int(c - 1);
    return true;
}

bool ParseRangeName(const std::wstring& name, Rect& r) {
    const size_t colon = name.find(L':');
    int r1, c1, r2, c2;
    if (colon == std::wstring::npos) {
        if (!ParseCellName(name, r1, c1)) return false;
        r = Rect{r1, c1, r1, c1};
        return true;
    }
    if (!ParseCellName(name.substr(0, colon), r1, c1) || !ParseCellName(name.substr(colon + 1), r2, c2)) return false;
    r = Rect{std::min(r1, r2), std::min(c1, c2), std::max(r1, r2), std::max(c1, c2)};
    return true;
}

HRESULT SaveAndShow(Book& book, std::wstring& path) {
    DWORD open = 1;
    const std::wstring folder = ReadFolderSetting(open);
    if (folder.empty()) {
        Log("spreadsheet server: no folder for %s%s\n", book.GetName(), "");
        return HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND);
    }
    const std::wstring base = folder + (folder.back() == L'\\' ? L"" : L"\\") + Wide(book.GetName());
    // Never over an existing file: the user's earlier exports stay.
    for (int n = 1;; ++n) {
        path = base + (n == 1 ? std::wstring() : L" (" + std::to_wstring(n) + L")") + L".xlsx";
        if (::GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) break;
        if (n > 9999) return HRESULT_FROM_WIN32(ERROR_FILE_EXISTS);
    }
    std::string error;
    if (!book.Save(Utf8(path), error)) {
        Log("spreadsheet server: %s (%s)\n", error, Utf8(path));
        ::DeleteFileW(path.c_str());  // no half-written workbook is left behind
        return HRESULT_FROM_WIN32(ERROR_WRITE_FAULT);
    }
    if (open) {
        SHELLEXECUTEINFOW info = {};
        info.cbSize = sizeof info;
        info.fMask = SEE_MASK_FLAG_NO_UI | SEE_MASK_NOASYNC;
        info.lpVerb = L"open";
        info.lpFile = path.c_str();
        info.nShow = SW_SHOWNORMAL;
        // A machine without a program for the file still has the file.
        if (!::ShellExecuteExW(&info))
            Log("spreadsheet server: %s written, but no program opens it (%s)\n", Utf8(path),
                std::to_string(::GetLastError()));
    }
    return S_OK;
}

}  // namespace xl
