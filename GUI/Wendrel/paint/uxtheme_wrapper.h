// UxThemeWrapper: the visual-style functions bound by name at run time, so the
// library runs with and without "UxTheme.dll". One theme handle is kept open
// at a time (with the class list and window it was opened for). Every wrapped
// call gives a fixed answer when the library or the function is missing, or
// when the call throws.
//
// Binding goes through a resolver so that tests can bind fake functions (or
// none) and run both the themed and the unthemed paths on one system.
// GUI thread only.
#pragma once
#include "afxwin.h"

#include <uxtheme.h>

#include "wendrel_export.h"

class WENDREL_API UxThemeWrapper {
public:
    // The bound functions, in the order of the pointer table.
    enum Function {
        fnOpenThemeData, fnCloseThemeData, fnDrawThemeBackground, fnDrawThemeText,
        fnGetThemeBackgroundContentRect, fnGetThemeBackgroundExtent, fnGetThemePartSize,
        fnGetThemeTextExtent, fnGetThemeTextMetrics, fnGetThemeBackgroundRegion,
        fnHitTestThemeBackground, fnDrawThemeEdge, fnDrawThemeIcon, fnIsThemePartDefined,
        fnIsThemeBackgroundPartiallyTransparent, fnGetThemeColor, fnGetThemeMetric,
        fnGetThemeString, fnGetThemeBool, fnGetThemeInt, fnGetThemeEnumValue,
        fnGetThemePosition, fnGetThemeFont, fnGetThemeRect, fnGetThemeMargins,
        fnGetThemeIntList, fnGetThemePropertyOrigin, fnSetWindowTheme, fnGetThemeFilename,
        fnGetThemeSysColor, fnGetThemeSysColorBrush, fnGetThemeSysBool, fnGetThemeSysSize,
        fnGetThemeSysFont, fnGetThemeSysString, fnGetThemeSysInt, fnIsThemeActive,
        fnIsAppThemed, fnGetWindowTheme, fnEnableThemeDialogTexture,
        fnIsThemeDialogTextureEnabled, fnGetThemeAppProperties, fnSetThemeAppProperties,
        fnGetCurrentThemeName, fnGetThemeDocumentationProperty, fnDrawThemeParentBackground,
        fnEnableTheming, fnDrawThemeBackgroundEx,
        FunctionCount
    };
    static const char* const s_functionNames[FunctionCount];

    // Answers the function of that name, or null when it is missing.
    using Resolver = FARPROC (*)(void* context, const char* name);

    // Binds "UxTheme.dll" (loading it when it is not in the process) and
    // reads the common-controls version.
    UxThemeWrapper();
    ~UxThemeWrapper();
    UxThemeWrapper(const UxThemeWrapper&) = delete;
    UxThemeWrapper& operator=(const UxThemeWrapper&) = delete;

    // Rebinds every function through the resolver (null: none bound). Closes
    // the open theme first. The module handle is kept.
    void Bind(Resolver resolve, void* context);
    // Binds the functions of the module this object loaded or found.
    void BindModule();

    HTHEME OpenThemeData(HWND wnd, LPCWSTR classList);
    HRESULT CloseThemeData(HTHEME theme);
    HRESULT DrawThemeBackground(HDC dc, int part, int state, const RECT* rect, const RECT* clip);
    HRESULT GetThemeColor(int part, int state, int prop, COLORREF* colour);
    bool IsAppThemed();
    HRESULT GetCurrentThemeName(LPWSTR file, int fileChars, LPWSTR colour, int colourChars,
                                LPWSTR size, int sizeChars);

    // Forgets the open theme without closing it (the caller closed it).
    void ResetOpenTheme();

    HTHEME m_hOpenTheme = nullptr;
    HMODULE m_hModule = nullptr;
    bool m_bLoadedHere = false;
    DWORD m_dwComCtlVersion = 0;
    WCHAR m_szOpenClassList[130] = {};
    HWND m_hOpenWnd = nullptr;
    FARPROC m_pfn[FunctionCount] = {};

private:
    template <class F> F Get(Function f) const { return reinterpret_cast<F>(reinterpret_cast<void*>(m_pfn[f])); }
};

// Converts ANSI text into a wide buffer of size wide characters (emptied
// first); null when either pointer is null or the conversion fails.
WENDREL_API LPWSTR AnsiToWideBuffer(LPWSTR buffer, LPCSTR text, int size, UINT codePage);
