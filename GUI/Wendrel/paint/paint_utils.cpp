// Drawing utilities of the paint manager: window snapshots, bitmap copies,
// monitors, text measurement, library versions, and the small pictures drawn
// pixel by pixel (check mark, radio dot, frame without corners).
#include <shlwapi.h>

#include <cstring>

#include "paint/paint_manager.h"
#include "paint/paint_system.h"

namespace {

// A bottom-up 32-bit DIB section of the size; its bits through bits.
HBITMAP CreateDib32(HDC dc, int width, int height, void** bits) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    info.bmiHeader.biSizeImage = DWORD(width) * DWORD(height) * 4;
    return ::CreateDIBSection(dc, &info, DIB_RGB_COLORS, bits, nullptr, 0);
}

}  // namespace

HBITMAP VEzaPaintManager::stat_PrintWnd(HWND wnd, UINT message, LPARAM flags) {
    if (!::IsWindow(wnd)) return nullptr;
    RECT r = {};
    if ((flags & PRF_NONCLIENT) != 0)
        ::GetWindowRect(wnd, &r);
    else
        ::GetClientRect(wnd, &r);
    const int width = r.right - r.left, height = r.bottom - r.top;
    if (width <= 0 || height <= 0) return nullptr;
    HDC screen = ::GetDC(nullptr);
    HDC dc = screen != nullptr ? ::CreateCompatibleDC(screen) : nullptr;
    if (screen != nullptr) ::ReleaseDC(nullptr, screen);
    if (dc == nullptr) return nullptr;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDib32(dc, width, height, &bits);
    if (bitmap == nullptr) {
        ::DeleteDC(dc);
        return nullptr;
    }
    HGDIOBJ old = ::SelectObject(dc, bitmap);
    ::SendMessageA(wnd, message, WPARAM(dc), flags);
    ::SelectObject(dc, old);
    ::DeleteDC(dc);
    return bitmap;
}

void VEzaPaintManager::stat_PrintChildren(HWND wnd, UINT message, HDC dc, LPARAM flags, bool recurse) {
    if (!::IsWindow(wnd) || dc == nullptr) return;
    const bool nonClient = (flags & PRF_NONCLIENT) != 0;
    POINT shift = {0, 0};
    if (nonClient) {
        RECT window = {};
        ::GetWindowRect(wnd, &window);
        POINT client = {0, 0};
        ::ClientToScreen(wnd, &client);
        shift = {client.x - window.left, client.y - window.top};
        ::OffsetViewportOrgEx(dc, shift.x, shift.y, nullptr);
    }
    for (HWND child = ::GetWindow(wnd, GW_CHILD); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT)) {
        if ((::GetWindowLongA(child, GWL_STYLE) & WS_VISIBLE) == 0) continue;
        RECT r = {};
        if (nonClient) {
            ::GetWindowRect(child, &r);
        } else {
            ::GetClientRect(child, &r);
            ::MapWindowPoints(child, nullptr, reinterpret_cast<POINT*>(&r), 2);
        }
        ::MapWindowPoints(nullptr, wnd, reinterpret_cast<POINT*>(&r), 2);
        POINT previous = {};
        ::OffsetViewportOrgEx(dc, r.left, r.top, &previous);
        ::SendMessageA(child, message, WPARAM(dc), flags);
        if (recurse) stat_PrintChildren(child, message, dc, flags, true);
        ::SetViewportOrgEx(dc, previous.x, previous.y, nullptr);
    }
    if (nonClient) ::OffsetViewportOrgEx(dc, -shift.x, -shift.y, nullptr);
}

bool VEzaPaintManager::stat_PassPaintMessages(bool nonClient, bool erase, bool paint) {
    MSG msg;
    if (::PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE)) return false;
    if (nonClient)
        while (::PeekMessageA(&msg, nullptr, WM_NCPAINT, WM_NCPAINT, PM_REMOVE)) ::DispatchMessageA(&msg);
    if (erase)
        while (::PeekMessageA(&msg, nullptr, WM_ERASEBKGND, WM_ERASEBKGND, PM_REMOVE)) ::DispatchMessageA(&msg);
    if (paint)
        while (::PeekMessageA(&msg, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE)) ::DispatchMessageA(&msg);
    return !::PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE);
}

