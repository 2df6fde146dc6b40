#include "map_scan.h"

#include "job.h"
#include "loader.h"
#include "map_line.h"
#include "scan_table.h"
#include "services.h"
#include "snmp_session.h"
#include "value_functions.h"

#include "qr_exception.h"
#include "qr_log.h"

#include <cstdio>
#include <regex>

int ScanMapLine(CSnmpSession* session, const std::string& address, const std::string& community,
                const std::string& walk_file, const std::string& folder, const std::vector<std::string>& cells,
                ScanDataTable& table, bool lines)
{
    table.columns.clear();
    TRV_LOG(qr_Debug, "ScanMapLine, ip=" << address << ",cs=" << community);
    try {
        size_t rows = 0;
        bool has_data = false;
        for (const std::string& expression : cells) {
            ScanColumn column;
            if (expression < std::string("server")) {
                TRV_LOG(qr_Debug_2, "Scanning: " << address << ":" << expression);
                if (expression.find('$') != std::string::npos) {
                    apply_value_function(session, address, expression, community, walk_file, column.values,
                                         folder);
                } else if (!expression.empty() && expression[0] == '.') {
                    if (scan_table(session, address, expression, community, walk_file, column.values, lines) == 2)
                        return MapLineNotReady;
                } else {
                    column.values.assign(rows, expression);
                }
                if (!column.values.empty()) {
                    rows = column.values.size();
                    has_data = true;
                }
            }
            table.add_column(column);
        }
        if (!has_data)
            table.columns.clear();
    } catch (const qr_exception_t& e) {
        log_loader_failure(e);
    }
    return MapLineDone;
}

namespace {

// The columns a value function expression reads: $LOOKUP reads its table's
// key and value columns, every other function the OIDs it names. A literal
// OID among them (a value to compare with) only asks for a subtree that ends
// at once.
void function_columns(const std::string& expression, std::vector<std::string>& roots)
{
    static const std::regex lookup(R"(\$LOOKUP\(\s*(\.[0-9.]+)\s*,\s*([0-9]+)\s*=[^,]*,\s*[A-Za-z]*\s*([0-9]+))",
                                   std::regex::icase);
    static const std::regex oid(R"(\.[0-9]+(\.[0-9]+)+)");
    std::smatch m;
    if (std::regex_search(expression, m, lookup)) {
        roots.push_back(m[1].str() + "." + m[2].str());
        roots.push_back(m[1].str() + "." + m[3].str());
        return;
    }
    for (std::sregex_iterator it(expression.begin(), expression.end(), oid), end; it != end; ++it)
        roots.push_back(it->str());
}

// A live agent's columns of one map line (the table's existence column and
// every plain OID cell) are read side by side into the session's host cache,
// from which the existence test and the cells then take them.
int read_line_together(const TabScanRequest& request, const MapLine& line)
{
    if (!request.walk_file.empty() || !request.session)
        return WalkSuccess;
    std::vector<std::string> roots;
    if (line.value_flag == 0 && !line.TableOID.empty())
        roots.push_back(line.TableOID + ".2");
    for (const std::string& cell : line.values) {
        if (cell.empty() || !(cell < std::string("server")))
            continue;
        if (cell.find('$') != std::string::npos)
            function_columns(cell, roots);
        else if (cell[0] == '.')
            roots.push_back(cell.substr(0, cell.find(',')));  // without a date marker
    }
    CSnmpSession* session = request.session;
    return session->walk_together(roots, session->get_timeout(), session->get_retries());
}

// The pseudo-columns a map line names by "server_..." take the host's own
// values; "server_index" numbers the rows from 1.
void fill_server_fields(ScanDataTable& table, const std::vector<std::string>& names, const std::string& address,
                        const std::string& dns_name, const std::string& sys_obj_id)
{
    size_t rows = table.row_count();
    for (size_t c = 0; c < table.columns.size() && c < names.size(); ++c) {
        std::vector<std::string>& values = table.columns[c].values;
        const std::string& name = names[c];
        std::string chosen;
        if (name == "server_sysobjid")
            chosen = sys_obj_id;
        else if (name == "server_ip")
            chosen = address;
        else if (name == "server_dns")
            chosen = dns_name;
        if (!chosen.empty()) {
            if (values.empty())
                values.push_back(chosen);
            else
                values[0] = chosen;
        } else if (name == "server_index") {
            for (size_t r = 0; r < rows; ++r) {
                std::string n = std::to_string(r + 1);
                if (r < values.size())
                    values[r] = n;
                else
                    values.push_back(n);
            }
        }
    }
}

}  // namespace

