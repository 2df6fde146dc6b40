// Wakes the GUI thread with a window message: the main frame handles
// `message` by calling CConnectionLink::DispatchPending. The target window
// may be set after the link is made (the frame comes later) and cleared when
// the frame goes. Any thread.
#pragma once

#include "link_interfaces.h"

#include <atomic>
#include <windows.h>

class WindowMessagePoster : public IGuiPoster {
public:
    explicit WindowMessagePoster(UINT message, HWND target = nullptr) : message_(message), target_(target) {}
    void SetTarget(HWND target) { target_.store(target); }
    bool PostDispatch() override;

private:
    const UINT message_;
    std::atomic<HWND> target_;
};
