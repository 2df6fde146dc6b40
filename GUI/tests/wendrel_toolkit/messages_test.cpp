// Registered messages, the colour tables, the order of the library's static
// initialisation and the run-time classes of the menu, bar and tab classes.
#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "afxwin.h"
#include "commands/cmd_manager.h"
#include "paint/paint_manager.h"
#include "toolkit/bar_types.h"
#include "toolkit/menu_types.h"
#include "toolkit/registered_messages.h"
#include "wtest.h"

WTEST(forty_six_messages_registered_in_order) {
    const char* const expected[] = {
        "VEzaPopupMenuWnd::g_nMsgPrepareMenu",
        "VEzaPopupMenuWnd::g_nMsgPrepareOneMenuLevel",
        "VEzaPopupMenuWnd::g_nMsgPrepareDesktopBk",
        "VEzaPopupMenuWnd::g_nMsgPopupNext",
        "VEzaPopupMenuWnd::g_nMsgPopupPrev",
        "VEzaPopupMenuWnd::g_nMsgNotifyMenuExpanded",
        "VEzaPopupMenuWnd::g_nMsgNotifyMenuClosed",
        "VEzaPopupMenuWnd::g_nMsgPopupDrawItem",
        "VEzaPopupMenuWnd::g_nMsgPopupDrawLeftArea",
        "VEzaPopupMenuWnd::g_nMsgPopupDrawBackground",
        "VEzaPopupMenuWnd::g_nMsgCreateInplaceEdit",
        "VEzaPopupMenuWnd::g_nMsgItemCoveringNotification",
        "VEzaPopupMenuWnd::g_nMsgTearOff",
        "VEzaPopupMenuWnd::g_nMsgCustomFloatPos",
        "VEzaPopupColorMenuWnd::g_nMsgNotifyColorChanged",
        "VEzaPopupColorMenuWnd::g_nMsgNotifyColorChangedFinally",
        "VEzaPopupColorMenuWnd::g_nMsgNotifyCustColor",
        "VEzaPopupMenuWnd::CInPlaceEditWnd::g_nMsgDeleteSelection",
        "VEzaPopupMenuWnd::CInPlaceEditWnd::g_nMsgSelectAll",
        "VEzaControlBar::g_nMsgQueryRepositionCalcEffect",
        "VEzaControlBar::g_nMsgQueryIcon",
        "VEzaControlBar::g_nMsgPutToPopupMenu",
        "VEzaControlBar::g_nMsgConstructPopupMenu",
        "VEzaControlBar::g_nMsgCreateTabbedBar",
        "VEzaControlBar::g_nMsgDrawTrackedArea",
        "VEzaControlBar::g_nMsgCustomNcAreaQuery",
        "VEzaDynamicBarSite::g_nMsgFindDynamicBarSite",
        "VEzaPaintManager::g_nMsgPaintInheritedBackground",
        "VEzaToolControlBar::g_nMsgTrackButtonMenu",
        "VEzaToolControlBar::g_nMsgContinueTrackMenu",
        "VEzaCustomizeSite::g_nMsgQueryCustomizeSite",
        "VEzaCustomizeSite::g_nMsgAssignAccelTable",
        "VEzaCustomizeSite::g_nMsgSyncAccelTable",
        "VEzaCustomizeSite::g_nMsgSyncContent",
        "VEzaCustomizeSite::g_nMsgDelayCustomization",
        "VEzaDatePickerWnd::g_nMsgSelectionNotification",
        "VEzaPopupControlMenuWnd::g_nMsgControlInputRetranslate",
        "VEzaPopupInplaceListBox::g_nMsgPopupListBoxInitContent",
        "VEzaPopupInplaceListBox::g_nMsgPopupListBoxItemMeasure",
        "VEzaPopupInplaceListBox::g_nMsgPopupListBoxItemDraw",
        "VEzaPopupInplaceListBox::g_nMsgPopupListBoxSelEndOK",
        "VEzaPopupInplaceListBox::g_nMsgPopupListBoxSelEndCancel",
        "VEzaPopupInplaceListBox::g_nMsgPopupListBoxSelChange",
        "VEzaPopupInplaceDatePicker::g_nMsgPopupDatePickerInitContent",
        "VEzaMenuControlBar::g_nMsgPrepareSystemMenu",
        "VEzaColorCtrl::g_nMsgColorChanged",
    };
    const std::vector<std::string>& texts = WendrelRegisteredMessageTexts();
    WCHECK_EQ(texts.size(), size_t(46));
    for (size_t i = 0; i < std::min(texts.size(), std::size(expected)); ++i) WCHECK_EQ(texts[i], std::string(expected[i]));

    // The same text gives the same id in any module.
    struct Id {
        UINT id;
        const char* text;
    } ids[] = {
        {VEzaPopupMenuWnd::g_nMsgPrepareMenu, expected[0]},
        {VEzaPopupMenuWnd::CInPlaceEditWnd::g_nMsgDeleteSelection, expected[17]},
        {VEzaDynamicBarSite::g_nMsgFindDynamicBarSite, expected[26]},
        {VEzaPaintManager::g_nMsgPaintInheritedBackground, expected[27]},
        {VEzaToolControlBar::g_nMsgContinueTrackMenu, expected[29]},
        {VEzaColorCtrl::g_nMsgColorChanged, expected[45]},
    };
    for (const Id& m : ids) {
        WCHECK(m.id >= 0xC000);
        WCHECK_EQ(m.id, ::RegisterWindowMessageA(m.text));
    }
    WCHECK(VEzaPopupMenuWnd::g_nMsgPrepareMenu != VEzaPopupMenuWnd::g_nMsgPrepareOneMenuLevel);
}

