// Reads shared by the inventory operation files of the loader. They run on
// the connection of an operation already in progress (so a transaction sees
// them) and throw qr_exception_t. Internal to the loader; no state.
#pragma once

#include "qr_array.h"
#include "qr_odbc.h"

#include <functional>
#include <string>

class TiXmlElement;

namespace loader_inventory {

// 3 for a host, else the tree item's type; -1 when neither table has the uid.
int item_type(MSSQLODBCConnection& db, int uid);
// Appends uid and the tree items below it, parents first. An item met twice
// (a parentid loop) is not followed again, so a damaged tree cannot hang the
// server while it holds the database mutex.
void subtree(MSSQLODBCConnection& db, int uid, IntArray& list);
// The host's caption; empty without a row.
std::string host_caption(MSSQLODBCConnection& db, int uid);
// True when `candidate` is uid itself or a tree item below it, found by
// walking up from candidate (a parentid loop ends the walk).
bool in_branch(MSSQLODBCConnection& db, int uid, int candidate);

// A new uid drawn from TrvIndex; throws when none can be drawn.
int draw_uid(MSSQLODBCConnection& db);
// Writes the ping, ranges and communities of a TREEITEM request element for
// the inventory uid, in their order (PlaceOrder = position).
void write_settings(MSSQLODBCConnection& db, int uid, const TiXmlElement& item);
// Deletes the ping, ranges and communities of the inventory uid.
void delete_settings(MSSQLODBCConnection& db, int uid);

// Uids per IN-list: statements stay small for any number of hosts.
constexpr int in_list_chunk = 500;
// Calls f with "?,?,...,?" and the bound uids of each chunk of uids, in order.
void for_each_chunk(const IntArray& uids,
                    const std::function<void(const std::string& markers, const qr_sql_params& params)>& f);

}  // namespace loader_inventory
