// Pure helpers of device identification and enum translation: the list of
// sysObjectID prefixes tried against SNMPMibMap, and the parsed form of an
// ENUMTABLE cell. The database lookups themselves are DataLoader operations
// (loader.h). Stateless; any thread may call these.
#pragma once

#include <string>
#include <vector>

// One entry of the prefix list. A dotted entry ("1.3.6.1.4.1.9.1.") stands
// for every OID below it; an undotted one for that exact OID only.
struct OidPrefix {
    std::string text;
    bool subtree;  // text ends with "."
};

// Fills `prefixes` with the OID itself, then for each shorter arc "<arc>." and
// "<arc>", ending at the enterprise root "1.3.6.1.4.1.<enterprise>". Returns
// false (list holding only the OID) when the OID is not under "1.3.6.1.4.1.".
bool build_oid_prefixes(const std::string& oid, std::string& enterprise,
                        std::vector<OidPrefix>& prefixes);

// An ENUMTABLE cell "table,extra,key,name,kind", fields taken from the right;
// an absent or empty key, name or kind keeps its default.
struct EnumSpec {
    std::string table;
    std::string extra;
    std::string key = "uid";
    std::string name = "name";
    std::string kind = "numeric";

    bool numeric() const { return kind == "numeric"; }
    // extra holds an OID the enum table's OID column must equal.
    bool oid_form() const { return !extra.empty() && extra.find('.') != std::string::npos; }
    // extra names a column that must equal the translated column's name.
    bool column_form() const { return !extra.empty() && extra.find('.') == std::string::npos; }
};

EnumSpec parse_enum_spec(const std::string& cell);

// True for a text made of decimal digits only (and at least one).
bool all_digits(const std::string& text);
