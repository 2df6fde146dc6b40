#include "discovery.h"

#include "ip_mask.h"
#include "job.h"
#include "loader.h"
#include "map_scan.h"
#include "scan_table.h"
#include "scanner.h"
#include "services.h"
#include "snmp_session.h"

#include "qr_log.h"
#include "qr_settings.h"

#include <tinyxml.h>

namespace {

constexpr const char* SysNameOid = ".1.3.6.1.2.1.1.5";

// A host's walks are kept for the length of its discovery and no longer.
class HostWalkCache {
public:
    HostWalkCache(CSnmpSession* session, bool on) : session_(session)
    {
        if (on)
            session_->begin_host_cache();
    }
    ~HostWalkCache() { session_->end_host_cache(); }
    HostWalkCache(const HostWalkCache&) = delete;
    HostWalkCache& operator=(const HostWalkCache&) = delete;

private:
    CSnmpSession* session_;
};

int tab_attempts()
{
    return ReadRegistryInt("SNMPTabAttempts", 20);
}

void identify_device(Job* job)
{
    DataLoader* admin = GetAdminDataSource();
    std::string sys_obj_id = job->get_sys_obj_id();
    int class_id = 0, group_id = 0, vendor_id = 0;
    if (DataLoader::find_device_by_sysobjid(admin, sys_obj_id, class_id, group_id, vendor_id))
        job->set_sys_obj_id(sys_obj_id);  // the mapping's own form, which the map rows use
    else
        TRV_LOG(qr_Error, "Can not find entry in SNMPMibMap");
    job->set_dev_class_id(class_id);
    job->set_dev_group_id(group_id);
    job->set_dev_vendor_id(vendor_id);
    TRV_LOG(qr_Info, "Device class: " << DataLoader::get_device_class_name(admin, class_id) << "(" << class_id
                                      << "). Vendor: " << DataLoader::get_vendor_name(admin, vendor_id) << "("
                                      << vendor_id << "). Group: " << DataLoader::get_group_name(admin, group_id)
                                      << "(" << group_id << ")");
}

// Reads the tabs of the device; false when the job was cancelled.
bool scan_tabs(Scanner& scanner, CSnmpSession* session, Job* job, const std::string& community)
{
    const std::string key = job->get_source_key();
    const std::string address = job->get_net_addr();
    const int attempts = tab_attempts();
    MapLineFilter filter("SNMPWhat2Scan", job->get_sys_obj_id(), job->get_dev_class_id(), job->get_dev_group_id(),
                         job->get_dev_vendor_id(), job->get_agent_type_hard());
    ScanSet set;
    if (!DataLoader::get_tabs_to_scan(GetAdminDataSource(), filter, set, job->get_tabs(), attempts)) {
        // A scan that goes on would complete with hosts and no tabs, as if
        // the devices had nothing to tell: it ends as aborted instead.
        if (job->is_cancelled())
            return false;
        const std::string text = "Can not read the mapping tables of the administration data source; the scan of " +
                                 address + " and of its snapshot is stopped.";
        TRV_LOG(qr_Error, text);
        SendLogBroadcast(text, key, address, true);
        scanner.cancel_snapshot(key, job->get_as_of_id());
        scanner.jobs().cancel_snapshot(job->get_as_of_id(), key);
        job->is_cancelled();  // this job's cancel takes effect here, as at every other stop
        return false;
    }
    SendLogBroadcast("Found " + std::to_string(set.Count()) + " tabs to scan", key, address);

    bool host_sent = false;
    int next_waiting = 0;
    while (set.Count() > 0) {
        int index = -1;
        for (int i = 0; i < set.Count(); ++i) {
            if (!set[i].preparing) {
                index = i;
                break;
            }
        }
        if (index < 0) {
            SendLogBroadcast("Waiting for agent...", key, address);
            if (!scanner.pause(1000))
                return !job->is_cancelled();
            index = next_waiting % set.Count();
            next_waiting = index + 1;
        }
        ScanEntry entry = set[index];
        SendLogBroadcast("Tab " + entry.name + ": Scanning. Attempt " +
                             std::to_string(attempts - entry.attempts + 1) + " of " + std::to_string(attempts),
                         key, address);
        if (job->is_cancelled())
            return false;
        TabScanRequest request;
        request.session = session;
        request.agent_cat = entry.agent_cat;
        request.map_name = entry.map_name;
        request.data_name = entry.data_name;
        request.job = job;
        request.address = address;
        request.community = community;
        request.walk_file = job->get_walk_file();
        request.folder = scanner.program_dir();
        int result = scan_map_lines(request);
        if (job->is_cancelled())
            return false;
        if (result == 0) {
            SendLogBroadcast("Tab " + entry.name + ": Saving data.", key, address);
            TabRecord tab;
            tab.host_id = job->get_host_uid();
            tab.type = entry.tab_id;
            tab.name = entry.name;
            tab.scanorder = entry.scan_order;
            tab.horlayout = entry.horlayout;
            DataLoader* loader = GetDataSource(key);
            int uid = DataLoader::insert_tab(loader, tab);
            if (uid > 0)
                SendToClientsOfType(DataLoader::tab_to_treeitem(uid, tab), key);
            if (!host_sent) {
                SendTreeItem(job->get_host_uid(), key);
                host_sent = true;
            }
            set.remove_by_tab(entry.tab_id);
        } else if (result == 1) {
            std::string text = "Tab " + entry.name + ": Agent is ready but there is no data.";
            TRV_LOG(qr_Info, text);
            SendLogBroadcast(text, key, address);
            set.remove_by_tab(entry.tab_id);
        } else if (result == 2) {
            std::string text = "Tab " + entry.name + ": Agent is preparing requested data. Go to the next tab.";
            TRV_LOG(qr_Info, text);
            SendLogBroadcast(text, key, address);
            set[index].preparing = true;
            if (--set[index].attempts <= 0) {
                text = "Tab " + entry.name + ": Scan failed due to agent unavailability.";
                TRV_LOG(qr_Info, text);
                SendLogBroadcast(text, key, address);
                set.remove_at(index);
            }
        }
    }
    return true;
}

}  // namespace

