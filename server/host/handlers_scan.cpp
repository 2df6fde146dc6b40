// Scan requests: a dated snapshot scan of inventories, the rescan of one
// host, the cancelling of scans, the raw SNMP output of one host, and the
// search of hosts. The handlers prepare the tree and hand the work to the
// scanner's request threads; the scan's progress and end reach the consoles
// through the notifications.
#include "connector.h"
#include "handlers.h"
#include "loader.h"
#include "qr_exception.h"
#include "qr_log.h"
#include "saver.h"
#include "scan_request.h"
#include "scanner.h"
#include "services.h"
#include "trv_server.h"

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <tinyxml.h>
#include <vector>

namespace {

constexpr int type_snapshot = 2;
constexpr int type_host = 3;
constexpr int status_scanning = 1;
constexpr int status_snmp_output = 2;
constexpr int error_snmp_output = 8;

std::string SnapshotName()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char text[64];
    std::snprintf(text, sizeof text, "%02d/%02d/%04d %02d:%02d:%02d", local.tm_mon + 1, local.tm_mday,
                  local.tm_year + 1900, local.tm_hour, local.tm_min, local.tm_sec);
    return std::string("As of ") + text;
}

Scanner& RequireScanner()
{
    Scanner* scanner = Scanner::instance();
    if (scanner == nullptr)
        qr_exception("The scanner is not running");
    return *scanner;
}

// What SCAN and GETSNMPOUTPUT both start from: the client type's loader, the
// running scanner, and the request's item and synch.
struct ScanStart {
    std::shared_ptr<DataLoader> loader;
    Scanner* scanner = nullptr;
    std::string client_type;
    int uid = 0;
    int synch = 0;
};

// False, the connector's error set, when the client type has no data source;
// throws qr_exception_t when the scanner is not running.
bool BeginScanRequest(const TiXmlElement& request, TRVConnector& connector, ScanStart& start)
{
    start.loader = RequireLoader(connector);
    if (!start.loader)
        return false;
    start.scanner = &RequireScanner();
    start.client_type = connector.GetClientType();
    start.uid = IntAttribute(request, "uid");
    start.synch = IntAttribute(request, "synch");
    return true;
}

// Steps before the scan of one inventory starts: the old unlocked snapshots
// go, a new dated one is added and announced, and its marks go up. Returns
// the new snapshot.
int PrepareSnapshot(DataLoader* loader, int inventory, bool keep, int synch, const std::string& client_type,
                    ScanMarks& marks)
{
    if (!keep) {
        const int removed = DataLoader::remove_unlocked_snapshots(loader, inventory);
        if (removed != -1) {
            TiXmlElement gone("REMOVEBRANCH");
            gone.SetAttribute("uid", removed);
            gone.SetAttribute("parent", inventory);
            SendToClientsOfType(gone, client_type);
        }
    }
    const int uid = DataLoader::new_uid(loader);
    if (uid <= 0)
        qr_exception("Can not add a snapshot below %d", inventory);
    const std::string name = SnapshotName();
    TRV_LOG(qr_Info, "Adding new AsOf item, id: " << uid << ", AsOfName: " << name);

    TreeItemRecord item;
    item.uid = uid;
    item.parentid = inventory;
    item.type = type_snapshot;
    item.status = status_scanning;
    item.locked = 0;
    item.name = name;
    item.TimeStmp = static_cast<int>(std::time(nullptr));
    DataLoader::insert_tree_item(loader, item);

    TiXmlElement element = DataLoader::item_to_xml(loader, uid);
    element.SetAttribute("synch", synch);
    SendToClientsOfType(element, client_type);
    marks.raise(uid);
    return uid;
}