HBITMAP VEzaPaintManager::stat_CloneBitmap(HBITMAP source, const RECT* rect, COLORREF** bits) {
    if (bits != nullptr) *bits = nullptr;
    BITMAP info = {};
    if (source == nullptr || ::GetObjectA(source, sizeof info, &info) == 0) return nullptr;
    CRect from(0, 0, info.bmWidth, std::abs(info.bmHeight));
    if (rect != nullptr) from.IntersectRect(from, rect);
    if (from.IsRectEmpty()) return nullptr;
    HDC screen = ::GetDC(nullptr);
    if (screen == nullptr) return nullptr;
    HDC src = ::CreateCompatibleDC(screen);
    HDC dst = ::CreateCompatibleDC(screen);
    HBITMAP copy = nullptr;
    if (src != nullptr && dst != nullptr) {
        if (bits != nullptr) {
            void* p = nullptr;
            copy = CreateDib32(screen, from.Width(), from.Height(), &p);
            if (copy != nullptr) *bits = static_cast<COLORREF*>(p);
        } else {
            copy = ::CreateCompatibleBitmap(screen, from.Width(), from.Height());
        }
    }
    if (copy != nullptr) {
        HGDIOBJ oldSrc = ::SelectObject(src, source);
        HGDIOBJ oldDst = ::SelectObject(dst, copy);
        const bool ok = oldSrc != nullptr &&
                        ::BitBlt(dst, 0, 0, from.Width(), from.Height(), src, from.left, from.top, SRCCOPY);
        ::SelectObject(dst, oldDst);
        if (oldSrc != nullptr) ::SelectObject(src, oldSrc);
        if (!ok) {
            ::DeleteObject(copy);
            copy = nullptr;
            if (bits != nullptr) *bits = nullptr;
        }
    }
    if (src != nullptr) ::DeleteDC(src);
    if (dst != nullptr) ::DeleteDC(dst);
    ::ReleaseDC(nullptr, screen);
    return copy;
}

HGLOBAL VEzaPaintManager::stat_DDBtoPackedDIB(HBITMAP bitmap, HPALETTE palette) {
    BITMAP info = {};
    if (bitmap == nullptr || ::GetObjectA(bitmap, sizeof info, &info) == 0) return nullptr;
    const int bitCount = info.bmBitsPixel * info.bmPlanes;
    const DWORD colours = bitCount <= 8 ? (DWORD(1) << bitCount) : 0;
    const DWORD stride = ((DWORD(info.bmWidth) * DWORD(bitCount) + 31) / 32) * 4;
    const DWORD imageSize = stride * DWORD(std::abs(info.bmHeight));
    const SIZE_T headerSize = sizeof(BITMAPINFOHEADER) + colours * sizeof(RGBQUAD);
    HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, headerSize + imageSize);
    if (memory == nullptr) return nullptr;
    auto* header = static_cast<BITMAPINFOHEADER*>(::GlobalLock(memory));
    if (header == nullptr) {
        ::GlobalFree(memory);
        return nullptr;
    }
    header->biSize = sizeof(BITMAPINFOHEADER);
    header->biWidth = info.bmWidth;
    header->biHeight = std::abs(info.bmHeight);
    header->biPlanes = 1;
    header->biBitCount = WORD(bitCount);
    header->biCompression = BI_RGB;
    header->biSizeImage = imageSize;
    header->biClrUsed = colours;
    HDC screen = ::GetDC(nullptr);
    bool ok = screen != nullptr;
    if (ok) {
        HPALETTE use = palette != nullptr ? palette : static_cast<HPALETTE>(::GetStockObject(DEFAULT_PALETTE));
        HPALETTE old = ::SelectPalette(screen, use, FALSE);
        ::RealizePalette(screen);
        ok = ::GetDIBits(screen, bitmap, 0, UINT(header->biHeight), reinterpret_cast<BYTE*>(header) + headerSize,
                         reinterpret_cast<BITMAPINFO*>(header), DIB_RGB_COLORS) != 0;
        ::SelectPalette(screen, old, FALSE);
        ::ReleaseDC(nullptr, screen);
    }
    ::GlobalUnlock(memory);
    if (!ok) {
        ::GlobalFree(memory);
        return nullptr;
    }
    return memory;
}

namespace {

void MonitorOrDesktop(VEzaPaintManager::monitor_parms_t& parms, HMONITOR monitor) {
    MONITORINFO info = {};
    info.cbSize = sizeof info;
    if (monitor != nullptr && ::GetMonitorInfoA(monitor, &info)) {
        parms.m_rcMonitor = info.rcMonitor;
        parms.m_rcWorkArea = info.rcWork;
        parms.m_bPrimaryMonitor = (info.dwFlags & MONITORINFOF_PRIMARY) != 0;
        return;
    }
    RECT desktop = {}, work = {};
    ::GetWindowRect(::GetDesktopWindow(), &desktop);
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    parms.m_rcMonitor = desktop;
    parms.m_rcWorkArea = work;
    parms.m_bPrimaryMonitor = true;
}

}  // namespace

void VEzaPaintManager::stat_GetMonitorParms(monitor_parms_t& parms, const POINT& point) {
    MonitorOrDesktop(parms, ::MonitorFromPoint(point, MONITOR_DEFAULTTONEAREST));
}

void VEzaPaintManager::stat_GetMonitorParms(monitor_parms_t& parms, const RECT& rect) {
    MonitorOrDesktop(parms, ::MonitorFromRect(&rect, MONITOR_DEFAULTTONEAREST));
}

void VEzaPaintManager::stat_GetMonitorParms(monitor_parms_t& parms, HWND wnd) {
    // The monitor that holds most of the window's rectangle.
    RECT r = {};
    if (::IsWindow(wnd) && ::GetWindowRect(wnd, &r))
        stat_GetMonitorParms(parms, r);
    else
        MonitorOrDesktop(parms, nullptr);
}

