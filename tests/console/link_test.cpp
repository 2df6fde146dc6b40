// The console's connection link over a scripted client library: the exact
// request texts, connecting and logging in, the synchronous send, the
// dispatch of replies to the GUI thread, and the cache's lock between the
// GUI thread and the library's threads.
#include "connection_link.h"
#include "link_fakes.h"

#include <gtest/gtest.h>
#include <tinyxml.h>

#include <atomic>
#include <chrono>
#include <thread>

namespace {

bool Contains(const std::vector<std::string>& calls, const std::string& call)
{
    for (const std::string& c : calls)
        if (c == call)
            return true;
    return false;
}

// Answers LOGIN with a session and every other request with `reply`.
FakeClientLibrary::Responder Answering(const std::string& reply)
{
    return [reply](const std::string& request, std::string& out) {
        out = request.rfind("<LOGIN", 0) == 0 ? "<SESSION uid=\"5\"/>" : reply;
        return true;
    };
}

}  // namespace

TEST(ConnectionLink, RequestsHaveTheirExactTexts)
{
    LinkWorld w;
    w.library.respond = Answering("<OK/>");
    CConnectionLink link(w.services);

    link.GetTable(12, 0);
    link.GetReportTree(0);
    link.StartSearch("router*", true, 0);
    link.StartSearch("10 . 0 . * . *", false, 0);
    link.GetServerInfo(0);
    link.GetTreeSibling(-1, 0);  // no cached tree: asks the server
    link.GetTreeElement(7, 0);
    TiXmlElement item("TREEITEM");
    item.SetAttribute("uid", 3);
    item.SetAttribute("name", "a \"b\" & c");
    item.InsertEndChild(TiXmlElement("IP"));
    link.AddTreeItem(item, 0);
    EXPECT_EQ(w.library.sync_requests,
              (std::vector<std::string>{"<GETTABLE tabid=\"12\"/>", "<GET_REPORTTREE/>", "<START_SEARCH text='router*'/>",
                                        "<START_SEARCH ip='10 . 0 . * . *'/>", "<GETSERVERINFO/>",
                                        "<GETTREESIBLING root=\"-1\"/>", "<GETTREEELEMENT uid=\"7\"/>",
                                        "<ADDTREEITEM uid=\"3\" name='a &quot;b&quot; &amp; c'><IP /></ADDTREEITEM>"}));
    EXPECT_EQ(item.ValueStr(), "TREEITEM");  // the caller's element is left as it was

    link.CreateReport(4, -1, 0);
    link.Compare(10, 11, 0);
    EXPECT_EQ(link.RemoveBranch(5, 0), 1);
    EXPECT_EQ(link.Scan(6, 0), 0);
    EXPECT_EQ(link.CancelScan(6, 0), 0);
    EXPECT_EQ(link.GetSnmpOutput(8, 0), 0);
    EXPECT_EQ(link.ChangeItem(item, 0), 1);
    TiXmlElement info("SERVERINFO");
    info.SetAttribute("version", "1");
    link.SetServerInfo(info, 0);
    EXPECT_EQ(w.library.async_requests,
              (std::vector<std::string>{"<CREATE_REPORT type=\"4\" root=\"-1\"/>", "<COMPARE uid1=\"10\" uid2=\"11\"/>",
                                        "<REMOVEBRANCH uid=\"5\"/>", "<SCAN uid=\"6\"/>", "<CANCELSCAN uid=\"6\"/>",
                                        "<GET_SNMP_OUTPUT uid=\"8\"/>",
                                        "<CHANGEITEM uid=\"3\" name='a &quot;b&quot; &amp; c'><IP /></CHANGEITEM>",
                                        "<SETSERVERINFO version=\"1\" />"}));
    EXPECT_EQ(w.library.live_replies, 0);  // every reply was released
}

