// The client library's contract (GUI/TrvClient/trv_client.h) against the
// scripted server: one set of cases compiled twice, natively with GoogleTest
// on the statically linked exports (also under the sanitizers), and for
// Windows with the small wtest framework on TrvClient.dll loaded by name
// under Wine. The including file defines CLIENT_CASE(name), CHECK(cond),
// CHECK_EQ(a, b), SetTestEnv(name, value) and `const TrvApi& Api()`.
#pragma once

#include "client_deliveries.h"
#include "frame_codec.h"
#include "scripted_server.h"
#include "trv_client.h"

#include <chrono>
#include <memory>
#include <random>
#include <string>

struct TrvApi {
    TrvConnectFn connect;
    TrvSendStringFn send;
    TrvFreeMemFn free;
    TrvSendAsynchStringFn post;
    TrvDisconnectFn disconnect;
};
const TrvApi& Api();
void SetTestEnv(const char* name, const char* value);

namespace client_cases {

using Clock = std::chrono::steady_clock;

struct SyncResult {
    int result;
    bool null;
    std::string text;
};

inline SyncResult Sync(int id, const std::string& request)
{
    char* reply = nullptr;
    SyncResult r;
    r.result = Api().send(id, request.c_str(), &reply);
    r.null = reply == nullptr;
    if (reply) {
        r.text = reply;
        Api().free(&reply);
    }
    return r;
}

// Connects with the given reply time-out; the deliveries are reset first.
inline int Connect(const ScriptedServer& server, int reply_timeout_ms = 30000)
{
    SetTestEnv("TRVCLIENT_REPLY_TIMEOUT_MS", std::to_string(reply_timeout_ms).c_str());
    return Api().connect(&ClientDeliveries::Callback, "127.0.0.1", server.port());
}

inline ClientDeliveries& Seen()
{
    return ClientDeliveries::Get();
}

// Answers every request whose name is not in `silent` with "<NAME_R synch=S/>".
inline ScriptedServer::Script Echo()
{
    return [](ScriptedServer& s, const ScriptedServer::Request& r) {
        s.SendFrame(r.connection, ScriptedServer::Answer(r, r.name + "_R"));
    };
}

}  // namespace client_cases

CLIENT_CASE(ConnectFailuresAreNegativeCodesOfTheLibrary)
{
    using namespace client_cases;
    Seen().Reset();
    CHECK_EQ(Api().connect(&ClientDeliveries::Callback, nullptr, 5432), -1);
    CHECK_EQ(Api().connect(&ClientDeliveries::Callback, "", 5432), -1);
    CHECK_EQ(Api().connect(&ClientDeliveries::Callback, "127.0.0.1", 0), -1);
    CHECK_EQ(Api().connect(&ClientDeliveries::Callback, "127.0.0.1", 70000), -1);
    int closed_port;
    {
        ScriptedServer gone;
        closed_port = gone.port();
    }
    CHECK_EQ(Api().connect(&ClientDeliveries::Callback, "127.0.0.1", closed_port), -2);
}

CLIENT_CASE(ConnectGivesUpAfterItsTimeOut)
{
    using namespace client_cases;
    // A listener that never accepts: once its queue is full, further
    // connection attempts get no answer at all.
    Server_socket silent("127.0.0.1", "0");
    const std::string port = std::to_string(silent.getPort());
    std::vector<std::unique_ptr<Client_socket>> queued;
    bool full = false;
    for (int i = 0; i < 256 && !full; ++i) {
        auto c = std::make_unique<Client_socket>(false);
        try {
            c->open("127.0.0.1", port, 500);
            queued.push_back(std::move(c));
        } catch (const std::exception&) {
            full = c->isTimeOut();
        }
    }
    CHECK(full);
    SetTestEnv("TRVCLIENT_CONNECT_TIMEOUT_MS", "300");
    const Clock::time_point start = Clock::now();
    CHECK_EQ(Api().connect(&ClientDeliveries::Callback, "127.0.0.1", silent.getPort()), -3);
    CHECK(Clock::now() - start >= std::chrono::milliseconds(300));
    SetTestEnv("TRVCLIENT_CONNECT_TIMEOUT_MS", "5000");
}

