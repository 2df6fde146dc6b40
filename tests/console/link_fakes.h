// Stand-ins for what the connection link reaches outside itself, for its
// native tests: a client library whose exports are plain functions over one
// scripted state (the exports are C functions, so the state is per program;
// Reset() between tests), a console sink that records what reached the
// windows, a poster, a user interface and a settings document.
#pragma once

#include "link_interfaces.h"

#include <tinyxml.h>

#include <condition_variable>
#include <functional>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

class FakeClientLibrary : public IClientLibrary {
public:
    // What fnSendString answers for a request: a text, or nothing (null reply).
    using Responder = std::function<bool(const std::string& request, std::string& reply)>;

    FakeClientLibrary();
    ~FakeClientLibrary() override;

    bool Loaded() const override { return loaded; }
    void* Export(const char* name) override;

    // Delivers a text through the callback given to fnConnect (before any
    // connect, the link's OnAsyncResponse), as the
    // library's thread does.
    void Notify(const std::string& text, int id);

    bool loaded = true;
    std::set<std::string> missing;  // exports that are not there
    int connect_result = 0;         // next id (incremented), or a negative failure
    Responder respond;              // default: no reply

    // Recorded (guarded by m for the threads that call the exports).
    std::mutex m;
    std::map<std::string, int> lookups;
    std::vector<std::string> sync_requests;
    std::vector<std::string> async_requests;
    std::vector<int> disconnected;
    int frees = 0;
    int live_replies = 0;  // replies handed out and not yet freed

    static FakeClientLibrary* current;
};

class RecordingSink : public IConsoleSink {
public:
    bool HasMainFrame() const override { return main_frame; }
    void PostLogLine(const std::string& text, bool alert) override;
    void OpenReport(int kind, const std::string& name) override;
    void BroadcastDisconnect(int id) override;
    void OnItemChanged(long uid, long parent, int id) override;
    void OnBranchRemoved(long uid, long parent, int id) override;
    std::string OnSnmpOutput(long uid, const TiXmlElement& output, int id) override;

    std::vector<std::string> Calls();
    bool main_frame = true;
    std::function<void(const std::string& call)> on_call;  // runs inside each call
    std::thread::id gui_thread = std::this_thread::get_id();
    bool off_gui_thread = false;  // set when a call came on another thread

private:
    void Record(const std::string& call);
    std::mutex m_;
    std::vector<std::string> calls_;
};

class CountingPoster : public IGuiPoster {
public:
    bool PostDispatch() override;
    int Posts();
    // Waits until at least `count` posts were made.
    bool WaitPosts(int count, int seconds = 30);
    bool fail = false;

private:
    std::mutex m_;
    std::condition_variable cv_;
    int posts_ = 0;
};

class FakeUserInterface : public IUserInterface {
public:
    void BeginWaitCursor() override { ++wait_cursors; }
    void EndWaitCursor() override { --wait_cursors; }
    int ShowMessageBox(const std::string& text, unsigned style) override
    {
        boxes.push_back(text + "|" + std::to_string(style));
        return 1;
    }
    int wait_cursors = 0;
    std::vector<std::string> boxes;
};

class SettingsDocument : public ISettingsDocument {
public:
    SettingsDocument() { document.InsertEndChild(TiXmlElement("Settings")); }
    TiXmlElement* XmlSettingsRoot() override { return document.RootElement(); }
    TiXmlDocument document;
};

// Everything a link needs, fresh for each test.
struct LinkWorld {
    FakeClientLibrary library;
    RecordingSink console;
    CountingPoster poster;
    FakeUserInterface ui;
    SettingsDocument settings;
    LinkServices services{library, console, ui, poster, settings};
};
