// What one host's scan has already walked: finished subtree walks of one
// agent (one peer and community), kept so that no column is read twice in a
// scan. A subtree is answered from its own walk, or from a finished walk of
// a subtree that holds it: the entries of that walk inside it, as a walk of
// its own would have read them. Pure data; its owner (one SNMP worker's
// session) uses it from one thread.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// One entry of a walk: the answer's OID (no leading dot) and its value text.
struct WalkEntry {
    std::string oid;
    std::string value;
    std::vector<uint32_t> arcs;  // the OID as numbers
};

class WalkCache {
public:
    void clear() { walks_.clear(); }
    size_t size() const { return walks_.size(); }

    // Keeps a walk that ended with `result` (a Walk* code). Only walks that
    // read their whole subtree (WalkSuccess, WalkNoData) or stopped at an
    // agent that went back (WalkOidNotIncreasing) are kept; the second one
    // answers only for its own root.
    void store(const std::vector<uint32_t>& root, int result, const std::vector<WalkEntry>& entries);
    // The result and entries of a walk of `root`; false when neither its own
    // walk nor a whole walk of a subtree holding it is kept.
    bool find(const std::vector<uint32_t>& root, int& result, std::vector<WalkEntry>& entries) const;

private:
    struct Walk {
        std::vector<uint32_t> root;
        int result = 0;
        std::vector<WalkEntry> entries;
    };
    std::vector<Walk> walks_;
};