// A snapshot whose request thread did not start leaves its scan as a
// cancelled one does: its close sets its status (interrupted, 4, when
// `interrupted`; else what its hosts give), lowers the marks raised for it and
// tells every console; the scan's end lines follow when it was the last
// snapshot of its scan.
void AbandonSnapshot(Scanner& scanner, int scan_id, int snapshot, bool interrupted, const std::string& client_type,
                     const std::exception& cause)
{
    TRV_LOG(qr_Error, "Can not start the scan of snapshot " << snapshot << " [" << cause.what() << "]");
    if (interrupted)
        scanner.scans().note_cancelled(scan_id, snapshot);
    scanner.scans().unmark_snapshot(scan_id, snapshot);
    close_snapshot_when_done(scanner, scan_id, snapshot, client_type, true);
}

// Every snapshot is in the registry, marked as being queued, before the first
// request thread runs: a thread that finishes its snapshot early must not
// find the scan empty and end it while the others are still to come. The
// snapshots whose threads did not start are abandoned and given back, with
// the cause in `cause`.
std::vector<int> StartSnapshots(Scanner& scanner, int scan_id, const std::vector<int>& snapshots,
                                const std::string& client_type, std::string& cause)
{
    for (int snapshot : snapshots) {
        scanner.scans().add_snapshot(scan_id, snapshot);
        scanner.scans().mark_snapshot(scan_id, snapshot);
    }
    std::vector<int> failed;
    for (int snapshot : snapshots) {
        try {
            start_scan_request(scanner, scan_id, snapshot, std::string(), false, 0, client_type);
        } catch (const std::exception& e) {
            cause = e.what();
            AbandonSnapshot(scanner, scan_id, snapshot, true, client_type, e);
            failed.push_back(snapshot);
        }
    }
    return failed;
}

std::string Banner(std::string text, size_t width)
{
    if (text.size() < width)
        text.append(width - text.size(), '-');
    return text;
}

}  // namespace

bool AdminReadyForScan(TRVConnector& connector)
{
    if (GetAdminDataSource() != nullptr)
        return true;
    const std::string text = "Can not start scan. " + AdminNotOpenText();
    TRV_LOG(qr_Error, text);
    connector.SetError(error_failed, text, true);
    SendLogBroadcast(text, connector.GetClientType(), std::string(), true);
    return false;
}

ScanMarks::ScanMarks(DataLoader* loader, const std::string& client_type, TRVConnector* requester)
    : loader_(loader), client_type_(client_type), requester_(requester)
{
}

ScanMarks::~ScanMarks()
{
    if (kept_)
        return;
    try {
        for (int uid : raised_)
            SendTreeItemList(uid, 0, client_type_, -1, requester_);
    } catch (const std::exception& e) {
        TRV_LOG(qr_Error, "Can not lower the internal-scan marks [" << e.what() << "]");
    }
}

void ScanMarks::raise(int uid)
{
    // Kept as the snapshot: a host being rescanned has no row to go by later.
    if (DataLoader::get_item_type(loader_, uid) == type_host)
        uid = DataLoader::get_host_as_of(loader_, uid);
    SendTreeItemList(uid, 1, client_type_, -1, requester_);
    raised_.push_back(uid);
}

void StartSnapshotScan(int scan_id, int inventory, bool keep, int synch, const std::string& client_type,
                       TRVConnector* requester)
{
    Scanner& scanner = RequireScanner();
    DataLoader* loader = GetDataSource(client_type);
    if (loader == nullptr)
        qr_exception("Can not get data source by key %s", client_type.c_str());
    ScanMarks marks(loader, client_type, requester);
    const int snapshot = PrepareSnapshot(loader, inventory, keep, synch, client_type, marks);
    std::string cause;
    const bool failed = !StartSnapshots(scanner, scan_id, {snapshot}, client_type, cause).empty();
    // Started or abandoned, the snapshot's close lowers its marks.
    marks.keep();
    if (failed)
        qr_exception("Can not start scan: %s", cause.c_str());
}

