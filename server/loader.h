// DataLoader: the server's only road to a database. The server keeps one
// loader per data source key ("ADMIN" for the administration database, a
// client type for that type's inventory database) and gives every loader the
// same recursive database mutex, so at most one database operation runs at a
// time in the whole server.
//
// Operations are static members that take the loader as their first argument:
// the server's lookup may find no loader, and a missing (null) loader logs
// "Common resource error at DataLoader, existance test failed" and returns
// the operation's neutral result (0, -1, false, empty); so does a failure,
// logged once (operation() and guarded() below). Each operation holds
// the database mutex for its whole run and may call other operations of the
// same loader on the same thread. Operations are split over loader_*.cpp by
// topic.
//
// Ownership: the pool and the mutex belong to the server object and must
// outlive the loader. A loader created with use_own_connection takes one
// connection from the pool for its whole life and gives it back when
// destroyed. Any thread may call the operations.
//
// Lock order: qr_sync.h.
#pragma once

#include "ident.h"
#include "map_line.h"
#include "qr_array.h"
#include "qr_exception.h"
#include "qr_pool.h"
#include "qr_sync.h"
#include "scan_data_table.h"
#include "scan_settings.h"

#include <string>
#include <unordered_set>
#include <utility>
#include <vector>

class Job;
class SqlDialect;
class TiXmlElement;

// A piece of WHERE clause with its '?' markers and their values, in order.
struct SqlCondition {
    std::string text;
    qr_sql_params params;
};

// A row of InventoryTree, passed by value. Types: 0 and 7 plain items, 1
// inventory, 2 dated snapshot; status 0 done, 1 scanning, 4 cancelled.
// update_tree_item leaves the stored status as it is for keep_status.
constexpr int keep_status = -1;
// The parent uid of the items at the top of the tree, as consoles name the
// top level of a server. 0, what a request without a parent reads, stands
// for the top level as well.
constexpr int top_level_parent = -1;
inline bool is_top_level(int parent) { return parent == top_level_parent || parent == 0; }
struct TreeItemRecord {
    int uid = 0;
    int parentid = 0;
    int type = 0;
    int status = 0;
    int locked = 0;
    std::string name;
    std::string comment;
    std::string Tabs2Scan;
    int TimeStmp = 0;
};

// True for a table or column name that may go into a statement text:
// [A-Za-z_][A-Za-z0-9_]*, at most 63 characters.
bool is_sql_identifier(const std::string& name);
// Throws qr_exception_t naming what when name is not an identifier.
const std::string& checked_identifier(const std::string& name, const char* what);
// Escapes '\', '%' and '_' for a LIKE pattern used with ESCAPE '\'.
std::string like_literal(const std::string& text);

