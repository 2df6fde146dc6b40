// Fixtures of the paint manager tests: a table of chosen system colours (put
// in use while an object lives), a 32-bit DIB to paint into, and test
// bridges that record what they hear. Header only; each program includes it
// once.
#pragma once

#include <algorithm>
#include <climits>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "icons/cmd_icon.h"
#include "paint/paint_manager.h"
#include "paint/paint_system.h"
#include "paint/pm_bridge.h"
#include "wtest.h"

namespace pt {

// Chosen system colours: the classic grey look, every other index a grey of
// its own; the screen depth is chosen too.
class InjectedSystem {
public:
    static const COLORREF kWindow = RGB(255, 255, 255), kFace = RGB(212, 208, 200), kShadow = RGB(128, 128, 128),
                          kText = RGB(0, 0, 0), kHighlight = RGB(10, 36, 106), kLight = RGB(255, 255, 255),
                          kDark = RGB(64, 64, 64), k3dLight = RGB(224, 224, 224), kHighlightText = RGB(250, 250, 250),
                          kWindowText = RGB(1, 2, 3);

    explicit InjectedSystem(int bpp) {
        s_bpp = bpp;
        for (int i = 0; i < 50; ++i) {
            s_colors[i] = Chosen(i);
            s_brushes[i] = ::CreateSolidBrush(s_colors[i]);
        }
        static const VEzaPaintSystem table = {&Color, &Brush, &Bpp};
        VEzaSetPaintSystem(&table);
    }
    ~InjectedSystem() {
        VEzaSetPaintSystem(nullptr);
        for (HBRUSH& b : s_brushes) {
            ::DeleteObject(b);
            b = nullptr;
        }
    }
    InjectedSystem(const InjectedSystem&) = delete;
    InjectedSystem& operator=(const InjectedSystem&) = delete;

    static COLORREF Chosen(int i) {
        switch (i) {
        case COLOR_WINDOW: return kWindow;
        case COLOR_BTNFACE: return kFace;
        case COLOR_BTNSHADOW: return kShadow;
        case COLOR_BTNTEXT: return kText;
        case COLOR_HIGHLIGHT: return kHighlight;
        case COLOR_BTNHIGHLIGHT: return kLight;
        case COLOR_3DDKSHADOW: return kDark;
        case COLOR_3DLIGHT: return k3dLight;
        case COLOR_HIGHLIGHTTEXT: return kHighlightText;
        case COLOR_WINDOWTEXT: return kWindowText;
        default: return RGB(i, i + 1, i + 2);
        }
    }
    static HBRUSH BrushOf(int i) { return s_brushes[i]; }

private:
    static COLORREF Color(int i) { return i >= 0 && i < 50 ? s_colors[i] : 0; }
    static HBRUSH Brush(int i) { return i >= 0 && i < 50 ? s_brushes[i] : nullptr; }
    static int Bpp() { return s_bpp; }
    static inline COLORREF s_colors[50] = {};
    static inline HBRUSH s_brushes[50] = {};
    static inline int s_bpp = 32;
};

// A 32-bit top-down DIB selected into its own memory DC.
class Dib {
public:
    Dib(int width, int height, COLORREF fill) : m_width(width), m_height(height) {
        m_dc = ::CreateCompatibleDC(nullptr);
        BITMAPINFO bi = {};
        bi.bmiHeader.biSize = sizeof bi.bmiHeader;
        bi.bmiHeader.biWidth = width;
        bi.bmiHeader.biHeight = -height;
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 32;
        bi.bmiHeader.biCompression = BI_RGB;
        m_bitmap = ::CreateDIBSection(m_dc, &bi, DIB_RGB_COLORS, reinterpret_cast<void**>(&m_bits), nullptr, 0);
        m_old = ::SelectObject(m_dc, m_bitmap);
        Fill(fill);
    }
    ~Dib() {
        ::SelectObject(m_dc, m_old);
        ::DeleteObject(m_bitmap);
        ::DeleteDC(m_dc);
    }
    Dib(const Dib&) = delete;
    Dib& operator=(const Dib&) = delete;

    HDC dc() const { return m_dc; }
    int width() const { return m_width; }
    int height() const { return m_height; }
    void Fill(COLORREF c) {
        HBRUSH b = ::CreateSolidBrush(c);
        RECT r = {0, 0, m_width, m_height};
        ::FillRect(m_dc, &r, b);
        ::DeleteObject(b);
    }
    COLORREF At(int x, int y) const {
        ::GdiFlush();
        const unsigned p = m_bits[size_t(y) * size_t(m_width) + size_t(x)];
        return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    }
    // Pixels of a rectangle that differ from a colour.
    int CountOther(const RECT& r, COLORREF c) const {
        int n = 0;
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x)
                if (At(x, y) != c) ++n;
        return n;
    }
    // The picture as text, one character per pixel from a legend.
    std::string Rows(const RECT& r, const std::vector<std::pair<COLORREF, char>>& legend) const {
        std::string s;
        for (int y = r.top; y < r.bottom; ++y) {
            for (int x = r.left; x < r.right; ++x) {
                char ch = '?';
                for (const auto& [c, k] : legend)
                    if (At(x, y) == c) ch = k;
                s += ch;
            }
            s += '\n';
        }
        return s;
    }
    std::vector<unsigned> Pixels() const {
        ::GdiFlush();
        return std::vector<unsigned>(m_bits, m_bits + size_t(m_width) * size_t(m_height));
    }

private:
    int m_width, m_height;
    HDC m_dc = nullptr;
    HBITMAP m_bitmap = nullptr;
    HGDIOBJ m_old = nullptr;
    unsigned* m_bits = nullptr;
};

