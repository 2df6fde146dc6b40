#include "paint/uxtheme_wrapper.h"

#include <cwchar>

#include "paint/paint_log.h"
#include "paint/paint_manager.h"

const char* const UxThemeWrapper::s_functionNames[FunctionCount] = {
    "OpenThemeData", "CloseThemeData", "DrawThemeBackground", "DrawThemeText",
    "GetThemeBackgroundContentRect", "GetThemeBackgroundExtent", "GetThemePartSize",
    "GetThemeTextExtent", "GetThemeTextMetrics", "GetThemeBackgroundRegion",
    "HitTestThemeBackground", "DrawThemeEdge", "DrawThemeIcon", "IsThemePartDefined",
    "IsThemeBackgroundPartiallyTransparent", "GetThemeColor", "GetThemeMetric",
    "GetThemeString", "GetThemeBool", "GetThemeInt", "GetThemeEnumValue",
    "GetThemePosition", "GetThemeFont", "GetThemeRect", "GetThemeMargins",
    "GetThemeIntList", "GetThemePropertyOrigin", "SetWindowTheme", "GetThemeFilename",
    "GetThemeSysColor", "GetThemeSysColorBrush", "GetThemeSysBool", "GetThemeSysSize",
    "GetThemeSysFont", "GetThemeSysString", "GetThemeSysInt", "IsThemeActive",
    "IsAppThemed", "GetWindowTheme", "EnableThemeDialogTexture",
    "IsThemeDialogTextureEnabled", "GetThemeAppProperties", "SetThemeAppProperties",
    "GetCurrentThemeName", "GetThemeDocumentationProperty", "DrawThemeParentBackground",
    "EnableTheming", "DrawThemeBackgroundEx",
};

namespace {

using PfnOpenThemeData = HTHEME(WINAPI*)(HWND, LPCWSTR);
using PfnCloseThemeData = HRESULT(WINAPI*)(HTHEME);
using PfnDrawThemeBackground = HRESULT(WINAPI*)(HTHEME, HDC, int, int, const RECT*, const RECT*);
using PfnGetThemeColor = HRESULT(WINAPI*)(HTHEME, int, int, int, COLORREF*);
using PfnIsAppThemed = BOOL(WINAPI*)();
using PfnGetCurrentThemeName = HRESULT(WINAPI*)(LPWSTR, int, LPWSTR, int, LPWSTR, int);

// The fixed answer of a call that was not made.
const HRESULT kNotCalled = 1;

FARPROC ResolveFromModule(void* context, const char* name) {
    return ::GetProcAddress(static_cast<HMODULE>(context), name);
}

}  // namespace

LPWSTR AnsiToWideBuffer(LPWSTR buffer, LPCSTR text, int size, UINT codePage) {
    if (buffer == nullptr || text == nullptr) return nullptr;
    if (size > 0) buffer[0] = L'\0';
    if (::MultiByteToWideChar(codePage, 0, text, -1, buffer, size) == 0) return nullptr;
    return buffer;
}

UxThemeWrapper::UxThemeWrapper() {
    m_hModule = ::GetModuleHandleA("UxTheme.dll");
    if (m_hModule == nullptr) {
        m_hModule = ::LoadLibraryA("UxTheme.dll");
        m_bLoadedHere = m_hModule != nullptr;
    }
    BindModule();
    m_szOpenClassList[0] = L'\0';
    m_dwComCtlVersion = VEzaPaintManager::stat_GetDllVersion("COMCTL32.DLL");
}

UxThemeWrapper::~UxThemeWrapper() {
    if (m_hOpenTheme != nullptr) CloseThemeData(m_hOpenTheme);
    ResetOpenTheme();
    if (m_bLoadedHere && m_hModule != nullptr) ::FreeLibrary(m_hModule);
}

void UxThemeWrapper::Bind(Resolver resolve, void* context) {
    if (m_hOpenTheme != nullptr) CloseThemeData(m_hOpenTheme);
    ResetOpenTheme();
    for (int i = 0; i < FunctionCount; ++i)
        m_pfn[i] = resolve != nullptr ? resolve(context, s_functionNames[i]) : nullptr;
}

void UxThemeWrapper::BindModule() {
    Bind(m_hModule != nullptr ? &ResolveFromModule : nullptr, m_hModule);
}

void UxThemeWrapper::ResetOpenTheme() {
    m_hOpenTheme = nullptr;
    m_szOpenClassList[0] = L'\0';
    m_hOpenWnd = nullptr;
}

HTHEME UxThemeWrapper::OpenThemeData(HWND wnd, LPCWSTR classList) {
    auto open = Get<PfnOpenThemeData>(fnOpenThemeData);
    if (open == nullptr) return nullptr;
    WCHAR list[260] = {};
    if (classList != nullptr) ::lstrcpynW(list, classList, 260);
    if (::lstrcmpiW(list, L"") == 0) {
        char className[260] = {};
        ::GetClassNameA(wnd, className, 260);
        AnsiToWideBuffer(list, className, 260, CP_ACP);
    }
    const size_t length = ::wcslen(list);
    if (m_hOpenTheme != nullptr && m_hOpenWnd == wnd && ::IsWindow(wnd) &&
        ::_wcsnicmp(m_szOpenClassList, list, length) == 0)
        return m_hOpenTheme;
    if (m_hOpenTheme != nullptr) CloseThemeData(m_hOpenTheme);
    ResetOpenTheme();
    m_hOpenTheme = open(wnd, list);
    if (m_hOpenTheme != nullptr) {
        ::lstrcpynW(m_szOpenClassList, list, int(sizeof m_szOpenClassList / sizeof m_szOpenClassList[0]));
        m_hOpenWnd = wnd;
    }
    return m_hOpenTheme;
}

HRESULT UxThemeWrapper::CloseThemeData(HTHEME theme) {
    auto close = Get<PfnCloseThemeData>(fnCloseThemeData);
    // A theme opened for a window that is gone was closed with it.
    if (theme == nullptr || close == nullptr || !::IsWindow(m_hOpenWnd)) return kNotCalled;
    try {
        return close(theme);
    } catch (...) {
        PaintLogFailure("CloseThemeData raised an exception");
        return kNotCalled;
    }
}

HRESULT UxThemeWrapper::DrawThemeBackground(HDC dc, int part, int state, const RECT* rect, const RECT* clip) {
    auto draw = Get<PfnDrawThemeBackground>(fnDrawThemeBackground);
    if (draw == nullptr) return kNotCalled;
    return draw(m_hOpenTheme, dc, part, state, rect, clip);
}

HRESULT UxThemeWrapper::GetThemeColor(int part, int state, int prop, COLORREF* colour) {
    auto get = Get<PfnGetThemeColor>(fnGetThemeColor);
    if (get == nullptr) return kNotCalled;
    return get(m_hOpenTheme, part, state, prop, colour);
}

bool UxThemeWrapper::IsAppThemed() {
    auto themed = Get<PfnIsAppThemed>(fnIsAppThemed);
    if (m_hModule == nullptr || themed == nullptr) return false;
    try {
        return themed() != FALSE;
    } catch (...) {
        PaintLogFailure("IsAppThemed raised an exception");
        return false;
    }
}

HRESULT UxThemeWrapper::GetCurrentThemeName(LPWSTR file, int fileChars, LPWSTR colour, int colourChars,
                                            LPWSTR size, int sizeChars) {
    auto get = Get<PfnGetCurrentThemeName>(fnGetCurrentThemeName);
    if (get == nullptr) return kNotCalled;
    return get(file, fileChars, colour, colourChars, size, sizeChars);
}