// The failure convention of the database code: a qr_exception_t is logged at
// Error once (a qr_logged_exception_t already was, where it arose) and goes
// no further.
void log_loader_failure(const qr_exception_t& e);
// The result of `body`, or `neutral` when it fails (logged once).
template <typename Neutral, typename Body> auto guarded(Neutral neutral, Body&& body) -> decltype(body())
{
    try {
        return body();
    } catch (const qr_exception_t& e) {
        log_loader_failure(e);
        return neutral;
    }
}
template <typename Body> void guarded(Body&& body)
{
    try {
        body();
    } catch (const qr_exception_t& e) {
        log_loader_failure(e);
    }
}

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
    // exact sysObjectID first, then the ScanOrder strategies. False (logged)
    // when the table could not be read at all; a strategy that fails is
    // logged and passed over.
    static bool query_map_lines(DataLoader* loader, DB_DATA& result, const MapLineFilter& filter,
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
    // False (logged) when the mapping tables could not be read: no loader,
    // or a query failed.
    static bool get_tabs_to_scan(DataLoader* loader, const MapLineFilter& filter, ScanSet& entries,
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

    // ---- Inventory tree: writes, questions and removal (loader_tree.cpp) ------

    // The record's uid; 0 without a loader. With `settings` (an inventory's
    // request element) its scan settings are written in the same
    // transaction: a failure leaves neither. Throws qr_exception_t on failure.
    static int insert_tree_item(DataLoader* loader, const TreeItemRecord& item,
                                const TiXmlElement* settings = nullptr);
    // Changes all but uid and TimeStmp (and status when it is keep_status);
    // the record's uid, 0 without a loader.
    // With `settings` the item's scan settings are replaced by those of the
    // element in the same transaction: a failure leaves the old ones. A new
    // parent that is the item itself or lies below it is refused (logged,
    // nothing changed). Throws.
    static int update_tree_item(DataLoader* loader, const TreeItemRecord& item,
                                const TiXmlElement* settings = nullptr);
    static void set_tree_status(DataLoader* loader, int uid, int status);
    static void set_internal_scans(DataLoader* loader, int uid, int count);
    // has_internal_scans of the item; -1 without a row or on failure.
    static int get_internal_scans(DataLoader* loader, int uid);
    // Status of a host, else of a tree item; -1 when neither has the uid.
    static int get_status(DataLoader* loader, int uid);
    // 3 for a host, else the tree item's type; -1 when neither has the uid.
    static int get_item_type(DataLoader* loader, int uid);
    // -1 without a row, 0 without a loader. Throws.
    static int get_parent_id(DataLoader* loader, int uid);
    // Empty without a row or loader. Throw.
    static std::string get_item_name(DataLoader* loader, int uid);
    static std::string get_host_address(DataLoader* loader, int uid);
    // "dns [address] YYYY-MM-DD hh:mm:ss", leaving out what is empty.
    static std::string host_caption(DataLoader* loader, int uid);
    // Appends the inventories uid lies in or contains (unsorted, repeats possible).
    static void collect_inventories(DataLoader* loader, int uid, IntArray& list);
    // Inserts, in ascending order, every host at or below uid.
    static void collect_hosts(DataLoader* loader, int uid, IntArray& list);
    // Appends uid and every tree item below it, parents before children.
    static void collect_subtree(DataLoader* loader, int uid, IntArray& list);
    // Removes an item or host with everything that hangs on it, all in one
    // transaction: 0 done; -1 failed (logged, nothing removed) or no loader.
    static int remove_tree_element(DataLoader* loader, int uid);
    // Removes the unlocked snapshots of an inventory; the last uid removed, -1
    // when none, 0 without a loader.
    static int remove_unlocked_snapshots(DataLoader* loader, int parent_uid);
    // Copy and move place a folder or an inventory under `parent`: the top
    // level (is_top_level) or a folder or plain item, never an inventory, a
    // snapshot or a host. Both answer -1 when refused or failed (logged, nothing
    // changed) and without a loader.
    //
    // Copies the item in one transaction: a folder with every folder and
    // inventory below it, an inventory with its scan settings and tab list;
    // no snapshot, host or scan data. Each copy gets a new uid from TrvIndex,
    // keeps name, comment, tab list and lock, and is new: status 0, no scan
    // running, the current time. The copy's uid. A copy into the item's own
    // branch copies the branch as it was before.
    static int copy_tree_item(DataLoader* loader, int uid, int parent);
    // Hangs the item with its branch under `parent`; the item's uid. Refused:
    // a parent that is the item or lies below it, a snapshot or host (they
    // belong to the inventory that scanned them), and an item with a scan
    // running in, below or above it (its counters would stay wrong). A move
    // to the parent it has changes nothing.
    static int move_tree_item(DataLoader* loader, int uid, int parent);

    // ---- Hosts, tabs, scan settings and data rows (loader_hosts.cpp) --------

    // Allocates a uid from TrvIndex; 0 on failure or without a loader.
    static int new_uid(DataLoader* loader);
    static void delete_scan_settings(DataLoader* loader, int uid);
    // Writes ping, ranges and communities of a TREEITEM request element, in
    // their order (PlaceOrder = position), in one transaction. Throws.
    static void write_scan_settings(DataLoader* loader, int uid, const TiXmlElement& item);
    static void set_host_dns_name(DataLoader* loader, int uid, const std::string& dns_name);
    static void delete_host(DataLoader* loader, int uid);
    // True when the status changed; false without a row, when equal, or on failure.
    static bool set_host_status(DataLoader* loader, int uid, int status);
    // A new tab's uid; 0 when the tab could not be written or without a loader.
    static int insert_tab(DataLoader* loader, const TabRecord& tab);
    // Throws.
    static bool host_has_tabs(DataLoader* loader, int host_uid);
    // One row of values (Data1..DataN, N <= 100) into a Scan<X>Data table; a
    // failure is logged and the row skipped.
    static void insert_data_row(DataLoader* loader, const ScanColumn& row, const std::string& table, int host_uid);
    // Writes every row of table, values verbatim; replace deletes the host's rows first.
    static void write_data_table(DataLoader* loader, const ScanDataTable& table, const std::string& data_name,
                                 int host_uid, bool replace);
    static void add_interface_address(DataLoader* loader, const std::string& device_id,
                                      const std::string& network_address);
    // After a start without jobs: drops hosts that answered nothing, marks
    // unfinished items and hosts with 4, clears the running-scan counters.
    static void reset_after_start(DataLoader* loader);
    // One entry (device id, newest host uid, its TimeStmp) per device id among
    // the hosts, in the order the ids first appear in the list. Hosts without
    // a device id are left out: they are no device identity.
    static void latest_hosts_by_device(DataLoader* loader, const IntArray& host_uids, DeviceDescrArray_& out);

    // ---- Hosts from scan jobs (loader_jobs.cpp; needs the scan library) -----

    // Deletes the job's host row and inserts it anew (Status 1), in one
    // transaction: a failure leaves the old row.
    static void replace_host(DataLoader* loader, Job& job);
    // Writes what the job found into its host row; nothing for an SNMP-output job.
    static void update_host_from_job(DataLoader* loader, Job& job);

    // ---- Inventory queries (loader_queries.cpp) ------------------------------

    // The tab's type (-1 without a row or on failure); its table names and layout.
    static int get_tab_info(DataLoader* loader, int tab_uid, std::string& map_name, std::string& data_name,
                            int& horlayout);
    // host_id of the tab; -1 without a row, on failure or without a loader.
    static int get_tab_host(DataLoader* loader, int tab_uid);
    // 0 without a row. Throws.
    static int get_host_time_stamp(DataLoader* loader, int host_uid);
    // False without a row; true when read (also after a logged failure).
    static bool get_host_record(DataLoader* loader, int host_uid, std::string& sys_obj_id, int& class_id,
                                int& group_id, int& vendor_id, int& agent_hard, int& agent_soft, int& agent_mon,
                                int& as_of_id, std::string& dns_name);
    static int get_host_as_of(DataLoader* loader, int host_uid);
    // The settings of the nearest inventory at or above uid: tabs, ping,
    // ranges and communities (in PlaceOrder).
    static void get_scan_settings(DataLoader* loader, int uid, IntArray& tabs, ScanSettings& settings);
    // Appends the host's rows of a Scan<X>Data table, one column per row.
    static void read_data_table(DataLoader* loader, ScanDataTable& table, const std::string& data_name,
                                int host_uid);
    // Runs a finished statement text of the server's own (reports). Throws.
    static void run_query(DataLoader* loader, const std::string& sql, DB_DATA& result);
    // True when the host and its snapshot are both done or cancelled. Throws.
    static bool get_item_if_status(DataLoader* loader, int host_uid);
    // Appends the parent, its parent and so on, up to the first -1.
    static void get_ancestors(DataLoader* loader, int uid, IntArray& out);
    // Counts a scan in (increment) or out on the items of a branch; out gets
    // (uid, count) of every item whose count turned from or to 0.
    static void update_internal_scans(DataLoader* loader, int uid, PairArray& out, bool increment);
    // Appends the snapshots concerned by uid (for cancelling their scans).
    static void walk_subtree(DataLoader* loader, int uid, IntArray& out);

    // ---- Device identity (loader_identity.cpp) -------------------------------

    // Derives the host's device id from its scan data and records the device
    // and the address under it. A host without any id stays out of the records.
    static void update_device_identity(DataLoader* loader, int host_uid, const std::string& network_address,
                                       const std::string& sys_name);

    // ---- Host search and status (loader_search.cpp) --------------------------

    // Hosts whose NetAddr matches the pattern (AddressPattern: the console's
    // four octets of values, ranges and stars, or pieces between stars); a
    // malformed pattern finds none. Throws.
    static void find_host_by_address(DataLoader* loader, const std::string& pattern, IntArray& out);
    // Hosts whose NetName or DNSName matches the pattern, ignoring case; '*'
    // is the only wildcard.
    static void find_host_by_name(DataLoader* loader, const std::string& pattern, IntArray& out);
    // 4 when a host at or below uid has status 4, else 0.
    static int children_status(DataLoader* loader, int uid);
    // One ROW per host with the caption in the third (left) or fourth CELL;
    // 0 for an empty list, else 1.
    static int host_rows_to_xml(DataLoader* loader, const IntArray& hosts, TiXmlElement& target, bool left_side);
    // The caption of uid, then ", " and the date of time_uid when it is a host. Throws.
    static std::string get_host_label_with_date(DataLoader* loader, int uid, int time_uid);
    // Keeps the newest host of each device id, in first-seen order; hosts
    // without a device id each count as a device of their own. Throws.
    static void keep_latest_per_device(DataLoader* loader, IntArray& hosts);

    // ---- Host comparison and reports (loader_compare.cpp, loader_reports.cpp)

    // Writes HEADER and GROUPS of the comparison of two items (hosts, or the
    // hosts below inventories or snapshots) into table; true when a host has
    // no partner or a tab differs. Tabs and layouts come from the
    // administration data source. A database failure is logged, writes
    // nothing and gives false.
    static bool compare_hosts(DataLoader* loader, TiXmlElement& table, int uid1, int uid2);
    // Appends one GROUP per tab whose data differ between the two hosts;
    // true when one was appended.
    static bool compare_host_tabs(DataLoader* loader, TiXmlElement& parent, int host1, int host2);
    // The report of that type (administration loader); typeid and
    // sum_column -1 when there is none or it cannot be read. The struct is
    // declared here and defined in report_thread.h.
    static struct ReportDescription get_report(DataLoader* loader, int type_id);
    // Appends one REPORTITEM per report in display order; false on failure
    // (items already appended stay).
    static bool get_report_tree(DataLoader* loader, TiXmlElement& parent);

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
    // Appends one TREEITEM per tab of the host, in uid order (the order the
    // scan wrote them); returns the number of tab rows.
    static int tabs_to_xml(DataLoader* loader, int host_uid, TiXmlElement& target);
    // Appends the hosts of a snapshot, each followed by its tabs unless
    // without_tabs; the number of rows when a host was appended, else 0.
    // The elements equal those of host_row_to_xml and tabs_to_xml, but the
    // snapshot's tabs are read in one statement and each admin name once.
    static int hosts_to_xml(DataLoader* loader, int as_of_id, TiXmlElement& target, bool without_tabs);
    // Appends the children of an item as a flat pre-order list (only the
    // direct ones with one_level); an item without tree children is taken for
    // a snapshot and its hosts are listed. Returns the number appended at the
    // first level. An item met again through a parentid loop is left out.
    static int children_to_xml(DataLoader* loader, int uid, TiXmlElement& target, bool one_level);
    // The TREEITEM of the job's host while its scan runs, with the given
    // status (loader_xml_job.cpp; needs the scan library).
    static TiXmlElement host_to_xml(DataLoader* loader, Job& job, int status);
    // The TREEITEM of a tree item, host or tab (a tab's as a scan announces
    // it, new_tab_treeitem); without attributes for an unknown uid.
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
    // The frame of most operations: the existence test, then `body` on its
    // Operation, under guarded(): `neutral` for no loader or a failure.
    template <typename Neutral, typename Body>
    static auto operation(DataLoader* loader, Neutral neutral, Body&& body)
        -> decltype(body(std::declval<Operation&>()))
    {
        if (!exists(loader))
            return neutral;
        return guarded(neutral, [&] {
            Operation op(*loader);
            return body(op);
        });
    }
    template <typename Body> static void operation(DataLoader* loader, Body&& body)
    {
        if (!exists(loader))
            return;
        guarded([&] {
            Operation op(*loader);
            body(op);
        });
    }
    static bool admin_exists(const DataLoader* loader);

private:
    // children_to_xml below uid, skipping the items already listed.
    static int children_walk(DataLoader* loader, int uid, TiXmlElement& target, bool one_level,
                             std::unordered_set<int>& seen);
    static void resolve_block_path(DataLoader* loader, MapLineList& lines, const MapLineFilter& filter, int block,
                                   std::vector<int>& path, size_t& visits);

    MSSQLPool* pool_;                      // not owned
    MSSQLODBCConnection* connection_;      // own connection; used only under *mutex_
    bool use_own_connection_;
    qr_mutex* mutex_;                      // the server's database mutex; not owned
};
