// Loading the administration database content: the content script of
// data/admin (tab types, map and enum tables, reports) and the vendor names
// of the IANA enterprise number list, into a database whose admin schema is
// already there. Used by the build tool and by tests; no state is kept, the
// caller's connection is used on the caller's thread.
#pragma once

#include <string>
#include <utility>
#include <vector>

class MSSQLODBCConnection;

// Where Debian's libwireshark-data puts the IANA enterprise number list.
constexpr const char* EnterpriseNumbersFile = "/usr/share/wireshark/enterprises.tsv";

// The (number, name) pairs of an enterprise list: lines "<number> <name>",
// number and name separated by blanks or tabs, a note after the name from a
// tab followed by '#' on ("\t# formerly '...'") dropped; lines starting with
// '#' and lines without a number and a name are skipped. Throws qr_exception_t when
// the file cannot be read.
std::vector<std::pair<int32_t, std::string>> read_enterprise_numbers(const std::string& path);

// Inserts one SNMPDevVendors row per pair (bound values, many rows a statement).
void insert_vendor_names(MSSQLODBCConnection& connection, const std::vector<std::pair<int32_t, std::string>>& vendors);

// Runs the content script and inserts the vendors of the enterprise list, in
// one transaction: on failure nothing stays and qr_exception_t is thrown.
void load_admin_content(MSSQLODBCConnection& connection, const std::string& content_script,
                        const std::string& enterprises_path);
