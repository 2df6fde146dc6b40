// Map-line loaders: the device-filtered row query with its fallbacks, block
// resolution through FORMULA rows, the tab list and the tab layout.
#include "loader.h"
#include "loader_sql.h"

#include "qr_exception.h"
#include "qr_log.h"

#include <algorithm>
#include <cstdlib>

using namespace loader_sql;

namespace {

// Deeper nesting than this is taken for a fault in the administration data.
constexpr size_t max_block_depth = 32;
// Blocks one resolution may visit in all: blocks naming the same block
// several times multiply the work without ever forming a cycle.
constexpr size_t max_block_visits = 1000;

std::string block_text(int block)
{
    return block == -1 ? std::string("Root") : std::to_string(block);
}

// One device-filter clause of a strategy: "*" requires the column to equal the
// device's value; anything else also lets rows with a null value through.
void add_strategy_clause(std::string& sql, qr_sql_params& params, const std::string& mode, const char* column,
                         int value)
{
    if (mode == "*")
        sql += std::string(" AND ") + column + " = ?";
    else
        sql += std::string(" AND (") + column + " IS NULL OR " + column + " = ?)";
    params.emplace_back(std::in_place_type<int32_t>, value);
}

qr_sql_params with(qr_sql_params params, std::initializer_list<qr_sql_param> more)
{
    params.insert(params.end(), more.begin(), more.end());
    return params;
}

}  // namespace

bool DataLoader::query_map_lines(DataLoader* loader, DB_DATA& result, const MapLineFilter& filter,
                                 const SqlCondition& condition, const std::string& order_column)
{
    return operation(loader, false, [&](Operation& op) {
        const std::string select =
            "SELECT * FROM " + checked_identifier(filter.table, "table") + " WHERE " + condition.text;
        const std::string order = " ORDER BY " + checked_identifier(order_column, "column") + " ASC";
        const int32_t agent = filter.AgentType;
        const std::string any_agent = " AND (Agent IS NULL OR Agent = ?)";

        // The device's own rows: its exact agent type first, then null agents too.
        result = op.db().get_stmnt_results(select + " AND SysObjId = ? AND Agent = ?",
                                           with(condition.params, {filter.SysObjId, agent}));
        if (result.RowCount() > 0)
            return true;
        result = op.db().get_stmnt_results(select + " AND SysObjId = ?" + any_agent,
                                           with(condition.params, {filter.SysObjId, agent}));
        if (result.RowCount() > 0)
            return true;

        DB_DATA strategies = op.db().get_stmnt_results("SELECT * FROM ScanOrder ORDER BY ScOrder ASC", {});
        for (int s = 0; s < strategies.RowCount(); ++s) {
            try {
                std::string sql = select;
                qr_sql_params params = condition.params;
                add_strategy_clause(sql, params, text_at(strategies, "_Class", s), "ClassId", filter.ClassId);
                add_strategy_clause(sql, params, text_at(strategies, "_Group", s), "GroupId", filter.GroupId);
                add_strategy_clause(sql, params, text_at(strategies, "_Vendor", s), "VendorId", filter.VendorId);
                result = op.db().get_stmnt_results(sql + " AND Agent = ?" + order, with(params, {agent}));
                if (result.RowCount() > 0)
                    return true;
                result = op.db().get_stmnt_results(sql + any_agent + order, with(params, {agent}));
                if (result.RowCount() > 0)
                    return true;
            } catch (const qr_exception_t& e) {
                log_loader_failure(e);
            }
        }
        return true;
    });
}

void DataLoader::resolve_block(DataLoader* loader, MapLineList& lines, const MapLineFilter& filter, int block)
{
    if (!exists(loader))
        return;
    std::vector<int> path;
    size_t visits = 0;
    resolve_block_path(loader, lines, filter, block, path, visits);
}

