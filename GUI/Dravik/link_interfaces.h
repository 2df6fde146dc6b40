// What the console's server link reaches outside itself, as small interfaces,
// so that the link runs and is tested without windows: the client library,
// the console's windows and data set (the sink of dispatched replies), the
// user interface services it needs while it waits, the poster that wakes the
// GUI thread, and the console settings document. The console gives the link
// one object of each; they must outlive it. Each interface says which threads
// may call it.
#pragma once

#include <string>

class TiXmlElement;

// The loaded client library "TrvClient" (its exports are those of
// GUI/TrvClient/trv_client.h). Called from any thread.
class IClientLibrary {
public:
    virtual ~IClientLibrary() = default;
    // False when the library could not be loaded.
    virtual bool Loaded() const = 0;
    // The export of that name, looked up now, never remembered; null when
    // the library lacks it.
    virtual void* Export(const char* name) = 0;
};

// The console's windows and data set as the dispatch of replies and
// notifications reaches them. HasMainFrame may be called from any thread;
// every other operation is called on the GUI thread only.
class IConsoleSink {
public:
    virtual ~IConsoleSink() = default;
    // True while the application's main frame exists.
    virtual bool HasMainFrame() const = 0;
    // The main frame's log pane: one line, an alert when `alert` is set.
    virtual void PostLogLine(const std::string& text, bool alert) = 0;
    // A report that a server pushed: kind 10 a summary report, 12 a comparison.
    virtual void OpenReport(int kind, const std::string& name) = 0;
    // Tells the open dialogs that the connection went away.
    virtual void BroadcastDisconnect(int id) = 0;
    // The data set's GUI hook. uid and parent -1 in OnBranchRemoved mean that
    // the whole server went away.
    virtual void OnItemChanged(long uid, long parent, int id) = 0;
    virtual void OnBranchRemoved(long uid, long parent, int id) = 0;
    // Writes a device's SNMP output; returns a line for the log pane.
    virtual std::string OnSnmpOutput(long uid, const TiXmlElement& output, int id) = 0;
};

// Services of the user interface. GUI thread only.
class IUserInterface {
public:
    virtual ~IUserInterface() = default;
    virtual void BeginWaitCursor() = 0;
    virtual void EndWaitCursor() = 0;
    // The console's message box; `style` as MessageBox's (16: error icon).
    // Returns the button pressed.
    virtual int ShowMessageBox(const std::string& text, unsigned style) = 0;
};

// Wakes the GUI thread, which then calls CConnectionLink::DispatchPending.
// The real one posts a window message to the main frame. Any thread.
class IGuiPoster {
public:
    virtual ~IGuiPoster() = default;
    // False when nothing could be posted (no window, full queue).
    virtual bool PostDispatch() = 0;
};

// The console settings document. GUI thread only.
class ISettingsDocument {
public:
    virtual ~ISettingsDocument() = default;
    // The root element under which every section lives; null when there is
    // no document.
    virtual TiXmlElement* XmlSettingsRoot() = 0;
};

struct LinkServices {
    IClientLibrary& library;
    IConsoleSink& console;
    IUserInterface& ui;
    IGuiPoster& poster;
    ISettingsDocument& settings;
};
