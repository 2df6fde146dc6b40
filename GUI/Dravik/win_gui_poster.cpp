#include "win_gui_poster.h"

bool WindowMessagePoster::PostDispatch()
{
    HWND target = target_.load();
    return target != nullptr && PostMessageA(target, message_, 0, 0) != FALSE;
}