void DataLoader::resolve_block_path(DataLoader* loader, MapLineList& lines, const MapLineFilter& filter,
                                    int block, std::vector<int>& path, size_t& visits)
{
    // The mutex only: block resolution holds no connection while it recurses.
    qr_automutex hold(*loader->mutex_);
    if (visits >= max_block_visits) {
        if (visits++ == max_block_visits)
            TRV_LOG(qr_Error, "FORMULA rows of " << filter.table << " name more than " << max_block_visits
                                                 << " blocks in all; the rest from block " << block_text(block)
                                                 << " on is skipped");
        return;
    }
    ++visits;
    if (std::find(path.begin(), path.end(), block) != path.end()) {
        TRV_LOG(qr_Error, "FORMULA rows of " << filter.table << " form a cycle: block " << block_text(block)
                                             << " refers back to itself; its lines are skipped");
        return;
    }
    if (path.size() >= max_block_depth) {
        TRV_LOG(qr_Error, "FORMULA rows of " << filter.table << " nest deeper than " << max_block_depth
                                             << " blocks at block " << block_text(block) << "; skipped");
        return;
    }
    path.push_back(block);
    TRV_LOG(qr_Debug, "Block=" << block_text(block));
    FormulaList formulas;
    if (get_block_formulas(loader, formulas, filter, block)) {
        TRV_LOG(qr_Debug, "Block have formula: " << formula_text(formulas));
        for (const auto& formula : formulas) {
            for (const FormulaItem& term : formula.value) {
                if (visits > max_block_visits)
                    break;  // over budget: the remaining terms are skipped too
                if (term.mark) {
                    TRV_LOG(qr_Debug, "Getting group:" << term.value);
                    resolve_block_path(loader, lines, filter, term.value, path, visits);
                } else {
                    TRV_LOG(qr_Debug, "Getting single line, OrderId=" << term.value);
                    get_map_lines(loader, lines, filter, block, term.value);
                }
            }
        }
    } else {
        TRV_LOG(qr_Debug, "Block have no formula, getting all items.");
        get_map_lines(loader, lines, filter, block, -1);
    }
    path.pop_back();
}

bool DataLoader::get_block_formulas(DataLoader* loader, FormulaList& formulas, const MapLineFilter& filter,
                                    int block)
{
    return operation(loader, false, [&](Operation& op) {
        DB_DATA rows;
        if (block == -1) {
            query_map_lines(loader, rows, filter, SqlCondition{" RowType='FORMULA' ", {}}, "ScanOrder");
        } else {
            rows = op.db().get_stmnt_results(
                "SELECT * FROM " + checked_identifier(filter.table, "table") + " WHERE Block=? AND RowType='FORMULA'",
                {static_cast<int32_t>(block)});
        }
        if (rows.RowCount() == 0) {
            TRV_LOG(qr_Debug, "Block " << block << " have no formula");
            return false;
        }
        int next_key = 0;
        for (int k = 1; k <= max_cells; ++k) {
            const std::string cell = cell_name(k);
            if (!rows.HasColumn(cell))
                break;
            if (k == 1)
                parse_formula(formulas, -1, text_at(rows, "GroupName", 0));
            std::string text = text_at(rows, cell, 0);
            if (!text.empty())
                parse_formula(formulas, next_key++, text);
        }
        return true;
    });
}

void DataLoader::get_map_lines(DataLoader* loader, MapLineList& lines, const MapLineFilter& filter, int block,
                               int scan_order)
{
    operation(loader, [&](Operation& op) {
        DB_DATA rows;
        if (block == -1) {
            SqlCondition condition{"( RowType='VALUE' OR RowType='TABLE' ) ", {}};
            if (scan_order != -1) {
                condition.text += " AND ScanOrder = ?";
                condition.params.emplace_back(std::in_place_type<int32_t>, scan_order);
            }
            query_map_lines(loader, rows, filter, condition, "ScanOrder");
        } else {
            std::string sql = "SELECT * FROM " + checked_identifier(filter.table, "table") +
                              " WHERE Block=? AND ( RowType='VALUE' OR RowType='TABLE' )";
            qr_sql_params params{static_cast<int32_t>(block)};
            if (scan_order != -1) {
                sql += " AND ScanOrder = ?";
                params.emplace_back(std::in_place_type<int32_t>, scan_order);
            }
            rows = op.db().get_stmnt_results(sql, params);
        }
        if (rows.RowCount() == 0) {
            TRV_LOG(qr_Error, "Can not find any map lines for block: " << block);
            return;
        }
        std::string ids;
        for (int r = 0; r < rows.RowCount(); ++r) {
            MapLine line;
            int uid = int_at(rows, "UID", r);
            line.set_index(uid);
            ids += std::to_string(uid) + ",";
            line.value_flag = text_at(rows, "RowType", r) != "TABLE" ? 1 : 0;
            line.TableOID = text_at(rows, "TableOID", r);
            line.ScanOrder = int_at(rows, "ScanOrder", r);
            line.Plugin = text_at(rows, "Plugin", r);
            get_enum_specs(loader, line, filter, block);
            for (int k = 1; k <= max_cells; ++k) {
                const std::string cell = cell_name(k);
                if (rows.HasColumn(cell))
                    line.values.push_back(text_at(rows, cell, r));
            }
            lines.push_back(line);
        }
        TRV_LOG(qr_Debug, "Selected items:" << ids);
    });
}

