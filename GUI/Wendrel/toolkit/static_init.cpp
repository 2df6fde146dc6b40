// The library's process-wide objects: registered messages, colour tables,
// cursors, lists and maps, the command manager and the hook-sink map. They
// are defined in this one translation unit so that they are built in this
// order when the DLL loads (the library's module state is current then) and
// destroyed in the reverse order when it unloads.
#include "commands/cmd_manager.h"
#include "hooks/hook_sink.h"
#include "paint/paint_manager.h"
#include "toolkit/bar_types.h"
#include "toolkit/menu_types.h"
#include "toolkit/registered_messages.h"

namespace {

// Records that the object defined just before it has been built; at
// unloading it reports that object's teardown, which follows at once.
struct Step {
    explicit Step(const char* name) : m_name(name) { WendrelRecordStaticInitStep(name); }
    ~Step() { WendrelRecordStaticTeardownStep(m_name); }
    Step(const Step&) = delete;
    Step& operator=(const Step&) = delete;
    const char* m_name;
};

}  // namespace

#define VEZA_MESSAGE(owner, name) const UINT owner::g_nMsg##name = WendrelRegisterMessage(#owner "::g_nMsg" #name);

// Popup menus: the first eleven messages, the sound player, the other three.
VEZA_MESSAGE(VEzaPopupMenuWnd, PrepareMenu)
VEZA_MESSAGE(VEzaPopupMenuWnd, PrepareOneMenuLevel)
VEZA_MESSAGE(VEzaPopupMenuWnd, PrepareDesktopBk)
VEZA_MESSAGE(VEzaPopupMenuWnd, PopupNext)
VEZA_MESSAGE(VEzaPopupMenuWnd, PopupPrev)
VEZA_MESSAGE(VEzaPopupMenuWnd, NotifyMenuExpanded)
VEZA_MESSAGE(VEzaPopupMenuWnd, NotifyMenuClosed)
VEZA_MESSAGE(VEzaPopupMenuWnd, PopupDrawItem)
VEZA_MESSAGE(VEzaPopupMenuWnd, PopupDrawLeftArea)
VEZA_MESSAGE(VEzaPopupMenuWnd, PopupDrawBackground)
VEZA_MESSAGE(VEzaPopupMenuWnd, CreateInplaceEdit)
VEzaSoundPlayer::VEzaSoundPlayerAutoPtr VEzaSoundPlayer::g_SoundPlayer;
static Step stepSoundPlayer("VEzaSoundPlayer::g_SoundPlayer");
CCriticalSection VEzaSoundPlayer::g_csSoundPlayer;
static Step stepSoundLock("VEzaSoundPlayer::g_csSoundPlayer");
VEZA_MESSAGE(VEzaPopupMenuWnd, ItemCoveringNotification)
VEZA_MESSAGE(VEzaPopupMenuWnd, TearOff)
VEZA_MESSAGE(VEzaPopupMenuWnd, CustomFloatPos)

