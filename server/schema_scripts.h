// Versioned schema scripts: the SQL that makes the inventory and the
// administration databases, one script per dialect under
// <program folder>/sql/<dialect>/<name>.sql (copied from data/sql at build).
//
// A script starts with a line "-- schema <name> version <n>". Statements end
// with ';'; "--" comments run to the end of the line. Functions here hold no
// state; the connection passed in is the caller's, used by the caller's thread.
#pragma once

#include <string>
#include <vector>

class MSSQLODBCConnection;
class SqlDialect;

std::string schema_folder(const std::string& program_folder);
// The text of script `name` ("inventory", "admin") of a dialect; throws qr_exception_t.
std::string read_schema_script(const std::string& folder, const SqlDialect& dialect, const std::string& name);
// The version of the marker line; -1 without a marker.
int schema_script_version(const std::string& text);
// The statements of a script, comments and the final ';' removed, in order.
std::vector<std::string> split_sql_script(const std::string& text);
// Runs every statement in order; the first failure throws qr_exception_t.
void run_schema_script(MSSQLODBCConnection& connection, const std::string& text);
