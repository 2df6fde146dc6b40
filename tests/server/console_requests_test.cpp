// What the console relies on, sent as the console sends it: requests without
// synch (answered with synch 0), items added with the console's own element
// texts and a provisional uid, the top level of the tree named -1, address ranges in its "a . b . c . d" form,
// and two consoles of one client type at once, kept in step by reading the
// pushes both receive.
#include "scan_requests_fixture.h"

#include <libxml/parser.h>
#include <libxml/tree.h>

namespace {

using namespace scan_test;

// The console's provisional uids (random in the console; any distinct value).
int next_temporary_uid = 4700;

bool IsItem(const Reply& r, const std::string& uid)
{
    return r.name == "TREEITEM" && r.attr("uid") == uid;
}

// The uid the server gave an item that the console added as `temporary`:
// the broadcast TREEITEM that carries it as trvid, read on `console`.
std::string AddedUid(ConsoleClient& console, const std::string& temporary)
{
    std::vector<Reply> frames =
        ReadUntil(console, [&](const Reply& r) { return r.name == "TREEITEM" && r.attr("trvid") == temporary; });
    return frames.empty() ? std::string() : frames.back().attr("uid");
}

// A new folder as the console's NewFolder writes it; `other` reads the
// broadcast too.
std::string NewFolder(ConsoleClient& console, ConsoleClient& other, const std::string& parent,
                      const std::string& name)
{
    const std::string temporary = std::to_string(++next_temporary_uid);
    EXPECT_TRUE(console.Send("<ADDTREEITEM uid=\"" + temporary + "\" parent=\"" + parent + "\" name=\"" + name +
                             "\" type=\"0\" status=\"-1\" comment=\"\" locked=\"0\"/>"));
    const std::string uid = AddedUid(console, temporary);
    EXPECT_EQ(AddedUid(other, temporary), uid);
    return uid;
}

// A new inventory as the console's AddInventory writes it: one address mask
// as typed (blanks around the dots), community "public". With `startscan`
// only the element is sent; the caller reads what follows.
std::string InventoryRequest(const std::string& temporary, const std::string& parent, const std::string& name,
                             const std::string& mask, int ping, bool startscan)
{
    return "<ADDTREEITEM uid=\"" + temporary + "\" parent=\"" + parent + "\" type=\"1\" status=\"0\" locked=\"0\" "
           "name=\"" + name + "\" comment=\"\" ping=\"" + std::to_string(ping) + "\"" +
           (startscan ? " startscan=\"1\"" : "") + "><IP from=\"" + mask + "\"/><COMM name=\"public\"/></ADDTREEITEM>";
}

std::string NewInventory(ConsoleClient& console, ConsoleClient& other, const std::string& parent,
                         const std::string& name, const std::string& mask, int ping = 3)
{
    const std::string temporary = std::to_string(++next_temporary_uid);
    EXPECT_TRUE(console.Send(InventoryRequest(temporary, parent, name, mask, ping, false)));
    const std::string uid = AddedUid(console, temporary);
    EXPECT_EQ(AddedUid(other, temporary), uid);
    return uid;
}

// The console's GETTREEELEMENT of uid; its TREEITEM. The answer is told
// from the item's pushes during a scan by its synch attribute (here "0"),
// which they lack.
Reply Element(ConsoleClient& console, const std::string& uid)
{
    EXPECT_TRUE(console.Send("<GETTREEELEMENT uid=\"" + uid + "\"/>"));
    std::vector<Reply> frames = ReadUntil(
        console, [&](const Reply& r) { return (IsItem(r, uid) && r.has("synch")) || r.name == "ERROR"; });
    return frames.empty() ? Reply{} : frames.back();
}

// No scan is running in, below or above the items, as the console reads it.
void ExpectNoScanMarks(ConsoleClient& console, const std::vector<std::string>& uids, const std::string& when)
{
    for (const std::string& uid : uids) {
        const Reply item = Element(console, uid);
        EXPECT_EQ(item.attr("has_int_scan"), "0") << when << ": " << item.xml;
    }
}

// True when a strict parser (no recovery) takes the frame's text as XML 1.0;
// texts are bytes of the console's code page.
bool StrictlyWellFormed(const std::string& text)
{
    xmlDocPtr doc = xmlReadMemory(text.data(), static_cast<int>(text.size()), "frame.xml", "ISO-8859-1",
                                  XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING);
    if (doc == nullptr)
        return false;
    xmlFreeDoc(doc);
    return true;
}

// Index of the first frame from `from` on that satisfies `what`; frames.size() when none.
size_t Find(const std::vector<Reply>& frames, const std::function<bool(const Reply&)>& what, size_t from = 0)
{
    for (size_t i = from; i < frames.size(); ++i)
        if (what(frames[i]))
            return i;
    return frames.size();
}

std::function<bool(const Reply&)> Marked(const std::string& uid, const char* value)
{
    return [uid, value](const Reply& r) { return IsItem(r, uid) && r.attr("has_int_scan") == value; };
}

// Nothing was pushed to the console before the answer to this PING.
void ExpectNothingPending(ConsoleClient& console)
{
    ASSERT_TRUE(console.Send("<PING synch=\"999\"/>"));
    std::optional<Reply> reply = console.Next();
    ASSERT_TRUE(reply.has_value());
    EXPECT_EQ(reply->xml, "<PONG synch=\"999\" />");
}

TEST_F(ScanRequests, ARefusedStartLeavesNoItemMarkedAsScanning)
{
    auto a = Console("Marks");
    auto b = Console("Marks");
    const std::string site = NewFolder(*a, *b, "-1", "Site");
    const std::string empty = NewFolder(*a, *b, site, "Empty");
    const std::string inventory = NewInventory(*a, *b, site, "Net", "127 . 0 . 64 . 2");
    ASSERT_FALSE(inventory.empty());

    ASSERT_TRUE(a->Send("<SCAN uid=\"" + inventory + "\"/>"));
    const ScanResult scan = ReadScan(*a, "Net");
    ReadScan(*b, "Net");
    ASSERT_FALSE(Uid(scan, HostB).empty());
    ExpectNoScanMarks(*b, {site, empty, inventory}, "after the first scan");

    // SNMP output only of a host: a snapshot, an inventory or an unknown uid
    // is refused, and nothing may stay marked as scanning.
    for (const std::string& uid : {scan.snapshot, inventory, std::string("987654")}) {
        ASSERT_TRUE(a->Send("<GET_SNMP_OUTPUT uid=\"" + uid + "\"/>"));
        const std::vector<Reply> frames = ReadUntil(*a, [](const Reply& r) { return r.name == "ERROR"; });
        EXPECT_EQ(frames.back().xml, "<ERROR type=\"8\" message=\"Can not start SNMP output.\" synch=\"0\" />");
        EXPECT_EQ(Find(frames, [](const Reply& r) { return r.name == "TREEITEM"; }), frames.size()) << uid;
        ReadUntil(*b, [](const Reply& r) { return IsLogWith(r, "Can not start Getting SNMP output."); });
        ExpectNoScanMarks(*b, {site, inventory}, "after the refused SNMP output of " + uid);
    }

    // A scan of a folder without inventories is refused and marks nothing.
    ASSERT_TRUE(a->Send("<SCAN uid=\"" + empty + "\"/>"));
    std::vector<Reply> frames = ReadUntil(*a, [](const Reply& r) { return r.name == "ERROR"; });
    EXPECT_EQ(frames.back().xml, "<ERROR type=\"254\" message=\"Can not start scan.\" synch=\"0\" />");
    ReadUntil(*b, [](const Reply& r) { return IsLogWith(r, "Can not start scan."); });
    ExpectNoScanMarks(*b, {site, empty}, "after the refused scan");

    // A scan of the folder marks the folder and its inventory for its time,
    // not the folder beside them that holds nothing to scan.
    ASSERT_TRUE(a->Send("<SCAN uid=\"" + site + "\"/>"));
    const ScanResult again = ReadScan(*a, "Site");
    ReadScan(*b, "Site");
    for (const std::string& uid : {site, inventory}) {
        const size_t raised = Find(again.frames, Marked(uid, "1"));
        EXPECT_LT(raised, again.frames.size()) << uid;
        EXPECT_LT(Find(again.frames, Marked(uid, "0"), raised), again.frames.size()) << uid;
    }
    EXPECT_EQ(Find(again.frames, Marked(empty, "1")), again.frames.size());
    ExpectNoScanMarks(*b, {site, empty, inventory}, "after the folder's scan");

    // An SNMP output that starts: marked while it runs, free after.
    const std::string host = Uid(again, HostB);
    ASSERT_FALSE(host.empty());
    ASSERT_TRUE(a->Send("<GET_SNMP_OUTPUT uid=\"" + host + "\"/>"));
    frames = ReadUntil(*a, Marked(inventory, "0"));
    EXPECT_LT(Find(frames, Marked(inventory, "1")), frames.size());
    EXPECT_LT(Find(frames, [](const Reply& r) { return r.name == "SNMP_OUTPUT"; }), frames.size());
    ReadUntil(*b, Marked(inventory, "0"));
    ExpectNoScanMarks(*b, {site, inventory}, "after the SNMP output");
}

TEST_F(ScanRequests, ASnapshotLockedAndRenamedDuringItsScanStaysScanningUntilItsEnd)
{
    auto a = Console("Locks");
    auto b = Console("Locks");
    const std::string site = NewFolder(*a, *b, "-1", "Lab");
    // Pinged first, the addresses without agents keep the scan busy for
    // minutes, each waiting out its SNMP time-out.
    const std::string inventory = NewInventory(*a, *b, site, "Slow", "127 . 0 . 64 . [1-250]", 2);
    ASSERT_FALSE(inventory.empty());
    ASSERT_TRUE(a->Send("<SCAN uid=\"" + inventory + "\"/>"));
    std::vector<Reply> frames =
        ReadUntil(*a, [](const Reply& r) { return r.name == "TREEITEM" && r.attr("type") == "2"; });
    const std::string snapshot = frames.back().attr("uid");
    EXPECT_EQ(frames.back().attr("status"), "1");
    ReadUntil(*b, [&](const Reply& r) { return IsItem(r, snapshot); });

    // The console's lock and rename: the element as read, one attribute
    // changed, sent back as CHANGEITEM.
    const auto change = [&](const std::string& attribute, const std::string& value) {
        std::string request = Element(*a, snapshot).xml;
        ASSERT_EQ(request.rfind("<TREEITEM ", 0), 0u) << request;
        request.replace(0, 9, "<CHANGEITEM");
        const size_t at = request.find(" " + attribute + "=\"");
        ASSERT_NE(at, std::string::npos) << request;
        const size_t start = at + attribute.size() + 3;
        request.replace(start, request.find('"', start) - start, value);
        ASSERT_TRUE(a->Send(request));
        for (ConsoleClient* console : {a.get(), b.get()}) {
            frames = ReadUntil(*console, [&](const Reply& r) { return IsItem(r, snapshot) && r.has("synch"); });
            EXPECT_EQ(Find(frames, [](const Reply& r) { return IsLogWith(r, "End Scan <"); }), frames.size());
            EXPECT_EQ(frames.back().attr(attribute), value) << frames.back().xml;
            EXPECT_EQ(frames.back().attr("status"), "1") << frames.back().xml;
        }
    };
    change("locked", "1");
    change("name", "Kept");

    // The end of the scan settles the status; lock and name stay.
    ASSERT_TRUE(a->Send("<CANCELSCAN uid=\"" + inventory + "\"/>"));
    for (ConsoleClient* console : {a.get(), b.get()}) {
        frames = ReadUntil(*console, [](const Reply& r) { return IsLogWith(r, "End Scan <Slow>"); }, 120);
        size_t last = frames.size();
        for (size_t i = 0; i < frames.size(); ++i)
            if (IsItem(frames[i], snapshot))
                last = i;
        ASSERT_LT(last, frames.size());
        EXPECT_EQ(frames[last].attr("status"), "4") << frames[last].xml;
        EXPECT_EQ(frames[last].attr("locked"), "1") << frames[last].xml;
        EXPECT_EQ(frames[last].attr("name"), "Kept") << frames[last].xml;
    }
}

TEST_F(ScanRequests, AnInventoryScannedAtOnceMarksItsFoldersForTheScan)
{
    auto a = Console("Wizard");
    auto b = Console("Wizard");
    const std::string site = NewFolder(*a, *b, "-1", "Branch");
    const std::string temporary = std::to_string(++next_temporary_uid);
    ASSERT_TRUE(a->Send(InventoryRequest(temporary, site, "Quick", "127 . 0 . 64 . 3", 3, true)));
    const std::vector<Reply> frames = ReadUntil(*a, [](const Reply& r) { return IsLogWith(r, "End Scan <Quick>"); });
    const size_t added = Find(frames, [&](const Reply& r) { return r.attr("trvid") == temporary; });
    ASSERT_LT(added, frames.size());
    const std::string inventory = frames[added].attr("uid");

    // Up for the requester while the scan runs, down for every console at its end.
    for (const std::string& uid : {site, inventory}) {
        const size_t raised = Find(frames, Marked(uid, "1"), added);
        EXPECT_LT(raised, frames.size()) << uid;
        EXPECT_LT(Find(frames, Marked(uid, "0"), raised), frames.size()) << uid;
    }
    EXPECT_LT(Find(frames, [](const Reply& r) { return IsLogWith(r, "Scan <Quick> has been completed."); }),
              frames.size());
    const std::vector<Reply> seen = ReadUntil(*b, [](const Reply& r) { return IsLogWith(r, "End Scan <Quick>"); });
    for (const std::string& uid : {site, inventory})
        EXPECT_LT(Find(seen, Marked(uid, "0")), seen.size()) << uid;
    ExpectNoScanMarks(*b, {site, inventory}, "after the scan");
}

TEST_F(ScanRequests, AddressRangesInTheConsolesFormFindExactlyTheAddressesInRange)
{
    auto a = Console("Ranges");
    auto b = Console("Ranges");
    const std::string site = NewFolder(*a, *b, "-1", "Hall");
    const std::string inventory = NewInventory(*a, *b, site, "Three", "127 . 0 . 64 . [1-3]");
    ASSERT_TRUE(a->Send("<SCAN uid=\"" + inventory + "\"/>"));
    const ScanResult scan = ReadScan(*a, "Three");
    ReadScan(*b, "Three");
    const std::string host_a = Uid(scan, HostA), host_b = Uid(scan, HostB), host_c = Uid(scan, HostC);
    ASSERT_FALSE(host_a.empty() || host_b.empty() || host_c.empty());

    struct Search {
        std::string pattern;
        std::set<std::string> found;
    };
    const std::vector<Search> searches = {
        {"127 . 0 . 64 . [1-2]", {host_a, host_b}},
        {"127 . 0 . 64 . [2-3]", {host_b, host_c}},
        {"127 . 0 . [60-70] . *", {host_a, host_b, host_c}},
        {"* . * . * . 3", {host_c}},
        {"127 . 0 . 64 . 1", {host_a}},
        {"27 . 0 . 64 . 1", {}},  // an octet is matched whole, not as a piece of text
        {"127 . 0 . [65-70] . *", {}},
        // Malformed: an empty answer, and the connection goes on.
        {"127 . 0 . 64 . [3-1]", {}},
        {"127 . 0 . [64 . 1", {}},
        {"127 . 0 . 64 . [1-256]", {}},
        {"[1-3]", {}},
    };
    bool on_a = true;
    for (const Search& s : searches) {
        ConsoleClient& console = on_a ? *a : *b;
        on_a = !on_a;
        ASSERT_TRUE(console.Send("<START_SEARCH ip='" + s.pattern + "'/>"));
        std::optional<Reply> found = console.Next();
        ASSERT_TRUE(found.has_value()) << s.pattern;
        ASSERT_EQ(found->name, "END_SEARCH") << s.pattern << ": " << found->xml;
        EXPECT_EQ(found->attr("synch"), "0");
        std::set<std::string> uids;
        for (const Reply& device : found->children)
            uids.insert(device.attr("uid"));
        EXPECT_EQ(uids, s.found) << s.pattern << ": " << found->xml;
    }
    ExpectNothingPending(*a);
    ExpectNothingPending(*b);
}

TEST_F(ScanRequests, ATabElementIsTheOneThatWasPushedAndAReportEchoesSynchZero)
{
    auto a = Console("Tabs");
    auto b = Console("Tabs");
    const std::string site = NewFolder(*a, *b, "-1", "Rack");
    const std::string inventory = NewInventory(*a, *b, site, "Router", "127 . 0 . 64 . 1");
    ASSERT_TRUE(a->Send("<SCAN uid=\"" + inventory + "\"/>"));
    const ScanResult scan = ReadScan(*a, "Router");
    ReadScan(*b, "Router");
    std::vector<Reply> tabs;
    for (const Reply& r : scan.frames)
        if (r.name == "TREEITEM" && r.attr("type") == "6")
            tabs.push_back(r);
    ASSERT_EQ(tabs.size(), 2u);  // Summary and Interfaces

    // Asked by uid (after a reconnect or a cache miss), each tab is what the
    // scan pushed, with the request's synch.
    for (const Reply& tab : tabs) {
        ASSERT_EQ(tab.xml.substr(tab.xml.size() - 3), " />");
        const Reply asked = Element(*b, tab.attr("uid"));
        EXPECT_EQ(asked.xml, tab.xml.substr(0, tab.xml.size() - 3) + " synch=\"0\" />");
    }

    ASSERT_TRUE(a->Send("<CREATE_REPORT type=\"1\" root=\"" + inventory + "\"/>"));
    const std::vector<Reply> report =
        ReadUntil(*a, [](const Reply& r) { return r.name == "TABLE" || r.name == "ERROR"; });
    ASSERT_EQ(report.back().name, "TABLE") << report.back().xml;
    EXPECT_EQ(report.back().attr("synch"), "0");
    EXPECT_EQ(report.back().attr("repid"), "1");
    EXPECT_NE(report.back().xml.find("\"127.0.64.1\""), std::string::npos) << report.back().xml;
}

TEST_F(ScanRequests, RemovingAnUnknownItemIsRefusedToTheRequesterAlone)
{
    auto a = Console("Removals");
    auto b = Console("Removals");
    const std::string site = NewFolder(*a, *b, "-1", "Shelf");
    const std::string inventory = NewInventory(*a, *b, site, "Box", "127 . 0 . 64 . 1");
    ASSERT_TRUE(a->Send("<SCAN uid=\"" + inventory + "\"/>"));
    const ScanResult scan = ReadScan(*a, "Box");
    ReadScan(*b, "Box");
    std::string tab;
    for (const Reply& r : scan.frames)
        if (r.name == "TREEITEM" && r.attr("type") == "6")
            tab = r.attr("uid");
    ASSERT_FALSE(tab.empty());

    // An unknown uid, and a tab (no item of its own to remove).
    for (const std::string& uid : {std::string("987654"), tab}) {
        ASSERT_TRUE(a->Send("<REMOVEBRANCH uid=\"" + uid + "\"/>"));
        std::optional<Reply> error = a->Next();
        ASSERT_TRUE(error.has_value());
        EXPECT_EQ(error->xml, "<ERROR type=\"8\" message=\"Can not find element with id=" + uid + "\" synch=\"0\" />");
        ExpectNothingPending(*b);
    }

    // A device goes from its snapshot; the same uid again is unknown.
    const std::string host = Uid(scan, HostA);
    ASSERT_TRUE(b->Send("<REMOVEBRANCH uid=\"" + host + "\"/>"));
    for (ConsoleClient* console : {a.get(), b.get()}) {
        std::optional<Reply> removed = console->Next();
        ASSERT_TRUE(removed.has_value());
        EXPECT_EQ(removed->xml, "<REMOVEBRANCH parent=\"" + scan.snapshot + "\" uid=\"" + host + "\" synch=\"0\" />");
    }
    ASSERT_TRUE(b->Send("<REMOVEBRANCH uid=\"" + host + "\"/>"));
    std::optional<Reply> again = b->Next();
    ASSERT_TRUE(again.has_value());
    EXPECT_EQ(again->name, "ERROR") << again->xml;
    EXPECT_EQ(again->attr("type"), "8");
    ExpectNothingPending(*a);

    // A folder still names its parent.
    ASSERT_TRUE(a->Send("<REMOVEBRANCH uid=\"" + site + "\"/>"));
    for (ConsoleClient* console : {a.get(), b.get()}) {
        std::optional<Reply> removed = console->Next();
        ASSERT_TRUE(removed.has_value());
        EXPECT_EQ(removed->xml, "<REMOVEBRANCH parent=\"-1\" uid=\"" + site + "\" synch=\"0\" />");
    }
}

// The console names the top level of a server -1: items added there, moved
// or copied there, listed and removed from there all carry parent -1.
TEST_F(ScanRequests, TheTopLevelIsParentMinusOneInEveryRequestAndReply)
{
    auto a = Console("Top");
    auto b = Console("Top");
    const std::string north = NewFolder(*a, *b, "-1", "North");
    const std::string inner = NewFolder(*a, *b, north, "Inner");
    ASSERT_FALSE(north.empty() || inner.empty());

    // The item that `request` (sent by a) makes every console hear of.
    const auto broadcast = [&](const std::string& request, const std::function<bool(const Reply&)>& item) {
        EXPECT_TRUE(a->Send(request));
        Reply heard;
        for (ConsoleClient* console : {a.get(), b.get()}) {
            std::vector<Reply> frames =
                ReadUntil(*console, [&](const Reply& r) { return item(r) || r.name == "ERROR"; });
            heard = frames.empty() ? Reply{} : frames.back();
            EXPECT_EQ(heard.name, "TREEITEM") << request << ": " << heard.xml;
        }
        return heard;
    };
    const auto parent_of_top_items = [&]() {
        EXPECT_TRUE(a->Send("<GETTREESIBLING root=\"-1\"/>"));
        std::optional<Reply> top = a->NextNamed("TREESIBLINGS");
        std::map<std::string, std::string> parents;  // uid -> parent
        if (top)
            for (const Reply& item : top->children)
                parents[item.attr("uid")] = item.attr("parent");
        return parents;
    };
    EXPECT_EQ(parent_of_top_items(), (std::map<std::string, std::string>{{north, "-1"}}));

    // The console's move: the element as read, its parent set to -1, sent
    // back as CHANGEITEM.
    std::string move = Element(*a, inner).xml;
    ASSERT_EQ(move.rfind("<TREEITEM ", 0), 0u) << move;
    move.replace(0, 9, "<CHANGEITEM");
    const std::string old_parent = " parent=\"" + north + "\"";
    ASSERT_NE(move.find(old_parent), std::string::npos) << move;
    move.replace(move.find(old_parent), old_parent.size(), " parent=\"-1\"");
    EXPECT_EQ(broadcast(move, [&](const Reply& r) { return IsItem(r, inner); }).attr("parent"), "-1");

    const Reply copy = broadcast("<COPYTREEITEM id=\"" + north + "\" toparent=\"-1\"/>", [&](const Reply& r) {
        return r.name == "TREEITEM" && r.attr("name") == "North" && r.attr("uid") != north;
    });
    EXPECT_EQ(copy.attr("parent"), "-1") << copy.xml;
    EXPECT_EQ(broadcast("<MOVETREEITEM id=\"" + inner + "\" toparent=\"" + north + "\"/>",
                        [&](const Reply& r) { return IsItem(r, inner); })
                  .attr("parent"),
              north);
    EXPECT_EQ(broadcast("<MOVETREEITEM id=\"" + inner + "\" toparent=\"-1\"/>",
                        [&](const Reply& r) { return IsItem(r, inner); })
                  .attr("parent"),
              "-1");
    EXPECT_EQ(parent_of_top_items(),
              (std::map<std::string, std::string>{{north, "-1"}, {inner, "-1"}, {copy.attr("uid"), "-1"}}));

    ASSERT_TRUE(b->Send("<REMOVEBRANCH uid=\"" + inner + "\"/>"));
    for (ConsoleClient* console : {a.get(), b.get()}) {
        std::optional<Reply> removed = console->NextNamed("REMOVEBRANCH");
        ASSERT_TRUE(removed.has_value());
        EXPECT_EQ(removed->xml, "<REMOVEBRANCH parent=\"-1\" uid=\"" + inner + "\" synch=\"0\" />");
    }
}

// Control bytes in stored texts (an agent's name written by another tool or
// version) stay in the database; every frame that carries them is
// well-formed XML 1.0, each such byte sent as '?'.
TEST_F(ScanRequests, StoredControlBytesReachConsolesAsWellFormedXml)
{
    auto a = Console("Controls");
    const std::string temporary = std::to_string(++next_temporary_uid);
    ASSERT_TRUE(a->Send(InventoryRequest(temporary, "-1", "Odd", "127 . 0 . 64 . 1", 3, false)));
    const std::string inventory = AddedUid(*a, temporary);
    ASSERT_TRUE(a->Send("<SCAN uid=\"" + inventory + "\"/>"));
    const ScanResult scan = ReadScan(*a, "Odd");
    const std::string host = Uid(scan, HostA);
    ASSERT_FALSE(host.empty());

    const std::string netname = on_postgresql ? "'req' || chr(25) || 'a' || chr(11)" : "'req' || char(25) || 'a' || char(11)";
    const std::string update = "UPDATE InventoryHosts SET NetName = " + netname + " WHERE uid = " + host + ";";
    std::string stored;
    if (on_postgresql) {
        const std::string database = Psql("postgres", {"-c", "SELECT datname FROM pg_database WHERE "
                                                              "lower(datname) = lower('TrvControlsSrvData')"});
        const std::string name = database.substr(0, database.find('\n'));
        Psql(name, {"-c", update});
        stored = Psql(name, {"-c", "SELECT encode(convert_to(NetName, 'UTF8'), 'hex') FROM InventoryHosts WHERE uid = " + host});
    } else {
        int status = -1;
        const std::string db = folder_->file("Controls-SrvData.db");
        run_program({"sqlite3", db, update}, &status);
        ASSERT_EQ(status, 0);
        stored = run_program({"sqlite3", db, "SELECT hex(NetName) FROM InventoryHosts WHERE uid = " + host}, &status);
    }
    EXPECT_EQ(stored.substr(0, stored.find('\n')), on_postgresql ? "72657119610b" : "72657119610B");

    std::vector<Reply> frames = {Element(*a, host)};
    ASSERT_TRUE(a->Send("<GETTREESIBLING root=\"" + scan.snapshot + "\"/>"));
    std::optional<Reply> hosts = a->NextNamed("TREESIBLINGS");
    ASSERT_TRUE(hosts.has_value());
    frames.push_back(*hosts);
    for (const Reply& frame : frames) {
        EXPECT_TRUE(StrictlyWellFormed(frame.text)) << frame.text;
        EXPECT_NE(frame.text.find("netname=\"req?a?\""), std::string::npos) << frame.text;
    }
}

// A scan whose request thread cannot be started (every start fails on this
// server) leaves nothing scanning: the requester gets the ERROR with the
// cause, a new snapshot ends interrupted (status 4) for every console, an
// SNMP output's host and snapshot get their status back, and the marks of
// the folder and inventory go down again.
TEST_F(ScanRequests, AScanWhoseThreadCannotStartLeavesNothingScanning)
{
    ServerFolder folder;
    std::unique_ptr<ServerProcess> server = StartListening(folder, {{"TRV_FAIL_SCAN_THREADS", "1"}});
    ASSERT_NE(server, nullptr);
    ConsoleClient a(folder.port()), b(folder.port());
    for (ConsoleClient* console : {&a, &b}) {
        ASSERT_FALSE(console->Login("Stuck").empty());
        ASSERT_TRUE(console->NextNamed("LOG").has_value());
    }
    const std::string site = NewFolder(a, b, "-1", "Site");
    const std::string inventory = NewInventory(a, b, site, "Net", "127 . 0 . 64 . 1");
    ASSERT_FALSE(inventory.empty());

    // The frames up to the requester's ERROR; the last status of `uid` in them.
    const auto until_error = [&](const std::string& request) {
        EXPECT_TRUE(a.Send(request));
        return ReadUntil(a, [](const Reply& r) { return r.name == "ERROR"; });
    };
    const auto last_status = [](const std::vector<Reply>& frames, const std::string& uid) {
        std::string status;
        for (const Reply& r : frames)
            if (IsItem(r, uid))
                status = r.attr("status");
        return status;
    };
    // b's answer to GETTREEELEMENT, past the pushes it has not read yet.
    const auto asked = [&](const std::string& uid) {
        EXPECT_TRUE(b.Send("<GETTREEELEMENT uid=\"" + uid + "\"/>"));
        return ReadUntil(b, [&](const Reply& r) { return IsItem(r, uid) && r.has("synch"); }).back();
    };
    const auto snapshot_of = [](const std::vector<Reply>& frames) {
        const size_t at = Find(frames, [](const Reply& r) { return r.name == "TREEITEM" && r.attr("type") == "2"; });
        return at == frames.size() ? std::string() : frames[at].attr("uid");
    };

    std::vector<Reply> frames = until_error("<SCAN uid=\"" + inventory + "\"/>");
    EXPECT_EQ(frames.back().attr("type"), "254") << frames.back().xml;
    EXPECT_EQ(frames.back().attr("message").rfind("Can not start scan: ", 0), 0u) << frames.back().xml;
    const std::string snapshot = snapshot_of(frames);
    ASSERT_FALSE(snapshot.empty());
    EXPECT_EQ(last_status(frames, snapshot), "4");
    EXPECT_LT(Find(frames, [](const Reply& r) { return IsLogWith(r, "End Scan <Net>"); }), frames.size());
    ReadUntil(b, [&](const Reply& r) { return IsItem(r, snapshot) && r.attr("status") == "4"; });
    ExpectNoScanMarks(b, {site, inventory}, "after the scan that did not start");

    // The wizard's "scan now".
    const std::string temporary = std::to_string(++next_temporary_uid);
    frames = until_error(InventoryRequest(temporary, site, "Quick", "127 . 0 . 64 . 2", 3, true));
    const size_t added = Find(frames, [&](const Reply& r) { return r.attr("trvid") == temporary; });
    ASSERT_LT(added, frames.size());
    const std::string quick = frames[added].attr("uid");
    EXPECT_EQ(frames.back().attr("message").rfind("Can not start scan: ", 0), 0u) << frames.back().xml;
    EXPECT_EQ(last_status(frames, snapshot_of(frames)), "4");
    ExpectNoScanMarks(b, {site, quick}, "after the scan now that did not start");

    // A host of the first snapshot, as a scan by another server stored it.
    const std::string host = "900001";
    int status = -1;
    run_program({"sqlite3", folder.file("Stuck-SrvData.db"),
                 "INSERT INTO InventoryHosts (AsOfId, uid, NetAddr, NetAddrInt, DNSName, NetName, TimeStmp, HasPing, "
                 "HasSnmp, Status) VALUES (" + snapshot + ", " + host + ", '127.0.64.1', 2130722817, '', 'x', 0, "
                 "'N', 'Y', 0);"},
                &status);
    ASSERT_EQ(status, 0);
    frames = until_error("<GET_SNMP_OUTPUT uid=\"" + host + "\"/>");
    EXPECT_EQ(frames.back().attr("type"), "8") << frames.back().xml;
    EXPECT_EQ(frames.back().attr("message").rfind("Can not start SNMP output: ", 0), 0u) << frames.back().xml;
    EXPECT_EQ(last_status(frames, host), "0");
    EXPECT_NE(last_status(frames, snapshot), "2");
    EXPECT_EQ(asked(host).attr("status"), "0");
    EXPECT_NE(asked(snapshot).attr("status"), "2");
    ExpectNoScanMarks(b, {site, inventory}, "after the SNMP output that did not start");

    frames = until_error("<SCAN uid=\"" + host + "\"/>");
    EXPECT_EQ(frames.back().attr("message").rfind("Can not start scan: ", 0), 0u) << frames.back().xml;
    EXPECT_EQ(last_status(frames, snapshot), "4");
    EXPECT_EQ(asked(snapshot).attr("status"), "4");
    ExpectNoScanMarks(b, {site, inventory}, "after the host's scan that did not start");
    EXPECT_EQ(server->Stop(), 0);
}

}  // namespace