// A bridge registered for its lifetime that logs what it hears.
class RecordingBridge : public VEzaPmBridge {
public:
    explicit RecordingBridge(std::vector<std::string>* log, std::string name, HWND wnd = nullptr)
        : m_log(log), m_name(std::move(name)), m_wnd(wnd) {
        PmBridge_Install();
    }
    ~RecordingBridge() override { PmBridge_Uninstall(); }
    void PmBridge_Install() override { g_PaintManager.RegisterBridge(this); }
    void PmBridge_Uninstall() override { g_PaintManager.UnregisterBridge(this); }
    HWND PmBridge_GetSafeHwnd() const override { return m_wnd; }
    VEzaPaintManager* PmBridge_GetPM() const override { return g_PaintManager.GetPM(); }
    void PmBridge_OnPaintManagerChanged(VEzaPaintManager* pm) override {
        Log("pm " + std::string(pm == g_PaintManager.GetPM() ? "current" : "other"));
        VEzaPmBridge::PmBridge_OnPaintManagerChanged(pm);
    }
    void PmBridge_OnSysColorChange(VEzaPaintManager*, CWnd*) override {
        Log("colors");
        if (m_onEvent) m_onEvent();
    }
    void PmBridge_OnSettingChange(VEzaPaintManager*, CWnd*, UINT flags, LPCSTR section) override {
        Log("setting " + std::to_string(flags) + " " + (section ? section : "-"));
    }
    void PmBridge_OnDisplayChange(VEzaPaintManager*, CWnd*, INT bpp, INT cx, INT cy) override {
        Log("display " + std::to_string(bpp) + " " + std::to_string(cx) + "x" + std::to_string(cy));
    }
    void PmBridge_OnThemeChanged(VEzaPaintManager*, CWnd*, WPARAM w, LPARAM l) override {
        Log("theme " + std::to_string(w) + " " + std::to_string(l));
    }
    // Run on each system colour change this bridge hears.
    std::function<void()> m_onEvent;

private:
    void Log(const std::string& what) { m_log->push_back(m_name + ": " + what); }
    std::vector<std::string>* m_log;
    std::string m_name;
    HWND m_wnd;
};

// A colour as six hex digits, for failure messages.
inline std::string Hex(COLORREF c) {
    char s[16];
    std::snprintf(s, sizeof s, "%06lX", (unsigned long)c);
    return s;
}

inline std::string Str(const CRect& r) {
    return "(" + std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
           std::to_string(r.bottom) + ")";
}

// A CDC over a DIB's DC, for the painters that take one.
struct DibCDC : CDC {
    explicit DibCDC(const Dib& dib) { Attach(dib.dc()); }
    ~DibCDC() override { Detach(); }
};

// Every colour-table entry distinct, so that a wrong index shows (and differs
// from what GetSysColor answers).
inline void DistinctColours(VEzaPaintManager& pm) {
    pm.OnSysColorChange();
    for (int i = 0; i < VEzaPaintManager::kSysColorCount; ++i) pm.m_colors[i] = RGB(4 * i + 2, 250 - 4 * i, 77);
}

// The smallest rectangle holding every pixel of colour c (within region, or
// the whole DIB when region is empty); empty when there is none.
inline CRect Bounds(const Dib& dib, COLORREF c, CRect region = CRect(0, 0, 0, 0)) {
    if (region.IsRectEmpty()) region.SetRect(0, 0, dib.width(), dib.height());
    CRect r(INT_MAX, INT_MAX, INT_MIN, INT_MIN);
    for (int y = region.top; y < region.bottom; ++y)
        for (int x = region.left; x < region.right; ++x)
            if (dib.At(x, y) == c) {
                r.left = std::min<LONG>(r.left, x);
                r.top = std::min<LONG>(r.top, y);
                r.right = std::max<LONG>(r.right, x + 1);
                r.bottom = std::max<LONG>(r.bottom, y + 1);
            }
    return r.left == INT_MAX ? CRect(0, 0, 0, 0) : r;
}

// The smallest rectangle inside r holding every pixel that is not background.
inline CRect Ink(const Dib& dib, const RECT& r, COLORREF background) {
    CRect box(0, 0, 0, 0);
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x)
            if (dib.At(x, y) != background) box.UnionRect(box, CRect(x, y, x + 1, y + 1));
    return box;
}

// How many pixels inside r have colour c.
inline int CountOf(const Dib& dib, const RECT& r, COLORREF c) {
    int n = 0;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x) n += dib.At(x, y) == c;
    return n;
}

// A solid-coloured icon of cx by cy (16 by 16 by default), magenta its
// transparent colour.
inline void SolidIcon(VEzaCmdIcon& icon, int cx, int cy, COLORREF colour) {
    HDC screen = ::GetDC(nullptr);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, cx, cy);
    HDC mem = ::CreateCompatibleDC(screen);
    HGDIOBJ old = ::SelectObject(mem, bitmap);
    HBRUSH brush = ::CreateSolidBrush(colour);
    const RECT r = {0, 0, cx, cy};
    ::FillRect(mem, &r, brush);
    ::DeleteObject(brush);
    ::SelectObject(mem, old);
    ::DeleteDC(mem);
    ::ReleaseDC(nullptr, screen);
    icon.AssignFromHBITMAP(bitmap, RGB(255, 0, 255), nullptr, false);
}
inline void SolidIcon(VEzaCmdIcon& icon, COLORREF colour) { SolidIcon(icon, 16, 16, colour); }

}  // namespace pt
