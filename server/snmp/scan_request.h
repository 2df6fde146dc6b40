// Scan requests: turn the settings of one snapshot item into jobs. The
// request server registers the scan and calls start_scan_request; a request
// thread of the scanner reads the item's scan settings, expands each address
// range, and queues one job per address (or the one job of an SNMP-output
// request). When it has queued everything it unmarks its snapshot and, when
// no job of the snapshot is left, closes the snapshot itself.
//
// The request record belongs to its thread. Registry calls take the
// registry's lock each; appending takes the job table's mutex only.
#pragma once

#include "qr_array.h"

#include <cstdint>
#include <string>
#include <vector>

class Scanner;

struct ScanRequest {
    int scan_id = -1;
    int as_of_id = 0;
    bool snmp_output = false;
    int host_uid = 0;         // the existing host of an SNMP-output request
    std::string address;      // the host's address for SNMP output; empty for a range scan
    std::string client_type;  // key of the data source
};

// Starts a request thread of the scanner and returns at once (true).
bool start_scan_request(Scanner& scanner, int scan_id, int as_of_id, const std::string& address,
                        bool snmp_output, int host_uid, const std::string& client_type);

// The request thread's body; runs to the end on the calling thread.
void scan_request_thread(Scanner& scanner, const ScanRequest& request);

// Creates and queues one job; adds 1 to `added`. Returns 0.
int add_scan_host(Scanner& scanner, int scan_id, uint32_t address, const std::string& walk_file,
                  int as_of_id, const std::vector<std::string>& communities, int kind,
                  const IntArray& tabs, bool snmp_output, int host_uid,
                  const std::string& client_type, int& added);
