#include "scan_request.h"

#include "ip_mask.h"
#include "job.h"
#include "loader.h"
#include "saver.h"
#include "scanner.h"
#include "services.h"
#include "walk_file.h"

#include "qr_log.h"

#include <fstream>

bool start_scan_request(Scanner& scanner, int scan_id, int as_of_id, const std::string& address,
                        bool snmp_output, int host_uid, const std::string& client_type)
{
    ScanRequest request;
    request.scan_id = scan_id;
    request.as_of_id = as_of_id;
    request.address = address;
    request.snmp_output = snmp_output;
    request.host_uid = host_uid;
    request.client_type = client_type;
    scanner.start_request_thread(request);
    return true;
}

int add_scan_host(Scanner& scanner, int scan_id, uint32_t address, const std::string& walk_file,
                  int as_of_id, const std::vector<std::string>& communities, int kind,
                  const IntArray& tabs, bool snmp_output, int host_uid,
                  const std::string& client_type, int& added)
{
    Job* job = new Job;
    job->set_scan_id(scan_id);
    scanner.scans().add_snapshot(scan_id, as_of_id);
    if (snmp_output) {
        job->set_host_uid(host_uid);
        job->set_kind(JOB_KIND_SNMP_FIRST);
        job->set_state(JOB_WAIT_SNMP);
    } else {
        job->set_host_uid(DataLoader::new_uid(GetDataSource(client_type)));
        job->set_kind(kind);
        job->set_state(kind == JOB_KIND_SNMP_ONLY || kind == JOB_KIND_SNMP_FIRST ? JOB_WAIT_SNMP
                                                                                : JOB_WAIT_PING);
    }
    job->set_as_of_id(as_of_id);
    job->set_net_addr(ip_to_text(address));
    job->set_walk_file(walk_file);
    job->set_communities(communities);
    job->set_has_ping(0);
    job->set_tabs(tabs);
    job->set_snmp_output(snmp_output);
    job->set_source_key(client_type);
    scanner.jobs().add(job);
    ++added;
    return 0;
}

namespace {

// The walk file of a range, or empty (scan live) when it cannot be read.
std::string range_walk_file(const Scanner& scanner, const std::string& name)
{
    if (name.empty())
        return std::string();
    std::string path;
    if (!snmp_output_path(scanner.program_dir(), name, path)) {
        // Not a missing file: a name that points outside the folder is never opened.
        TRV_LOG(qr_Error, "Walk file name refused: '" << name << "' is not a plain file name in "
                                                      << SnmpOutputFolder << "; the range is scanned live");
        return std::string();
    }
    std::ifstream probe(path);
    if (!probe) {
        TRV_LOG(qr_Error, "File not exist: " << path);
        return std::string();
    }
    return path;
}

}  // namespace

void scan_request_thread(Scanner& scanner, const ScanRequest& request)
{
    ScansArray& scans = scanner.scans();
    scans.add_snapshot(request.scan_id, request.as_of_id);
    // A cancel that came before this thread ran stays in force.
    scans.mark_snapshot_unless_cancelled(request.scan_id, request.as_of_id);
    // A cancel clears the mark, then cancels the jobs queued so far: a job
    // queued after that is cancelled here, so none escapes it.
    auto cancelled = [&] {
        if (scans.is_snapshot_marked(request.scan_id, request.as_of_id))
            return false;
        scanner.jobs().cancel_snapshot(request.as_of_id, request.client_type);
        close_snapshot_when_done(scanner, request.scan_id, request.as_of_id, request.client_type, false);
        return true;
    };

    ScanSettings settings;
    IntArray tabs;
    DataLoader::get_scan_settings(GetDataSource(request.client_type), request.as_of_id, tabs, settings);
    std::vector<std::string> communities;
    for (const Community& c : settings.communities)
        communities.push_back(c.name);

    int added = 0;
    if (settings.ranges.Count() == 0) {
        // Nothing to queue, but the snapshot and the scan still end.
    } else if (!request.address.empty()) {
        uint32_t address = 0;
        if (parse_ipv4(request.address, address))
            add_scan_host(scanner, request.scan_id, address, std::string(), request.as_of_id, communities,
                          settings.ping, tabs, request.snmp_output, request.host_uid, request.client_type,
                          added);
        else
            TRV_LOG(qr_Error, "Not an address: " << request.address);
    } else {
        for (const IPRange& range : settings.ranges) {
            std::string walk_file = range_walk_file(scanner, range.file);
            // A range stored with its last address apart reads as the
            // console shows it: "from - to".
            const std::string mask = range.to.empty() ? range.from : range.from + " - " + range.to;
            std::vector<uint32_t> addresses;
            expand_ip_mask(mask, addresses);
            TRV_LOG(qr_Info, "Ip range: " << mask << ". Found " << addresses.size() << " IP addresses.");
            for (uint32_t address : addresses) {
                if (cancelled())
                    return;
                add_scan_host(scanner, request.scan_id, address, walk_file, request.as_of_id, communities,
                              settings.ping, tabs, request.snmp_output, request.host_uid,
                              request.client_type, added);
            }
        }
    }
    if (cancelled())
        return;
    if (added == 0)
        SendLogBroadcast("No any IP added.", request.client_type);
    scans.unmark_snapshot(request.scan_id, request.as_of_id);
    // The saver may have stored the last job before the mark was cleared.
    close_snapshot_when_done(scanner, request.scan_id, request.as_of_id, request.client_type, false);
}