CLIENT_CASE(IdsAreNeverReused)
{
    using namespace client_cases;
    Seen().Reset();
    ScriptedServer server;
    const int a = Connect(server);
    CHECK(a >= 0);
    Api().disconnect(a);
    const int b = Connect(server);
    const int c = Connect(server);
    CHECK(b > a);
    CHECK(c > b);
    Api().disconnect(b);
    Api().disconnect(c);
}

CLIENT_CASE(EveryRequestCarriesASynchUniqueAcrossConnections)
{
    using namespace client_cases;
    Seen().Reset();
    ScriptedServer server(Echo());
    const int a = Connect(server);
    const int b = Connect(server);
    CHECK_EQ(Sync(a, "<GETTREESIBLING root=\"-1\"/>").result, 0);
    CHECK_EQ(Api().post(b, "<SCAN uid=\"4\"/>"), 0);
    CHECK_EQ(Sync(b, "<GETTREEELEMENT synch=\"7\" uid=\"3\"/>").result, 0);
    CHECK_EQ(Api().post(a, "  <CANCELSCAN uid='4' />"), 0);
    CHECK(server.WaitRequests(4));
    std::vector<std::string> seen;
    for (const ScriptedServer::Request& r : server.Requests()) {
        CHECK(!r.synch.empty());
        CHECK(r.synch != "7");  // the library's own synch replaces one already there
        CHECK(std::stol(r.synch) > 0);
        for (const std::string& other : seen)
            CHECK(other != r.synch);
        seen.push_back(r.synch);
    }
    CHECK(server.Requests()[2].xml.find("uid=\"3\"") != std::string::npos);
    // An element-less request is refused, not sent.
    CHECK(Sync(a, "no element here").null);
    CHECK_EQ(Api().post(a, ""), -1);
    Api().disconnect(a);
    Api().disconnect(b);
}

CLIENT_CASE(SessionIsTheLoginReplyAndItsLogComesThroughTheCallback)
{
    using namespace client_cases;
    Seen().Reset();
    ScriptedServer server([](ScriptedServer& s, const ScriptedServer::Request& r) {
        if (r.name == "LOGIN") {
            s.SendFrame(r.connection, "<SESSION uid=\"41\"/>");
            s.SendFrame(r.connection, "<LOG text=\"Connected to server: here\"/>");
        }
    });
    const int id = Connect(server);
    const SyncResult login = Sync(id, "<LOGIN login=\"a\" password=\"b\" ConID=\"\" Type=\"Console\" HostId=\"\"/>");
    CHECK_EQ(login.result, 0);
    CHECK_EQ(login.text, std::string("<SESSION uid=\"41\"/>"));
    CHECK(Seen().WaitFor(id, "Connected to server"));
    CHECK_EQ(Seen().Count(id), 1u);
    Api().disconnect(id);
}

CLIENT_CASE(ARefusedLoginIsAnsweredByItsError)
{
    using namespace client_cases;
    Seen().Reset();
    ScriptedServer server([](ScriptedServer& s, const ScriptedServer::Request& r) {
        s.SendFrame(r.connection, ScriptedServer::Answer(r, "ERROR", "type=\"4\" message=\"Connection already autorized!\""));
    });
    const int id = Connect(server);
    const SyncResult login = Sync(id, "<LOGIN login=\"a\"/>");
    CHECK_EQ(login.result, 0);
    CHECK(login.text.find("<ERROR") == 0);
    CHECK_EQ(Seen().Count(id), 0u);
    Api().disconnect(id);
}

CLIENT_CASE(AReplyThatCompletesACallIsNotAlsoACallback)
{
    using namespace client_cases;
    Seen().Reset();
    // A notification of another request first, then the reply, then another.
    ScriptedServer server([](ScriptedServer& s, const ScriptedServer::Request& r) {
        s.SendFrame(r.connection, "<TREEITEM uid=\"9\" parent=\"-1\" synch=\"1\"/>");
        s.SendFrame(r.connection, ScriptedServer::Answer(r, "TREEITEM", "uid=\"3\" parent=\"-1\""));
        s.SendFrame(r.connection, "<LOG text=\"after\"/>");
    });
    const int id = Connect(server);
    const SyncResult reply = Sync(id, "<GETTREEELEMENT uid=\"3\"/>");
    CHECK_EQ(reply.result, 0);
    CHECK(reply.text.find("uid=\"3\"") != std::string::npos);
    CHECK(Seen().WaitFor(id, "after"));
    const std::vector<std::string> texts = Seen().Texts(id);
    CHECK_EQ(texts.size(), 2u);
    if (texts.size() == 2) {
        CHECK(texts[0].find("uid=\"9\"") != std::string::npos);
        CHECK(texts[1].find("after") != std::string::npos);
    }
    Api().disconnect(id);
}