int HandleScan(TiXmlElement& request, TRVConnector& connector)
{
    ScanStart start;
    if (!BeginScanRequest(request, connector, start))
        return connector.ErrorCode();
    const std::shared_ptr<DataLoader>& loader = start.loader;
    Scanner& scanner = *start.scanner;
    const std::string& client_type = start.client_type;
    const int uid = start.uid;
    const int synch = start.synch;

    SendLogBroadcast(Banner("Start Scan <" + DataLoader::get_item_title(loader.get(), uid) + "> ", 80),
                     client_type);
    if (!AdminReadyForScan(connector))
        return error_failed;
    // The marks go up per snapshot, on the items its close lowers them on
    // again: raised from the requested item they would stay up on folders
    // without inventories, and after a refusal.
    ScanMarks marks(loader.get(), client_type, &connector);

    if (DataLoader::get_item_type(loader.get(), uid) == type_host) {
        marks.raise(uid);
        const int snapshot = DataLoader::get_host_as_of(loader.get(), uid);
        const std::string address = DataLoader::get_host_address(loader.get(), uid);
        const int scan_id = scanner.add_scan(uid, client_type);
        TRV_LOG(qr_Info, "Removing old device item, id: " << uid << ", ip: " << address);
        TiXmlElement gone("REMOVEBRANCH");
        gone.SetAttribute("uid", uid);
        gone.SetAttribute("parent", snapshot);
        SendToClientsOfType(gone, client_type);
        DataLoader::delete_host(loader.get(), uid);
        DataLoader::set_tree_status(loader.get(), snapshot, status_scanning);
        SendTreeItem(snapshot, client_type, &connector, synch);
        scanner.set_scan_root(scan_id, snapshot);
        scanner.scans().add_snapshot(scan_id, snapshot);
        scanner.scans().mark_snapshot(scan_id, snapshot);
        try {
            start_scan_request(scanner, scan_id, snapshot, address, false, 0, client_type);
        } catch (const std::exception& e) {
            AbandonSnapshot(scanner, scan_id, snapshot, true, client_type, e);
            marks.keep();
            return connector.SetError(error_failed, std::string("Can not start scan: ") + e.what());
        }
        marks.keep();
        return 0;
    }

    IntArray found;
    DataLoader::collect_inventories(loader.get(), uid, found);
    std::vector<int> inventories;
    for (int i = 0; i < found.Count(); ++i)
        if (std::find(inventories.begin(), inventories.end(), found[i]) == inventories.end())
            inventories.push_back(found[i]);
    if (inventories.empty()) {
        connector.SetError(error_failed, "Can not start scan.");
        SendLogBroadcast("Can not start scan.", client_type);
        return error_failed;
    }

    const int scan_id = scanner.add_scan(uid, client_type);
    TRV_LOG(qr_Info, "Start scanning");
    std::vector<int> snapshots;
    for (size_t i = 0; i < inventories.size(); ++i) {
        try {
            snapshots.push_back(
                PrepareSnapshot(loader.get(), inventories[i], false, synch, client_type, marks));
        } catch (const std::exception& e) {
            TRV_LOG(qr_Error, "Can not start the scan of inventory " << inventories[i] << " [" << e.what() << "]");
            // Without any snapshot the scan is dropped and the request fails
            // with the cause.
            if (snapshots.empty()) {
                scanner.scans().remove_scan(scan_id);
                throw;
            }
            // The snapshots made so far are scanned; the requester learns
            // which inventories are left out.
            std::string left_out;
            for (size_t j = i; j < inventories.size(); ++j)
                left_out += (j == i ? "<" : ", <") + DataLoader::get_item_title(loader.get(), inventories[j]) + ">";
            SendLogAlert(&connector, "Can not start scan of " + left_out + " [" + e.what() + "]");
            break;
        }
    }
    std::string cause;
    const std::vector<int> failed = StartSnapshots(scanner, scan_id, snapshots, client_type, cause);
    marks.keep();
    if (failed.empty())
        return 0;
    if (failed.size() == snapshots.size())
        return connector.SetError(error_failed, "Can not start scan: " + cause);
    // The others run; the requester learns which inventories are left out.
    std::string left_out;
    for (int snapshot : failed)
        left_out += (left_out.empty() ? "<" : ", <") +
                    DataLoader::get_item_title(loader.get(), DataLoader::get_parent_id(loader.get(), snapshot)) + ">";
    SendLogAlert(&connector, "Can not start scan of " + left_out + " [" + cause + "]");
    return 0;
}