// The login takes client types of 1 to 32 characters; the longest ones too
// get a database of their own, also two that differ only in letter case.
TEST_F(ScanRequests, ClientTypesOfThirtyTwoCharactersScanIntoDatabasesOfTheirOwn)
{
    const std::string upper = "LongTypeWithThirtyTwoCharacters1";
    const std::string lower = "longtypewiththirtytwocharacters1";
    ASSERT_EQ(upper.size(), 32u);
    auto a = Console(upper);
    auto b = Console(lower);
    const int inventory = AddInventory(*a, "Long", HostA);
    ASSERT_GT(inventory, 0);
    ASSERT_TRUE(a->Send("<SCAN uid=\"" + std::to_string(inventory) + "\"/>"));
    const ScanResult scan = ReadScan(*a, "Long");
    const std::string host = Uid(scan, HostA);
    ASSERT_FALSE(host.empty());
    ASSERT_TRUE(a->Send("<GETTREESIBLING root=\"" + host + "\"/>"));
    const std::optional<Reply> tabs = a->NextNamed("TREESIBLINGS");
    ASSERT_TRUE(tabs.has_value());
    EXPECT_FALSE(tabs->children.empty()) << tabs->xml;

    ASSERT_TRUE(b->Send("<GETTREE root=\"0\"/>"));
    const std::optional<Reply> tree = b->NextNamed("TREE");
    ASSERT_TRUE(tree.has_value());
    EXPECT_TRUE(tree->children.empty()) << tree->xml;
    ExpectNothingPending(*b);
}