CLIENT_CASE(ABroadcastWithTheRequestersSynchReachesTheOtherConnectionsCallback)
{
    using namespace client_cases;
    Seen().Reset();
    // The server answers ADDTREEITEM only by a broadcast to every console.
    ScriptedServer server([](ScriptedServer& s, const ScriptedServer::Request& r) {
        if (r.name != "ADDTREEITEM")
            return;
        const std::string item = ScriptedServer::Answer(r, "TREEITEM", "uid=\"100\" parent=\"-1\" trvid=\"77\"");
        s.SendFrame(0, item);
        s.SendFrame(1, item);
    });
    const int a = Connect(server);
    CHECK(server.WaitConnections(1));
    const int b = Connect(server);
    CHECK(server.WaitConnections(2));
    const SyncResult added = Sync(b, "<ADDTREEITEM uid=\"77\" parent=\"-1\" name=\"F\" type=\"0\"/>");
    CHECK_EQ(added.result, 0);
    CHECK(added.text.find("uid=\"100\"") != std::string::npos);
    CHECK(Seen().WaitFor(a, "uid=\"100\""));
    CHECK_EQ(Seen().Count(b), 0u);
    Api().disconnect(a);
    Api().disconnect(b);
}

CLIENT_CASE(NoReplyWithinTheTimeOutIsTimeoutAndTheLateReplyIsACallback)
{
    using namespace client_cases;
    Seen().Reset();
    ScriptedServer server;  // reads, never answers
    const int id = Connect(server, 300);
    const Clock::time_point start = Clock::now();
    const SyncResult r = Sync(id, "<GETTABLE tabid=\"5\"/>");
    CHECK(Clock::now() - start >= std::chrono::milliseconds(300));
    CHECK_EQ(r.result, 1);
    CHECK_EQ(r.text, std::string("<TIMEOUT/>"));
    // The server still holds the connection, silent: the call ended by its
    // own time-out, not by anything the server did.
    CHECK(server.WaitRequests(1));
    CHECK(server.SendFrame(0, ScriptedServer::Answer(server.Requests()[0], "TABLE")));
    CHECK(Seen().WaitFor(id, "<TABLE"));
    Api().disconnect(id);
}

CLIENT_CASE(FramesSplitAnywhereOrMergedArriveWhole)
{
    using namespace client_cases;
    Seen().Reset();
    std::string big = "<TREESIBLINGS synch=\"SYN\">";
    for (int i = 0; i < 300; ++i)
        big += "<TREEITEM uid=\"" + std::to_string(i) + "\" parent=\"5\" name=\"item " + std::to_string(i * 7919) + "\"/>";
    big += "</TREESIBLINGS>";
    ScriptedServer server([big](ScriptedServer& s, const ScriptedServer::Request& r) {
        std::string reply = big;
        reply.replace(reply.find("SYN"), 3, r.synch);
        const std::string frames = trvclient::EncodeFrame("<LOG text=\"one\"/>") + trvclient::EncodeFrame(reply) +
                                   trvclient::EncodeFrame("<LOG text=\"two\"/>");
        if (r.name == "BYTES")
            s.SendInPieces(r.connection, frames, 1);
        else
            s.SendRaw(r.connection, frames);
    });
    const int id = Connect(server);
    for (const char* request : {"<BYTES/>", "<MERGED/>"}) {
        const SyncResult r = Sync(id, request);
        CHECK_EQ(r.result, 0);
        CHECK(r.text.find("name=\"item 2367781\"") != std::string::npos);
        CHECK(r.text.find("</TREESIBLINGS>") != std::string::npos);
    }
    CHECK(Seen().WaitCount(id, 4));
    const std::vector<std::string> texts = Seen().Texts(id);
    CHECK_EQ(texts.size(), 4u);
    Api().disconnect(id);
}