void DataLoader::get_enum_specs(DataLoader* loader, MapLine& line, const MapLineFilter& filter, int block)
{
    operation(loader, [&](Operation& op) {
        DB_DATA rows;
        if (block == -1) {
            query_map_lines(loader, rows, filter,
                            SqlCondition{"( RowType='ENUMTABLE' AND ScanOrder=? )",
                                         {static_cast<int32_t>(line.ScanOrder)}},
                            "ScanOrder");
        } else {
            rows = op.db().get_stmnt_results("SELECT * FROM " + checked_identifier(filter.table, "table") +
                                                  " WHERE Block=? AND ( RowType='ENUMTABLE' AND ScanOrder=? )",
                                              {static_cast<int32_t>(block), static_cast<int32_t>(line.ScanOrder)});
        }
        if (rows.RowCount() == 0)
            return;
        for (int k = 1; k <= max_cells; ++k) {
            const std::string cell = cell_name(k);
            if (!rows.HasColumn(cell))
                break;
            std::string spec = text_at(rows, cell, 0);
            if (!spec.empty())
                line.enum_specs[k - 1] = spec;
        }
    });
}

bool DataLoader::get_tabs_to_scan(DataLoader* loader, const MapLineFilter& filter, ScanSet& entries,
                                  const IntArray& tab_ids, int attempts)
{
    return operation(loader, false, [&](Operation&) {
        SqlCondition condition;
        if (tab_ids.Count() == 0) {
            condition.text = "Enabled=1";
        } else {
            // An explicit list takes disabled tabs too.
            condition.text = " ( TabId=?";
            for (int i = 1; i < tab_ids.Count(); ++i)
                condition.text += " or TabId=?";
            condition.text += ") ";
            for (int id : tab_ids)
                condition.params.emplace_back(std::in_place_type<int32_t>, id);
        }
        DB_DATA rows;
        if (!query_map_lines(loader, rows, filter, condition, "ScanOrder"))
            return false;
        for (int r = 0; r < rows.RowCount(); ++r) {
            ScanEntry entry;
            entry.scan_order = int_at(rows, "ScanOrder", r);
            entry.tab_id = int_at(rows, "TabId", r);
            entry.attempts = attempts > 0 ? attempts : 5;
            get_tab_type(loader, entry.tab_id, entry.name, entry.horlayout, entry.agent_cat);
            get_table_names(loader, entry.tab_id, entry.map_name, entry.data_name);
            entries.Add(entry);
        }
        return true;
    });
}

TabLayout DataLoader::get_tab_layout(DataLoader* loader, const MapLineFilter& filter)
{
    TabLayout layout;
    if (!admin_exists(loader))
        return layout;
    guarded([&] {
        Operation op(*loader);
        const std::string table = checked_identifier(filter.table, "table");
        DB_DATA header = op.db().get_stmnt_results("SELECT * FROM " + table + " WHERE UID = 0", {});
        DB_DATA orders = op.db().get_stmnt_results("SELECT * FROM " + table + " WHERE RowType = 'FIELDORDER'", {});
        DB_DATA groups;
        query_map_lines(loader, groups, filter, SqlCondition{"RowType='GROUP'", {}}, "TabIndex");
        for (int g = 0; g < groups.RowCount(); ++g) {
            LayoutGroup group;
            group.GroupName = text_at(groups, "GroupName", g);
            group.DefGroupName = text_at(groups, "DefGroupName", g);
            for (int k = 1; k <= max_cells; ++k) {
                const std::string cell = cell_name(k);
                if (!groups.HasColumn(cell))
                    break;
                std::string field = text_at(groups, cell, g);
                if (field.empty())
                    continue;
                LayoutField& entry = group.fields[k - 1];
                entry.field_name = field;
                entry.column_spec = header.RowCount() > 0 ? text_at(header, cell, 0) : std::string();
                entry.order = orders.RowCount() > 0 && orders.HasColumn(cell)
                                  ? std::atoi(text_at(orders, cell, 0).c_str())
                                  : k - 1;
            }
            layout.push_back(group);
        }
    });
    return layout;
}
