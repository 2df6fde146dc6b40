// The database saver: stores the final status of every finished or
// cancelled job, tells the consoles, frees the job, and closes a snapshot
// once nothing is queuing or pending for it: sets its status, lowers the
// running-scan marks, and, with the scan's last snapshot, announces the end
// of the scan. Runs on the scanner's saver thread; the request thread closes
// a snapshot through the same function when it finishes after the saver
// stored the last job (or when no job was queued at all). A snapshot is
// closed, and a scan ended, by exactly one caller.
//
// Neither function holds the job table's mutex while it works on the
// database or the consoles.
#pragma once

#include <string>

class Job;
class Scanner;

// Stores one job (state finished or cancelled) and removes it from the
// table, which frees it.
void save_host_results(Scanner& scanner, Job* job);

// Closes the snapshot when its request thread has stopped queuing and no job
// of it is left in the table; `now` closes it even while jobs of it are left
// (an SNMP-output job). Does nothing when someone else closes it.
void close_snapshot_when_done(Scanner& scanner, int scan_id, int as_of_id, const std::string& source_key,
                              bool now);
