#include "saver.h"

#include "job.h"
#include "loader.h"
#include "scanner.h"
#include "services.h"

void save_host_results(Scanner& scanner, Job* job)
{
    int as_of_id = job->get_as_of_id();
    int state = job->get_state();
    std::string key = job->get_source_key();
    int host_uid = job->get_host_uid();
    bool snmp_output = job->is_snmp_output();
    int scan_id = job->get_scan_id();

    int status = state == JOB_FINISHED ? 0 : 4;
    DataLoader::set_host_status(GetDataSource(key), host_uid, status);
    SendTreeItem(host_uid, key);

    // Removed first, so that "no job of the snapshot is left" is exact for
    // whoever looks next: this call or the request thread.
    scanner.remove_job(job);
    if (!scanner.scans().has_scan(scan_id))
        return;
    // A cancelled host may have no row yet (waiting, pinging): the snapshot
    // must close as aborted all the same.
    if (status == 4)
        scanner.scans().note_cancelled(scan_id, as_of_id);
    close_snapshot_when_done(scanner, scan_id, as_of_id, key, snmp_output);
}

void close_snapshot_when_done(Scanner& scanner, int scan_id, int as_of_id, const std::string& source_key,
                              bool now)
{
    if (!now && scanner.jobs().count_snapshot(scan_id, as_of_id) != 0)
        return;
    // False while the request thread still queues, or when another caller closes it.
    if (!scanner.scans().claim_snapshot_close(scan_id, as_of_id))
        return;
    DataLoader* loader = GetDataSource(source_key);
    int status = DataLoader::children_status(loader, as_of_id);
    if (scanner.scans().is_snapshot_cancelled(scan_id, as_of_id))
        status = 4;
    DataLoader::set_tree_status(loader, as_of_id, status);
    SendTreeItem(as_of_id, source_key);
    SendTreeItemList(as_of_id, 0, source_key);
    int root = -1;
    if (scanner.scans().finish_snapshot(scan_id, as_of_id, root))
        SendEndScan(root, source_key, status == 4);
}
