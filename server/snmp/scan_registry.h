// The registry of running scans: for each scan its id, the client type whose
// data source it works on, the tree item it was started from (reported at its
// end) and its snapshots (AsOfId values), each with a mark that says the
// scan-request thread is still queuing jobs for it. Item uids are numbered
// per client type, so a snapshot is known by its client type and AsOfId.
// Owned by the scanner. Request handlers register scans, request threads mark
// and unmark their snapshot, cancel clears marks, and whoever closes a
// snapshot removes it; the caller whose removal empties a scan ends it.
//
// Every operation holds the registry's (recursive) mutex for its whole run;
// any thread may call them (lock order: qr_sync.h).
#pragma once

#include "qr_array.h"
#include "qr_sync.h"

#include <string>

struct Scan {
    MarkedIntArray snapshots;  // each AsOfId at most once; mark = still queuing
    int root = -1;
    int id = -1;
    IntArray closing;    // snapshots whose close has been claimed
    IntArray cancelled;  // snapshots in which a job or the whole snapshot was cancelled
    std::string client_type;
};

class ScansArray {
public:
    // Registers a scan of the client type with the smallest free id and
    // returns that id.
    int add_scan(int root, const std::string& client_type);
    // A copy of the scan; false when it is not registered.
    bool find(int scan_id, Scan& out);
    void set_root(int scan_id, int root);
    void add_snapshot(int scan_id, int as_of_id);
    void mark_snapshot(int scan_id, int as_of_id);
    // Marks the snapshot unless it was cancelled already, in one step, so a
    // cancel is never followed by a mark. True when it marked.
    bool mark_snapshot_unless_cancelled(int scan_id, int as_of_id);
    void unmark_snapshot(int scan_id, int as_of_id);
    bool is_snapshot_marked(int scan_id, int as_of_id);
    void remove_snapshot(int scan_id, int as_of_id);
    // The cancel of a snapshot of the client type: in every scan of that type
    // that holds it, clears its mark, so that no request thread queues more
    // jobs for it, and records the cancel. Returns how many scans hold it.
    int cancel_snapshot(const std::string& client_type, int as_of_id);
    // Records that a job of the scan's snapshot was cancelled.
    void note_cancelled(int scan_id, int as_of_id);
    // True when the scan's snapshot was cancelled, or a job of it: it closes
    // as aborted even when no cancelled host had a row to carry the status.
    bool is_snapshot_cancelled(int scan_id, int as_of_id);
    bool has_scan(int scan_id);
    bool is_scan_empty(int scan_id);
    int get_root(int scan_id);
    void remove_scan(int scan_id);
    int count();

    // True for exactly one caller per snapshot: the scan holds the snapshot,
    // it is no longer marked, and nobody claimed its close before.
    bool claim_snapshot_close(int scan_id, int as_of_id);
    // Removes a closed snapshot. When that leaves the scan without snapshots
    // the scan leaves the registry, `root` gets its root item and the result
    // is true: only that one caller announces the end of the scan.
    bool finish_snapshot(int scan_id, int as_of_id, int& root);

private:
    Scan* find_locked(int scan_id) REQUIRES(m_);

    qr_mutex m_;
    tgDArray<Scan> scans_ GUARDED_BY(m_);  // registration order
};