// Colour menus: messages and the two colour tables (the two greys carry each
// other's ids; "Pale green " keeps its trailing blank).
VEZA_MESSAGE(VEzaPopupColorMenuWnd, NotifyColorChanged)
VEZA_MESSAGE(VEzaPopupColorMenuWnd, NotifyColorChangedFinally)
VEZA_MESSAGE(VEzaPopupColorMenuWnd, NotifyCustColor)
const VEzaPopupColorMenuWnd::COLORREF_TABLE_ENTRY VEzaPopupColorMenuWnd::g_colors[40] = {
    {30302, RGB(0, 0, 0), "Black"},
    {30303, RGB(165, 42, 0), "Brown"},
    {30304, RGB(0, 64, 64), "Dark Olive Green"},
    {30305, RGB(0, 85, 0), "Dark Green"},
    {30306, RGB(0, 0, 94), "Dark Teal"},
    {30307, RGB(0, 0, 139), "Dark blue"},
    {30308, RGB(75, 0, 130), "Indigo"},
    {30309, RGB(40, 40, 40), "Dark grey"},
    {30310, RGB(139, 0, 0), "Dark red"},
    {30311, RGB(255, 104, 32), "Orange"},
    {30312, RGB(139, 139, 0), "Dark yellow"},
    {30313, RGB(0, 147, 0), "Green"},
    {30314, RGB(56, 142, 142), "Teal"},
    {30315, RGB(0, 0, 255), "Blue"},
    {30316, RGB(123, 123, 192), "Blue-grey"},
    {30325, RGB(102, 102, 102), "Grey - 50"},
    {30318, RGB(255, 0, 0), "Red"},
    {30319, RGB(255, 173, 91), "Light orange"},
    {30320, RGB(50, 205, 50), "Lime"},
    {30321, RGB(60, 179, 113), "Sea green"},
    {30322, RGB(127, 255, 212), "Aqua"},
    {30323, RGB(125, 158, 192), "Light blue"},
    {30324, RGB(128, 0, 128), "Violet"},
    {30317, RGB(127, 127, 127), "Grey - 40"},
    {30326, RGB(255, 192, 203), "Pink"},
    {30327, RGB(255, 215, 0), "Gold"},
    {30328, RGB(255, 255, 0), "Yellow"},
    {30329, RGB(0, 255, 0), "Bright green"},
    {30330, RGB(64, 224, 208), "Turquoise"},
    {30331, RGB(192, 255, 255), "Skyblue"},
    {30332, RGB(72, 0, 72), "Plum"},
    {30333, RGB(192, 192, 192), "Light grey"},
    {30334, RGB(255, 228, 225), "Rose"},
    {30335, RGB(210, 180, 140), "Tan"},
    {30336, RGB(255, 255, 224), "Light yellow"},
    {30337, RGB(152, 251, 152), "Pale green "},
    {30338, RGB(175, 238, 238), "Pale turquoise"},
    {30339, RGB(104, 131, 139), "Pale blue"},
    {30340, RGB(230, 230, 250), "Lavender"},
    {30341, RGB(255, 255, 255), "White"},
};
static Step stepColors("VEzaPopupColorMenuWnd::g_colors");
#define VEZA_COLOR(i) VEzaPopupColorMenuWnd::g_colors[i]
const VEzaPopupColorMenuWnd::COLORREF_TABLE_ENTRY VEzaPopupColorMenuWnd::g_colors16[16] = {
    VEZA_COLOR(0),  VEZA_COLOR(15), VEZA_COLOR(8),  VEZA_COLOR(10), VEZA_COLOR(11), VEZA_COLOR(6),
    VEZA_COLOR(5),  VEZA_COLOR(4),  VEZA_COLOR(39), VEZA_COLOR(31), VEZA_COLOR(16), VEZA_COLOR(26),
    VEZA_COLOR(27), VEZA_COLOR(29), VEZA_COLOR(13), VEZA_COLOR(32),
};
#undef VEZA_COLOR
static Step stepColors16("VEzaPopupColorMenuWnd::g_colors16");
VEZA_MESSAGE(VEzaPopupMenuWnd::CInPlaceEditWnd, DeleteSelection)
VEZA_MESSAGE(VEzaPopupMenuWnd::CInPlaceEditWnd, SelectAll)

// Control bars.
VEzaControlBar::BarCursors_t VEzaControlBar::g_BarCursors;
static Step stepBarCursors("VEzaControlBar::g_BarCursors");
ExtControlBarArray_t VEzaControlBar::g_AllBars;
static Step stepAllBars("VEzaControlBar::g_AllBars");
CMapPtrToPtr VEzaControlBar::g_BarMap;
static Step stepBarMap("VEzaControlBar::g_BarMap");
VEZA_MESSAGE(VEzaControlBar, QueryRepositionCalcEffect)
VEZA_MESSAGE(VEzaControlBar, QueryIcon)
VEZA_MESSAGE(VEzaControlBar, PutToPopupMenu)
VEZA_MESSAGE(VEzaControlBar, ConstructPopupMenu)
VEZA_MESSAGE(VEzaControlBar, CreateTabbedBar)
VEZA_MESSAGE(VEzaControlBar, DrawTrackedArea)
VEZA_MESSAGE(VEzaControlBar, CustomNcAreaQuery)
CMapPtrToPtr VEzaControlBar::g_BarPtrMap;
static Step stepBarPtrMap("VEzaControlBar::g_BarPtrMap");
VEzaControlBar::InternalDraggingState_t VEzaControlBar::g_DragStateOld;
VEzaControlBar::InternalDraggingState_t VEzaControlBar::g_DragStateNew;
static Step stepDragStates("VEzaControlBar::InternalDraggingState_t");
ExtControlBarArray_t VEzaControlBar::g_DockedBars;
ExtControlBarArray_t VEzaControlBar::g_FloatingBars;
static Step stepBarArrays("VEzaControlBar pointer arrays");
VEZA_MESSAGE(VEzaDynamicBarSite, FindDynamicBarSite)

