#include "report_thread.h"

#include "loader.h"
#include "services.h"
#include "table_xml.h"

#include "qr_exception.h"
#include "qr_log.h"
#include "qr_strings.h"

#include <tinyxml.h>

#include <cctype>
#include <cstdlib>
#include <exception>
#include <set>
#include <system_error>
#include <thread>

// Holds one of the sink's report places for the life of a report thread.
class ReportSlot {
public:
    static std::unique_ptr<ReportSlot> take(ReportSink& sink)
    {
        qr_automutex hold(sink.m_);
        if (sink.running_ >= ReportSink::max_running_reports)
            return nullptr;
        ++sink.running_;
        return std::unique_ptr<ReportSlot>(new ReportSlot(sink));
    }
    ~ReportSlot()
    {
        qr_automutex hold(sink_.m_);
        --sink_.running_;
    }
    ReportSlot(const ReportSlot&) = delete;
    ReportSlot& operator=(const ReportSlot&) = delete;

private:
    explicit ReportSlot(ReportSink& sink) : sink_(sink) {}
    ReportSink& sink_;
};

namespace {

const char* const unknown_group = "Unknown";
const char* const date_mark = "#date";
const char* const class_mark = "#class";

std::string cell_text(const tgDArray<std::string>& row, int column)
{
    return column >= 0 && column < row.Count() ? row[column] : std::string();
}

TiXmlElement log_element(const std::string& text, bool alert)
{
    ServerServices* services = GetServerServices();
    TiXmlElement log("LOG");
    log.SetAttribute("text", LogLineText(services ? services->CurrentTimeText() : FormatTimeStamp(), "", text));
    if (alert)
        log.SetAttribute("alert", "1");
    return log;
}

// Captions as the HEADER shows them, with the date and class columns they mark.
struct ReportColumns {
    std::vector<std::string> captions;  // headers, then "index" and "parent"
    std::set<int> date_columns;
    int class_column = -1;
};

ReportColumns report_columns(const std::vector<std::string>& headers)
{
    ReportColumns c;
    for (const std::string& header : headers) {
        std::string caption = header;
        const int column = static_cast<int>(c.captions.size());
        size_t at = caption.find(date_mark);
        if (at != std::string::npos) {
            caption.erase(at);
            c.date_columns.insert(column);
        }
        at = caption.find(class_mark);
        if (at != std::string::npos) {
            caption.erase(at);
            c.class_column = column;
        }
        c.captions.push_back(caption);
    }
    c.captions.push_back("index");
    c.captions.push_back("parent");
    return c;
}

TiXmlElement report_header(const ReportColumns& columns)
{
    TiXmlElement header("HEADER");
    const size_t n = columns.captions.size();
    for (size_t i = 0; i < n; ++i) {
        TiXmlElement column("COLUMN");
        column.SetAttribute("name", columns.captions[i]);
        if (i == n - 2)
            column.SetAttribute("index", "1");
        if (i == n - 1)
            column.SetAttribute("parent", "1");
        if (i >= n - 2)
            column.SetAttribute("hidden", "1");
        header.InsertEndChild(column);
    }
    return header;
}

}  // namespace

void split_report_unions(const std::string& text, tgDArray<IntArray>& unions)
{
    std::string rest = text;
    while (!rest.empty()) {
        std::string group = NextToken(rest, ";", false);
        IntArray numbers;
        while (!group.empty())
            numbers.Add(std::atoi(NextToken(group, "&", false).c_str()));
        unions.Add(numbers);
    }
}

void split_report_headers(const std::string& text, std::vector<std::string>& headers)
{
    std::string rest = text;
    while (!rest.empty())
        headers.push_back(NextToken(rest, ",", false));
}

void CDataTable::add_row(const tgDArray<std::string>& row, int key_column)
{
    const std::string key = cell_text(row, key_column);
    int at = Count();
    while (at > 0 && cell_text((*this)[at - 1], key_column) > key)
        --at;
    insert_row(row, at);
}

void CDataTable::insert_row(const tgDArray<std::string>& row, int position)
{
    Insert(row, position < Count() ? position : Count());
}

void build_report_tree(int depth, int levels, int& counter, const CDataTable& table, TreeElem_& node)
{
    TreeElem_* current = nullptr;
    std::string previous;
    for (int r : node.rows) {
        const std::string key = cell_text(table[r], depth);
        if (!current || key != previous) {
            auto child = std::make_unique<TreeElem_>();
            child->id = ++counter;
            child->parent = node.id;
            child->depth = depth;
            child->name = key.empty() ? unknown_group : key;
            current = child.get();
            node.children.push_back(std::move(child));
            previous = key;
        }
        current->rows.Add(r);
    }
    if (depth + 1 < levels)
        for (auto& child : node.children)
            build_report_tree(depth + 1, levels, counter, table, *child);
}

int count_report_rows(const TreeElem_& node)
{
    if (node.children.empty())
        return node.rows.Count();
    int total = 0;
    for (const auto& child : node.children)
        total += count_report_rows(*child);
    return total;
}

