#include "scan_settings.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <tinyxml.h>

bool ScanSet::remove_at(int index)
{
    if (index < 0 || index >= Count())
        return false;
    RemoveAt(index);
    return true;
}

void ScanSet::remove_by_tab(int tab_id)
{
    for (int i = 0; i < Count(); ++i) {
        if ((*this)[i].tab_id == tab_id) {
            remove_at(i);
            return;
        }
    }
}

namespace {

std::string address_or_empty(const std::string& address)
{
    return address == "0.0.0.0" ? std::string() : address;
}

int decimal(const std::string& text)
{
    long v = std::strtol(text.c_str(), nullptr, 10);
    if (v > INT_MAX) return INT_MAX;
    if (v < INT_MIN) return INT_MIN;
    return static_cast<int>(v);
}

}  // namespace

IPRange::IPRange(const std::string& f, const std::string& t, const std::string& fl, int order)
    : from(address_or_empty(f)), to(address_or_empty(t)), file(fl), place_order(order)
{
}

void parse_id_list(const std::string& text, IntArray& list)
{
    list.Clear();
    size_t start = 0;
    while (start < text.size()) {
        size_t comma = text.find(',', start);
        size_t end = comma == std::string::npos ? text.size() : comma;
        list.Add(decimal(text.substr(start, end - start)));
        if (comma == std::string::npos)
            break;
        start = comma + 1;
    }
}

DeviceDescr& find_or_add_descr(DeviceDescrArray_& list, const std::string& name)
{
    for (DeviceDescr& d : list)
        if (d.name == name)
            return d;
    list.Add(DeviceDescr(name, -1, -1));
    return list[list.Count() - 1];
}

TiXmlElement new_tab_treeitem(int uid, const TabRecord& tab)
{
    TiXmlElement e("TREEITEM");
    e.SetAttribute("uid", uid);
    e.SetAttribute("parent", tab.host_id);
    e.SetAttribute("type", 6);
    e.SetAttribute("name", tab.name);
    e.SetAttribute("scanorder", tab.scanorder);
    e.SetAttribute("horlayout", tab.horlayout);
    return e;
}

std::string host_ping_fragment(int state, bool has_ping)
{
    if (state == HOST_JOB_CANCELLED)
        return std::string();
    return std::string("HasPing=") + (has_ping ? "'Y'" : "'N'") + ",";
}

std::string host_snmp_fragment(int state)
{
    if (state == HOST_JOB_CANCELLED)
        return std::string();
    bool snmp = state == HOST_JOB_SNMP_RUNNING || state == HOST_JOB_SNMP_DONE;
    return std::string("HasSnmp=") + (snmp ? "'Y'" : "'N'") + ",";
}

std::string host_status_fragment(int state)
{
    if (state == HOST_JOB_PINGING || state == HOST_JOB_SNMP_RUNNING)
        return "Status=1,";
    if (state == HOST_JOB_CANCELLED)
        return "Status=4,";
    return "Status=0,";
}
