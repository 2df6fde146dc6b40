// TREEITEM elements of the fixture inventory, byte for byte (attribute order
// included), on SQLite and PostgreSQL; children lists, titles, and the
// failure results.
#include "admin_fixture.h"
#include "db_test_env.h"
#include "inventory_fixture.h"
#include "recording_services.h"
#include "xml_golden.h"

#include "loader.h"
#include "qr_strings.h"

#include <gtest/gtest.h>
#include <tinyxml.h>

#include <algorithm>
#include <map>
#include <utility>
#include <vector>

namespace {

using namespace inventory_fixture;

std::string lower(std::string text)
{
    for (char& c : text)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return text;
}

class TreeXmlTest : public DbBackendTest {
protected:
    void SetUp() override
    {
        admin_ = &AdminFixture::get(backend());
        db_ = InventoryDb::make(backend());
        // As in the server: every loader shares one database mutex, and this
        // one borrows its connections, so nested operations must not hold
        // more than the pool has.
        loader_ = std::make_unique<DataLoader>(db_->pool.get(), &admin_->db_mutex, false);
        services_.set_data_source("ADMIN", admin_->loader.get());
        services_.set_server_host("trv-server.test");
    }
    void TearDown() override { loader_.reset(); }

    // The golden text with {folder}, {inventory}, ... replaced by the fixture's uids.
    std::string golden(std::string text) const
    {
        const InventoryIds& ids = db_->ids;
        const std::pair<const char*, int> names[] = {
            {"{folder}", ids.folder},           {"{inventory}", ids.inventory},
            {"{snapshot}", ids.snapshot},       {"{host_a}", ids.host_a},
            {"{host_b}", ids.host_b},           {"{tab_summary}", ids.tab_summary},
            {"{tab_interfaces}", ids.tab_interfaces},
        };
        for (const auto& [token, uid] : names)
            for (size_t at = text.find(token); at != std::string::npos; at = text.find(token))
                text.replace(at, std::string(token).size(), std::to_string(uid));
        return text;
    }

    // (uid, type) of every element of a list, in order.
    static std::vector<std::pair<int, int>> uid_types(const TiXmlElement& list)
    {
        std::vector<std::pair<int, int>> out;
        for (const TiXmlElement* e = list.FirstChildElement(); e; e = e->NextSiblingElement()) {
            int uid = 0, type = 0;
            e->QueryIntAttribute("uid", &uid);
            e->QueryIntAttribute("type", &type);
            out.emplace_back(uid, type);
        }
        return out;
    }

