#include "scan_settings.h"

#include <gtest/gtest.h>
#include <tinyxml.h>

namespace {

TEST(ScanSettings, Defaults)
{
    ScanEntry e;
    EXPECT_EQ(e.horlayout, 1);
    EXPECT_EQ(e.scan_order, -1);
    EXPECT_EQ(e.agent_cat, 0);
    EXPECT_EQ(e.tab_id, -1);
    EXPECT_FALSE(e.preparing);
    EXPECT_EQ(e.attempts, 5);
    ScanSettings s;
    EXPECT_EQ(s.ping, 3);
    EXPECT_EQ(s.ranges.Count(), 0);
    EXPECT_EQ(s.ranges.Capacity(), 10);
    EXPECT_EQ(s.communities.Count(), 0);
    DeviceDescr d;
    EXPECT_EQ(d.name, "");
    EXPECT_EQ(d.first, -1);
    EXPECT_EQ(d.second, -1);
    Community c;
    EXPECT_EQ(c.place_order, 0);
}

TEST(ScanSettings, IPRangeDropsNullAddresses)
{
    IPRange a("0.0.0.0", "10.0.0.255", "", 0);
    EXPECT_EQ(a.from, "");
    EXPECT_EQ(a.to, "10.0.0.255");
    IPRange b("", "", "walk1.txt", 2);
    EXPECT_EQ(b.from, "");
    EXPECT_EQ(b.to, "");
    EXPECT_EQ(b.file, "walk1.txt");
    EXPECT_EQ(b.place_order, 2);
    IPRange c("10.1.*.*", "0.0.0.0", "", 1);
    EXPECT_EQ(c.from, "10.1.*.*");
    EXPECT_EQ(c.to, "");

    IPRangeSet set;
    EXPECT_EQ(set.add(a), 1);
    EXPECT_EQ(set.add(b), 2);
    IPRangeSet copy = set;
    set[0].to = "changed";
    EXPECT_EQ(copy[0].to, "10.0.0.255");
    EXPECT_EQ(copy[1].file, "walk1.txt");
}

ScanSet tabs(std::initializer_list<int> ids)
{
    ScanSet s;
    for (int id : ids) {
        ScanEntry e;
        e.tab_id = id;
        e.name = "tab" + std::to_string(id);
        e.map_name = "Map" + std::to_string(id);
        e.data_name = "Data" + std::to_string(id);
        e.horlayout = id % 2;
        e.scan_order = id * 10;
        e.agent_cat = id % 3;
        e.preparing = id == 3;
        e.attempts = id + 1;
        s.Add(e);
    }
    return s;
}

std::vector<int> ids(const ScanSet& s)
{
    std::vector<int> out;
    for (const ScanEntry& e : s)
        out.push_back(e.tab_id);
    return out;
}

TEST(ScanSettings, ScanSetRemoval)
{
    ScanSet s = tabs({1, 2, 3, 4});
    EXPECT_FALSE(s.remove_at(4));
    EXPECT_FALSE(s.remove_at(-1));
    EXPECT_EQ(ids(s), (std::vector<int>{1, 2, 3, 4}));

    EXPECT_TRUE(s.remove_at(1));
    EXPECT_EQ(ids(s), (std::vector<int>{1, 3, 4}));
    // The entry that moved down keeps all its fields.
    const ScanEntry& moved = s[1];
    EXPECT_EQ(moved.name, "tab3");
    EXPECT_EQ(moved.map_name, "Map3");
    EXPECT_EQ(moved.data_name, "Data3");
    EXPECT_EQ(moved.horlayout, 1);
    EXPECT_EQ(moved.scan_order, 30);
    EXPECT_EQ(moved.agent_cat, 0);
    EXPECT_TRUE(moved.preparing);
    EXPECT_EQ(moved.attempts, 4);

    ScanSet twice = tabs({5, 6, 5});
    twice.remove_by_tab(5);
    EXPECT_EQ(ids(twice), (std::vector<int>{6, 5}));
    twice.remove_by_tab(9);
    EXPECT_EQ(ids(twice), (std::vector<int>{6, 5}));
}

TEST(ScanSettings, ParseIdList)
{
    struct Case {
        std::string text;
        std::vector<int> expected;
    } cases[] = {
        {"4,7,12", {4, 7, 12}}, {"", {}}, {"4,,7", {4, 0, 7}}, {"4,7,", {4, 7}}, {"x,-3", {0, -3}},
    };
    for (const Case& c : cases) {
        IntArray list;
        list.Add(99);  // cleared first
        parse_id_list(c.text, list);
        std::vector<int> got(list.begin(), list.end());
        EXPECT_EQ(got, c.expected) << c.text;
    }
}

TEST(ScanSettings, FindOrAddDescr)
{
    DeviceDescrArray_ list;
    DeviceDescr& a = find_or_add_descr(list, "dev-1");
    EXPECT_EQ(list.Count(), 1);
    EXPECT_EQ(a.first, -1);
    EXPECT_EQ(a.second, -1);
    a.first = 10;
    a.second = 20;
    find_or_add_descr(list, "dev-2");
    DeviceDescr& again = find_or_add_descr(list, "dev-1");
    EXPECT_EQ(list.Count(), 2);
    EXPECT_EQ(again.first, 10);
    EXPECT_EQ(again.second, 20);
}

TEST(ScanSettings, NewTabTreeItem)
{
    TabRecord tab;
    tab.host_id = 41;
    tab.type = 99;
    tab.name = "Interfaces \"eth\" & <more>";
    tab.scanorder = 3;
    tab.horlayout = 1;
    TiXmlElement e = new_tab_treeitem(57, tab);
    EXPECT_EQ(std::string(e.Value()), "TREEITEM");
    std::vector<std::pair<std::string, std::string>> attrs;
    for (const TiXmlAttribute* a = e.FirstAttribute(); a; a = a->Next())
        attrs.emplace_back(a->Name(), a->Value());
    EXPECT_EQ(attrs, (std::vector<std::pair<std::string, std::string>>{{"uid", "57"},
                                                                       {"parent", "41"},
                                                                       {"type", "6"},
                                                                       {"name", tab.name},
                                                                       {"scanorder", "3"},
                                                                       {"horlayout", "1"}}));
    EXPECT_EQ(e.FirstChild(), nullptr);
}

TEST(ScanSettings, HostUpdateFragments)
{
    struct Case {
        int state;
        bool has_ping;
        const char *ping, *snmp, *status;
    } cases[] = {
        {10, true, "", "", "Status=4,"},
        {7, false, "HasPing='N',", "HasSnmp='Y',", "Status=0,"},
        {3, true, "HasPing='Y',", "HasSnmp='Y',", "Status=1,"},
        {2, true, "HasPing='Y',", "HasSnmp='N',", "Status=1,"},
        {8, false, "HasPing='N',", "HasSnmp='N',", "Status=0,"},
        {9, true, "HasPing='Y',", "HasSnmp='N',", "Status=0,"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(host_ping_fragment(c.state, c.has_ping), c.ping) << c.state;
        EXPECT_EQ(host_snmp_fragment(c.state), c.snmp) << c.state;
        EXPECT_EQ(host_status_fragment(c.state), c.status) << c.state;
    }
}

}  // namespace