CLIENT_CASE(WhatIsNoFrameEndsTheConnectionWithOneDisconnect)
{
    using namespace client_cases;
    const char* const bad[] = {
        "abc 5 hello",          // no length
        " 5 hello",             // a blank first
        "12x34 hello",          // not digits up to the blank
        "999999999 ",           // a length above the limit
        "12345678901",          // more digits than any length has
    };
    for (const char* bytes : bad) {
        Seen().Reset();
        ScriptedServer server([bytes](ScriptedServer& s, const ScriptedServer::Request& r) {
            s.SendRaw(r.connection, bytes);
        });
        const int id = Connect(server);
        const SyncResult r = Sync(id, "<GETTREEELEMENT uid=\"1\"/>");
        CHECK(r.null);
        CHECK_EQ(r.result, -1);
        CHECK(Seen().WaitFor(id, "<DISCONNECT/>"));
        CHECK(server.WaitPeerClosed(0));
        CHECK_EQ(Seen().Count(id), 1u);
        CHECK(Sync(id, "<GETTREEELEMENT uid=\"1\"/>").null);
        CHECK_EQ(Api().post(id, "<SCAN uid=\"1\"/>"), -1);
        Api().disconnect(id);
    }
    // A zero byte is never part of a frame.
    Seen().Reset();
    ScriptedServer server([](ScriptedServer& s, const ScriptedServer::Request& r) {
        s.SendRaw(r.connection, std::string("3 a\0b", 5));
    });
    const int id = Connect(server);
    CHECK(Sync(id, "<PING/>").null);
    CHECK(Seen().WaitFor(id, "<DISCONNECT/>"));
    Api().disconnect(id);
}

CLIENT_CASE(AFrameThatCannotBeDecodedIsDroppedAndTheConnectionGoesOn)
{
    using namespace client_cases;
    Seen().Reset();
    ScriptedServer server([](ScriptedServer& s, const ScriptedServer::Request& r) {
        if (r.name == "FIRST") {
            s.SendRaw(r.connection, "14         99xyzw");   // a damaged stream
            s.SendRaw(r.connection, "3 abc");                // shorter than the length field
            s.SendFrame(r.connection, "no element");          // text that is no element
        }
        s.SendFrame(r.connection, ScriptedServer::Answer(r, "DONE"));
    });
    const int id = Connect(server);
    CHECK_EQ(Sync(id, "<FIRST/>").result, 0);
    CHECK_EQ(Sync(id, "<SECOND/>").result, 0);
    CHECK_EQ(Seen().Count(id), 0u);
    Api().disconnect(id);
}

CLIENT_CASE(AServerThatClosesIsOneDisconnectAfterEverythingBeforeIt)
{
    using namespace client_cases;
    Seen().Reset();
    ScriptedServer server([](ScriptedServer& s, const ScriptedServer::Request& r) {
        s.SendFrame(r.connection, "<LOG text=\"last words\"/>");
        s.Close(r.connection);
    });
    const int id = Connect(server);
    CHECK(Sync(id, "<GETTREEELEMENT uid=\"1\"/>").null);
    CHECK(Seen().WaitFor(id, "<DISCONNECT/>"));
    const std::vector<std::string> texts = Seen().Texts(id);
    CHECK_EQ(texts.size(), 2u);
    if (texts.size() == 2) {
        CHECK(texts[0].find("last words") != std::string::npos);
        CHECK_EQ(texts[1], std::string("<DISCONNECT/>"));
    }
    CHECK(Sync(id, "<GETTREEELEMENT uid=\"1\"/>").null);
    Api().disconnect(id);
    CHECK_EQ(Seen().Count(id), 2u);
}

CLIENT_CASE(ABlockedCallbackHoldsNeitherTheReaderNorASynchronousCall)
{
    using namespace client_cases;
    Seen().Reset();
    ScriptedServer server([](ScriptedServer& s, const ScriptedServer::Request& r) {
        if (r.name == "FLOOD") {
            std::string frames;
            for (int i = 0; i < 1000; ++i)
                frames += trvclient::EncodeFrame("<LOG text=\"line " + std::to_string(i) + "\"/>");
            s.SendRaw(r.connection, frames);
        }
        s.SendFrame(r.connection, ScriptedServer::Answer(r, "DONE"));
    });
    const int id = Connect(server);
    Seen().CloseGate();
    CHECK_EQ(Api().post(id, "<FLOOD/>"), 0);
    CHECK(Seen().WaitHeld());
    // The reply comes after 1000 notifications that the held callback has
    // not taken: the reader must have read past all of them.
    const SyncResult r = Sync(id, "<PING/>");
    CHECK_EQ(r.result, 0);
    CHECK(r.text.find("DONE") != std::string::npos);
    Seen().OpenGate();
    CHECK(Seen().WaitCount(id, 1001));
    const std::vector<std::string> texts = Seen().Texts(id);
    CHECK(texts.size() >= 1001 && texts[999].find("line 999") != std::string::npos);
    Api().disconnect(id);
}