// The command manager (with its "default" profile), then the paint manager
// holder, which installs the XP paint manager and hooks itself into the
// command manager's relays and the command icons; at unloading the holder
// goes first, so the command manager never outlives its hooks' target.
VEzaCmdManager::VEzaCmdManagerAutoPtr g_CmdManager;
static Step stepCmdManager("g_CmdManager");
VEzaPaintManager::VEzaPaintManagerAutoPtr g_PaintManager;
static Step stepPaintManager("g_PaintManager");

// The turned copies of the directional glyphs (the paint managers only keep
// references to them until they paint).
const VEzaPaintManager::glyph_t VEzaPaintManager::g_glyphExpandBottomTurned(VEzaPaintManager::GlyphExpandBottom(), 90);
const VEzaPaintManager::glyph_t VEzaPaintManager::g_glyphExpandRight2Turned(VEzaPaintManager::GlyphExpandRight2(), 90);
static Step stepGlyphs("VEzaPaintManager glyph copies");

VEZA_MESSAGE(VEzaPaintManager, PaintInheritedBackground)
VEZA_MESSAGE(VEzaToolControlBar, TrackButtonMenu)
VEZA_MESSAGE(VEzaToolControlBar, ContinueTrackMenu)
VEZA_MESSAGE(VEzaCustomizeSite, QueryCustomizeSite)
VEZA_MESSAGE(VEzaCustomizeSite, AssignAccelTable)
VEZA_MESSAGE(VEzaCustomizeSite, SyncAccelTable)
VEZA_MESSAGE(VEzaCustomizeSite, SyncContent)
VEZA_MESSAGE(VEzaCustomizeSite, DelayCustomization)
VEzaCustomizeSite::CustomizeSiteMap_t VEzaCustomizeSite::g_CustomizeSites(10);
static Step stepCustomizeSites("VEzaCustomizeSite::g_CustomizeSites");
VEZA_MESSAGE(VEzaDatePickerWnd, SelectionNotification)
VEzaHookSink::HookSinkMap_t VEzaHookSink::g_HookSinkMap(10);
static Step stepHookSinks("VEzaHookSink::g_HookSinkMap");
VEZA_MESSAGE(VEzaPopupControlMenuWnd, ControlInputRetranslate)
VEZA_MESSAGE(VEzaPopupInplaceListBox, PopupListBoxInitContent)
VEZA_MESSAGE(VEzaPopupInplaceListBox, PopupListBoxItemMeasure)
VEZA_MESSAGE(VEzaPopupInplaceListBox, PopupListBoxItemDraw)
VEZA_MESSAGE(VEzaPopupInplaceListBox, PopupListBoxSelEndOK)
VEZA_MESSAGE(VEzaPopupInplaceListBox, PopupListBoxSelEndCancel)
VEZA_MESSAGE(VEzaPopupInplaceListBox, PopupListBoxSelChange)
VEZA_MESSAGE(VEzaPopupInplaceDatePicker, PopupDatePickerInitContent)
HCURSOR VEzaTabWnd::g_hCursor = ::LoadCursorA(nullptr, IDC_ARROW);
HCURSOR VEzaTabPageContainerWnd::g_hCursor = ::LoadCursorA(nullptr, IDC_ARROW);
static Step stepTabCursors("tab cursors");
VEZA_MESSAGE(VEzaMenuControlBar, PrepareSystemMenu)
VEZA_MESSAGE(VEzaColorCtrl, ColorChanged)

#undef VEZA_MESSAGE
