#include "scan_registry.h"

Scan* ScansArray::find_locked(int scan_id)
{
    for (Scan& scan : scans_)
        if (scan.id == scan_id)
            return &scan;
    return nullptr;
}

int ScansArray::add_scan(int root, const std::string& client_type)
{
    qr_automutex hold(m_);
    int id = 0;
    while (find_locked(id))
        ++id;
    Scan scan;
    scan.root = root;
    scan.id = id;
    scan.client_type = client_type;
    scans_.Add(scan);
    return id;
}

bool ScansArray::find(int scan_id, Scan& out)
{
    qr_automutex hold(m_);
    Scan* scan = find_locked(scan_id);
    if (!scan)
        return false;
    out = *scan;
    return true;
}

void ScansArray::set_root(int scan_id, int root)
{
    qr_automutex hold(m_);
    if (Scan* scan = find_locked(scan_id))
        scan->root = root;
}

void ScansArray::add_snapshot(int scan_id, int as_of_id)
{
    qr_automutex hold(m_);
    if (Scan* scan = find_locked(scan_id))
        scan->snapshots.AddUnique(as_of_id);
}

void ScansArray::mark_snapshot(int scan_id, int as_of_id)
{
    qr_automutex hold(m_);
    if (Scan* scan = find_locked(scan_id))
        scan->snapshots.Mark(as_of_id);
}

bool ScansArray::mark_snapshot_unless_cancelled(int scan_id, int as_of_id)
{
    qr_automutex hold(m_);
    Scan* scan = find_locked(scan_id);
    if (!scan || scan->cancelled.Contains(as_of_id))
        return false;
    scan->snapshots.Mark(as_of_id);
    return true;
}

void ScansArray::unmark_snapshot(int scan_id, int as_of_id)
{
    qr_automutex hold(m_);
    if (Scan* scan = find_locked(scan_id))
        scan->snapshots.Unmark(as_of_id);
}

bool ScansArray::is_snapshot_marked(int scan_id, int as_of_id)
{
    qr_automutex hold(m_);
    Scan* scan = find_locked(scan_id);
    return scan && scan->snapshots.IsMarked(as_of_id);
}

void ScansArray::remove_snapshot(int scan_id, int as_of_id)
{
    qr_automutex hold(m_);
    if (Scan* scan = find_locked(scan_id)) {
        scan->snapshots.Remove(as_of_id);
        scan->closing.Remove(as_of_id);
        scan->cancelled.Remove(as_of_id);
    }
}

int ScansArray::cancel_snapshot(const std::string& client_type, int as_of_id)
{
    qr_automutex hold(m_);
    // Every holder, not only the first: the cancel moves the jobs of all of
    // them, so none of their request threads may go on queuing.
    int n = 0;
    for (Scan& scan : scans_) {
        if (scan.client_type != client_type || !scan.snapshots.Contains(as_of_id))
            continue;
        scan.snapshots.Unmark(as_of_id);
        if (!scan.cancelled.Contains(as_of_id))
            scan.cancelled.Add(as_of_id);
        ++n;
    }
    return n;
}

void ScansArray::note_cancelled(int scan_id, int as_of_id)
{
    qr_automutex hold(m_);
    Scan* scan = find_locked(scan_id);
    if (scan && scan->snapshots.Contains(as_of_id) && !scan->cancelled.Contains(as_of_id))
        scan->cancelled.Add(as_of_id);
}

bool ScansArray::is_snapshot_cancelled(int scan_id, int as_of_id)
{
    qr_automutex hold(m_);
    Scan* scan = find_locked(scan_id);
    return scan && scan->cancelled.Contains(as_of_id);
}

bool ScansArray::has_scan(int scan_id)
{
    qr_automutex hold(m_);
    return find_locked(scan_id) != nullptr;
}

bool ScansArray::is_scan_empty(int scan_id)
{
    qr_automutex hold(m_);
    Scan* scan = find_locked(scan_id);
    return scan && scan->snapshots.Count() == 0;
}

int ScansArray::get_root(int scan_id)
{
    qr_automutex hold(m_);
    Scan* scan = find_locked(scan_id);
    return scan ? scan->root : -1;
}

void ScansArray::remove_scan(int scan_id)
{
    qr_automutex hold(m_);
    for (int i = 0; i < scans_.Count(); ++i) {
        if (scans_[i].id == scan_id) {
            scans_.RemoveAt(i);
            return;
        }
    }
}

int ScansArray::count()
{
    qr_automutex hold(m_);
    return scans_.Count();
}

bool ScansArray::claim_snapshot_close(int scan_id, int as_of_id)
{
    qr_automutex hold(m_);
    Scan* scan = find_locked(scan_id);
    if (!scan || !scan->snapshots.Contains(as_of_id) || scan->snapshots.IsMarked(as_of_id) ||
        scan->closing.Contains(as_of_id))
        return false;
    scan->closing.Add(as_of_id);
    return true;
}

bool ScansArray::finish_snapshot(int scan_id, int as_of_id, int& root)
{
    qr_automutex hold(m_);
    Scan* scan = find_locked(scan_id);
    if (!scan)
        return false;
    scan->snapshots.Remove(as_of_id);
    scan->closing.Remove(as_of_id);
    scan->cancelled.Remove(as_of_id);
    if (scan->snapshots.Count() != 0)
        return false;
    root = scan->root;
    remove_scan(scan_id);
    return true;
}
