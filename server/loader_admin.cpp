// Maintenance operations of a loader's database.
#include "loader.h"

#include "datasource_files.h"
#include "qr_exception.h"
#include "qr_log.h"

int DataLoader::compact_database(DataLoader* loader, const SqlDialect& dialect)
{
    if (!exists(loader))
        return -1;
    try {
        Operation op(*loader);
        return compact_connection(op.db(), dialect);
    } catch (const qr_exception_t& e) {
        TRV_LOG(qr_Error, e.message());
        return -1;
    }
}
