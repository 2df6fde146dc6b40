#include "paint/memory_dc.h"

#include "paint/paint_log.h"

#include <algorithm>
#include <utility>

namespace {

bool IsRightToLeft(DWORD layout) { return layout != GDI_ERROR && (layout & LAYOUT_RTL) != 0; }

}  // namespace

VEzaMemoryDC::VEzaMemoryDC(CDC* target, const RECT* rect, UINT options) {
    if (target == nullptr) return;
    m_pDC = target;
    m_bMemDC = (options & MDCOPT_TO_MEMORY) != 0 && !target->IsPrinting();
    if (rect != nullptr)
        m_rect = *rect;
    else
        target->GetClipBox(&m_rect);

    if (m_bMemDC && CreateCompatibleDC(target)) {
        const bool copyOptions = (options & MDCOPT_NO_COPY_OPT) == 0;
        bool rtl = false;
        if (copyOptions) {
            DWORD layout = target->GetLayout();
            if (layout == GDI_ERROR) layout = 0;
            SetLayout(layout);
            rtl = IsRightToLeft(layout);
            if (rtl) std::swap(m_rect.left, m_rect.right);
            target->LPtoDP(&m_rect);
        }
        CRect device(m_rect);
        device.NormalizeRect();
        bool made = false;
        if ((options & MDCOPT_FORCE_BLACK_AND_WHITE) != 0) {
            made = m_bitmap.CreateBitmap(device.Width(), device.Height(), 1, 1, nullptr) != FALSE;
        } else if ((options & MDCOPT_FORCE_DIB) != 0) {
            BITMAPINFO info = {};
            info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
            info.bmiHeader.biWidth = device.Width();
            info.bmiHeader.biHeight = device.Height();
            info.bmiHeader.biPlanes = 1;
            info.bmiHeader.biBitCount = 32;
            info.bmiHeader.biCompression = BI_RGB;
            info.bmiHeader.biSizeImage = DWORD(device.Width()) * DWORD(device.Height());
            void* bits = nullptr;
            HBITMAP dib = ::CreateDIBSection(target->GetSafeHdc(), &info, DIB_RGB_COLORS, &bits, nullptr, 0);
            if (dib != nullptr) {
                m_bitmap.Attach(dib);
                m_pHelperDibSurface = static_cast<COLORREF*>(bits);
                made = true;
            }
        } else {
            made = m_bitmap.CreateCompatibleBitmap(target, device.Width(), device.Height()) != FALSE;
        }
        if (copyOptions) {
            if (rtl) std::swap(m_rect.left, m_rect.right);
            target->DPtoLP(&m_rect);
        }
        if (made) {
            m_pOldBitmap = SelectObject(&m_bitmap);
            if (copyOptions) {
                const int mode = target->GetMapMode();
                SetMapMode(mode);
                if (mode == MM_ANISOTROPIC || mode == MM_ISOTROPIC) {
                    SetWindowExt(target->GetWindowExt());
                    SetViewportExt(target->GetViewportExt());
                }
                if (rtl && mode == MM_TEXT)
                    // Wine moves the window origin of a right-to-left DC the
                    // wrong way; the viewport origin (device units, which are
                    // the logical ones here) moves it the right way.
                    SetViewportOrg(-m_rect.left, -m_rect.top);
                else
                    SetWindowOrg(m_rect.left, m_rect.top);
                m_ptSource = m_rect.TopLeft();
            }
        } else {
            // No picture to paint into: paint straight into the target
            // rather than into nothing.
            PaintLogFailure("memory DC: no %dx%d bitmap (error %lu), painting directly", device.Width(),
                            device.Height(), (unsigned long)::GetLastError());
            DeleteDC();
            m_bMemDC = false;
        }
    } else {
        m_bMemDC = false;
    }

    if (!m_bMemDC) {
        m_hDC = target->m_hDC;
        m_hAttribDC = target->m_hAttribDC;
        m_bPrinting = target->m_bPrinting;
        m_ptSource = m_rect.TopLeft();
    }

    const int width = m_rect.Width(), height = m_rect.Height();
    if ((options & MDCOPT_FILL_BITS) != 0) {
        if (m_bMemDC) BitBlt(m_ptSource.x, m_ptSource.y, width, height, target, m_rect.left, m_rect.top, SRCCOPY);
    } else if ((options & MDCOPT_FILL_SURFACE) != 0) {
        // A brush fill: under Wine the opaque text fill of a right-to-left
        // DC with a moved origin misses one column of the rectangle.
        CBrush brush;
        const CRect fill(m_ptSource, CSize(width, height));
        if (brush.CreateSolidBrush(target->GetBkColor())) FillRect(&fill, &brush);
    }
}

VEzaMemoryDC::~VEzaMemoryDC() { Release(); }

void VEzaMemoryDC::Release() {
    if (m_pDC == nullptr) return;
    if (m_bMemDC) {
        m_pDC->BitBlt(m_rect.left, m_rect.top, m_rect.Width(), m_rect.Height(), this, m_ptSource.x, m_ptSource.y,
                      SRCCOPY);
        if (m_pOldBitmap != nullptr) SelectObject(m_pOldBitmap);
    } else {
        // The handles are the target's: let go without closing them.
        ReleaseOutputDC();
        ReleaseAttribDC();
    }
    m_pDC = nullptr;
    m_rect.SetRectEmpty();
    m_pOldBitmap = nullptr;
    m_pHelperDibSurface = nullptr;
    const bool memDC = m_bMemDC;
    m_bMemDC = false;
    m_bitmap.DeleteObject();
    if (memDC) DeleteDC();
}

BOOL VEzaMemoryDC::PtVisible(int x, int y) const { return ::PtVisible(m_hDC, x, y); }
BOOL VEzaMemoryDC::RectVisible(LPCRECT r) const { return ::RectVisible(m_hDC, r); }
BOOL VEzaMemoryDC::TextOut(int x, int y, LPCSTR s, int n) { return ::TextOutA(m_hDC, x, y, s, n); }

BOOL VEzaMemoryDC::ExtTextOut(int x, int y, UINT options, LPCRECT r, LPCSTR s, UINT n, LPINT dx) {
    return ::ExtTextOutA(m_hDC, x, y, options, r, s, n, dx);
}

CSize VEzaMemoryDC::TabbedTextOut(int x, int y, LPCSTR s, int n, int nTabs, LPINT tabs, int origin) {
    const LONG r = ::TabbedTextOutA(m_hDC, x, y, s, n, nTabs, tabs, origin);
    return CSize(LOWORD(r), HIWORD(r));
}

int VEzaMemoryDC::DrawText(LPCSTR s, int n, LPRECT r, UINT format) { return ::DrawTextA(m_hDC, s, n, r, format); }

int VEzaMemoryDC::DrawTextEx(LPSTR s, int n, LPRECT r, UINT format, LPDRAWTEXTPARAMS p) {
    return ::DrawTextExA(m_hDC, s, n, r, format, p);
}

BOOL VEzaMemoryDC::GrayString(CBrush* brush, GRAYSTRINGPROC proc, LPARAM data, int n, int x, int y, int w, int h) {
    return ::GrayStringA(m_hDC, (HBRUSH)(brush ? brush->m_hObject : nullptr), proc, data, n, x, y, w, h);
}

int VEzaMemoryDC::Escape(int escape, int n, LPCSTR in, LPVOID out) { return ::Escape(m_hDC, escape, n, in, out); }
