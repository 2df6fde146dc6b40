// OID texts as numbers: parsing dotted texts into arcs, the subtree test on
// arc boundaries and the order of OIDs. Pure functions, any thread.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Dotted decimal with an optional leading dot; false for anything else.
bool parse_oid_arcs(const std::string& text, std::vector<uint32_t>& arcs);
// True when `oid` is `root` or lies below it (1.3.6.1.2.1.10 is not below 1.3.6.1.2.1.1).
bool oid_in_subtree(const std::vector<uint32_t>& root, const std::vector<uint32_t>& oid);
// Lexicographic order of arcs, the order of a GETNEXT walk.
bool oid_less(const std::vector<uint32_t>& a, const std::vector<uint32_t>& b);
// True when the OID text lies in or below the QOR enterprise subtree.
bool is_qor_oid(const std::string& text);
