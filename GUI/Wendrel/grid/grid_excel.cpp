#include "grid/grid_excel.h"

#include <ole2.h>

#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <utility>

#include "grid/grid_log.h"

namespace {

// Interface ids of the spreadsheet program's dual interfaces.
const IID IID_XlApplication = {0x000208D5, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
const IID IID_XlWorkbooks = {0x000208DB, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
const IID IID_XlWorkbook = {0x000208DA, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
const IID IID_XlWorksheet = {0x000208D8, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
const IID IID_XlRange = {0x00020846, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

// Members of a Range and its Font called by number.
enum : DISPID {
    XL_VALUE2 = 0x56C,
    XL_WRAPTEXT = 0x114,
    XL_HALIGN = 0x88,
    XL_VALIGN = 0x89,
    XL_FONT = 0x92,
    XL_BOLD = 0x60,
    XL_MERGE = 0x234,
    XL_ITEM = 0xAA,
    XL_WIDTH = 0x7A,
    XL_COLUMNWIDTH = 0xF2,
};

constexpr int kAlignCenter = -4108;
constexpr int kAlignLeft = -4131;
constexpr long kSingleSheetTemplate = -4167;

// One reference on an interface, released on every way out.
template <class T>
class ComRef {
public:
    ComRef() = default;
    explicit ComRef(T* p) : m_p(p) {}
    ComRef(const ComRef&) = delete;
    ComRef& operator=(const ComRef&) = delete;
    ~ComRef() {
        if (m_p) m_p->Release();
    }
    T* Get() const { return m_p; }
    T** Out() { return &m_p; }
    T* operator->() const { return m_p; }

private:
    T* m_p = nullptr;
};

// A variant argument that the caller leaves out.
VARIANT Missing() {
    VARIANT v;
    ::VariantInit(&v);
    v.vt = VT_ERROR;
    v.scode = DISP_E_PARAMNOTFOUND;
    return v;
}

VARIANT Int(int value) {
    VARIANT v;
    ::VariantInit(&v);
    v.vt = VT_INT;
    v.intVal = value;
    return v;
}

VARIANT Bool(bool value) {
    VARIANT v;
    ::VariantInit(&v);
    v.vt = VT_BOOL;
    v.boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
    return v;
}

VARIANT Double(double value) {
    VARIANT v;
    ::VariantInit(&v);
    v.vt = VT_R8;
    v.dblVal = value;
    return v;
}

// Raises a failed result as a COM error, with the error information the
// object left for the interface.
void Check(HRESULT hr, IUnknown* object, const IID& iid) {
    if (FAILED(hr)) _com_issue_errorex(hr, object, iid);
}

// One IDispatch::Invoke; arguments in the caller's order (Invoke takes them
// reversed). A property put passes its value as the last argument.
_variant_t Call(IDispatch* object, DISPID id, WORD flags, std::vector<VARIANT> args, const IID& iid) {
    if (!object) _com_issue_error(E_POINTER);
    std::vector<VARIANT> reversed(args.rbegin(), args.rend());
    DISPID put = DISPID_PROPERTYPUT;
    DISPPARAMS params = {reversed.empty() ? nullptr : reversed.data(), nullptr, UINT(reversed.size()), 0};
    if (flags & DISPATCH_PROPERTYPUT) {
        params.rgdispidNamedArgs = &put;
        params.cNamedArgs = 1;
    }
    _variant_t result;
    Check(object->Invoke(id, IID_NULL, 0, flags, &params, &result, nullptr, nullptr), object, iid);
    return result;
}

DISPID GetId(IDispatch* object, const wchar_t* name, const IID& iid) {
    if (!object) _com_issue_error(E_POINTER);
    DISPID id = DISPID_UNKNOWN;
    LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
    Check(object->GetIDsOfNames(IID_NULL, names, 1, 0, &id), object, iid);
    return id;
}

// A property that holds an object, asked for one of its interfaces (a new reference).
IDispatch* GetChild(IDispatch* object, DISPID id, std::vector<VARIANT> args, const IID& iid, const IID& want) {
    _variant_t value = Call(object, id, DISPATCH_PROPERTYGET | DISPATCH_METHOD, std::move(args), iid);
    if (value.vt != VT_DISPATCH || !value.pdispVal) _com_issue_error(E_NOINTERFACE);
    IDispatch* out = nullptr;
    Check(value.pdispVal->QueryInterface(want, reinterpret_cast<void**>(&out)), value.pdispVal, want);
    if (!out) _com_issue_error(E_NOINTERFACE);
    return out;
}

void Put(IDispatch* object, DISPID id, const VARIANT& value, const IID& iid) {
    Call(object, id, DISPATCH_PROPERTYPUT, {value}, iid);
}

double GetDouble(IDispatch* object, DISPID id, const IID& iid) {
    _variant_t value = Call(object, id, DISPATCH_PROPERTYGET, {}, iid);
    return double(value);  // converts, or raises the conversion's COM error
}

}  // namespace

std::string ExcelColumnName(int column) {
    std::string letters;
    for (int c = column; c > 0; c = (c - 1) / 26) letters.insert(letters.begin(), char('A' + (c - 1) % 26));
    return letters;
}

_bstr_t EXCEL_DEVICE::Coord_Grid2Excel(const CELL_COORD& cell) {
    char name[32];
    std::snprintf(name, sizeof name, "%s%d", ExcelColumnName(cell.column + 1).c_str(), cell.row + 1);
    return _bstr_t(name);
}

EXCEL_DEVICE::EXCEL_DEVICE(IDispatch* worksheet, const std::vector<GRAPHIC_CELL_STYLE>& styles)
    : m_sheet(worksheet), m_styles(styles) {
    if (m_sheet) m_sheet->AddRef();
}

EXCEL_DEVICE::EXCEL_DEVICE(const EXCEL_DEVICE& src)
    : GRID_DEVICE(src), m_sheet(src.m_sheet), m_styles(src.m_styles), m_rangeId(src.m_rangeId) {
    if (m_sheet) m_sheet->AddRef();
}

EXCEL_DEVICE::~EXCEL_DEVICE() {
    if (m_sheet) m_sheet->Release();
}

const GRAPHIC_CELL_STYLE* EXCEL_DEVICE::GetStyleRecord() const {
    const int i = GetStyle();
    return i >= 0 && size_t(i) < m_styles.size() ? &m_styles[size_t(i)] : nullptr;
}

IDispatch* EXCEL_DEVICE::GetExcelRange(const CELL_RANGE& range) {
    if (m_rangeId == DISPID_UNKNOWN) m_rangeId = GetId(m_sheet, L"Range", IID_XlWorksheet);
    _variant_t first(Coord_Grid2Excel(CELL_COORD(range.left, range.top)));
    _variant_t last(Coord_Grid2Excel(CELL_COORD(range.right - 1, range.bottom - 1)));
    return GetChild(m_sheet, m_rangeId, {first, last}, IID_XlWorksheet, IID_XlRange);
}

IDispatch* EXCEL_DEVICE::GetExcelCell(const CELL_COORD& cell) { return GetExcelRange(CELL_RANGE(cell)); }

void EXCEL_DEVICE::DoRenderRange(const CELL_RANGE&, const CELL_RANGE& gridRange, CELL_CONTENT& content) {
    // Shown rows only, without gaps for filtered or collapsed ones.
    const CELL_RANGE shown = AbsToVisible(gridRange);
    if (shown.right <= shown.left || shown.bottom <= shown.top) return;
    _variant_t value;
    if (content.middle.HasText()) value = _bstr_t(content.middle.text);
    RenderVariant(shown, value);
}

void EXCEL_DEVICE::RenderVariant(const CELL_RANGE& range, const VARIANT& value) {
    if (range.right != range.left + 1 || range.bottom != range.top + 1) {
        ComRef<IDispatch> area(GetExcelRange(range));
        Call(area.Get(), XL_MERGE, DISPATCH_METHOD, {Missing()}, IID_XlRange);
    }
    ComRef<IDispatch> cell(GetExcelCell(CELL_COORD(range.left, range.top)));
    _variant_t copy(value);
    Put(cell.Get(), XL_VALUE2, copy, IID_XlRange);
    Put(cell.Get(), XL_WRAPTEXT, Bool(true), IID_XlRange);

    const GRAPHIC_CELL_STYLE* style = GetStyleRecord();
    if (style && (style->format & DT_CENTER)) {
        Put(cell.Get(), XL_HALIGN, Int(kAlignCenter), IID_XlRange);
        Put(cell.Get(), XL_VALIGN, Int(kAlignCenter), IID_XlRange);
    } else {
        Put(cell.Get(), XL_HALIGN, Int(kAlignLeft), IID_XlRange);
    }
    LOGFONTA font = {};
    if (style && style->font.Get() && ::GetObjectA(style->font.Get(), sizeof font, &font) > int(offsetof(LOGFONTA, lfWeight)) &&
        font.lfWeight >= FW_BOLD) {
        ComRef<IDispatch> cellFont(GetChild(cell.Get(), XL_FONT, {}, IID_XlRange, IID_IDispatch));
        Put(cellFont.Get(), XL_BOLD, Bool(true), IID_IDispatch);
    }
}

void ExportViewToExcel(CDefGridView& view, const std::vector<GRAPHIC_CELL_STYLE>& styles,
                       const std::vector<int>& columnWidths, const std::string& sheetName) {
    CLSID clsid;
    Check(::CLSIDFromProgID(L"Excel.Application", &clsid), nullptr, IID_IUnknown);
    ComRef<IUnknown> unknown;
    Check(::CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER | CLSCTX_LOCAL_SERVER |
                                                  CLSCTX_REMOTE_SERVER,
                             IID_IUnknown, reinterpret_cast<void**>(unknown.Out())),
          nullptr, IID_IUnknown);
    Check(::OleRun(unknown.Get()), unknown.Get(), IID_IUnknown);
    ComRef<IDispatch> app;
    Check(unknown->QueryInterface(IID_XlApplication, reinterpret_cast<void**>(app.Out())), unknown.Get(),
          IID_XlApplication);
    if (!app.Get()) _com_issue_error(E_NOINTERFACE);

    ComRef<IDispatch> books(GetChild(app.Get(), GetId(app.Get(), L"Workbooks", IID_XlApplication), {},
                                      IID_XlApplication, IID_XlWorkbooks));
    VARIANT kind;
    ::VariantInit(&kind);
    kind.vt = VT_I4;
    kind.lVal = kSingleSheetTemplate;
    ComRef<IDispatch> book(GetChild(books.Get(), GetId(books.Get(), L"Add", IID_XlWorkbooks), {kind},
                                     IID_XlWorkbooks, IID_XlWorkbook));
    ComRef<IDispatch> sheet(GetChild(book.Get(), GetId(book.Get(), L"ActiveSheet", IID_XlWorkbook), {},
                                      IID_XlWorkbook, IID_XlWorksheet));
    Put(sheet.Get(), GetId(sheet.Get(), L"Name", IID_XlWorksheet), _variant_t(sheetName.c_str()), IID_XlWorksheet);

    EXCEL_DEVICE device(sheet.Get(), styles);

    // A grid column of w pixels becomes a sheet column of about w points.
    const CELL_COORD size = view.GetSize();
    const DISPID columnsId = GetId(sheet.Get(), L"Columns", IID_XlWorksheet);
    for (int f = 0; f < size.column && size_t(f) < columnWidths.size(); ++f) {
        ComRef<IDispatch> columns(GetChild(sheet.Get(), columnsId, {}, IID_XlWorksheet, IID_XlRange));
        ComRef<IDispatch> column(GetChild(columns.Get(), XL_ITEM, {Int(f + 1), Missing()}, IID_XlRange, IID_XlRange));
        const double points = GetDouble(column.Get(), XL_WIDTH, IID_XlRange);
        const double characters = GetDouble(column.Get(), XL_COLUMNWIDTH, IID_XlRange);
        if (!(points > 0)) {
            GridLogFailure("export: column %d of the sheet has no width (%g points): its width is kept", f + 1, points);
            continue;
        }
        Put(column.Get(), XL_COLUMNWIDTH, Double(characters / points * columnWidths[size_t(f)]), IID_XlRange);
    }

    view.Draw(device, CELL_INFO(CELL_RANGE(0, 0, size.column, size.row)));

    Put(app.Get(), GetId(app.Get(), L"Visible", IID_XlApplication), Bool(true), IID_XlApplication);
}

void SplitOfficeVersion(const char* version, int* major, int* minor) {
    int a = 0, b = 0;
    if (version) {
        a = std::atoi(version);
        const char* point = std::strchr(version, '.');
        b = point ? std::atoi(point + 1) : 0;  // no point: no minor number
    }
    if (major) *major = a;
    if (minor) *minor = b;
}

void GetMsOfficeVers(const wchar_t* progId, int* major, int* minor) {
    int a = 0, b = 0;
    // The calling thread's COM stays initialised: it is the caller's thread.
    const HRESULT init = ::CoInitialize(nullptr);
    (void)init;
    CLSID clsid;
    ComRef<IUnknown> unknown;
    ComRef<IDispatch> dispatch;
    if (progId && SUCCEEDED(::CLSIDFromProgID(progId, &clsid)) &&
        SUCCEEDED(::CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER | CLSCTX_REMOTE_SERVER,
                                     IID_IUnknown, reinterpret_cast<void**>(unknown.Out()))) &&
        unknown.Get() &&
        SUCCEEDED(unknown->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(dispatch.Out()))) && dispatch.Get()) {
        DISPID id = DISPID_UNKNOWN;
        LPOLESTR names[] = {const_cast<LPOLESTR>(L"Version")};
        VARIANT value;
        ::VariantInit(&value);
        DISPPARAMS none = {nullptr, nullptr, 0, 0};
        if (SUCCEEDED(dispatch->GetIDsOfNames(IID_NULL, names, 1, 0x400, &id)) &&
            SUCCEEDED(dispatch->Invoke(id, IID_NULL, 0x400, DISPATCH_PROPERTYGET, &none, &value, nullptr, nullptr))) {
            VARIANT text;
            ::VariantInit(&text);
            if (SUCCEEDED(::VariantChangeType(&text, &value, 0, VT_BSTR)) && text.bstrVal) {
                const _bstr_t version(text.bstrVal, true);
                SplitOfficeVersion(static_cast<const char*>(version), &a, &b);
            }
            ::VariantClear(&text);
        }
        ::VariantClear(&value);
    }
    if (major) *major = a;
    if (minor) *minor = b;
}
