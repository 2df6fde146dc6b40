#include "admin_content.h"

#include "qr_exception.h"
#include "qr_odbc.h"
#include "schema_scripts.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <fstream>

std::vector<std::pair<int32_t, std::string>> read_enterprise_numbers(const std::string& path)
{
    std::ifstream in(path);
    if (!in)
        qr_exception("Cannot read the enterprise list %s", path.c_str());
    std::vector<std::pair<int32_t, std::string>> out;
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty() || line[0] == '#')
            continue;
        size_t digits = line.find_first_not_of("0123456789");
        if (digits == 0 || digits == std::string::npos || digits > 9)
            continue;
        size_t name = line.find_first_not_of(" \t", digits);
        if (name == digits || name == std::string::npos)
            continue;
        // The list appends notes after a tab ("\t# formerly '...'"); a '#'
        // inside a name ("District # 37") or opening it ("#B4mad") stays.
        size_t note = line.find('\t', name + 1);
        while (note != std::string::npos) {
            size_t mark = line.find_first_not_of(" \t", note);
            if (mark != std::string::npos && line[mark] == '#')
                break;
            note = line.find('\t', note + 1);
        }
        size_t end = line.find_last_not_of(" \t", note);
        out.emplace_back(static_cast<int32_t>(std::atol(line.substr(0, digits).c_str())),
                         line.substr(name, end + 1 - name));
    }
    return out;
}

void insert_vendor_names(MSSQLODBCConnection& connection, const std::vector<std::pair<int32_t, std::string>>& vendors)
{
    // Hundreds of rows a statement keep the build fast on both databases
    // and stay well under their limits on bound markers.
    const size_t batch = 400;
    for (size_t first = 0; first < vendors.size(); first += batch) {
        size_t last = std::min(vendors.size(), first + batch);
        std::string sql = "INSERT INTO SNMPDevVendors (oid, name) VALUES ";
        qr_sql_params params;
        for (size_t i = first; i < last; ++i) {
            sql += i == first ? "(?, ?)" : ", (?, ?)";
            params.emplace_back(vendors[i].first);
            params.emplace_back(vendors[i].second);
        }
        connection.get_stmnt_results(sql, params);
    }
}

void load_admin_content(MSSQLODBCConnection& connection, const std::string& content_script,
                        const std::string& enterprises_path)
{
    auto vendors = read_enterprise_numbers(enterprises_path);
    if (vendors.empty())
        qr_exception("The enterprise list %s holds no vendor", enterprises_path.c_str());
    qr_transaction transaction(connection);
    run_schema_script(connection, content_script);
    insert_vendor_names(connection, vendors);
    transaction.commit();
}