CLIENT_CASE(NothingIsDeliveredAfterTheUsersDisconnect)
{
    using namespace client_cases;
    Seen().Reset();
    ScriptedServer server([](ScriptedServer& s, const ScriptedServer::Request& r) {
        for (int i = 0; i < 3; ++i)
            s.SendFrame(r.connection, "<LOG text=\"n" + std::to_string(i) + "\"/>");
        s.SendFrame(r.connection, ScriptedServer::Answer(r, "DONE"));
    });
    const int id = Connect(server);
    Seen().CloseGate();
    CHECK_EQ(Sync(id, "<GO/>").result, 0);  // n1 and n2 are queued behind the held n0
    CHECK(Seen().WaitHeld());
    // The callback is held, perhaps waiting on this very thread: disconnect
    // must not wait for it.
    Api().disconnect(id);
    CHECK(server.SendFrame(0, "<LOG text=\"after\"/>"));
    CHECK(server.WaitPeerClosed(0));
    Seen().OpenGate();
    CHECK(Seen().WaitCount(id, 1));
    CHECK(!Seen().WaitCount(id, 2, 1));
    CHECK(Seen().Texts(id)[0].find("n0") != std::string::npos);
}

CLIENT_CASE(AServerThatNeverReadsBlocksNoCaller)
{
    using namespace client_cases;
    Seen().Reset();
    ScriptedServer server(nullptr, false);
    const int id = Connect(server, 300);
    CHECK(server.WaitConnections(1));
    // Incompressible text, far more than the socket buffers hold.
    std::mt19937 random(7);
    std::string noise;
    for (int i = 0; i < 1024 * 1024; ++i)
        noise += static_cast<char>('a' + random() % 26);
    for (int i = 0; i < 24; ++i)
        CHECK_EQ(Api().post(id, ("<CHANGEITEM uid=\"1\" name=\"" + noise + "\"/>").c_str()), 0);
    const SyncResult r = Sync(id, "<GETTREEELEMENT uid=\"1\"/>");
    CHECK_EQ(r.result, 1);
    CHECK_EQ(r.text, std::string("<TIMEOUT/>"));
    Api().disconnect(id);
}

CLIENT_CASE(FramesLeaveInCallOrder)
{
    using namespace client_cases;
    Seen().Reset();
    ScriptedServer server([](ScriptedServer& s, const ScriptedServer::Request& r) {
        if (r.name.rfind("SYNC", 0) == 0)
            s.SendFrame(r.connection, ScriptedServer::Answer(r, "DONE"));
    });
    const int id = Connect(server);
    std::vector<std::string> order;
    for (int i = 0; i < 30; ++i) {
        const std::string name = (i % 3 == 2 ? "SYNC" : "ASYNC") + std::to_string(i);
        order.push_back(name);
        if (i % 3 == 2)
            CHECK_EQ(Sync(id, "<" + name + "/>").result, 0);
        else
            CHECK_EQ(Api().post(id, ("<" + name + "/>").c_str()), 0);
    }
    CHECK(server.WaitRequests(order.size()));
    const std::vector<ScriptedServer::Request> got = server.Requests();
    for (std::size_t i = 0; i < order.size() && i < got.size(); ++i)
        CHECK_EQ(got[i].name, order[i]);
    Api().disconnect(id);
}

CLIENT_CASE(UnknownIdsAndNullPointersAreHarmless)
{
    using namespace client_cases;
    char* reply = reinterpret_cast<char*>(&reply);  // not null on the way in
    CHECK_EQ(Api().send(123456, "<PING/>", &reply), -1);
    CHECK(reply == nullptr);
    CHECK_EQ(Api().send(123456, "<PING/>", nullptr), -1);
    CHECK_EQ(Api().post(123456, "<PING/>"), -1);
    Api().disconnect(123456);
    Api().free(nullptr);
    char* none = nullptr;
    Api().free(&none);
    CHECK(none == nullptr);
}
