// Map-line scanning: reads one tab of one host. Each map line of the tab that
// applies to the device is evaluated cell by cell (constants, OIDs through
// scan_table, "$" value functions) into a line table; lines whose row counts
// agree are merged into the tab's table, which is written for the host.
// Runs on an SNMP worker's thread with the worker's own session.
#pragma once

#include "scan_data_table.h"

#include <string>
#include <vector>

class CSnmpSession;
class Job;

// Everything scan_map_lines needs about one tab of one host.
struct TabScanRequest {
    CSnmpSession* session = nullptr;
    int agent_cat = 0;
    std::string map_name;
    std::string data_name;
    Job* job = nullptr;
    std::string address;
    std::string community;
    std::string walk_file;  // empty for the live agent
    std::string folder;     // holds the PCI names file
};

// Results of ScanMapLine.
constexpr int MapLineNotReady = -1;
constexpr int MapLineDone = 1;

// Evaluates the cells into `table` (emptied first); `lines` reads OIDs as
// "oid value" lines. -1 when the agent is not ready, else 1; a table left
// without columns means no cell gave a value.
int ScanMapLine(CSnmpSession* session, const std::string& address, const std::string& community,
                const std::string& walk_file, const std::string& folder, const std::vector<std::string>& cells,
                ScanDataTable& table, bool lines);

// 0 a data table was written, 1 nothing written (no data, or cancelled),
// 2 the agent is not ready.
int scan_map_lines(const TabScanRequest& request);
