// The library's process-wide objects are torn down in the reverse order of
// their construction when it unloads. The library is loaded by name here, so
// that this program outlives it and can watch the teardown.
#include <windows.h>

#include <string>
#include <vector>

#include "wtest.h"

namespace {

std::vector<std::string> g_steps;

void Observe(const char* step) { g_steps.emplace_back(step); }

using SetObserver = void (*)(void (*)(const char*));

}  // namespace

WTEST(unloading_tears_the_objects_down_in_reverse_order) {
    HMODULE library = ::LoadLibraryA("Wendrel.dll");
    WCHECK(library != nullptr);
    if (library == nullptr) return;
    auto setObserver = reinterpret_cast<SetObserver>(
        reinterpret_cast<void*>(::GetProcAddress(library, "WendrelSetStaticTeardownObserver")));
    WCHECK(setObserver != nullptr);
    if (setObserver == nullptr) {
        ::FreeLibrary(library);
        return;
    }
    setObserver(&Observe);
    WCHECK(::FreeLibrary(library));
    WCHECK(::GetModuleHandleA("Wendrel.dll") == nullptr);

    // The paint manager holder goes before the command manager it hooks into.
    const std::vector<std::string> expected = {
        "tab cursors",
        "VEzaHookSink::g_HookSinkMap",
        "VEzaCustomizeSite::g_CustomizeSites",
        "VEzaPaintManager glyph copies",
        "g_PaintManager",
        "g_CmdManager",
        "VEzaControlBar pointer arrays",
        "VEzaControlBar::InternalDraggingState_t",
        "VEzaControlBar::g_BarPtrMap",
        "VEzaControlBar::g_BarMap",
        "VEzaControlBar::g_AllBars",
        "VEzaControlBar::g_BarCursors",
        "VEzaPopupColorMenuWnd::g_colors16",
        "VEzaPopupColorMenuWnd::g_colors",
        "VEzaSoundPlayer::g_csSoundPlayer",
        "VEzaSoundPlayer::g_SoundPlayer",
    };
    WCHECK_EQ(g_steps.size(), expected.size());
    for (size_t i = 0; i < expected.size() && i < g_steps.size(); ++i) WCHECK_EQ(g_steps[i], expected[i]);
}
