// Report definitions of the administration database: one report's
// description for the report thread, and the report list of the console's
// report tree.
#include "loader.h"
#include "loader_sql.h"
#include "report_thread.h"

#include "qr_exception.h"
#include "qr_log.h"

#include <tinyxml.h>

#include <cstdlib>

using namespace loader_sql;

ReportDescription DataLoader::get_report(DataLoader* loader, int type_id)
{
    ReportDescription report;
    if (!admin_exists(loader))
        return report;
    try {
        Operation op(*loader);
        DB_DATA rows =
            op.db().get_stmnt_results("select * from Reports WHERE typeid=?", {static_cast<int32_t>(type_id)});
        if (rows.RowCount() == 0)
            return report;
        ReportDescription found;
        found.name = text_at(rows, "name", 0);
        found.query = text_at(rows, "query", 0);
        split_report_unions(text_at(rows, "unions", 0), found.unions);
        split_report_headers(text_at(rows, "headers", 0), found.headers);
        const std::string sum = text_at(rows, "sum_column", 0);
        if (!sum.empty())
            found.sum_column = std::atoi(sum.c_str());
        found.type_id = type_id;
        report = found;
    } catch (const qr_exception_t& e) {
        TRV_LOG(qr_Error, "Can not find report description by type: " << type_id << " (" << e.message() << ")");
    }
    return report;
}

bool DataLoader::get_report_tree(DataLoader* loader, TiXmlElement& parent)
{
    if (!exists(loader))
        return false;
    try {
        Operation op(*loader);
        DB_DATA rows = op.db().query("select * from Reports ORDER BY display_order ASC");
        for (int r = 0; r < rows.RowCount(); ++r) {
            TiXmlElement item("REPORTITEM");
            item.SetAttribute("type", int_at(rows, "typeid", r));
            item.SetAttribute("name", text_at(rows, "name", r));
            item.SetAttribute("comment", text_at(rows, "comment", r));
            parent.InsertEndChild(item);
        }
        return true;
    } catch (const qr_exception_t& e) {
        TRV_LOG(qr_Error, "Can not load report tree (" << e.message() << ")");
        return false;
    }
}
