// Walk files: text files of `snmpwalk -v1 -On -Oe -Ot` output (".OID = TYPE:
// value", one variable a line, long octet strings and text values with line
// ends going on over the next lines) that stand in for an agent. A value
// reads as the live agent's answer would: octets, numbers and the scrambled
// values of the enterprise subtree alike. Lines in other forms keep their
// plain reading. Any thread; each call opens and reads the file on its own.
#pragma once

#include <string>
#include <vector>

// The folder beside the program that holds walk files.
constexpr const char* SnmpOutputFolder = "SnmpOutput";

// The values of every line under `oid` (the OID as given: lines that start
// with it followed by "." or a blank), normalised as table scans normalise
// an agent's values. Raises qr_exception_t when the file cannot be opened.
// The address and community only name the request.
int read_walk_file(const std::string& address, const std::string& oid, const std::string& community,
                   const std::string& path, std::vector<std::string>& values);
// The same with `lines`: each entry is the line's OID, a blank and its value;
// `date` reads octet values as dates (value mode only).
int read_walk_file_entries(const std::string& oid, const std::string& path,
                           std::vector<std::string>& values, bool lines, bool date);

// The path of a walk file named by a console: a plain file name inside
// `folder`/SnmpOutput. Names with '/', '\', "..", or empty ones are refused.
bool snmp_output_path(const std::string& folder, const std::string& name, std::string& path);