std::string get_snmp_value(Scanner& scanner, CSnmpSession* session, const std::string& address,
                           const std::string& community, const std::string& walk_file, const std::string& oid)
{
    ScanDataTable table;
    ScanMapLine(session, address, community, walk_file, scanner.program_dir(), {oid}, table, false);
    if (table.columns.empty() || table.columns[0].values.empty())
        return std::string();
    return table.columns[0].values[0];
}

int probe_agent_type(Scanner& scanner, CSnmpSession* session, int category, const std::string& address,
                     const std::string& community, const std::string& walk_file)
{
    static const char* const names[] = {"Hardware", "Software", "Monitoring"};
    static const char* const oids[] = {".1.3.6.1.4.1.39871.1.3.1.1", ".1.3.6.1.4.1.39871.1.2.1.1.1",
                                       ".1.3.6.1.4.1.39871.1.4.1.1.1"};
    if (category < 0 || category > 2)
        return 1;
    TRV_LOG(qr_Info, "Getting " << names[category] << " agent type, ip=" << address << ",cs=" << community);
    int result = 1;
    for (int attempt = 0; attempt < 10; ++attempt) {
        int r = GetAgentType(session, address, community, oids[category], walk_file);
        if (r != -1) {
            result = r;
            break;
        }
        if (!scanner.pause(500))
            break;
    }
    TRV_LOG(qr_Info, names[category] << " Agent Type=" << (result == 2 ? "QOR Agent" : "Standard Agent"));
    return result;
}

void collect_snmp_output(Scanner& scanner, CSnmpSession* session, const std::string& address, int host_uid,
                         const std::string& community, const std::string& walk_file,
                         const std::string& client_type)
{
    static const char* const subtrees[] = {".1",
                                           ".1.3",
                                           ".1.3.6.1.4.1.39871.1.1",
                                           ".1.3.6.1.4.1.39871.1.2.1",
                                           ".1.3.6.1.4.1.39871.1.3",
                                           ".1.3.6.1.4.1.39871.1.4.1"};
    const int attempts = tab_attempts();
    TRV_LOG(qr_Info, "Start collecting SNMP output data: ip=" << address << ", cs=" << community);
    std::vector<std::vector<std::string>> output;
    size_t total = 0;
    for (const char* subtree : subtrees) {
        if (std::string(subtree) == ".1.3" && !output.empty()) {
            TRV_LOG(qr_Debug, "SNMP Out: Has data from .1, skip scanning .1.3");
            continue;
        }
        for (int attempt = 0; attempt < attempts; ++attempt) {
            ScanDataTable table;
            int result = ScanMapLine(session, address, community, walk_file, scanner.program_dir(), {subtree},
                                     table, true);
            if (result == MapLineNotReady) {
                TRV_LOG(qr_Debug, "SNMP Out: Agent not ready. Ip:" << address << ". Oid:" << subtree);
                if (!scanner.pause(2000))
                    break;
                continue;
            }
            size_t size = table.columns.empty() ? 0 : table.columns[0].values.size();
            TRV_LOG(qr_Debug, "SNMP Out: Has data. Rslt=" << result << ". Oid:" << subtree << ". Data Size=" << size);
            if (!table.columns.empty()) {
                output.push_back(table.columns[0].values);
                total += size;
            }
            break;
        }
    }
    TRV_LOG(qr_Info, "ip:" << address << " cs:" << community << " SNMP output data collected. Size:" << total);
    SendLogBroadcast("ip:" + address + " SNMP output data collected. Size:" + std::to_string(total), client_type,
                     address);
    DataLoader* loader = GetDataSource(client_type);
    DataLoader::set_host_status(loader, host_uid, 0);
    SendTreeItem(host_uid, client_type);
    int as_of_id = DataLoader::get_host_as_of(loader, host_uid);
    DataLoader::set_tree_status(loader, as_of_id, 0);
    SendTreeItem(as_of_id, client_type);
    SendSNMPOutput(host_uid, client_type, address, output);
}

