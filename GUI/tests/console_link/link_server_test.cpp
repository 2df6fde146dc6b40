// The console's link under Wine against the real server of the native build,
// started by trv_link_fixture with two snmpd agents: TrvClient.dll loaded by
// name, replies reaching the sink through a posted window message. The tests
// run in order on one link: log in, a tree request answered and then taken
// from the cache, another console's new folder, a scan of the agents, the
// server settings record, the server stopped, and connecting again.
#include "link_harness.h"
#include "server_settings.h"

#include "qr_exception.h"
#include "qr_socket.h"
#include "wtest.h"

#include <tinyxml.h>

#include <cstdio>
#include <set>
#include <cstdlib>

namespace {

LinkHarness& World()
{
    static LinkHarness* harness = new LinkHarness;
    return *harness;
}

int g_a = -1;  // the first console's connection
int g_b = -1;  // the second console's

// A command to trv_link_fixture; its answer line.
std::string Fixture(const std::string& command)
{
    try {
        Client_socket control("127.0.0.1", std::to_string(EnvNumber("TRV_FIXTURE_PORT")), false);
        control.send(command + "\n");
        std::string line;
        while (line.find('\n') == std::string::npos) {
            std::string chunk;
            control.read(chunk, 256, 120);
            line += chunk;
        }
        return line.substr(0, line.find('\n'));
    } catch (const qr_exception_t& e) {
        return std::string("failed: ") + e.message();
    }
}

std::string Attribute(const TiXmlElement* e, const char* name)
{
    const char* value = e ? e->Attribute(name) : nullptr;
    return value ? value : "";
}

}  // namespace

WTEST(ConsolesConnectAndLogIn)
{
    const int port = EnvNumber("TRV_SERVER_PORT");
    WCHECK(port > 0);
    if (port <= 0)
        std::exit(1);  // not started by the fixture: nothing else can run
    LinkHarness& w = World();
    g_a = w.link().Connect("127.0.0.1", port, "admin", "pa\"ss");
    g_b = w.link().Connect("localhost", port, "other", "");
    WCHECK(g_a >= 0);
    WCHECK(g_b > g_a);
    WCHECK(w.WaitCall("log ") && w.IndexOf("Connected to server: ") >= 0);
}

WTEST(ATreeRequestIsAnsweredThenFromTheCacheWithoutTraffic)
{
    LinkHarness& w = World();
    const int sends = w.library.Lookups("fnSendString");
    std::unique_ptr<TiXmlElement> first = w.link().GetTreeSibling(-1, g_a);
    WCHECK_EQ(first->ValueStr(), std::string("TREESIBLINGS"));
    WCHECK_EQ(w.library.Lookups("fnSendString"), sends + 1);
    std::unique_ptr<TiXmlElement> again = w.link().GetTreeSibling(-1, g_a);
    WCHECK_EQ(again->ValueStr(), std::string("TREESIBLINGS"));
    WCHECK_EQ(w.library.Lookups("fnSendString"), sends + 1);  // no traffic
    int before = 0, after = 0;
    for (const TiXmlElement* c = first->FirstChildElement(); c; c = c->NextSiblingElement())
        ++before;
    for (const TiXmlElement* c = again->FirstChildElement(); c; c = c->NextSiblingElement())
        ++after;
    WCHECK_EQ(before, after);
}

WTEST(AnotherConsolesNewFolderArrivesAsANotification)
{
    LinkHarness& w = World();
    TiXmlElement folder("TREEITEM");
    folder.SetAttribute("uid", static_cast<int>(CConnectionLink::TemporaryUid()));
    folder.SetAttribute("parent", -1);  // the top level, as the console sends it
    folder.SetAttribute("type", 0);
    folder.SetAttribute("name", "Folder of b");
    std::unique_ptr<TiXmlElement> added = w.link().AddTreeItem(folder, g_b);
    WCHECK_EQ(added->ValueStr(), std::string("TREEITEM"));
    WCHECK_EQ(Attribute(added.get(), "trvid"), Attribute(&folder, "uid"));
    const std::string uid = Attribute(added.get(), "uid");
    const std::string notice = "item " + uid + " " + Attribute(added.get(), "parent") + " " + std::to_string(g_a);
    WCHECK(w.WaitCall(notice));
    // b's own call took the broadcast as its reply: b's windows hear nothing of it.
    WCHECK_EQ(w.IndexOf("item " + uid + " " + Attribute(added.get(), "parent") + " " + std::to_string(g_b)), -1);
    // a's cache took the notification.
    std::unique_ptr<TiXmlElement> cached = w.link().GetTreeElement(std::atol(uid.c_str()), g_a);
    WCHECK_EQ(Attribute(cached.get(), "name"), std::string("Folder of b"));
}

