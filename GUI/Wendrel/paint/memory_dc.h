// VEzaMemoryDC: an off-screen device context. A window paints into it with
// the target's coordinates, and the picture is copied to the target in one
// step when the object is destroyed, so painting does not flicker. On a
// printing target (or without option 0x01) it borrows the target's handles
// and painting goes straight to the target.
//
// The text and visibility operations act on the off-screen DC's own handle.
// GUI thread only; the target must outlive the object.
#pragma once
#include "afxwin.h"

#include "wendrel_export.h"

class WENDREL_API VEzaMemoryDC : public CDC {
public:
    enum : UINT {
        MDCOPT_TO_MEMORY = 0x01,             // paint off-screen (not on a printing DC)
        MDCOPT_FILL_SURFACE = 0x02,          // start with the target's background colour
        MDCOPT_FORCE_BLACK_AND_WHITE = 0x04, // a monochrome bitmap
        MDCOPT_FORCE_DIB = 0x08,             // a 32-bit bottom-up DIB section
        MDCOPT_NO_COPY_OPT = 0x10,           // keep neither layout nor mapping of the target
        MDCOPT_FILL_BITS = 0x20,             // start with the target's picture (before 0x02)
        MDCOPT_DEFAULT = MDCOPT_TO_MEMORY | MDCOPT_FILL_SURFACE,
    };

    // With a null target the object stays empty. The rectangle is in the
    // target's logical units; null means the target's clip box.
    explicit VEzaMemoryDC(CDC* target = nullptr, const RECT* rect = nullptr, UINT options = MDCOPT_DEFAULT);
    ~VEzaMemoryDC() override;
    VEzaMemoryDC(const VEzaMemoryDC&) = delete;
    VEzaMemoryDC& operator=(const VEzaMemoryDC&) = delete;

    bool IsOffscreen() const { return m_bMemDC; }
    const CRect& GetRect() const { return m_rect; }
    // The pixels of the DIB section (0x08), bottom row first; else null.
    COLORREF* GetDibSurface() const { return m_pHelperDibSurface; }
    CBitmap& GetBitmap() { return m_bitmap; }

    BOOL PtVisible(int x, int y) const override;
    BOOL RectVisible(LPCRECT r) const override;
    BOOL TextOut(int x, int y, LPCSTR s, int n) override;
    BOOL ExtTextOut(int x, int y, UINT options, LPCRECT r, LPCSTR s, UINT n, LPINT dx) override;
    CSize TabbedTextOut(int x, int y, LPCSTR s, int n, int nTabs, LPINT tabs, int origin) override;
    int DrawText(LPCSTR s, int n, LPRECT r, UINT format) override;
    int DrawTextEx(LPSTR s, int n, LPRECT r, UINT format, LPDRAWTEXTPARAMS p) override;
    BOOL GrayString(CBrush* brush, GRAYSTRINGPROC proc, LPARAM data, int n, int x, int y, int w, int h) override;
    int Escape(int escape, int n, LPCSTR in, LPVOID out) override;
    using CDC::DrawText;
    using CDC::ExtTextOut;
    using CDC::PtVisible;
    using CDC::TextOut;

private:
    void Release();

    CBitmap m_bitmap;
    CBitmap* m_pOldBitmap = nullptr;
    CDC* m_pDC = nullptr;
    CRect m_rect;
    bool m_bMemDC = false;
    COLORREF* m_pHelperDibSurface = nullptr;
    // Where the rectangle's top-left corner lies in this DC's logical units.
    CPoint m_ptSource;
};