WTEST(colour_tables) {
    const auto& t = VEzaPopupColorMenuWnd::g_colors;
    WCHECK_EQ(t[0].m_nCmdID, UINT(30302));
    WCHECK_EQ(t[0].m_sName, CString("Black"));
    WCHECK_EQ(t[15].m_nCmdID, UINT(30325));
    WCHECK_EQ(t[15].m_sName, CString("Grey - 50"));
    WCHECK_EQ(t[23].m_nCmdID, UINT(30317));
    WCHECK_EQ(t[23].m_sName, CString("Grey - 40"));
    WCHECK_EQ(t[35].m_sName, CString("Pale green "));
    WCHECK_EQ(t[35].m_clrValue, RGB(152, 251, 152));
    WCHECK_EQ(t[39].m_nCmdID, UINT(30341));
    WCHECK_EQ(t[9].m_clrValue, RGB(255, 104, 32));
    for (int i = 0; i < 40; ++i)
        if (i != 15 && i != 23) WCHECK_EQ(t[i].m_nCmdID, UINT(30302 + i));

    const char* const names16[] = {"Black", "Grey - 50", "Dark red",     "Dark yellow", "Green", "Indigo",
                                   "Dark blue", "Dark Teal", "White", "Light grey", "Red", "Yellow",
                                   "Bright green", "Skyblue", "Blue", "Rose"};
    for (int i = 0; i < 16; ++i) {
        const auto& e = VEzaPopupColorMenuWnd::g_colors16[i];
        WCHECK_EQ(e.m_sName, CString(names16[i]));
        const auto* same = std::find_if(std::begin(t), std::end(t), [&](const auto& x) { return x.m_sName == e.m_sName; });
        WCHECK(same != std::end(t) && same->m_nCmdID == e.m_nCmdID && same->m_clrValue == e.m_clrValue);
    }
}

