// The request handlers of the dispatcher. Each runs on the connection's
// thread with the request element and its connector and returns 0 after
// sending its reply (if it has one), or the code it stored with
// TRVConnector::SetError, which the dispatcher answers with ERROR.
#pragma once

#include <memory>
#include <string>
#include <vector>

class DataLoader;
class TRVConnector;
class TiXmlElement;

typedef int (*RequestHandler)(TiXmlElement& request, TRVConnector& connector);

// General failure code of the handlers.
constexpr int error_failed = 254;

int HandleLogin(TiXmlElement& request, TRVConnector& connector);

int HandleAddTreeItem(TiXmlElement& request, TRVConnector& connector);
int HandleChangeItem(TiXmlElement& request, TRVConnector& connector);
int HandleRemoveBranch(TiXmlElement& request, TRVConnector& connector);
int HandleCopyTreeItem(TiXmlElement& request, TRVConnector& connector);
int HandleMoveTreeItem(TiXmlElement& request, TRVConnector& connector);
int HandleGetTree(TiXmlElement& request, TRVConnector& connector);
int HandleGetTreeSibling(TiXmlElement& request, TRVConnector& connector);
int HandleGetTreeElement(TiXmlElement& request, TRVConnector& connector);

int HandleGetReportTree(TiXmlElement& request, TRVConnector& connector);
int HandleCreateReport(TiXmlElement& request, TRVConnector& connector);
int HandleGetTable(TiXmlElement& request, TRVConnector& connector);
int HandleCompare(TiXmlElement& request, TRVConnector& connector);
int HandleScan(TiXmlElement& request, TRVConnector& connector);
int HandleGetSnmpOutput(TiXmlElement& request, TRVConnector& connector);
int HandleCancelScan(TiXmlElement& request, TRVConnector& connector);
int HandleSetServerInfo(TiXmlElement& request, TRVConnector& connector);
int HandleGetServerInfo(TiXmlElement& request, TRVConnector& connector);
int HandleStartSearch(TiXmlElement& request, TRVConnector& connector);

// The internal-scan marks (has_internal_scans) of the inventory and folders
// above each snapshot a request sets out to scan. raise() counts the scan in
// on them and tells the requester which items changed; the snapshot's close
// counts it out again for every console. When the request gives up before
// keep(), the destructor counts out what it raised, so no mark outlives a
// scan that never ran. Lives on the handler's stack.
class ScanMarks {
public:
    ScanMarks(DataLoader* loader, const std::string& client_type, TRVConnector* requester);
    ~ScanMarks();
    ScanMarks(const ScanMarks&) = delete;
    ScanMarks& operator=(const ScanMarks&) = delete;

    // For the snapshot, or the snapshot of a host. Call before the scan's
    // request thread starts, so its close always comes after.
    void raise(int uid);
    void keep() { kept_ = true; }

private:
    DataLoader* loader_;
    std::string client_type_;
    TRVConnector* requester_;
    std::vector<int> raised_;
    bool kept_ = false;
};

// True when the administration data source is open, which every scan needs
// for its mapping tables; otherwise the requester's error (an alert) is
// stored and every console of the type is told. Nothing else is touched.
bool AdminReadyForScan(TRVConnector& connector);

// A dated snapshot scan of one inventory under a registered scan: the
// inventory's unlocked snapshots go unless `keep`, a new snapshot is added
// and announced with `synch`, its marks are raised (told to `requester`),
// and a request thread of the scanner fills it. Throws qr_exception_t when
// the scanner or the data source is missing, or when the request thread
// cannot be started (the snapshot then ends interrupted, status 4, as after a
// cancel, and every console hears of it); the marks are then down again.
void StartSnapshotScan(int scan_id, int inventory, bool keep, int synch, const std::string& client_type,
                       TRVConnector* requester);

// The integer attribute, or `def` when it is missing or not a number.
int IntAttribute(const TiXmlElement& element, const char* name, int def = 0);
// The text attribute, or the empty text.
std::string TextAttribute(const TiXmlElement& element, const char* name);
// The connector's client type's loader, held for the request; none (with the
// error stored on the connector) when the data source is not open.
std::shared_ptr<DataLoader> RequireLoader(TRVConnector& connector);