void flatten_report_node(const TreeElem_& node, const CDataTable& table, ReportRows& output, int n, int sum_column,
                         int index_column, int parent_column)
{
    std::vector<std::string> group(static_cast<size_t>(n));
    if (node.depth >= 0 && node.depth < n)
        group[node.depth] = node.name;
    if (sum_column >= 0 && sum_column < n)
        group[sum_column] = std::to_string(count_report_rows(node));
    group[index_column] = std::to_string(node.id);
    group[parent_column] = std::to_string(node.parent);
    output.push_back(group);
    if (!node.children.empty())
        return;
    for (int r : node.rows) {
        std::vector<std::string> data(static_cast<size_t>(n));
        for (int c = node.depth + 1; c <= n - 3; ++c)
            data[c] = cell_text(table[r], c);
        data[index_column] = "-2";
        data[parent_column] = std::to_string(node.id);
        output.push_back(data);
    }
}

void flatten_report_tree(const TreeElem_& node, const CDataTable& table, ReportRows& output, int n, int sum_column,
                         int index_column, int parent_column)
{
    if (node.parent != -1)
        flatten_report_node(node, table, output, n, sum_column, index_column, parent_column);
    for (const auto& child : node.children)
        flatten_report_tree(*child, table, output, n, sum_column, index_column, parent_column);
}

std::string insert_host_filter(const std::string& query, const IntArray& hosts)
{
    std::string filter = " ( ScanSummaryData.host_id IN (";
    for (int i = 0; i < hosts.Count(); ++i) {
        if (i > 0)
            filter += ',';
        filter += std::to_string(hosts[i]);
    }
    filter += ")) ";
    std::string sql = query;
    const size_t pair = sql.find("##");
    if (pair != std::string::npos && pair > 0) {
        filter = " AND " + filter;
        sql.erase(pair, 1);
    }
    const size_t mark = sql.find('#');
    if (mark != std::string::npos && mark > 0)
        sql.replace(mark, 1, filter);
    return sql;
}

std::string report_unit_value(const std::string& caption, const std::string& value)
{
    if (value.empty())
        return value;
    // Whole words only: "Serial Number" holds the letters of MB but no unit.
    std::set<int> units;
    std::string word;
    for (size_t i = 0; i <= caption.size(); ++i) {
        const unsigned char c = i < caption.size() ? static_cast<unsigned char>(caption[i]) : ' ';
        if (std::isalnum(c)) {
            word += static_cast<char>(c);
            continue;
        }
        if (!word.empty()) {
            int unit = UNIT_NONE;
            parse_column_spec(word, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &unit, nullptr);
            units.insert(unit);
            word.clear();
        }
    }
    struct Scale {
        int unit;
        int64_t divisor;
    };
    static const Scale scales[] = {
        {UNIT_KB, 1024LL}, {UNIT_MB, 1048576LL}, {UNIT_GB, 1073741824LL},
        {UNIT_MHZ, 1000000LL}, {UNIT_KHZ, 1000LL}, {UNIT_GHZ, 1000000000LL},
    };
    for (const Scale& s : scales)
        if (units.count(s.unit))  // integer division truncates toward zero
            return std::to_string(static_cast<int64_t>(std::strtoll(value.c_str(), nullptr, 10)) / s.divisor);
    return value;
}

