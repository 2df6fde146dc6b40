// DataLoader: the server's only road to a database. The server keeps one
// loader per data source key ("ADMIN" for the administration database, a
// client type for that type's inventory database) and gives every loader the
// same recursive database mutex, so at most one database operation runs at a
// time in the whole server.
//
// Operations are static members that take the loader as their first argument:
// the server's lookup may find no loader, and a missing (null) loader logs
// "Common resource error at DataLoader, existance test failed" and returns
// the operation's neutral result (0, -1, false, empty). Each operation holds
// the database mutex for its whole run and may call other operations of the
// same loader on the same thread. Operations are split over loader_*.cpp by
// topic.
//
// Ownership: the pool and the mutex belong to the server object and must
// outlive the loader. A loader created with use_own_connection takes one
// connection from the pool for its whole life and gives it back when
// destroyed. Any thread may call the operations.
//
// Lock order: database mutex -> pool (get/release) -> counters mutex; the
// database mutex before the global server mutex.
#pragma once

#include "ident.h"
#include "map_line.h"
#include "qr_array.h"
#include "qr_pool.h"
#include "qr_sync.h"
#include "scan_data_table.h"
#include "scan_settings.h"

#include <string>
#include <vector>

class SqlDialect;
class TiXmlElement;

// A piece of WHERE clause with its '?' markers and their values, in order.
struct SqlCondition {
    std::string text;
    qr_sql_params params;
};

// True for a table or column name that may go into a statement text:
// [A-Za-z_][A-Za-z0-9_]*, at most 63 characters.
bool is_sql_identifier(const std::string& name);
// Throws qr_exception_t naming what when name is not an identifier.
const std::string& checked_identifier(const std::string& name, const char* what);
// Escapes '\', '%' and '_' for a LIKE pattern used with ESCAPE '\'.
std::string like_literal(const std::string& text);

class DataLoader {
public:
    // Takes its own connection from the pool when use_own_connection is set
    // (throws qr_exception_t when it cannot).
    DataLoader(MSSQLPool* pool, qr_mutex* db_mutex, bool use_own_connection = true);
    ~DataLoader();
    DataLoader(const DataLoader&) = delete;
    DataLoader& operator=(const DataLoader&) = delete;

    MSSQLPool* pool() const { return pool_; }
    qr_mutex* db_mutex() const { return mutex_; }
    bool uses_own_connection() const { return use_own_connection_; }

    // ---- Map lines (loader_maps.cpp) ----------------------------------------

    // The rows of filter.table matching condition that apply to the device:
    // exact sysObjectID first, then the ScanOrder strategies.
    static void query_map_lines(DataLoader* loader, DB_DATA& result, const MapLineFilter& filter,
                                const SqlCondition& condition, const std::string& order_column);
    // Appends the map lines of a block (-1 = the tab's root), following FORMULA rows.
    static void resolve_block(DataLoader* loader, MapLineList& lines, const MapLineFilter& filter, int block);
    static bool get_block_formulas(DataLoader* loader, FormulaList& formulas, const MapLineFilter& filter,
                                   int block);
    // Appends the VALUE and TABLE lines of a block; scan_order -1 for all.
    static void get_map_lines(DataLoader* loader, MapLineList& lines, const MapLineFilter& filter, int block,
                              int scan_order);
    static void get_enum_specs(DataLoader* loader, MapLine& line, const MapLineFilter& filter, int block);
    // filter.table is SNMPWhat2Scan; an empty tab_ids takes the enabled tabs.
    static void get_tabs_to_scan(DataLoader* loader, const MapLineFilter& filter, ScanSet& entries,
                                 const IntArray& tab_ids, int attempts);
    // filter.table is the tab's map table.
    static TabLayout get_tab_layout(DataLoader* loader, const MapLineFilter& filter);

    // ---- Device identification and tab types (loader_ident.cpp) -------------

    // Identifies vendor, group and class from SNMPMibMap; on a match sysobjid
    // becomes the matching row's OID. Without a match the vendor id becomes
    // the enterprise number.
    static bool find_device_by_sysobjid(DataLoader* loader, std::string& sysobjid, int& class_id, int& group_id,
                                        int& vendor_id);
    static std::string get_device_class_name(DataLoader* loader, int class_id);
    static std::string get_vendor_name(DataLoader* loader, int vendor_id);
    static std::string get_group_name(DataLoader* loader, int group_id);
    // Outputs stay unchanged when there is no row.
    static void get_tab_type(DataLoader* loader, int tab_id, std::string& name, int& horlayout, int& agent_cat);
    static void get_table_names(DataLoader* loader, int tab_id, std::string& map_name, std::string& data_name);
    // Translates, in place, the cells of every column that has an enum specification.
    static void get_enum_value(DataLoader* loader, std::vector<ScanColumn>& columns,
                               KeyedList<std::string>& enum_specs);

    // ---- Maintenance (loader_admin.cpp) ---------------------------------------

    // Compacts the loader's database in place under the database mutex, so no
    // other operation of the server uses a database meanwhile. 0 done, -1
    // failed (logged) or no loader.
    static int compact_database(DataLoader* loader, const SqlDialect& dialect);

    // ---- Elements without a database -----------------------------------------

    static TiXmlElement tab_to_treeitem(int uid, const TabRecord& tab);

protected:
    // One operation's frame: the database mutex held, and the connection it
    // runs on (the loader's own, or one borrowed from the pool until the end).
    class Operation {
    public:
        explicit Operation(DataLoader& loader);
        ~Operation();
        Operation(const Operation&) = delete;
        Operation& operator=(const Operation&) = delete;

        MSSQLODBCConnection& db() { return *connection_; }

    private:
        qr_automutex hold_;
        MSSQLPool* pool_ = nullptr;  // set when the connection was borrowed for this operation
        MSSQLODBCConnection* connection_ = nullptr;
    };

    // The existence test of every operation: logs and returns false for a missing loader.
    static bool exists(const DataLoader* loader);
    static bool admin_exists(const DataLoader* loader);

private:
    static void resolve_block_path(DataLoader* loader, MapLineList& lines, const MapLineFilter& filter, int block,
                                   std::vector<int>& path, size_t& visits);

    MSSQLPool* pool_;                      // not owned
    MSSQLODBCConnection* connection_;      // own connection; used only under *mutex_
    bool use_own_connection_;
    qr_mutex* mutex_;                      // the server's database mutex; not owned
};
