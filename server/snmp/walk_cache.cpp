#include "walk_cache.h"

#include "snmp_oid.h"
#include "snmp_session.h"

void WalkCache::store(const std::vector<uint32_t>& root, int result, const std::vector<WalkEntry>& entries)
{
    if (result != WalkSuccess && result != WalkNoData && result != WalkOidNotIncreasing)
        return;
    for (Walk& walk : walks_) {
        if (walk.root == root) {
            walk.result = result;
            walk.entries = entries;
            return;
        }
    }
    walks_.push_back(Walk{root, result, entries});
}

bool WalkCache::find(const std::vector<uint32_t>& root, int& result, std::vector<WalkEntry>& entries) const
{
    for (const Walk& walk : walks_) {
        if (walk.root == root) {
            result = walk.result;
            entries = walk.entries;
            return true;
        }
    }
    for (const Walk& walk : walks_) {
        if (walk.result == WalkOidNotIncreasing || walk.root.size() >= root.size() ||
            !oid_in_subtree(walk.root, root))
            continue;
        // Inside the root on whole arcs and after it, as its own walk reads.
        entries.clear();
        for (const WalkEntry& entry : walk.entries)
            if (oid_in_subtree(root, entry.arcs) && oid_less(root, entry.arcs))
                entries.push_back(entry);
        result = entries.empty() ? WalkNoData : WalkSuccess;
        return true;
    }
    return false;
}
