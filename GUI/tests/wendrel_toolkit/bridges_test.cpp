// The toolkit's themed window classes enter the paint manager's bridge
// registry while they exist and hear a paint manager change.
#include <functional>
#include <memory>
#include <string>

#include "afxwin.h"
#include "paint/paint_manager.h"
#include "paint/pm_bridge.h"
#include "toolkit/bar_types.h"
#include "toolkit/menu_types.h"
#include "wtest.h"

WTEST(themed_window_classes_are_registered_bridges_while_they_live) {
    struct Case {
        const char* name;
        std::function<CObject*()> make;
    } cases[] = {
        {"VEzaControlBar", [] { return new VEzaControlBar; }},
        {"VEzaToolControlBar", [] { return new VEzaToolControlBar; }},
        {"VEzaMenuControlBar", [] { return new VEzaMenuControlBar; }},
        {"VEzaStatusControlBar", [] { return new VEzaStatusControlBar; }},
        {"VEzaDynamicControlBar", [] { return new VEzaDynamicControlBar; }},
        {"VEzaDockBar", [] { return new VEzaDockBar; }},
        {"VEzaDockOuterBar", [] { return new VEzaDockOuterBar; }},
        {"VEzaMiniDockFrameWnd", [] { return new VEzaMiniDockFrameWnd; }},
        {"VEzaTabWnd", [] { return new VEzaTabWnd; }},
        {"VEzaTabMdiWnd", [] { return new VEzaTabMdiWnd; }},
        {"VEzaTabPageContainerWnd", [] { return new VEzaTabPageContainerWnd; }},
        {"VEzaPopupMenuWnd", [] { return new VEzaPopupMenuWnd; }},
        {"VEzaPopupColorMenuWnd", [] { return new VEzaPopupColorMenuWnd; }},
        {"VEzaDatePickerWnd", [] { return new VEzaDatePickerWnd; }},
    };
    for (const Case& c : cases) {
        const INT_PTR before = g_PaintManager.GetBridgeCount();
        std::unique_ptr<CObject> object(c.make());
        auto* bridge = dynamic_cast<VEzaPmBridge*>(object.get());
        WCHECK(bridge != nullptr);
        if (bridge == nullptr) continue;
        if (!g_PaintManager.IsBridgeRegistered(bridge)) wtest::fail(__FILE__, __LINE__, std::string(c.name) + " not registered");
        WCHECK_EQ(g_PaintManager.GetBridgeCount(), before + 1);
        WCHECK(bridge->PmBridge_GetPM() == g_PaintManager.GetPM());
        WCHECK(bridge->PmBridge_GetSafeHwnd() == nullptr);
        object.reset();
        WCHECK(!g_PaintManager.IsBridgeRegistered(bridge));
        WCHECK_EQ(g_PaintManager.GetBridgeCount(), before);
    }
}