TEST(ConnectionLink, QuotesInLoginPasswordAndSearchTextAreEscaped)
{
    LinkWorld w;
    w.library.respond = Answering("<END_SEARCH/>");
    CConnectionLink link(w.services);
    EXPECT_EQ(link.Connect("srv", 5432, "ad\"min", "p'a\"ss<&>"), 0);
    link.StartSearch("o'brien", true, 0);
    ASSERT_EQ(w.library.sync_requests.size(), 2u);
    EXPECT_EQ(w.library.sync_requests[0],
              "<LOGIN login=\"ad&quot;min\" password=\"p&apos;a&quot;ss&lt;&amp;&gt;\" ConID=\"\" Type=\"Console\" "
              "HostId=\"\"/>");
    EXPECT_EQ(w.library.sync_requests[1], "<START_SEARCH text='o&apos;brien'/>");
    // What the server's parser reads back is the text as typed.
    TiXmlDocument login;
    login.Parse(w.library.sync_requests[0].c_str());
    ASSERT_NE(login.RootElement(), nullptr);
    EXPECT_STREQ(login.RootElement()->Attribute("password"), "p'a\"ss<&>");
    TiXmlDocument search;
    search.Parse(w.library.sync_requests[1].c_str());
    ASSERT_NE(search.RootElement(), nullptr);
    EXPECT_STREQ(search.RootElement()->Attribute("text"), "o'brien");
}

TEST(ConnectionLink, ConnectAnswersTheSpecifiedCodes)
{
    {
        LinkWorld w;
        w.library.loaded = false;
        CConnectionLink link(w.services);
        EXPECT_EQ(link.Connect("srv", 1, "a", "b"), -1001);
        EXPECT_EQ(link.SendSyncRequest("<GETTABLE tabid=\"1\"/>", 0, 1), "<DISCONNECTED/>");
        EXPECT_EQ(link.Disconnect(0), -1);
    }
    {
        LinkWorld w;
        w.library.missing = {"fnConnect"};
        CConnectionLink link(w.services);
        EXPECT_EQ(link.Connect("srv", 1, "a", "b"), -1002);
    }
    {
        LinkWorld w;
        w.library.connect_result = -3;
        CConnectionLink link(w.services);
        EXPECT_EQ(link.Connect("srv", 1, "a", "b"), -3);
        EXPECT_TRUE(w.library.sync_requests.empty());
    }
    // Refused: an ERROR (anywhere in the text) or a time-out closes the
    // connection again and shows the reply as a log line.
    for (const char* refusal : {"<ERROR type=\"4\" message=\"Connection already autorized!\"/>",
                                "<SESSION uid=\"1\" note=\"ERROR\"/>", "<TIMEOUT/>"}) {
        LinkWorld w;
        w.library.connect_result = 4;
        w.library.respond = [refusal](const std::string&, std::string& out) {
            out = refusal;
            return true;
        };
        CConnectionLink link(w.services);
        EXPECT_EQ(link.Connect("srv", 1, "a", "b"), -1004) << refusal;
        EXPECT_EQ(w.library.disconnected, std::vector<int>{4});
        link.DispatchPending();
        EXPECT_TRUE(Contains(w.console.Calls(), "log Server was disconnected"));
    }
    {
        LinkWorld w;
        w.library.connect_result = 4;
        CConnectionLink link(w.services);
        EXPECT_EQ(link.Connect("srv", 1, "a", "b"), -5);
        // The library's connection is closed as well, not left behind.
        EXPECT_EQ(w.library.disconnected, std::vector<int>{4});
        link.DispatchPending();
        EXPECT_EQ(w.console.Calls(), std::vector<std::string>{"log Server terminated connection abnormally"});
    }
    {
        LinkWorld w;
        w.library.connect_result = 7;
        w.library.respond = Answering("");
        CConnectionLink link(w.services);
        EXPECT_EQ(link.Connect("srv", 1, "a", "b"), 7);
        EXPECT_EQ(link.Connect("srv", 1, "a", "b"), 8);
        EXPECT_TRUE(w.library.disconnected.empty());
    }
}