WTEST(static_initialisation_order) {
    const std::vector<std::string>& steps = WendrelStaticInitSteps();
    auto at = [&](const std::string& s) {
        auto it = std::find(steps.begin(), steps.end(), s);
        if (it == steps.end()) wtest::fail(__FILE__, __LINE__, "missing step " + s);
        return it - steps.begin();
    };
    const std::string order[] = {
        "message VEzaPopupMenuWnd::g_nMsgCreateInplaceEdit",
        "VEzaSoundPlayer::g_SoundPlayer",
        "VEzaSoundPlayer::g_csSoundPlayer",
        "message VEzaPopupMenuWnd::g_nMsgItemCoveringNotification",
        "message VEzaPopupColorMenuWnd::g_nMsgNotifyCustColor",
        "VEzaPopupColorMenuWnd::g_colors",
        "VEzaPopupColorMenuWnd::g_colors16",
        "message VEzaPopupMenuWnd::CInPlaceEditWnd::g_nMsgDeleteSelection",
        "VEzaControlBar::g_BarCursors",
        "VEzaControlBar::g_AllBars",
        "VEzaControlBar::g_BarMap",
        "message VEzaControlBar::g_nMsgQueryRepositionCalcEffect",
        "message VEzaControlBar::g_nMsgCustomNcAreaQuery",
        "VEzaControlBar::g_BarPtrMap",
        "VEzaControlBar::InternalDraggingState_t",
        "VEzaControlBar pointer arrays",
        "message VEzaDynamicBarSite::g_nMsgFindDynamicBarSite",
        "g_CmdManager",
        "g_PaintManager",
        "VEzaPaintManager glyph copies",
        "message VEzaPaintManager::g_nMsgPaintInheritedBackground",
        "message VEzaCustomizeSite::g_nMsgDelayCustomization",
        "VEzaCustomizeSite::g_CustomizeSites",
        "message VEzaDatePickerWnd::g_nMsgSelectionNotification",
        "VEzaHookSink::g_HookSinkMap",
        "message VEzaPopupControlMenuWnd::g_nMsgControlInputRetranslate",
        "message VEzaPopupInplaceDatePicker::g_nMsgPopupDatePickerInitContent",
        "tab cursors",
        "message VEzaMenuControlBar::g_nMsgPrepareSystemMenu",
        "message VEzaColorCtrl::g_nMsgColorChanged",
    };
    for (size_t i = 0; i + 1 < std::size(order); ++i)
        if (at(order[i]) + 1 > at(order[i + 1]))
            wtest::fail(__FILE__, __LINE__, order[i] + " is not before " + order[i + 1]);
    WCHECK(VEzaControlBar::g_BarCursors.m_hSizeAll != nullptr);
    WCHECK(VEzaTabWnd::g_hCursor != nullptr);
}

WTEST(runtime_classes_of_menus_bars_and_tabs) {
    struct Case {
        CRuntimeClass* cls;
        CRuntimeClass* base;
    } cases[] = {
        {RUNTIME_CLASS(VEzaPopupColorMenuWnd), RUNTIME_CLASS(VEzaPopupMenuWnd)},
        {RUNTIME_CLASS(VEzaPopupMenuWnd), RUNTIME_CLASS(CWnd)},
        {RUNTIME_CLASS(VEzaMenuControlBar), RUNTIME_CLASS(VEzaToolControlBar)},
        {RUNTIME_CLASS(VEzaToolControlBar), RUNTIME_CLASS(VEzaControlBar)},
        {RUNTIME_CLASS(VEzaStatusControlBar), RUNTIME_CLASS(CControlBar)},
        {RUNTIME_CLASS(VEzaDockOuterBar), RUNTIME_CLASS(CDockBar)},
        {RUNTIME_CLASS(VEzaMiniDockFrameWnd), RUNTIME_CLASS(CMiniFrameWnd)},
        {RUNTIME_CLASS(VEzaTabMdiWnd), RUNTIME_CLASS(VEzaTabWnd)},
        {RUNTIME_CLASS(VEzaDynDockMarkerWnd), RUNTIME_CLASS(CWnd)},
        {RUNTIME_CLASS(VEzaBarButton), RUNTIME_CLASS(CObject)},
    };
    for (const Case& c : cases) {
        WCHECK(c.cls->IsDerivedFrom(c.base));
        WCHECK(!c.base->IsDerivedFrom(c.cls));
    }
    WCHECK_EQ(CString(RUNTIME_CLASS(VEzaMenuControlBar)->m_lpszClassName), CString("VEzaMenuControlBar"));

    // Created by name: a new bar enters the list of all bars and leaves it.
    const INT_PTR bars = VEzaControlBar::g_AllBars.GetSize();
    std::unique_ptr<CObject> dyn(CRuntimeClass::CreateObject("VEzaDynamicControlBar"));
    WCHECK(dyn != nullptr && dyn->IsKindOf(RUNTIME_CLASS(VEzaControlBar)));
    WCHECK_EQ(VEzaControlBar::g_AllBars.GetSize(), bars + 1);
    dyn.reset();
    WCHECK_EQ(VEzaControlBar::g_AllBars.GetSize(), bars);
    std::unique_ptr<CObject> node(CRuntimeClass::CreateObject("VEzaCustomizeCmdTreeNode"));
    WCHECK(node != nullptr && node->IsKindOf(RUNTIME_CLASS(VEzaCustomizeCmdTreeNode)));

    VEzaToolControlBar tool;
    WCHECK(tool.IsFixedMode());
    WCHECK(!tool.IsDockedVertically());
}
