// Maintenance operations of a loader's database.
#include "loader.h"

#include "datasource_files.h"
#include "qr_exception.h"
#include "qr_log.h"

int DataLoader::compact_database(DataLoader* loader, const SqlDialect& dialect)
{
    return operation(loader, -1, [&](Operation& op) { return compact_connection(op.db(), dialect); });
}