TEST(ConnectionLink, TheSynchronousSendLooksUpEachExportAndReleasesEachReply)
{
    LinkWorld w;
    int calls = 0;
    w.library.respond = [&](const std::string&, std::string& out) {
        ++calls;
        if (calls == 1)
            out = "<TABLE tabid=\"1\"/>";
        else if (calls == 2)
            out = "<TIMEOUT/>";
        else
            return false;  // no reply at all
        return true;
    };
    CConnectionLink link(w.services);
    EXPECT_EQ(link.SendSyncRequest("<GETTABLE tabid=\"1\"/>", 0, 1), "<TABLE tabid=\"1\"/>");
    EXPECT_EQ(link.SendSyncRequest("<GETTABLE tabid=\"1\"/>", 0, 1), "<TIMEOUT/>");
    EXPECT_EQ(link.SendSyncRequest("<GETTABLE tabid=\"1\"/>", 0, 1), "<DISCONNECTED/>");
    EXPECT_EQ(w.library.lookups["fnSendString"], 3);
    EXPECT_EQ(w.library.frees, 2);
    EXPECT_EQ(w.library.live_replies, 0);
    EXPECT_EQ(w.ui.wait_cursors, 0);
    link.DispatchPending();
    EXPECT_EQ(w.console.Calls(), std::vector<std::string>{
                                     "log Synchronization client-server error occurred: the request was timed out"});
    w.library.missing = {"fnSendString"};
    EXPECT_EQ(link.SendSyncRequest("<GETTABLE tabid=\"1\"/>", 0, 1), "<DISCONNECTED/>");
    std::unique_ptr<TiXmlElement> reply = link.GetTable(1, 0);
    ASSERT_NE(reply, nullptr);
    EXPECT_EQ(reply->ValueStr(), "DISCONNECTED");
    EXPECT_TRUE(CConnectionLink::IsFailureResponse(reply.get()));
}

TEST(ConnectionLink, ARequestThatTheCacheCanAnswerCausesNoTraffic)
{
    LinkWorld w;
    w.library.respond = Answering(
        "<TREESIBLINGS root=\"-1\" synch=\"3\"><TREEITEM uid=\"1\" parent=\"-1\" name=\"F\"/>"
        "<TREEITEM uid=\"2\" parent=\"-1\" name=\"G\"/></TREESIBLINGS>");
    CConnectionLink link(w.services);
    std::unique_ptr<TiXmlElement> first = link.GetTreeSibling(-1, 0);
    std::unique_ptr<TiXmlElement> again = link.GetTreeSibling(-1, 0);
    std::unique_ptr<TiXmlElement> element = link.GetTreeElement(2, 0);
    EXPECT_EQ(w.library.sync_requests.size(), 1u);
    EXPECT_EQ(w.library.lookups["fnSendString"], 1);
    EXPECT_EQ(PrintElement(*again),
              "<TREESIBLINGS><TREEITEM uid=\"1\" parent=\"-1\" name=\"F\" /><TREEITEM uid=\"2\" parent=\"-1\" name=\"G\" "
              "/></TREESIBLINGS>");
    EXPECT_STREQ(element->Attribute("name"), "G");
    // Another connection has a cache of its own.
    link.GetTreeSibling(-1, 1);
    EXPECT_EQ(w.library.sync_requests.size(), 2u);
    // A disconnect empties the connection's cache.
    link.Disconnect(0);
    link.GetTreeElement(2, 0);
    EXPECT_EQ(w.library.sync_requests.size(), 3u);
}

TEST(ConnectionLink, IsFailureResponseReadsTheRootName)
{
    const struct {
        const char* name;
        bool failed;
    } cases[] = {{"ERROR", true},         {"DISCONNECTED", true}, {"TIMEOUT", true}, {"UPDATING_CASHE", true},
                 {"MYERRORS", true},      {"TREEITEM", false},    {"SESSION", false}, {"error", false}};
    for (const auto& c : cases) {
        TiXmlElement e(c.name);
        EXPECT_EQ(CConnectionLink::IsFailureResponse(&e), c.failed) << c.name;
    }
    EXPECT_TRUE(CConnectionLink::IsFailureResponse(nullptr));
}

