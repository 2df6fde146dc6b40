// Scan settings records: the tabs to scan (ScanSet of ScanEntry), address
// ranges (IPRangeSet), community strings (CommunitySet), an inventory item's
// whole settings (ScanSettings), named id pairs (DeviceDescrArray_), and the
// small texts built from them: the TREEITEM announcing a new tab and the
// column fragments of a host update. Plain values owned by their holder; one
// thread at a time per object.
#pragma once

#include "qr_array.h"

#include <string>

class TiXmlElement;

struct ScanEntry {
    std::string name;       // SNMPTabsTypes.name
    std::string map_name;   // TrvDBTablesNames.MapName
    std::string data_name;  // TrvDBTablesNames.DataName
    int horlayout = 1;
    int scan_order = -1;  // SNMPWhat2Scan.ScanOrder
    int agent_cat = 0;
    int tab_id = -1;
    bool preparing = false;  // the agent is still preparing the tab's data
    int attempts = 5;        // attempts left
};

class ScanSet : public tgDArray<ScanEntry> {
public:
    // False (nothing changed) when index is not below the count.
    bool remove_at(int index);
    // Removes the first entry of that tab type, if any.
    void remove_by_tab(int tab_id);
};

class IPRange {
public:
    IPRange() = default;
    // An empty or "0.0.0.0" from/to is stored as empty text.
    IPRange(const std::string& from, const std::string& to, const std::string& file, int place_order);

    std::string from;
    std::string to;
    std::string file;  // walk file name; empty for a live range
    int place_order = 0;
};

class Community {
public:
    Community() = default;
    Community(const std::string& n, int order) : name(n), place_order(order) {}

    std::string name;
    int place_order = 0;
};

class IPRangeSet : public tgDArray<IPRange> {
public:
    // Appends a copy; returns the count after the append.
    int add(const IPRange& range)
    {
        Add(range);
        return Count();
    }
};

class CommunitySet : public tgDArray<Community> {};

struct ScanSettings {
    // 1 SNMP only; 2 ping first, SNMP only after an answer; 3 SNMP first, ping
    // only when SNMP stays silent.
    int ping = 3;
    IPRangeSet ranges;
    CommunitySet communities;
};

class DeviceDescr {
public:
    DeviceDescr() = default;
    DeviceDescr(const std::string& n, int f, int s) : name(n), first(f), second(s) {}

    std::string name;
    int first = -1;
    int second = -1;
};

class DeviceDescrArray_ : public tgDArray<DeviceDescr> {};

// Clears list, then appends each comma-separated piece as a decimal number (a
// piece that is no number gives 0); a trailing comma adds nothing.
void parse_id_list(const std::string& text, IntArray& list);

// The entry named name, appended as (name, -1, -1) when absent.
DeviceDescr& find_or_add_descr(DeviceDescrArray_& list, const std::string& name);

// A tab row of the inventory database, passed by value.
struct TabRecord {
    int host_id = 0;
    int type = 0;  // tab type id
    std::string name;
    int scanorder = 0;
    int horlayout = 0;
};

// The TREEITEM announcing a new tab: uid, parent (host), type 6, name,
// scanorder, horlayout, in this order.
TiXmlElement new_tab_treeitem(int uid, const TabRecord& tab);

// Job states a host update reads; the scan engine owns their meaning.
constexpr int HOST_JOB_PINGING = 2;
constexpr int HOST_JOB_SNMP_RUNNING = 3;
constexpr int HOST_JOB_SNMP_DONE = 7;
constexpr int HOST_JOB_CANCELLED = 10;

// Column fragments of a host update, from a job's state and has-ping flag:
// "HasPing='Y'," / "HasSnmp='N'," / "Status=1," (empty for a cancelled job,
// except the status).
std::string host_ping_fragment(int state, bool has_ping);
std::string host_snmp_fragment(int state);
std::string host_status_fragment(int state);
