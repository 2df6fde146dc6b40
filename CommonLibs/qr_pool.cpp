#include "qr_pool.h"

#include <new>

MSSQLPool* MSSQLPool_ctor(int count, const std::string& resource_name, const std::string& dsn,
                          const std::string& user, const std::string& password)
{
    try {
        return new MSSQLPool(count, resource_name, dsn, user, password);
    } catch (const std::bad_alloc&) {
        TRV_LOG(qr_Error, "Cannot allocate the connection pool of data source " << dsn);
        return nullptr;
    }
}