TEST(ConnectionLink, NotificationsReachTheWindowsOnlyOnTheGuiThreadInArrivalOrder)
{
    LinkWorld w;
    CConnectionLink link(w.services);
    const char* const texts[] = {
        "<LOG text=\"plain\"/>",
        "<LOG text=\"zero\" alert=\"0\"/>",
        "<LOG text=\"loud\" alert=\"1\"/>",
        "<ERROR type=\"8\" message=\"Can not find element with id=3\" alert=\"1\"/>",
        "<TREEITEM uid=\"10\" parent=\"-1\" name=\"F\"/>",
        "<REMOVEBRANCH uid=\"10\" parent=\"-1\"/>",
        "<SNMP_OUTPUT uid=\"33\"><LN d=\"a\"/><LN d=\"b\"/></SNMP_OUTPUT>",
        "<TABLE synch=\"1\" repid=\"4\" repname=\"Hosts\"/>",
        "<TABLE synch=\"1\" compid=\"1\"/>",
        "<TABLE synch=\"1\"/>",
        "<PONG synch=\"1\"/>",
        "<DISCONNECT/>",
    };
    std::thread library([&] {
        for (const char* t : texts)
            w.library.Notify(t, 2);
    });
    library.join();
    EXPECT_TRUE(w.console.Calls().empty());
    // One wake-up for the whole queue.
    EXPECT_EQ(w.poster.Posts(), 1);
    link.DispatchPending();
    EXPECT_FALSE(w.console.off_gui_thread);
    EXPECT_EQ(w.console.Calls(),
              (std::vector<std::string>{"log plain", "log zero", "log loud !", "log Can not find element with id=3 !",
                                        "item 10 -1 2", "removed 10 -1 2", "snmp 33 2 2", "log snmp output written",
                                        "report 10 Hosts", "report 12 ", "disconnect 2", "removed -1 -1 2"}));
    // The next notice wakes the GUI thread again.
    w.library.Notify("<LOG text=\"more\"/>", 2);
    EXPECT_EQ(w.poster.Posts(), 2);
}

TEST(ConnectionLink, AFailedWakeUpLosesNothing)
{
    LinkWorld w;
    CConnectionLink link(w.services);
    w.poster.fail = true;
    w.library.Notify("<LOG text=\"one\"/>", 0);
    w.poster.fail = false;
    w.library.Notify("<LOG text=\"two\"/>", 0);
    EXPECT_EQ(w.poster.Posts(), 2);
    link.DispatchPending();
    EXPECT_EQ(w.console.Calls(), (std::vector<std::string>{"log one", "log two"}));
}

TEST(ConnectionLink, WithoutAMainFrameRepliesAreCachedButReachNoWindow)
{
    LinkWorld w;
    w.console.main_frame = false;
    CConnectionLink link(w.services);
    w.library.Notify("<LOG text=\"x\"/>", 0);
    w.library.Notify("<TREEITEM uid=\"10\" parent=\"-1\"/>", 0);
    link.DispatchPending();
    EXPECT_TRUE(w.console.Calls().empty());
    EXPECT_EQ(w.poster.Posts(), 0);
    EXPECT_NE(link.CachedTreeText(0).find("uid=\"10\""), std::string::npos);
    // A frame gone between queueing and dispatch: dropped too.
    w.console.main_frame = true;
    w.library.Notify("<LOG text=\"y\"/>", 0);
    w.console.main_frame = false;
    link.DispatchPending();
    EXPECT_TRUE(w.console.Calls().empty());
}

TEST(ConnectionLink, ADisconnectClearsTheCacheBeforeTheWindowsHearOfIt)
{
    LinkWorld w;
    CConnectionLink link(w.services);
    w.library.Notify("<TREEITEM uid=\"10\" parent=\"-1\"/>", 3);
    ASSERT_FALSE(link.CachedTreeText(3).empty());
    std::string cache_when_told = "unset";
    w.console.on_call = [&](const std::string& call) {
        if (call == "disconnect 3")
            cache_when_told = link.CachedTreeText(3);
    };
    w.library.Notify("<DISCONNECT/>", 3);
    link.DispatchPending();
    EXPECT_EQ(cache_when_told, "");
}

TEST(ConnectionLink, ANotificationDuringASynchronousSendIsCachedAfterItsReply)
{
    LinkWorld w;
    std::mutex m;
    std::condition_variable cv;
    bool notified = false;
    std::thread library;
    // The reply holds the item as it was; the notification, arriving while
    // the send is under way, holds it as it is now. The send gives the
    // notification time to be cached first: a link that let it would leave
    // the old name in the cache. (A link that holds it back costs the wait.)
    w.library.respond = [&](const std::string&, std::string& out) {
        library = std::thread([&] {
            w.library.Notify("<TREEITEM uid=\"5\" parent=\"-1\" name=\"new\"/>", 0);
            std::lock_guard<std::mutex> lock(m);
            notified = true;
            cv.notify_all();
        });
        std::unique_lock<std::mutex> lock(m);
        cv.wait_for(lock, std::chrono::milliseconds(300), [&] { return notified; });
        out = "<TREESIBLINGS root=\"-1\"><TREEITEM uid=\"5\" parent=\"-1\" name=\"old\"/></TREESIBLINGS>";
        return true;
    };
    CConnectionLink link(w.services);
    link.GetTreeSibling(-1, 0);
    library.join();
    EXPECT_NE(link.CachedTreeText(0).find("name=\"new\""), std::string::npos) << link.CachedTreeText(0);
}

