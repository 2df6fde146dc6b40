// The out-of-line part of the COM support types of <comdef.h> and <comutil.h>, which
// mingw-w64 ships as headers only: string conversions between BSTR and 8-bit text,
// the "missing argument" variant, and raising a COM error with the error information
// an object left. A static library linked into each module, so every module has its
// own vtMissing and uses its own error handler (_set_com_error_handler), as the
// headers expect. Any thread.
#include <comdef.h>

#include <cstring>

namespace _com_util {

// Text in the ANSI code page to a new BSTR (null stays null).
BSTR WINAPI ConvertStringToBSTR(const char* text)
{
    if (!text) return nullptr;
    int n = ::MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    if (n <= 0) _com_issue_error(HRESULT_FROM_WIN32(::GetLastError()));
    BSTR out = ::SysAllocStringLen(nullptr, (UINT)(n - 1));
    if (!out) _com_issue_error(E_OUTOFMEMORY);
    ::MultiByteToWideChar(CP_ACP, 0, text, -1, out, n);
    return out;
}

// A BSTR (which may hold '\0's and has its own length) to new[]-allocated ANSI text.
char* WINAPI ConvertBSTRToString(BSTR text)
{
    if (!text) return nullptr;
    int length = (int)::SysStringLen(text);
    int n = length > 0 ? ::WideCharToMultiByte(CP_ACP, 0, text, length, nullptr, 0, nullptr, nullptr) : 0;
    size_t size = n > 0 ? (size_t)n : 0;
    char* out = new char[size + 1];
    if (size > 0) ::WideCharToMultiByte(CP_ACP, 0, text, length, out, n, nullptr, nullptr);
    out[size] = '\0';
    return out;
}

}  // namespace _com_util

// Raises hr as a COM error carrying the error information the object set for iid,
// when it says it supports error information for that interface.
void WINAPI _com_issue_errorex(HRESULT hr, IUnknown* object, REFIID iid)
{
    IErrorInfo* info = nullptr;
    if (object) {
        ISupportErrorInfo* support = nullptr;
        if (SUCCEEDED(object->QueryInterface(IID_ISupportErrorInfo, reinterpret_cast<void**>(&support))) &&
            support) {
            if (support->InterfaceSupportsErrorInfo(iid) == S_OK && ::GetErrorInfo(0, &info) != S_OK) info = nullptr;
            support->Release();
        }
    }
    // The error object takes the reference GetErrorInfo gave.
    __mingw_com_error_handler(hr, info);
}

// An optional argument left out of an automation call.
_variant_t vtMissing(DISP_E_PARAMNOTFOUND, VT_ERROR);