int VEzaPaintManager::stat_GetBPP() { return VEzaGetPaintSystem().pfnGetScreenBpp(); }

void VEzaPaintManager::stat_ExcludeChildAreas(HDC dc, HWND wnd, ExcludeChildFilter filter, LPVOID filterData) {
    if (dc == nullptr || !::IsWindow(wnd)) return;
    for (HWND child = ::GetWindow(wnd, GW_CHILD); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT)) {
        const LONG style = ::GetWindowLongA(child, GWL_STYLE);
        if ((style & WS_VISIBLE) == 0 || (style & WS_CHILD) == 0) continue;
        if (filter != nullptr && filter(child, filterData)) continue;
        RECT r = {};
        ::GetWindowRect(child, &r);
        ::MapWindowPoints(nullptr, wnd, reinterpret_cast<POINT*>(&r), 2);
        ::ExcludeClipRect(dc, r.left, r.top, r.right, r.bottom);
    }
}

CRect VEzaPaintManager::stat_CalcTextDimension(CDC& dc, CFont& font, const CString& text, UINT format) {
    CRect r(0, 0, 0, 0);
    if (text.Find('\t') >= 0) format |= DT_EXPANDTABS;
    CFont* old = dc.SelectObject(&font);
    dc.DrawText(text, &r, format | DT_CALCRECT);
    dc.SelectObject(old);
    r.OffsetRect(-r.left, -r.top);
    return r;
}

int VEzaPaintManager::stat_CalcTextWidth(CDC& dc, CFont& font, const CString& text) {
    return stat_CalcTextDimension(dc, font, text, DT_SINGLELINE | DT_CALCRECT).Width();
}

DWORD VEzaPaintManager::stat_GetDllVersion(LPCSTR fileName) {
    HMODULE module = ::LoadLibraryA(fileName);
    if (module == nullptr) return 0;
    DWORD version = 0;
    auto get = reinterpret_cast<DLLGETVERSIONPROC>(reinterpret_cast<void*>(::GetProcAddress(module, "DllGetVersion")));
    if (get != nullptr) {
        DLLVERSIONINFO info = {};
        info.cbSize = 20;
        if (SUCCEEDED(get(&info))) version = MAKELONG(WORD(info.dwMinorVersion), WORD(info.dwMajorVersion));
    }
    ::FreeLibrary(module);
    return version;
}

namespace {

COLORREF Shadow(CDC& dc, COLORREF c) {
    return dc.GetNearestColor(RGB(255 - GetRValue(c), 255 - GetGValue(c), 255 - GetBValue(c)));
}

}  // namespace

void VEzaPaintManager::stat_PaintCheckMark(CDC& dc, int x, int y, COLORREF colour) {
    static const char* const kRows[7] = {
        "......X", ".....XX", "X...XXs", "XX.XXs.", "sXXXs..", ".sXs...", "..s....",
    };
    const COLORREF shadow = Shadow(dc, colour);
    for (int row = 0; row < 7; ++row)
        for (int col = 0; col < 7; ++col) {
            const char p = kRows[row][col];
            if (p == 'X')
                dc.SetPixel(x + col, y + row, colour);
            else if (p == 's')
                dc.SetPixel(x + col, y + row, shadow);
        }
}

void VEzaPaintManager::stat_PaintRadioDot(CDC& dc, int x, int y, COLORREF colour) {
    const COLORREF shadow = Shadow(dc, colour);
    CBrush shadowBrush, brush;
    CPen shadowPen, pen;
    if (!shadowBrush.CreateSolidBrush(shadow) || !shadowPen.CreatePen(PS_SOLID, 1, shadow) ||
        !brush.CreateSolidBrush(colour) || !pen.CreatePen(PS_SOLID, 1, colour))
        return;
    CBrush* oldBrush = dc.SelectObject(&shadowBrush);
    CPen* oldPen = dc.SelectObject(&shadowPen);
    dc.Ellipse(x + 1, y + 1, x + 7, y + 7);
    dc.SelectObject(&brush);
    dc.SelectObject(&pen);
    dc.Ellipse(x, y, x + 6, y + 6);
    dc.SelectObject(oldBrush);
    dc.SelectObject(oldPen);
}

void VEzaPaintManager::stat_PaintFrameWithoutCorners(CDC& dc, const RECT& rect, COLORREF topLeft,
                                                     COLORREF bottomRight) {
    stat_PaintFrameWithoutCorners(dc, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, topLeft,
                                  bottomRight);
}

void VEzaPaintManager::stat_PaintFrameWithoutCorners(CDC& dc, int x, int y, int width, int height,
                                                     COLORREF topLeft, COLORREF bottomRight) {
    if (width < 3 || height < 3) return;
    dc.FillSolidRect(x + 1, y, width - 2, 1, topLeft);
    dc.FillSolidRect(x, y + 1, 1, height - 2, topLeft);
    dc.FillSolidRect(x + width - 1, y + 1, 1, height - 2, bottomRight);
    dc.FillSolidRect(x + 1, y + height - 1, width - 2, 1, bottomRight);
}