TEST(ConnectionLink, TheCacheIsOneLockBetweenTheGuiThreadAndTheLibrarysThreads)
{
    // The GUI thread reads and disconnects while library threads add and
    // remove items (run under ThreadSanitizer in the threaded tests).
    LinkWorld w;
    w.library.respond = Answering("<TREESIBLINGS root=\"-1\"/>");
    CConnectionLink link(w.services);
    std::atomic<bool> done{false};
    std::vector<std::thread> threads;
    for (int t = 0; t < 3; ++t) {
        threads.emplace_back([&, t] {
            for (int i = 0; i < 400; ++i) {
                const std::string uid = std::to_string(t * 1000 + i % 50);
                w.library.Notify("<TREEITEM uid=\"" + uid + "\" parent=\"-1\"/>", 0);
                if (i % 7 == 0)
                    w.library.Notify("<REMOVEBRANCH uid=\"" + uid + "\" parent=\"-1\"/>", 0);
                if (i % 5 == 0)
                    w.library.Notify("<TABLE repid=\"1\" repname=\"r\"/>", 0);
            }
        });
    }
    int reads = 0;
    while (reads < 600) {
        link.GetTreeSibling(-1, 0);
        link.GetTreeElement(3, 0);
        link.GetCachedTable();
        if (reads % 100 == 0)
            link.Disconnect(0);
        link.DispatchPending();
        ++reads;
    }
    for (std::thread& t : threads)
        t.join();
    link.DispatchPending();
    EXPECT_FALSE(w.console.off_gui_thread);
    done = true;
}

TEST(ConnectionLink, CallbacksFindNoLinkOnceItIsGoneAndOnlyOneLinkExists)
{
    LinkWorld w;
    {
        CConnectionLink link(w.services);
        EXPECT_THROW(CConnectionLink second(w.services), std::exception);
        w.library.Notify("<LOG text=\"while\"/>", 0);
        EXPECT_EQ(w.poster.Posts(), 1);
    }
    w.library.Notify("<LOG text=\"after\"/>", 0);  // dropped, no crash
    EXPECT_EQ(w.poster.Posts(), 1);
    CConnectionLink again(w.services);
}

TEST(ConnectionLink, PathOfAnItemRunsFromTheTopDown)
{
    LinkWorld w;
    w.library.respond = [](const std::string& request, std::string& out) {
        if (request.find("uid=\"9\"") != std::string::npos)
            out = "<TREEITEM uid=\"9\" parent=\"4\"/>";
        else if (request.find("uid=\"4\"") != std::string::npos)
            out = "<TREEITEM uid=\"4\" parent=\"-1\"/>";
        else if (request.find("uid=\"20\"") != std::string::npos)
            out = "<TREEITEM uid=\"20\" parent=\"21\"/>";
        else if (request.find("uid=\"21\"") != std::string::npos)
            out = "<TREEITEM uid=\"21\" parent=\"20\"/>";  // a loop
        else
            out = "<ERROR type=\"8\"/>";
        return true;
    };
    CConnectionLink link(w.services);
    std::vector<long> path;
    EXPECT_TRUE(PathOfItem(link, path, 9, 0));
    EXPECT_EQ(path, (std::vector<long>{-1, 4, 9}));
    path.clear();
    EXPECT_FALSE(PathOfItem(link, path, 30, 0));
    EXPECT_EQ(path, std::vector<long>{30});
    path.clear();
    EXPECT_FALSE(PathOfItem(link, path, 20, 0));
    EXPECT_EQ(path, (std::vector<long>{20, 21}));
}

TEST(ConnectionLink, TemporaryUidsAreAboveTwelve)
{
    for (int i = 0; i < 100; ++i)
        EXPECT_GE(CConnectionLink::TemporaryUid(), 13);
}
