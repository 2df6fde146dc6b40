// Reports for consoles: the description of a report as the administration
// database holds it, the in-memory steps of a report (sorted result rows, the
// grouping tree, the output rows), and the report thread that runs one
// CREATE_REPORT request and sends its TABLE to the console.
//
// The console is reached through a ReportSink that the server makes once per
// connection and hands, with shared ownership, to every report started on it:
// a report thread keeps the sink alive until it ends, so a console that
// disconnects meanwhile never leaves the thread with a dangling pointer; the
// sink then drops what the thread still sends. The sink also counts the
// reports running on its connection, so one console cannot start threads
// without bound.
//
// Threads: start_report on the connection's thread; report_thread on a thread
// of its own (or the caller's); ReportSink::send from any report thread. The
// helpers below are plain functions on values the caller owns.
#pragma once

#include "qr_array.h"
#include "qr_sync.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class TiXmlElement;

// One row of the Reports table, read by DataLoader::get_report.
struct ReportDescription {
    int32_t type_id = -1;     // -1 when no report was found
    int32_t sum_column = -1;  // -1 when none
    std::string name;
    std::string query;               // run on the inventory database; '#' marks the host filter
    tgDArray<IntArray> unions;       // one entry per grouping level
    std::vector<std::string> headers;  // column captions
};

// "1&2;4" -> [1, 2], [4]; the empty text gives no groups.
void split_report_unions(const std::string& text, tgDArray<IntArray>& unions);
// "Host,Serial No,Size" -> three captions, blanks kept.
void split_report_headers(const std::string& text, std::vector<std::string>& headers);

// Result rows kept sorted by the text of their first value (byte-wise); rows
// with equal keys keep their arrival order.
class CDataTable : public tgDArray<tgDArray<std::string>> {
public:
    ~CDataTable() override = default;
    // Inserts after every row whose value in key_column is not greater.
    void add_row(const tgDArray<std::string>& row, int key_column = 0);
    // At a position at or past the end the row is appended.
    void insert_row(const tgDArray<std::string>& row, int position);
};

// One node of the grouping tree; a node owns its children.
struct TreeElem_ {
    int32_t id = 0;       // 0 for the root, then 1, 2, ... in creation order
    int32_t parent = -1;  // the parent's id; -1 for the root
    int32_t depth = 0;    // the result column this node groups by
    std::string name;     // the group's key, "Unknown" when empty
    IntArray rows;        // indexes into the CDataTable
    std::vector<std::unique_ptr<TreeElem_>> children;
};

typedef std::vector<std::vector<std::string>> ReportRows;

// Splits node's rows into children by their value in column depth (a new
// child wherever the value changes) and recurses while depth + 1 < levels.
void build_report_tree(int depth, int levels, int& counter, const CDataTable& table, TreeElem_& node);
// The rows held by the leaves below node (a leaf counts its own).
int count_report_rows(const TreeElem_& node);
// Pre-order: each node but the root, then its children.
void flatten_report_tree(const TreeElem_& node, const CDataTable& table, ReportRows& output, int n,
                         int sum_column, int index_column, int parent_column);
// The node's group row, then, for a leaf, one data row per row.
void flatten_report_node(const TreeElem_& node, const CDataTable& table, ReportRows& output, int n,
                         int sum_column, int index_column, int parent_column);

// The query with the host filter put in place of its '#' marker ("##" puts
// " AND " before the filter).
std::string insert_host_filter(const std::string& query, const IntArray& hosts);
// The value of a result column after the unit of its caption: a caption
// holding the word KB, MB, GB, MHZ, KHZ or GHZ (whole words, any case) turns
// a number into that unit, truncated; other values come back unchanged.
std::string report_unit_value(const std::string& caption, const std::string& value);

// What a report thread sends to: one console connection.
class ReportSink {
public:
    virtual ~ReportSink() = default;
    // The console's client type: the key of its inventory data source.
    virtual std::string client_type() const = 0;
    // Sends one whole element; callable from any thread. Once the console is
    // gone it drops the element quietly.
    virtual void send(const TiXmlElement& element) = 0;

    // Reports one connection may run at the same time.
    static constexpr int max_running_reports = 4;

private:
    friend class ReportSlot;
    qr_mutex m_;  // a leaf lock: nothing else is taken while it is held
    int running_ GUARDED_BY(m_) = 0;
};

// Starts the report of a CREATE_REPORT request (type, root, synch) on a
// thread of its own; the thread holds a copy of the request and the sink. When
// the connection already runs max_running_reports, no thread starts: the sink
// gets an ERROR of type 254 and the result is false.
bool start_report(const TiXmlElement& request, const std::shared_ptr<ReportSink>& sink);

// Builds the report of the request and sends its LOG lines and TABLE to the
// sink; returns when done. Data sources come from the server's services.
void report_thread(const TiXmlElement& request, const std::shared_ptr<ReportSink>& sink);