    AdminFixture* admin_ = nullptr;
    std::unique_ptr<InventoryDb> db_;
    std::unique_ptr<DataLoader> loader_;
    RecordingServices services_;
    ScopedServerServices installed_{services_};
};

const char* const folder_xml =
    "<TREEITEM uid=\"{folder}\" parent=\"0\" type=\"0\" status=\"0\" has_int_scan=\"0\" locked=\"0\""
    " name='Folder &apos;north&apos; &quot;main&quot; &lt;a&gt; &amp; b' date=\"0\" comment=\"\""
    " haschildren=\"1\" />";
const char* const inventory_xml =
    "<TREEITEM uid=\"{inventory}\" parent=\"{folder}\" type=\"1\" status=\"0\" has_int_scan=\"0\" locked=\"0\""
    " name=\"Inventar M\xc3\xbcller&apos;s net \xe2\x82\xac\" date=\"0\""
    " comment='It&apos;s &lt;b&gt;bold&lt;/b&gt; &amp; &quot;quoted&quot; \xc3\xa9t\xc3\xa9'"
    " ping=\"2\" haschildren=\"1\">"
    "<IP from=\"10.1.1.0\" to=\"10.1.1.255\" file=\"\" />"
    "<IP from=\"\" to=\"\" file=\"walk&apos;s file.txt\" />"
    "<COMM name=\"public\" />"
    "<COMM name='pri&apos;v&quot;ate' />"
    "</TREEITEM>";
const char* const snapshot_xml =
    "<TREEITEM uid=\"{snapshot}\" parent=\"{inventory}\" type=\"2\" status=\"0\" has_int_scan=\"0\" locked=\"0\""
    " name=\"Snapshot 2023-11-14 &apos;first&apos;\" date=\"1700000000\" comment=\"\" haschildren=\"1\" />";
const char* const host_a_xml =
    "<TREEITEM uid=\"{host_a}\" ip=\"10.1.1.1\" dnsname=\"host-a.example.org\" netname=\"HOST&apos;A\""
    " hasping=\"Y\" hassnmp=\"Y\" discovered=\"Y\" vendor=\"Cisco\" class=\"Switch\" classid=\"20\""
    " parent=\"{snapshot}\" type=\"3\" status=\"0\" hosttype=\"2\" locked=\"0\""
    " name=\"host-a.example.org 10.1.1.1\" date=\"1700000100\" comment=\"\" haschildren=\"1\" />";
const char* const host_b_xml =
    "<TREEITEM uid=\"{host_b}\" ip=\"10.1.2.7\" dnsname=\"\" netname=\"b_host%\""
    " hasping=\"Y\" hassnmp=\"Y\" discovered=\"N\" vendor=\"Cisco\" class=\"Switch\" classid=\"20\""
    " parent=\"{snapshot}\" type=\"3\" status=\"0\" hosttype=\"2\" locked=\"0\""
    " name=\" 10.1.2.7\" date=\"1700000200\" comment=\"\" haschildren=\"0\" />";
const char* const tab_summary_xml =
    "<TREEITEM uid=\"{tab_summary}\" parent=\"{host_a}\" type=\"6\" tabtype=\"1\" scanorder=\"1\""
    " name=\"Summary\" haschildren=\"0\" />";
const char* const tab_interfaces_xml =
    "<TREEITEM uid=\"{tab_interfaces}\" parent=\"{host_a}\" type=\"6\" tabtype=\"2\" scanorder=\"2\""
    " name=\"Interfaces\" haschildren=\"0\" />";

TEST_P(TreeXmlTest, ItemElementsByteForByte)
{
    const InventoryIds& ids = db_->ids;
    const struct {
        const char* what;
        int uid;
        const char* xml;
    } cases[] = {
        {"folder", ids.folder, folder_xml},       {"inventory", ids.inventory, inventory_xml},
        {"snapshot", ids.snapshot, snapshot_xml}, {"host from a row", ids.host_a, host_a_xml},
        {"host without DNS name or tabs", ids.host_b, host_b_xml},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(print_xml(DataLoader::item_to_xml(loader_.get(), c.uid)), golden(c.xml)) << c.what;
        TiXmlElement filled("TREEITEM");
        EXPECT_EQ(DataLoader::read_item(loader_.get(), c.uid, filled), 0) << c.what;
        EXPECT_EQ(print_xml(filled), golden(c.xml)) << c.what;
    }
}

TEST_P(TreeXmlTest, TextsSurviveThePrintedXml)
{
    const InventoryIds& ids = db_->ids;
    TiXmlElement list("LIST");
    for (int uid : {ids.folder, ids.inventory, ids.snapshot, ids.host_a, ids.host_b})
        list.InsertEndChild(DataLoader::item_to_xml(loader_.get(), uid));
    TiXmlDocument parsed;
    ASSERT_TRUE(parse_xml(print_xml(list), parsed)) << parsed.ErrorDesc();
    std::map<int, const TiXmlElement*> by_uid;
    for (const TiXmlElement* e = parsed.RootElement()->FirstChildElement(); e; e = e->NextSiblingElement())
        by_uid[std::atoi(e->Attribute("uid"))] = e;
    ASSERT_EQ(by_uid.size(), 5u);
    EXPECT_STREQ(by_uid[ids.folder]->Attribute("name"), folder_name);
    EXPECT_STREQ(by_uid[ids.inventory]->Attribute("name"), inventory_name);
    EXPECT_STREQ(by_uid[ids.inventory]->Attribute("comment"), inventory_comment);
    EXPECT_STREQ(by_uid[ids.inventory]->FirstChildElement("COMM")->NextSiblingElement("COMM")->Attribute("name"),
                 "pri'v\"ate");
    EXPECT_STREQ(by_uid[ids.snapshot]->Attribute("name"), snapshot_name);
    EXPECT_STREQ(by_uid[ids.host_a]->Attribute("netname"), host_a_netname);
    EXPECT_STREQ(by_uid[ids.host_b]->Attribute("netname"), host_b_netname);
}

TEST_P(TreeXmlTest, WrittenTextsComeBackUnchanged)
{
    // Written through the loader's own inserts, read back through the XML.
    const std::string name = "Caf\xc3\xa9 'Nord' \"A&B\" <1>";
    const std::string comment = "50% of _all_ \xe2\x82\xac & <none>";
    TreeItemRecord item;
    item.uid = DataLoader::new_uid(loader_.get());
    ASSERT_GT(item.uid, 0);
    item.parentid = db_->ids.folder;
    item.type = 7;
    item.name = name;
    item.comment = comment;
    ASSERT_EQ(DataLoader::insert_tree_item(loader_.get(), item), item.uid);
    TabRecord tab;
    tab.host_id = db_->ids.host_b;
    tab.type = 2;
    tab.name = name;
    const int tab_uid = DataLoader::insert_tab(loader_.get(), tab);
    ASSERT_GT(tab_uid, 0);

    TiXmlElement list("LIST");
    list.InsertEndChild(DataLoader::item_to_xml(loader_.get(), item.uid));
    DataLoader::tabs_to_xml(loader_.get(), db_->ids.host_b, list);
    TiXmlDocument parsed;
    ASSERT_TRUE(parse_xml(print_xml(list), parsed)) << parsed.ErrorDesc();
    const TiXmlElement* read_item = parsed.RootElement()->FirstChildElement("TREEITEM");
    ASSERT_NE(read_item, nullptr);
    EXPECT_EQ(std::string(read_item->Attribute("name")), name);
    EXPECT_EQ(std::string(read_item->Attribute("comment")), comment);
    const TiXmlElement* read_tab = read_item->NextSiblingElement("TREEITEM");
    ASSERT_NE(read_tab, nullptr);
    EXPECT_EQ(std::string(read_tab->Attribute("uid")), std::to_string(tab_uid));
    EXPECT_EQ(std::string(read_tab->Attribute("name")), name);
    // The host now has a tab: it is discovered and has children.
    TiXmlElement host = DataLoader::item_to_xml(loader_.get(), db_->ids.host_b);
    EXPECT_STREQ(host.Attribute("discovered"), "Y");
    EXPECT_STREQ(host.Attribute("haschildren"), "1");
}

TEST_P(TreeXmlTest, TabsAndNewTab)
{
    TiXmlElement list("LIST");
    EXPECT_EQ(DataLoader::tabs_to_xml(loader_.get(), db_->ids.host_a, list), 2);
    EXPECT_EQ(print_xml(list), golden(std::string("<LIST>") + tab_summary_xml + tab_interfaces_xml + "</LIST>"));
    TiXmlElement none("LIST");
    EXPECT_EQ(DataLoader::tabs_to_xml(loader_.get(), db_->ids.host_b, none), 0);
    EXPECT_EQ(none.FirstChild(), nullptr);

    TabRecord tab;
    tab.host_id = db_->ids.host_b;
    tab.type = 3;
    tab.name = "Soft & <\"ware\">";
    tab.scanorder = 4;
    tab.horlayout = 1;
    EXPECT_EQ(print_xml(DataLoader::tab_to_treeitem(77, tab)),
              golden("<TREEITEM uid=\"77\" parent=\"{host_b}\" type=\"6\" name='Soft &amp; &lt;&quot;ware&quot;&gt;'"
                     " scanorder=\"4\" horlayout=\"1\" />"));
}

TEST_P(TreeXmlTest, ChildrenAsFlatPreOrderLists)
{
    const InventoryIds& ids = db_->ids;
    const std::pair<int, int> inventory{ids.inventory, 1}, snapshot{ids.snapshot, 2}, host_a{ids.host_a, 3},
        host_b{ids.host_b, 3}, summary{ids.tab_summary, 6}, interfaces{ids.tab_interfaces, 6};

    // The whole branch below the folder: tabs follow their host as siblings.
    TiXmlElement all("LIST");
    EXPECT_EQ(DataLoader::children_to_xml(loader_.get(), ids.folder, all, false), 1);
    EXPECT_EQ(uid_types(all), (std::vector<std::pair<int, int>>{inventory, snapshot, host_a, summary, interfaces, host_b}));
    EXPECT_EQ(print_xml(all), golden(std::string("<LIST>") + inventory_xml + snapshot_xml + host_a_xml +
                                     tab_summary_xml + tab_interfaces_xml + host_b_xml + "</LIST>"));

    TiXmlElement one("LIST");
    EXPECT_EQ(DataLoader::children_to_xml(loader_.get(), ids.folder, one, true), 1);
    EXPECT_EQ(uid_types(one), (std::vector<std::pair<int, int>>{inventory}));

    // A snapshot has no tree children: its hosts are listed, with tabs
    // unless one level is asked for.
    TiXmlElement hosts("LIST");
    EXPECT_EQ(DataLoader::children_to_xml(loader_.get(), ids.snapshot, hosts, false), 2);
    EXPECT_EQ(uid_types(hosts), (std::vector<std::pair<int, int>>{host_a, summary, interfaces, host_b}));
    TiXmlElement bare("LIST");
    EXPECT_EQ(DataLoader::children_to_xml(loader_.get(), ids.snapshot, bare, true), 2);
    EXPECT_EQ(uid_types(bare), (std::vector<std::pair<int, int>>{host_a, host_b}));
    TiXmlElement direct("LIST");
    EXPECT_EQ(DataLoader::hosts_to_xml(loader_.get(), ids.snapshot, direct, true), 2);
    EXPECT_EQ(uid_types(direct), (std::vector<std::pair<int, int>>{host_a, host_b}));

    // Nothing below a host's uid in the tree and no hosts under it: 0.
    TiXmlElement empty("LIST");
    EXPECT_EQ(DataLoader::children_to_xml(loader_.get(), ids.host_b, empty, false), 0);
    EXPECT_EQ(empty.FirstChild(), nullptr);
}

TEST_P(TreeXmlTest, ALoopInTheParentsEndsTheListing)
{
    // The folder hangs below its own inventory, and the inventory below
    // itself: each listing still ends and names every item once.
    const InventoryIds& ids = db_->ids;
    auto c = db_->connect();
    c->get_stmnt_results("UPDATE InventoryTree SET parentid = ? WHERE uid = ?",
                         {int32_t(ids.inventory), int32_t(ids.folder)});
    const auto sorted_uids = [](const TiXmlElement& list) {
        std::vector<int> uids;
        for (const auto& [uid, type] : uid_types(list))
            uids.push_back(uid);
        std::sort(uids.begin(), uids.end());
        return uids;
    };
    std::vector<int> branch{ids.inventory, ids.snapshot, ids.host_a, ids.host_b, ids.tab_summary,
                            ids.tab_interfaces};
    std::sort(branch.begin(), branch.end());

    LogCapture log;
    TiXmlElement all("LIST");
    EXPECT_EQ(DataLoader::children_to_xml(loader_.get(), ids.folder, all, false), 1);
    EXPECT_EQ(sorted_uids(all), branch);
    EXPECT_NE(log.text().find("Tree item " + std::to_string(ids.folder) + " is its own ancestor"), std::string::npos);

    c->get_stmnt_results("UPDATE InventoryTree SET parentid = ? WHERE uid = ?",
                         {int32_t(ids.inventory), int32_t(ids.inventory)});
    TiXmlElement self("LIST");
    EXPECT_EQ(DataLoader::children_to_xml(loader_.get(), ids.inventory, self, false), 2);  // snapshot, folder
    branch.erase(std::find(branch.begin(), branch.end(), ids.inventory));
    branch.push_back(ids.folder);
    std::sort(branch.begin(), branch.end());
    EXPECT_EQ(sorted_uids(self), branch);
}

TEST_P(TreeXmlTest, SnapshotListingEqualsTheSingleHostElements)
{
    const InventoryIds& ids = db_->ids;
    auto c = db_->connect();
    const auto add_host = [&](int as_of, const std::string& address, int vendor, int class_id) {
        const int uid = fixture_new_uid(*c);
        c->get_stmnt_results(
            "INSERT INTO InventoryHosts (AsOfId, uid, NetAddr, NetAddrInt, DNSName, NetName, TimeStmp, HasPing, "
            "HasSnmp, Status, Processed, CommunityStr, SysObjId, DevClassId, DevGroupId, DevVendorId, AgentTypeHard, "
            "AgentTypeSoft, AgentTypeMon) VALUES (?, ?, ?, 0, ?, 'n', 1700000300, 'Y', 'N', 4, 0, 'public', '', ?, 3, ?, "
            "0, 0, 0)",
            {int32_t(as_of), int32_t(uid), address, "dns-" + address, int32_t(class_id), int32_t(vendor)});
        return uid;
    };
    // Tab rows written in the given order of their uids.
    const auto add_tabs = [&](int host, std::vector<int> uids) {
        for (int uid : uids)
            c->get_stmnt_results(
                "INSERT INTO InventoryTabs (uid, host_id, type, scanorder, horlayout, name) VALUES (?, ?, 2, ?, 0, ?)",
                {int32_t(uid), int32_t(host), int32_t(uid % 7), "tab " + std::to_string(uid)});
    };
    // Known and unknown vendors and classes, repeated ids, hosts with several
    // tabs, one tab, none; one host's tabs written in falling uid order.
    const int with_three = add_host(ids.snapshot, "10.2.0.1", 311, 30);
    const int unknown_ids = add_host(ids.snapshot, "10.2.0.2", 4242, 99);
    const int with_one = add_host(ids.snapshot, "10.2.0.3", 77, 10);
    const int reversed = add_host(ids.snapshot, "10.2.0.4", 4242, 30);
    std::vector<int> reversed_tabs;
    for (int k = 0; k < 3; ++k)
        reversed_tabs.insert(reversed_tabs.begin(), fixture_new_uid(*c));
    add_tabs(reversed, reversed_tabs);
    add_tabs(with_three, {fixture_new_uid(*c), fixture_new_uid(*c), fixture_new_uid(*c)});
    add_tabs(with_one, {fixture_new_uid(*c)});
    // A host of another snapshot whose tabs must not show up here.
    const int other_snapshot = fixture_new_uid(*c);
    c->get_stmnt_results("INSERT INTO InventoryTree (uid, parentid, type, status, locked, name, Tabs2Scan, comment, "
                         "TimeStmp, has_internal_scans) VALUES (?, ?, 2, 0, 0, 'other', '', '', 0, 0)",
                         {int32_t(other_snapshot), int32_t(ids.inventory)});
    add_tabs(add_host(other_snapshot, "10.3.0.1", 9, 20), {fixture_new_uid(*c)});

    const std::vector<int> expected_hosts{ids.host_a, ids.host_b, with_three, unknown_ids, with_one, reversed};
    // The single-host path over the hosts in the listing's order (a host
    // element cut short has no type; only tabs have 6).
    const auto one_by_one = [&](const TiXmlElement& listing, bool with_tabs) {
        TiXmlElement list("LIST");
        std::vector<int> hosts;
        for (const auto& [uid, type] : uid_types(listing))
            if (type != 6) {
                hosts.push_back(uid);
                list.InsertEndChild(DataLoader::item_to_xml(loader_.get(), uid));
                if (with_tabs)
                    DataLoader::tabs_to_xml(loader_.get(), uid, list);
            }
        std::vector<int> sorted = hosts;
        std::sort(sorted.begin(), sorted.end());
        EXPECT_EQ(sorted, expected_hosts);
        return list;
    };
    const auto compare = [&](const char* what) {
        for (bool without_tabs : {false, true}) {
            TiXmlElement listing("LIST");
            EXPECT_EQ(DataLoader::hosts_to_xml(loader_.get(), ids.snapshot, listing, without_tabs), 6) << what;
            const TiXmlElement expected = one_by_one(listing, !without_tabs);
            const TiXmlElement* got = listing.FirstChildElement();
            for (const TiXmlElement* want = expected.FirstChildElement(); want; want = want->NextSiblingElement()) {
                ASSERT_NE(got, nullptr) << what;
                EXPECT_EQ(print_xml(*got), print_xml(*want)) << what << " without_tabs " << without_tabs;
                got = got->NextSiblingElement();
            }
            EXPECT_EQ(got, nullptr) << what;
        }
    };

    compare("with names");
    TiXmlElement listing("LIST");
    DataLoader::hosts_to_xml(loader_.get(), ids.snapshot, listing, false);
    std::map<int, std::vector<int>> tabs_of;
    std::map<int, const TiXmlElement*> host_of;
    for (const TiXmlElement* e = listing.FirstChildElement(); e; e = e->NextSiblingElement()) {
        int uid = 0, type = 0, parent = 0;
        e->QueryIntAttribute("uid", &uid);
        e->QueryIntAttribute("type", &type);
        e->QueryIntAttribute("parent", &parent);
        if (type == 3)
            host_of[uid] = e;
        else
            tabs_of[parent].push_back(uid);
    }
    std::vector<int> ascending = reversed_tabs;
    std::sort(ascending.begin(), ascending.end());
    EXPECT_EQ(tabs_of[reversed], ascending);
    EXPECT_EQ(tabs_of[with_three].size(), 3u);
    EXPECT_EQ(tabs_of.count(unknown_ids), 0u);
    EXPECT_STREQ(host_of[with_three]->Attribute("vendor"), "Microsoft");
    EXPECT_STREQ(host_of[with_three]->Attribute("class"), "Server");
    EXPECT_STREQ(host_of[unknown_ids]->Attribute("vendor"), "");
    EXPECT_STREQ(host_of[unknown_ids]->Attribute("discovered"), "N");
    EXPECT_STREQ(host_of[reversed]->Attribute("class"), "Server");
    EXPECT_STREQ(host_of[reversed]->Attribute("haschildren"), "1");

    services_.set_data_source("ADMIN", nullptr);
    compare("without an administration loader");
    // Without the tab table both paths stop each host after its own texts.
    c->query("DROP TABLE InventoryTabs");
    LogCapture log;
    compare("without tabs table");
    EXPECT_NE(lower(log.text()).find("inventorytabs"), std::string::npos);
}

TEST_P(TreeXmlTest, ChildrenTestByItemType)
{
    const InventoryIds& ids = db_->ids;
    const struct {
        int uid;
        bool expected;
    } cases[] = {
        {ids.folder, true},    {ids.inventory, true}, {ids.snapshot, true}, {ids.host_a, true},
        {ids.host_b, false},   {ids.tab_summary, false},  // a tab never has children
        {999999, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DataLoader::has_children(loader_.get(), c.uid), c.expected) << c.uid;

    // An empty snapshot (type 2) has no children; a type-7 item with a tree child has.
    auto c = db_->connect();
    c->get_stmnt_results("DELETE FROM InventoryHosts WHERE AsOfId = ?", {int32_t(ids.snapshot)});
    c->get_stmnt_results("UPDATE InventoryTree SET type = 7 WHERE uid = ?", {int32_t(ids.folder)});
    EXPECT_FALSE(DataLoader::has_children(loader_.get(), ids.snapshot));
    EXPECT_TRUE(DataLoader::has_children(loader_.get(), ids.folder));
}

TEST_P(TreeXmlTest, InventoryWithoutSettingsHasNoPingAndNoChildren)
{
    const InventoryIds& ids = db_->ids;
    auto c = db_->connect();
    for (const char* table : {"InventoryPing", "InventoryIPs", "InventoryComms"})
        c->get_stmnt_results(std::string("DELETE FROM ") + table + " WHERE InventoryID = ?", {int32_t(ids.inventory)});
    c->get_stmnt_results("DELETE FROM InventoryTree WHERE uid = ?", {int32_t(ids.snapshot)});
    EXPECT_EQ(print_xml(DataLoader::item_to_xml(loader_.get(), ids.inventory)),
              golden("<TREEITEM uid=\"{inventory}\" parent=\"{folder}\" type=\"1\" status=\"0\" has_int_scan=\"0\""
                     " locked=\"0\" name=\"Inventar M\xc3\xbcller&apos;s net \xe2\x82\xac\" date=\"0\""
                     " comment='It&apos;s &lt;b&gt;bold&lt;/b&gt; &amp; &quot;quoted&quot; \xc3\xa9t\xc3\xa9'"
                     " haschildren=\"0\" />"));
}

TEST_P(TreeXmlTest, RangesAndCommunitiesInTheirStoredPlaces)
{
    // Rows written out of place order come back in place order.
    const int inventory = db_->ids.inventory;
    auto c = db_->connect();
    c->get_stmnt_results("DELETE FROM InventoryComms WHERE InventoryID = ?", {int32_t(inventory)});
    for (auto [name, place] : {std::pair{"third", 2}, std::pair{"first", 0}, std::pair{"second", 1}})
        c->get_stmnt_results("INSERT INTO InventoryComms (InventoryID, Name, PlaceOrder) VALUES (?, ?, ?)",
                             {int32_t(inventory), std::string(name), int32_t(place)});
    TiXmlElement item = DataLoader::item_to_xml(loader_.get(), inventory);
    std::vector<std::string> names;
    for (const TiXmlElement* e = item.FirstChildElement("COMM"); e; e = e->NextSiblingElement("COMM"))
        names.push_back(e->Attribute("name"));
    EXPECT_EQ(names, (std::vector<std::string>{"first", "second", "third"}));
}

TEST_P(TreeXmlTest, UnknownItemsAndTitles)
{
    const InventoryIds& ids = db_->ids;
    TiXmlElement element("TREEITEM");
    EXPECT_EQ(DataLoader::read_item(loader_.get(), 424242, element), -1);
    EXPECT_EQ(print_xml(element), "<TREEITEM />");
    EXPECT_EQ(print_xml(DataLoader::item_to_xml(loader_.get(), 424242)), "<TREEITEM />");

    EXPECT_EQ(DataLoader::get_item_title(loader_.get(), -1), "trv-server.test");
    EXPECT_EQ(DataLoader::get_item_title(loader_.get(), ids.folder), folder_name);
    EXPECT_EQ(DataLoader::get_item_title(loader_.get(), ids.snapshot), snapshot_name);
    EXPECT_EQ(DataLoader::get_item_title(loader_.get(), ids.host_a),
              std::string(host_a_dns) + " [" + host_a_address + "] " + FormatDateTime(host_a_time));
    EXPECT_EQ(DataLoader::get_item_title(loader_.get(), ids.host_b),
              std::string("[") + host_b_address + "] " + FormatDateTime(host_b_time));
}

TEST_P(TreeXmlTest, QueryFailuresAreLoggedAndGiveNeutralResults)
{
    const InventoryIds& ids = db_->ids;
    auto c = db_->connect();
    c->query("DROP TABLE InventoryTabs");
    LogCapture log;
    TiXmlElement tabs("LIST");
    EXPECT_EQ(DataLoader::tabs_to_xml(loader_.get(), ids.host_a, tabs), 0);
    EXPECT_EQ(tabs.FirstChild(), nullptr);
    EXPECT_FALSE(DataLoader::has_children(loader_.get(), ids.host_a));
    // A host element stops at the first failed test, after the row's own texts.
    EXPECT_EQ(print_xml(DataLoader::item_to_xml(loader_.get(), ids.host_a)),
              golden("<TREEITEM uid=\"{host_a}\" ip=\"10.1.1.1\" dnsname=\"host-a.example.org\""
                     " netname=\"HOST&apos;A\" hasping=\"Y\" hassnmp=\"Y\" />"));
    EXPECT_NE(lower(log.text()).find("inventorytabs"), std::string::npos);

    // The tree part still lists; the hosts' elements stop at the failed test.
    c->query("DROP TABLE InventoryHosts");
    TiXmlElement list("LIST");
    EXPECT_EQ(DataLoader::hosts_to_xml(loader_.get(), ids.snapshot, list, false), 0);
    EXPECT_EQ(DataLoader::children_to_xml(loader_.get(), ids.folder, list, false), 1);
    EXPECT_EQ(uid_types(list), (std::vector<std::pair<int, int>>{{ids.inventory, 1}, {ids.snapshot, 2}}));
    TiXmlElement element("TREEITEM");
    EXPECT_EQ(DataLoader::read_item(loader_.get(), ids.host_a, element), 0);  // a query error reads 0
}

TEST_P(TreeXmlTest, MissingLoaderIsLoggedOnce)
{
    LogCapture log;
    DataLoader* none = nullptr;
    TiXmlElement list("LIST");
    EXPECT_EQ(print_xml(DataLoader::item_to_xml(none, db_->ids.folder)), "<TREEITEM />");
    EXPECT_EQ(DataLoader::children_to_xml(none, db_->ids.folder, list, false), 0);
    EXPECT_EQ(DataLoader::hosts_to_xml(none, db_->ids.snapshot, list, false), 0);
    EXPECT_EQ(DataLoader::tabs_to_xml(none, db_->ids.host_a, list), 0);
    EXPECT_FALSE(DataLoader::has_children(none, db_->ids.folder));
    EXPECT_EQ(DataLoader::get_item_title(none, db_->ids.folder), "");
    EXPECT_EQ(list.FirstChild(), nullptr);
    EXPECT_EQ(log.count("Common resource error at DataLoader, existance test failed"), 6);
}

INSTANTIATE_TEST_SUITE_P(Backends, TreeXmlTest, TRV_DB_BACKENDS);

}  // namespace