int HandleCancelScan(TiXmlElement& request, TRVConnector& connector)
{
    const int uid = IntAttribute(request, "uid");
    try {
        cancel_host_scan(RequireScanner(), uid, connector.GetClientType());
    } catch (const qr_exception_t& e) {
        TRV_LOG(qr_Error, "Exception during cancelling scan [" << e.message() << "]");
    }
    return 0;
}

int HandleGetSnmpOutput(TiXmlElement& request, TRVConnector& connector)
{
    ScanStart start;
    if (!BeginScanRequest(request, connector, start))
        return connector.ErrorCode();
    const std::shared_ptr<DataLoader>& loader = start.loader;
    Scanner& scanner = *start.scanner;
    const std::string& client_type = start.client_type;
    const int uid = start.uid;
    const int synch = start.synch;

    SendLogBroadcast(Banner("Start Getting SNMP Output ", 81), client_type);

    // Asked before any mark goes up: a refused request starts no scan, so
    // nothing would ever lower them.
    bool accepted = false;
    if (DataLoader::get_item_type(loader.get(), uid) == type_host) {
        try {
            accepted = DataLoader::get_item_if_status(loader.get(), uid);
        } catch (const qr_exception_t& e) {
            TRV_LOG(qr_Error, "Can not read the status of " << uid << " [" << e.message() << "]");
        }
    }
    if (!accepted) {
        connector.SetError(error_snmp_output, "Can not start SNMP output.");
        SendLogBroadcast("Can not start Getting SNMP output.", client_type);
        return error_snmp_output;
    }

    ScanMarks marks(loader.get(), client_type, &connector);
    marks.raise(uid);
    const std::string address = DataLoader::get_host_address(loader.get(), uid);
    const int snapshot = DataLoader::get_host_as_of(loader.get(), uid);
    const int host_status = DataLoader::get_status(loader.get(), uid);
    if (DataLoader::set_host_status(loader.get(), uid, status_snmp_output))
        SendTreeItem(uid, client_type, &connector, synch);
    DataLoader::set_tree_status(loader.get(), snapshot, status_snmp_output);
    SendTreeItem(snapshot, client_type, &connector, synch);

    const int scan_id = scanner.add_scan(uid, client_type);
    scanner.scans().add_snapshot(scan_id, snapshot);
    scanner.scans().mark_snapshot(scan_id, snapshot);
    try {
        start_scan_request(scanner, scan_id, snapshot, address, true, uid, client_type);
    } catch (const std::exception& e) {
        // Nothing was read: the host is as it was, and its snapshot's close
        // gives the snapshot its hosts' status again.
        if (DataLoader::set_host_status(loader.get(), uid, host_status))
            SendTreeItem(uid, client_type);
        AbandonSnapshot(scanner, scan_id, snapshot, false, client_type, e);
        marks.keep();
        return connector.SetError(error_snmp_output, std::string("Can not start SNMP output: ") + e.what());
    }
    marks.keep();
    return 0;
}

int HandleStartSearch(TiXmlElement& request, TRVConnector& connector)
{
    TRV_LOG(qr_Info, "Search request");
    const std::shared_ptr<DataLoader> loader = RequireLoader(connector);
    if (!loader)
        return connector.ErrorCode();
    const int synch = IntAttribute(request, "synch");
    const std::string ip = TextAttribute(request, "ip");
    const std::string text = TextAttribute(request, "text");

    IntArray hosts;
    if (!ip.empty())
        DataLoader::find_host_by_address(loader.get(), ip, hosts);
    else
        DataLoader::find_host_by_name(loader.get(), text, hosts);

    TiXmlElement reply("END_SEARCH");
    reply.SetAttribute("synch", synch);
    for (int i = 0; i < hosts.Count(); ++i) {
        TiXmlElement device("DEVICE");
        device.SetAttribute("uid", hosts[i]);
        reply.InsertEndChild(device);
    }
    connector.Send(reply);
    return 0;
}
