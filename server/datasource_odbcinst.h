// The server's own ODBC ini folder and the installer calls that write it.
//
// The server keeps its driver list (odbcinst.ini) and its data sources
// (odbc.ini) in a folder of the program folder and points unixODBC at it
// (ODBCSYSINI, ODBCINI) before its first ODBC call; nothing under /etc or the
// home folder is read or written. Data sources are registered with the
// installer's ini calls, since the drivers ship no setup library; they edit a
// copy of odbc.ini that replaces the file whole, so a connection opening in
// another thread never reads a half-written file.
//
// The installer's configuration mode is process-wide: every call here runs
// under one lock of this file, so any thread may call these functions.
#pragma once

#include <string>
#include <utility>
#include <vector>

// Driver names written into the private driver list.
extern const char* const odbc_sqlite_driver;             // "SQLite3"
extern const char* const odbc_postgresql_unicode_driver;  // "PostgreSQL Unicode"
extern const char* const odbc_postgresql_ansi_driver;     // "PostgreSQL ANSI"

// program folder + "/odbc"
std::string odbc_ini_folder(const std::string& program_folder);

// Creates the folder, (re)writes its driver list with absolute library paths,
// makes sure both data source files exist, and sets ODBCSYSINI and ODBCINI for
// this process. Call before the first ODBC call. Throws qr_exception_t.
void odbc_use_ini_folder(const std::string& folder);

using odbc_attributes = std::vector<std::pair<std::string, std::string>>;

// Writes (or rewrites) a system data source: its driver, then each attribute.
// False with the installer's reason in `error` when a call fails.
bool odbc_write_dsn(const std::string& dsn, const std::string& driver, const odbc_attributes& attributes,
                    std::string& error);

// Removes a system data source's section; true when it is gone.
bool odbc_remove_dsn(const std::string& dsn, std::string& error);

// One value of a system data source's section; empty when missing.
std::string odbc_dsn_value(const std::string& dsn, const std::string& key);

// Names of the data sources the driver manager knows, in its order.
std::vector<std::string> odbc_data_source_names();