WTEST(AScanOfRealAgentsReachesTheLinkInOrder)
{
    LinkHarness& w = World();
    const std::string agents = std::getenv("TRV_AGENTS") ? std::getenv("TRV_AGENTS") : "";
    WCHECK(!agents.empty());
    TiXmlElement inventory("TREEITEM");
    inventory.SetAttribute("uid", static_cast<int>(CConnectionLink::TemporaryUid()));
    inventory.SetAttribute("parent", -1);
    inventory.SetAttribute("type", 1);
    inventory.SetAttribute("name", "Link scan");
    inventory.SetAttribute("ping", 3);
    inventory.SetAttribute("tabs", "");
    inventory.SetAttribute("startscan", 1);
    TiXmlElement ip("IP");
    ip.SetAttribute("from", agents.c_str());
    ip.SetAttribute("to", "");
    ip.SetAttribute("file", "");
    inventory.InsertEndChild(ip);
    TiXmlElement community("COMM");
    community.SetAttribute("name", "public");
    inventory.InsertEndChild(community);
    std::unique_ptr<TiXmlElement> added = w.link().AddTreeItem(inventory, g_a);
    WCHECK_EQ(added->ValueStr(), std::string("TREEITEM"));
    const std::string inv = Attribute(added.get(), "uid");
    const std::string a = " " + std::to_string(g_a);

    const bool ended = w.WaitCall("End Scan <Link scan>", 180);
    WCHECK(ended);
    const std::vector<std::string> calls = w.console.Calls();
    if (!ended)
        for (const std::string& c : calls)
            std::printf("  seen: %s\n", c.c_str());
    const int completed = w.IndexOf("Scan <Link scan> has been completed.");
    const int end = w.IndexOf("End Scan <Link scan>");
    WCHECK(completed >= 0 && completed < end);
    // The snapshot came first, under the inventory; then the hosts, under it.
    int snapshot_at = -1;
    std::string snapshot;
    for (std::size_t i = 0; i < calls.size() && snapshot_at < 0; ++i) {
        const std::string& c = calls[i];
        if (c.rfind("item ", 0) == 0 && c.size() > a.size() && c.compare(c.size() - a.size(), a.size(), a) == 0 &&
            c.find(" " + inv + a) != std::string::npos) {
            std::unique_ptr<TiXmlElement> item = w.link().GetTreeElement(std::atol(c.c_str() + 5), g_a);
            if (Attribute(item.get(), "type") == "2") {
                snapshot_at = static_cast<int>(i);
                snapshot = Attribute(item.get(), "uid");
            }
        }
    }
    WCHECK(snapshot_at >= 0);
    std::set<std::string> hosts;
    for (std::size_t i = 0; i < calls.size(); ++i) {
        if (calls[i].rfind("item ", 0) != 0 || calls[i].find(" " + snapshot + a) == std::string::npos)
            continue;
        std::unique_ptr<TiXmlElement> item = w.link().GetTreeElement(std::atol(calls[i].c_str() + 5), g_a);
        if (Attribute(item.get(), "type") != "3")
            continue;
        hosts.insert(Attribute(item.get(), "uid"));
        WCHECK(static_cast<int>(i) > snapshot_at);
        WCHECK(static_cast<int>(i) < completed);
    }
    WCHECK_EQ(hosts.size(), 2u);
}

WTEST(TheServerSettingsRecordComesFromTheServer)
{
    LinkHarness& w = World();
    CServerAdmin admin(w.link());
    const TServerSettings s = admin.ParseServerInfo(g_a);
    WCHECK_EQ(s.version, std::string("1.81.703.13194"));
    WCHECK_EQ(s.port, EnvNumber("TRV_SERVER_PORT"));
    WCHECK_EQ(s.scan_retries, 1);
    WCHECK(!s.admin_db_types.empty());
}

WTEST(AStoppedServerIsOneDisconnectPerConnection)
{
    LinkHarness& w = World();
    WCHECK_EQ(Fixture("stop"), std::string("ok"));
    const std::string a = "disconnect " + std::to_string(g_a);
    const std::string b = "disconnect " + std::to_string(g_b);
    WCHECK(w.PumpUntil([&] { return w.CountCalls(a) > 0 && w.CountCalls(b) > 0; }));
    WCHECK(w.WaitCall("removed -1 -1 " + std::to_string(g_a)));
    WCHECK_EQ(w.link().CachedTreeText(g_a), std::string());
    std::unique_ptr<TiXmlElement> reply = w.link().GetTable(1, g_a);
    WCHECK_EQ(reply->ValueStr(), std::string("DISCONNECTED"));
    w.PumpUntil([] { return false; }, 1);
    WCHECK_EQ(w.CountCalls(a), 1);
    WCHECK_EQ(w.CountCalls(b), 1);
    WCHECK_EQ(w.CountCalls("removed -1 -1 " + std::to_string(g_a)), 1);
    w.link().Disconnect(g_a);
    w.link().Disconnect(g_b);
}

WTEST(TheConsoleConnectsAgain)
{
    LinkHarness& w = World();
    const std::string started = Fixture("start");
    WCHECK(started.rfind("ok ", 0) == 0);
    const int port = std::atoi(started.c_str() + 3);
    const int again = w.link().Connect("127.0.0.1", port, "admin", "pw");
    WCHECK(again > g_b);
    std::unique_ptr<TiXmlElement> top = w.link().GetTreeSibling(-1, again);
    bool found = false;
    for (const TiXmlElement* c = top->FirstChildElement(); c; c = c->NextSiblingElement())
        found = found || Attribute(c, "name") == "Folder of b";
    WCHECK(found);
    w.link().Disconnect(again);
}