void report_thread(const TiXmlElement& request, const std::shared_ptr<ReportSink>& sink)
{
    // A request without synch is answered with 0, as every other reply.
    int type = -1, root = -1, synch = 0;
    request.Attribute("type", &type);
    request.Attribute("root", &root);
    request.Attribute("synch", &synch);
    const std::string client_type = sink->client_type();
    TRV_LOG(qr_Debug, "Creating new report for root item'" << root << "'");

    const ReportDescription report = DataLoader::get_report(GetAdminDataSource(), type);
    TiXmlElement table("TABLE");
    table.SetAttribute("synch", synch);
    table.SetAttribute("repid", report.type_id);
    table.SetAttribute("repname", report.name);
    sink->send(log_element("Start collecting report data: '" + report.name + "'", false));

    // A failure to read the data: the console hears of it and gets an empty table.
    auto answer_failure = [&](const std::string& why) {
        TRV_LOG(qr_Error, why);
        table.SetAttribute("type", report.type_id);
        table.SetAttribute("rows", "0");
        table.SetAttribute("cols", "0");
        sink->send(log_element("Can not build report '" + report.name + "': " + why, true));
        sink->send(table);
    };

    DataLoader* inventory = GetDataSource(client_type);
    const std::string no_data = "No data found for report '" + report.name + "' under branch '";
    IntArray hosts;
    DataLoader::collect_hosts(inventory, root, hosts);  // logs its own failure and then adds none
    try {
        DataLoader::keep_latest_per_device(inventory, hosts);
    } catch (const qr_exception_t& e) {
        // Going on would report every older snapshot of a device as well.
        answer_failure(e.message());
        return;
    }
    if (hosts.Count() == 0) {
        TRV_LOG(qr_Info, "Can not find Scanned Hosts started from root item: " << root);
        sink->send(log_element(no_data + DataLoader::get_item_title(inventory, root) + "'", true));
        return;
    }

    const std::string sql = insert_host_filter(report.query, hosts);
    TRV_LOG(qr_Debug, "Report SQL: " << sql);
    const int columns = static_cast<int>(report.headers.size());
    CDataTable rows;
    try {
        if (!inventory)
            qr_exception("No inventory database for client type %s", client_type.c_str());
        DB_DATA result;
        DataLoader::run_query(inventory, sql, result);
        TRV_LOG(qr_Debug, "Have SQL result with number of lines: " << result.RowCount());
        std::vector<const DB_COLUMN*> found;
        for (int i = 0; i < columns; ++i)
            found.push_back(result.Find("d" + std::to_string(i + 1)));
        for (int r = 0; r < result.RowCount(); ++r) {
            tgDArray<std::string> row;
            for (int i = 0; i < columns; ++i) {
                std::string value = found[i] && r < found[i]->Size() ? found[i]->GetString(r) : std::string();
                value = report_unit_value(report.headers[i], value);
                if (i == 0 && value.empty() && report.unions.Count() > 0)
                    value = unknown_group;
                row.Add(value);
            }
            rows.add_row(row);
        }
    } catch (const qr_exception_t& e) {
        answer_failure(e.message());
        return;
    }

    TreeElem_ tree;
    for (int r = 0; r < rows.Count(); ++r)
        tree.rows.Add(r);
    int counter = 0;
    build_report_tree(0, report.unions.Count(), counter, rows, tree);

    const ReportColumns shown = report_columns(report.headers);
    const int n = static_cast<int>(shown.captions.size());
    table.InsertEndChild(report_header(shown));
    ReportRows output;
    flatten_report_tree(tree, rows, output, n, report.sum_column, n - 2, n - 1);
    if (output.empty()) {
        sink->send(log_element(no_data + DataLoader::get_item_title(inventory, root) + "'", true));
        return;
    }
    DataLoader* admin = GetAdminDataSource();
    TiXmlElement out_rows("ROWS");
    for (std::vector<std::string>& values : output) {
        TiXmlElement cells("CELLS");
        for (int c = 0; c < n; ++c) {
            std::string& value = values[c];
            const long number = std::atol(value.c_str());
            if (c == shown.class_column && number != 0)
                value = DataLoader::get_device_class_name(admin, static_cast<int>(number));
            else if (shown.date_columns.count(c) && number != 0)
                value = FormatDateTime(static_cast<time_t>(number));
            TiXmlElement cell("CELL");
            cell.SetAttribute("text", value);
            cells.InsertEndChild(cell);
        }
        TiXmlElement row("ROW");
        row.InsertEndChild(cells);
        out_rows.InsertEndChild(row);
    }
    table.InsertEndChild(out_rows);
    sink->send(log_element("Report sent: '" + report.name + "'", false));
    sink->send(table);
}

namespace {
void send_report_error(ReportSink& sink, const std::string& message, int synch);
void start_thread(const TiXmlElement& request, const std::shared_ptr<ReportSink>& sink,
                  std::unique_ptr<ReportSlot> slot);
}  // namespace

bool start_report(const TiXmlElement& request, const std::shared_ptr<ReportSink>& sink)
{
    int synch = 0;
    request.Attribute("synch", &synch);
    std::unique_ptr<ReportSlot> slot = ReportSlot::take(*sink);
    if (!slot) {
        TRV_LOG(qr_Error, "Report refused: " << ReportSink::max_running_reports << " reports already running");
        send_report_error(*sink, "Too many reports are running on this connection.", synch);
        return false;
    }
    try {
        start_thread(request, sink, std::move(slot));
    } catch (const std::system_error& e) {
        TRV_LOG(qr_Error, "Can not start a report thread: " << e.what());
        send_report_error(*sink, "Can not start the report.", synch);
        return false;
    }
    return true;
}

namespace {

void send_report_error(ReportSink& sink, const std::string& message, int synch)
{
    TiXmlElement error("ERROR");
    error.SetAttribute("type", 254);
    error.SetAttribute("message", message);
    if (synch != -1)
        error.SetAttribute("synch", synch);
    error.SetAttribute("alert", "1");
    sink.send(error);
}

void start_thread(const TiXmlElement& request, const std::shared_ptr<ReportSink>& sink,
                  std::unique_ptr<ReportSlot> slot)
{
    std::thread([copy = request, target = std::shared_ptr<ReportSink>(sink),
                 held = std::shared_ptr<ReportSlot>(std::move(slot))]() mutable {
        try {
            report_thread(copy, target);
        } catch (const std::exception& e) {
            TRV_LOG(qr_Error, "Unhandled exception occured in thread. " << e.what());
        } catch (...) {
            TRV_LOG(qr_Error, "Unhandled exception occured in thread.");
        }
        // The place is given back before the last hold on the sink goes.
        held.reset();
        target.reset();
        int root = -1;
        copy.Attribute("root", &root);
        TRV_LOG(qr_Debug, "Report thread for root item '" << root << "' ended");
    }).detach();
}

}  // namespace
