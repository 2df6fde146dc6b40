// The console's link under Wine with TrvClient.dll against the scripted
// server: a server that never answers holds the GUI thread no longer than
// the library's reply time-out, and one that sends what is no frame ends the
// connection with one DISCONNECT through the posted wake-up.
#include "link_harness.h"
#include "scripted_server.h"

#include "frame_codec.h"
#include "wtest.h"

#include <tinyxml.h>

#include <chrono>
#include <cstdlib>

namespace {

LinkHarness& World()
{
    static LinkHarness* harness = new LinkHarness;
    return *harness;
}

// Answers LOGIN with a session and its log line; everything else as `other`.
ScriptedServer::Script LoginThen(std::function<void(ScriptedServer&, const ScriptedServer::Request&)> other)
{
    return [other](ScriptedServer& s, const ScriptedServer::Request& r) {
        if (r.name == "LOGIN") {
            s.SendFrame(r.connection, "<SESSION uid=\"8\"/>");
            s.SendFrame(r.connection, "<LOG text=\"Connected to server: scripted\"/>");
        } else if (other) {
            other(s, r);
        }
    };
}

}  // namespace

WTEST(AServerThatNeverAnswersHoldsTheGuiThreadOnlyForTheTimeOut)
{
    _putenv_s("TRVCLIENT_REPLY_TIMEOUT_MS", "500");
    LinkHarness& w = World();
    ScriptedServer server(LoginThen(nullptr));
    const int id = w.link().Connect("127.0.0.1", server.port(), "a", "b");
    WCHECK(id >= 0);
    const auto start = std::chrono::steady_clock::now();
    std::unique_ptr<TiXmlElement> reply = w.link().GetTable(3, id);
    WCHECK(std::chrono::steady_clock::now() - start >= std::chrono::milliseconds(500));
    WCHECK_EQ(reply->ValueStr(), std::string("TIMEOUT"));
    WCHECK(CConnectionLink::IsFailureResponse(reply.get()));
    // The server held the connection open and silent all along.
    WCHECK(!server.WaitPeerClosed(0, 0));
    WCHECK(w.WaitCall("log Synchronization client-server error occurred: the request was timed out"));
    WCHECK_EQ(w.ui.wait_cursors, 0);
    w.link().Disconnect(id);
    WCHECK(server.WaitPeerClosed(0));
}

WTEST(ALogInThatIsNeverAnsweredIsRefusedAndClosed)
{
    _putenv_s("TRVCLIENT_REPLY_TIMEOUT_MS", "500");
    LinkHarness& w = World();
    ScriptedServer server;
    WCHECK_EQ(w.link().Connect("127.0.0.1", server.port(), "a", "b"), -1004);
    WCHECK(server.WaitPeerClosed(0));
}

WTEST(WhatIsNoFrameIsOneDisconnectForTheWindows)
{
    _putenv_s("TRVCLIENT_REPLY_TIMEOUT_MS", "30000");
    LinkHarness& w = World();
    for (const char* bad : {"12x ", "999999999 "}) {
        ScriptedServer server(LoginThen([bad](ScriptedServer& s, const ScriptedServer::Request& r) {
            s.SendFrame(r.connection, "<TREEITEM uid=\"5\" parent=\"-1\" synch=\"" + r.synch + "\"/>");
            s.SendRaw(r.connection, bad);
        }));
        const int id = w.link().Connect("127.0.0.1", server.port(), "a", "b");
        WCHECK(id >= 0);
        std::unique_ptr<TiXmlElement> item = w.link().GetTreeElement(5, id);
        WCHECK_EQ(item->ValueStr(), std::string("TREEITEM"));
        const std::string disconnect = "disconnect " + std::to_string(id);
        WCHECK(w.WaitCall(disconnect));
        WCHECK(w.WaitCall("removed -1 -1 " + std::to_string(id)));
        WCHECK_EQ(w.link().CachedTreeText(id), std::string());
        WCHECK_EQ(w.link().GetTreeElement(5, id)->ValueStr(), std::string("DISCONNECTED"));
        w.PumpUntil([] { return false; }, 1);
        WCHECK_EQ(w.CountCalls(disconnect), 1);
        w.link().Disconnect(id);
    }
}