int scan_map_lines(const TabScanRequest& request)
{
    Job* job = request.job;
    MapLineFilter filter(request.map_name, job->get_sys_obj_id(), job->get_dev_class_id(),
                         job->get_dev_group_id(), job->get_dev_vendor_id(),
                         agent_type_of_category(request.agent_cat, job->get_agent_type_hard(),
                                                job->get_agent_type_soft(), job->get_agent_type_mon()));
    DataLoader* admin = GetAdminDataSource();
    MapLineList lines;
    DataLoader::resolve_block(admin, lines, filter, -1);

    ScanDataTable tab_table;
    ScanDataTable line_table;
    int number = 0;
    for (MapLine& line : lines) {
        if (job->is_cancelled())
            break;
        ++number;
        log_job_step("Scan map line: " + std::to_string(number), job->get_as_of_id(), request.address);
        const bool table = line.value_flag == 0 && !line.TableOID.empty();
        const std::string oid = line.TableOID + ".2";
        if (table)
            TRV_LOG(qr_Info, "Testing for table existence. Ip:" << request.address << ", Table:" << request.map_name
                                                                << ", oid:" << oid);
        if (read_line_together(request, line) == WalkAgentNotReady)
            return job->is_cancelled() ? 1 : 2;
        if (table) {
            bool answered = false;
            if (request.walk_file.empty() && request.session && request.session->host_cache_on()) {
                // One request at most: whether the column has a first entry.
                CSnmpSession* session = request.session;
                const int result = session->probe_subtree(oid, session->get_timeout(), session->get_retries());
                if (result == WalkAgentNotReady)
                    return 2;
                if (result != WalkSuccess)
                    TRV_LOG(qr_Error, request.address << ", oid:" << oid << ". Result from scanning table is: "
                                                      << walk_result_text(result));
                answered = result == WalkSuccess;
            } else {
                if (ScanMapLine(request.session, request.address, request.community, request.walk_file,
                                request.folder, {oid}, line_table, false) == MapLineNotReady)
                    return 2;
                answered = !line_table.columns.empty();
            }
            if (!answered) {
                TRV_LOG(qr_Info, "Table not answered. Ip:" << request.address << ". Table:" << request.map_name
                                                           << ". Oid:" << oid);
                continue;
            }
            TRV_LOG(qr_Info, "Table answered. Ip:" << request.address << ". Table:" << request.map_name
                                                   << ". Oid:" << oid);
        }
        if (job->is_cancelled())
            return 1;
        if (ScanMapLine(request.session, request.address, request.community, request.walk_file, request.folder,
                        line.values, line_table, false) == MapLineNotReady)
            return job->is_cancelled() ? 1 : 2;
        if (line_table.columns.empty())
            continue;
        fill_server_fields(line_table, line.values, request.address, job->get_dns_name(), job->get_sys_obj_id());
        DataLoader::get_enum_value(admin, line_table.columns, line.enum_specs);
        size_t tab_rows = tab_table.row_count();
        if (tab_rows == 0 || tab_rows == line_table.row_count())
            tab_table.assign_columns(line_table);
    }
    if (job->is_cancelled())
        return 1;
    if (tab_table.columns.empty())
        return 1;
    TRV_LOG(qr_Debug, "Writing data table " << request.data_name);
    DataLoader::write_data_table(GetDataSource(job->get_source_key()), tab_table, request.data_name,
                                 job->get_host_uid(), true);
    return 0;
}