bool snmp_discover(Scanner& scanner, CSnmpSession* session, Job* job)
{
    const std::string key = job->get_source_key();
    const std::string address = job->get_net_addr();
    const std::string walk_file = job->get_walk_file();
    const int as_of_id = job->get_as_of_id();
    HostWalkCache cache(session, scanner.options().host_walk_cache);
    std::string answered;
    for (const std::string& community : job->get_communities()) {
        log_job_step("SNMP Discovering, trying cs(" + community + ") ...", as_of_id,
                     walk_file.empty() ? address : walk_file);
        SendLogBroadcast("SNMP Discovering ...", key, address);
        if (session->set_peer(address, community))
            job->set_sys_obj_id(GetSysObjId(session, address, community, walk_file));
        else
            TRV_LOG(qr_Info, "Could not set connection for snmp session");
        if (job->is_cancelled())
            return false;
        std::string sys_obj_id = job->get_sys_obj_id();
        if (!sys_obj_id.empty()) {
            log_job_step("SNMP Discovering, responded cs(" + community + ") sysobj(" + sys_obj_id + ")...",
                         as_of_id, address);
            job->set_net_name(get_snmp_value(scanner, session, address, community, walk_file, SysNameOid));
            answered = community;
            break;
        }
        SendLogBroadcast("NO response", key, address);
    }
    if (job->is_cancelled())
        return false;
    if (answered.empty()) {
        log_job_step("SNMP Discovering, NO response for any cs", as_of_id, address);
        SendLogBroadcast("NO response for any cs", key, address);
        job->set_community(std::string());
        return job->change_state(JOB_SNMP_RUNNING, JOB_NO_SNMP) || !job->is_cancelled();
    }
    if (job->is_snmp_output()) {
        collect_snmp_output(scanner, session, address, job->get_host_uid(), answered, walk_file, key);
        return job->change_state(JOB_SNMP_RUNNING, JOB_SNMP_DONE) || !job->is_cancelled();
    }
    job->set_agent_type_hard(probe_agent_type(scanner, session, 0, address, answered, walk_file));
    job->set_agent_type_soft(probe_agent_type(scanner, session, 1, address, answered, walk_file));
    job->set_agent_type_mon(probe_agent_type(scanner, session, 2, address, answered, walk_file));
    job->set_community(answered);
    identify_device(job);
    job->set_dns_name(lookup_host_name(address));
    SendLogBroadcast("Discovered. Host:" + job->get_dns_name(), key, address);

    DataLoader* loader = GetDataSource(key);
    if (job->get_kind() == JOB_KIND_PING_FIRST) {
        DataLoader::update_host_from_job(loader, *job);
        SendTreeItem(job->get_host_uid(), key);
    } else {
        DataLoader::replace_host(loader, *job);
        DataLoader::update_host_from_job(loader, *job);
        BroadcastTreeItem(job);
    }
    SendTreeItem(as_of_id, key);

    if (!scan_tabs(scanner, session, job, answered))
        return false;
    if (!job->change_state(JOB_SNMP_RUNNING, JOB_SNMP_DONE))
        return !job->is_cancelled();
    DataLoader::update_device_identity(loader, job->get_host_uid(), address, job->get_dns_name());
    return true;
}
