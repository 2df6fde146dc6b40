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

    // ---- Tree items and tables for consoles (loader_xml.cpp, loader_table.cpp)

    // Each operation holds the database mutex for its whole run and borrows a
    // connection only around its own statements, so nested operations never
    // hold more than one connection of the pool. Vendor and class names of a
    // host come from the administration loader under the same mutex.

    // True when the item has a child: tree rows below types 0, 1 and 7, hosts
    // below a snapshot (2), tabs below a host (3); false for anything else.
    static bool has_children(DataLoader* loader, int uid);
    // Sets the TREEITEM attributes of a tree row (an inventory also gets ping
    // and its IP and COMM children); returns the uid (-1 for NULL).
    static int tree_row_to_xml(DataLoader* loader, const DB_DATA& rows, int row, TiXmlElement& element);
    // Sets the TREEITEM attributes of a host row; returns the uid (-1 for NULL).
    static int host_row_to_xml(DataLoader* loader, const DB_DATA& rows, int row, TiXmlElement& element);
    // Appends one TREEITEM per tab of the host; returns the number of tab rows.
    static int tabs_to_xml(DataLoader* loader, int host_uid, TiXmlElement& target);
    // Appends the hosts of a snapshot, each followed by its tabs unless
    // without_tabs; the number of rows when a host was appended, else 0.
    static int hosts_to_xml(DataLoader* loader, int as_of_id, TiXmlElement& target, bool without_tabs);
    // Appends the children of an item as a flat pre-order list (only the
    // direct ones with one_level); an item without tree children is taken for
    // a snapshot and its hosts are listed. Returns the number appended at the
    // first level.
    static int children_to_xml(DataLoader* loader, int uid, TiXmlElement& target, bool one_level);
    // The TREEITEM of a tree item or host; without attributes for an unknown uid.
    static TiXmlElement item_to_xml(DataLoader* loader, int uid);
    // Fills element as item_to_xml does: 0, or -1 for an unknown uid or a host
    // row without a positive uid.
    static int read_item(DataLoader* loader, int uid, TiXmlElement& element);
    // The display text of an item: the server host for -1, the caption of a
    // host, the name of any other item.
    static std::string get_item_title(DataLoader* loader, int uid);
    // Writes HEADER, ROWS or GROUPS and has_empty_rows of a tab's TABLE from
    // its stored records and layout; returns 0. Needs no database.
    static int tab_to_xml(const ScanDataTable& table, TiXmlElement& element, const TabLayout& layout,
                          bool horizontal);

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
                                   std::vector<int>& path);

    MSSQLPool* pool_;                      // not owned
    MSSQLODBCConnection* connection_;      // own connection; used only under *mutex_
    bool use_own_connection_;
    qr_mutex* mutex_;                      // the server's database mutex; not owned
};
