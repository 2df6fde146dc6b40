// VEzaPmBridge: the mix-in through which a themed window hears that the paint
// manager was replaced or that system colours, settings, the display mode or
// the visual theme changed. g_PaintManager keeps the registry of bridges and
// calls them; a window enters its bridge in its constructor
// (PmBridge_Install) and removes it in its destructor (PmBridge_Uninstall),
// so the registry never holds a destroyed window. GUI thread only.
#pragma once
#include "afxwin.h"

#include "wendrel_export.h"

class VEzaPaintManager;

class WENDREL_API VEzaPmBridge {
public:
    virtual ~VEzaPmBridge();
    // Usually g_PaintManager.RegisterBridge(this) and UnregisterBridge(this).
    virtual void PmBridge_Install() = 0;
    virtual void PmBridge_Uninstall() = 0;
    // The window that a paint-manager change re-frames and repaints, or null.
    virtual HWND PmBridge_GetSafeHwnd() const = 0;
    virtual VEzaPaintManager* PmBridge_GetPM() const = 0;
    // When pm is this bridge's manager and the bridge has a window: the
    // window's frame is recalculated and it is repainted with its children.
    virtual void PmBridge_OnPaintManagerChanged(VEzaPaintManager* pm);
    virtual void PmBridge_OnSysColorChange(VEzaPaintManager* pm, CWnd* source);
    virtual void PmBridge_OnSettingChange(VEzaPaintManager* pm, CWnd* source, UINT flags, LPCSTR section);
    virtual void PmBridge_OnDisplayChange(VEzaPaintManager* pm, CWnd* source, INT bitsPerPixel, INT cx, INT cy);
    virtual void PmBridge_OnThemeChanged(VEzaPaintManager* pm, CWnd* source, WPARAM wParam, LPARAM lParam);
};

// The bridge of a toolkit window class: it enters the registry when the
// object is built and leaves it when the object goes, follows the current
// paint manager, and re-frames the object's window on a change.
class WENDREL_API VEzaPmWndBridge : public VEzaPmBridge {
public:
    explicit VEzaPmWndBridge(const CWnd* wnd);
    ~VEzaPmWndBridge() override;
    VEzaPmWndBridge(const VEzaPmWndBridge&) = delete;
    VEzaPmWndBridge& operator=(const VEzaPmWndBridge&) = delete;

    void PmBridge_Install() override;
    void PmBridge_Uninstall() override;
    HWND PmBridge_GetSafeHwnd() const override;
    VEzaPaintManager* PmBridge_GetPM() const override;

private:
    const CWnd* m_pBridgeWnd;
};
