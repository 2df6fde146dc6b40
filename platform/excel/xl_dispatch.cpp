#include "xl_dispatch.h"

#include <cwctype>

namespace xl {
namespace {

volatile LONG g_live = 0;

bool SameName(const wchar_t* a, const wchar_t* b) {
    for (; *a && *b; ++a, ++b)
        if (std::towlower(*a) != std::towlower(*b)) return false;
    return *a == *b;
}

bool IsMissing(const VARIANT& v) {
    return v.vt == VT_EMPTY || (v.vt == VT_ERROR && v.scode == DISP_E_PARAMNOTFOUND);
}

// A by-reference argument read through its reference.
const VARIANT& Deref(const VARIANT& v) {
    return v.vt == (VT_VARIANT | VT_BYREF) && v.pvarVal ? *v.pvarVal : v;
}

bool Convert(const VARIANT& v, VARTYPE type, VARIANT& out) {
    ::VariantInit(&out);
    return SUCCEEDED(::VariantChangeType(&out, const_cast<VARIANT*>(&Deref(v)), 0, type));
}

}  // namespace

LONG LiveObjects() { return ::InterlockedCompareExchange(&g_live, 0, 0); }

UINT Args::Count() const {
    return m_params->cArgs - m_params->cNamedArgs;
}

const VARIANT* Args::Get(UINT i) const {
    if (i >= Count()) return nullptr;
    const VARIANT& v = Deref(m_params->rgvarg[m_params->cArgs - 1 - i]);
    return IsMissing(v) ? nullptr : &v;
}

const VARIANT* Args::PutValue() const {
    for (UINT i = 0; i < m_params->cNamedArgs; ++i)
        if (m_params->rgdispidNamedArgs[i] == DISPID_PROPERTYPUT) return &Deref(m_params->rgvarg[i]);
    return nullptr;
}

HRESULT STDMETHODCALLTYPE DispObject::QueryInterface(REFIID riid, void** out) {
    if (!out) return E_POINTER;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDispatch) || IsEqualIID(riid, m_iid)) {
        *out = static_cast<IDispatch*>(this);
        AddRef();
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}

// Objects of different apartments may come and go at the same time.
DispObject::DispObject(const IID& iid, const Member* members) : m_iid(iid), m_members(members) {
    ::InterlockedIncrement(&g_live);
}

DispObject::~DispObject() { ::InterlockedDecrement(&g_live); }

ULONG STDMETHODCALLTYPE DispObject::AddRef() { return ULONG(++m_refs); }

ULONG STDMETHODCALLTYPE DispObject::Release() {
    LONG left = --m_refs;
    if (left == 0) delete this;
    return ULONG(left);
}

HRESULT STDMETHODCALLTYPE DispObject::GetTypeInfoCount(UINT* count) {
    if (!count) return E_POINTER;
    *count = 0;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE DispObject::GetTypeInfo(UINT, LCID, ITypeInfo** info) {
    if (info) *info = nullptr;
    return DISP_E_BADINDEX;
}

HRESULT STDMETHODCALLTYPE DispObject::GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
    if (!IsEqualIID(riid, IID_NULL)) return DISP_E_UNKNOWNINTERFACE;
    if (!names || !ids || count == 0) return E_INVALIDARG;
    HRESULT hr = S_OK;
    // Only member names are known: argument names come back unknown.
    for (UINT i = 0; i < count; ++i) ids[i] = DISPID_UNKNOWN;
    for (const Member* m = m_members; m->name; ++m)
        if (names[0] && SameName(names[0], m->name)) ids[0] = m->id;
    if (ids[0] == DISPID_UNKNOWN || count > 1) hr = DISP_E_UNKNOWNNAME;
    return hr;
}

HRESULT STDMETHODCALLTYPE DispObject::Invoke(DISPID id, REFIID riid, LCID, WORD flags, DISPPARAMS* params,
                                             VARIANT* result, EXCEPINFO*, UINT* argErr) {
    if (!IsEqualIID(riid, IID_NULL)) return DISP_E_UNKNOWNINTERFACE;
    if (!params) return E_INVALIDARG;
    if (argErr) *argErr = 0;
    bool known = false;
    for (const Member* m = m_members; m->name; ++m) known = known || m->id == id;
    if (!known) return DISP_E_MEMBERNOTFOUND;
    if (result) ::VariantInit(result);
    // Nothing may escape into the client: a failure inside is a failed call.
    try {
        return Call(id, flags, Args(params), result);
    } catch (...) {
        return E_UNEXPECTED;
    }
}

HRESULT ReturnObject(IDispatch* object, VARIANT* result) {
    if (!object) return E_OUTOFMEMORY;
    if (!result) {
        object->Release();
        return S_OK;
    }
    result->vt = VT_DISPATCH;
    result->pdispVal = object;
    return S_OK;
}

bool ToText(const VARIANT& v, std::wstring& out) {
    VARIANT s;
    if (!Convert(v, VT_BSTR, s)) return false;
    out.assign(s.bstrVal ? s.bstrVal : L"", s.bstrVal ? ::SysStringLen(s.bstrVal) : 0);
    ::VariantClear(&s);
    return true;
}

bool ToInt(const VARIANT& v, long& out) {
    VARIANT n;
    if (!Convert(v, VT_I4, n)) return false;
    out = n.lVal;
    return true;
}

bool ToDouble(const VARIANT& v, double& out) {
    VARIANT n;
    if (!Convert(v, VT_R8, n)) return false;
    out = n.dblVal;
    return true;
}

bool ToBool(const VARIANT& v, bool& out) {
    VARIANT b;
    if (!Convert(v, VT_BOOL, b)) return false;
    out = b.boolVal != VARIANT_FALSE;
    return true;
}

std::string Utf8(const std::wstring& w) {
    if (w.empty()) return std::string();
    int n = ::WideCharToMultiByte(CP_UTF8, 0, w.data(), int(w.size()), nullptr, 0, nullptr, nullptr);
    std::string s(size_t(n > 0 ? n : 0), '\0');
    if (n > 0) ::WideCharToMultiByte(CP_UTF8, 0, w.data(), int(w.size()), &s[0], n, nullptr, nullptr);
    return s;
}

std::wstring Wide(const std::string& utf8) {
    if (utf8.empty()) return std::wstring();
    int n = ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), nullptr, 0);
    std::wstring w(size_t(n > 0 ? n : 0), L'\0');
    if (n > 0) ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), &w[0], n);
    return w;
}

}  // namespace xl
