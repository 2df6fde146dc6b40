// Backgrounds that windows take from their parents: the custom-background
// query walked up the window chain, the test of which child controls let
// the parent's background through, and the transparent blit.
#include "paint/paint_manager.h"
#include "toolkit/bar_types.h"

#include <cctype>
#include <cstring>

CRect VEzaPaintManager::CUSTOM_BACKGROUND_QUERY::GetRenderingRect() const {
    CRect r(0, 0, 0, 0);
    HWND wnd = m_pWnd != nullptr ? m_pWnd->GetSafeHwnd() : nullptr;
    if (wnd == nullptr) return r;
    if (m_bClient) {
        ::GetClientRect(wnd, &r);
    } else {
        ::GetWindowRect(wnd, &r);
        r.OffsetRect(-r.left, -r.top);
    }
    return r;
}

bool VEzaPaintManager::CUSTOM_BACKGROUND_QUERY::Notify() {
    m_bHandled = m_bCancelled = false;
    m_hWndHandler = nullptr;
    for (HWND wnd = m_pWnd != nullptr ? m_pWnd->GetSafeHwnd() : nullptr; wnd != nullptr; wnd = ::GetParent(wnd)) {
        ::SendMessageA(wnd, g_nMsgPaintInheritedBackground, WPARAM(this), 0);
        if (m_bCancelled) {
            m_hWndHandler = nullptr;
            return false;
        }
        if (m_bHandled) {
            if (m_hWndHandler == nullptr) m_hWndHandler = wnd;
            return true;
        }
        if ((::GetWindowLongA(wnd, GWL_STYLE) & WS_CHILD) == 0) break;
    }
    return false;
}

bool VEzaPaintManager::RenderCustomBackground(bool client, CDC& dc, CObject* object, LPARAM lParam) {
    if (!GetCustomBackgroundInheritanceMode(object, lParam) || dc.GetSafeHdc() == nullptr || object == nullptr)
        return false;
    CWnd* wnd = nullptr;
    if (object->IsKindOf(RUNTIME_CLASS(VEzaBarButton)))
        wnd = static_cast<VEzaBarButton*>(object)->GetBar();
    else if (object->IsKindOf(RUNTIME_CLASS(CWnd)))
        wnd = static_cast<CWnd*>(object);
    if (wnd == nullptr || wnd->GetSafeHwnd() == nullptr) return false;
    CUSTOM_BACKGROUND_QUERY query(dc, wnd, object, lParam, client);
    return query.Notify();
}

bool VEzaPaintManager::stat_IsInheritedBackgroundWnd(HWND wnd) {
    char name[64] = {};
    if (wnd == nullptr || ::GetClassNameA(wnd, name, int(sizeof name)) == 0) return false;
    for (char& c : name) c = char(std::tolower(static_cast<unsigned char>(c)));
    if (std::strcmp(name, "static") == 0 || std::strcmp(name, "systabcontrol32") == 0 ||
        std::strcmp(name, "msctls_trackbar32") == 0)
        return true;
    if (std::strcmp(name, "button") != 0) return false;
    if (g_PaintManager.HasOs(VEzaPaintManagerAutoPtr::OsThemeColorsRead)) return true;
    // Without theme colours the owner-drawn and later button types paint
    // their own background.
    const LONG type = ::GetWindowLongA(wnd, GWL_STYLE) & 0x0F;
    return type != BS_USERBUTTON && (type < 10 || type > 15);
}

void VEzaPaintManager::stat_TransparentBlt(HDC destination, int x, int y, int width, int height, HDC source,
                                           int sourceX, int sourceY, int sourceWidth, int sourceHeight,
                                           COLORREF transparent) {
    if (destination == nullptr || source == nullptr || width <= 0 || height <= 0) return;
    HDC image = ::CreateCompatibleDC(destination);
    HDC mask = ::CreateCompatibleDC(destination);
    HBITMAP imageBitmap = ::CreateCompatibleBitmap(destination, width, height);
    HBITMAP maskBitmap = ::CreateBitmap(width, height, 1, 1, nullptr);
    if (image != nullptr && mask != nullptr && imageBitmap != nullptr && maskBitmap != nullptr) {
        HGDIOBJ oldImage = ::SelectObject(image, imageBitmap);
        HGDIOBJ oldMask = ::SelectObject(mask, maskBitmap);
        if ((sourceWidth != width || sourceHeight != height) && sourceWidth >= 0 && sourceHeight >= 0)
            ::StretchBlt(image, 0, 0, width, height, source, sourceX, sourceY, sourceWidth, sourceHeight, SRCCOPY);
        else
            ::BitBlt(image, 0, 0, width, height, source, sourceX, sourceY, SRCCOPY);
        // The mask is white where the picture has the transparent colour.
        ::SetBkColor(image, transparent);
        ::BitBlt(mask, 0, 0, width, height, image, 0, 0, SRCCOPY);
        ::SetBkColor(image, RGB(0, 0, 0));
        ::SetTextColor(image, RGB(255, 255, 255));
        ::BitBlt(image, 0, 0, width, height, mask, 0, 0, SRCAND);
        const COLORREF oldBack = ::SetBkColor(destination, RGB(255, 255, 255));
        const COLORREF oldText = ::SetTextColor(destination, RGB(0, 0, 0));
        ::BitBlt(destination, x, y, width, height, mask, 0, 0, SRCAND);
        ::BitBlt(destination, x, y, width, height, image, 0, 0, SRCPAINT);
        ::SetBkColor(destination, oldBack);
        ::SetTextColor(destination, oldText);
        ::SelectObject(image, oldImage);
        ::SelectObject(mask, oldMask);
    }
    if (maskBitmap != nullptr) ::DeleteObject(maskBitmap);
    if (imageBitmap != nullptr) ::DeleteObject(imageBitmap);
    if (mask != nullptr) ::DeleteDC(mask);
    if (image != nullptr) ::DeleteDC(image);
}
