// What the console link's Wine tests share: the link's services with the real
// client library (its export look-ups counted), the recording sink of
// tests/console/link_fakes.h, and a GUI thread of their own: a message-only
// window that the link's posted wake-up reaches, and a pump that runs until
// an observable state holds. Used from the test's main thread only.
#pragma once

#include "connection_link.h"
#include "link_fakes.h"
#include "win_client_library.h"
#include "win_gui_poster.h"

#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <windows.h>

class CountingLibrary : public IClientLibrary {
public:
    bool Loaded() const override { return real_.Loaded(); }
    void* Export(const char* name) override
    {
        std::lock_guard<std::mutex> lock(m_);
        ++lookups_[name];
        return real_.Export(name);
    }
    int Lookups(const std::string& name)
    {
        std::lock_guard<std::mutex> lock(m_);
        return lookups_[name];
    }

private:
    Win32ClientLibrary real_;
    std::mutex m_;
    std::map<std::string, int> lookups_;
};

class LinkHarness {
public:
    static constexpr UINT dispatch_message = WM_APP + 7;

    LinkHarness();
    ~LinkHarness();

    CConnectionLink& link() { return *link_; }
    CountingLibrary library;
    RecordingSink console;
    FakeUserInterface ui;
    SettingsDocument settings;

    // Runs the message loop until `done` holds or the time is up.
    bool PumpUntil(const std::function<bool()>& done, int seconds = 60);
    // Pumps until the sink has seen a call that contains `part`.
    bool WaitCall(const std::string& part, int seconds = 60);
    int CountCalls(const std::string& call);
    int IndexOf(const std::string& part);

private:
    static LRESULT CALLBACK WindowProc(HWND, UINT, WPARAM, LPARAM);
    HWND window_ = nullptr;
    std::unique_ptr<WindowMessagePoster> poster_;
    std::unique_ptr<CConnectionLink> link_;
};

// The environment's number, or `fallback`.
int EnvNumber(const char* name, int fallback = 0);
