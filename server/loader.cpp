// The loader object, its operation frame, and the statement-text helpers
// shared by every operation file.
#include "loader.h"

#include "qr_exception.h"
#include "qr_log.h"

#include <tinyxml.h>

bool is_sql_identifier(const std::string& name)
{
    if (name.empty() || name.size() > 63)
        return false;
    for (size_t i = 0; i < name.size(); ++i) {
        char c = name[i];
        bool letter = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
        bool digit = c >= '0' && c <= '9';
        if (!(letter || (digit && i > 0)))
            return false;
    }
    return true;
}

const std::string& checked_identifier(const std::string& name, const char* what)
{
    if (!is_sql_identifier(name))
        qr_exception("Invalid %s name '%s' in the administration data", what, name.c_str());
    return name;
}

std::string like_literal(const std::string& text)
{
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        if (c == '\\' || c == '%' || c == '_')
            out += '\\';
        out += c;
    }
    return out;
}

void log_loader_failure(const qr_exception_t& e)
{
    if (dynamic_cast<const qr_logged_exception_t*>(&e) == nullptr)
        TRV_LOG(qr_Error, e.message());
}

DataLoader::DataLoader(MSSQLPool* pool, qr_mutex* db_mutex, bool use_own_connection)
    : pool_(pool), connection_(nullptr), use_own_connection_(use_own_connection), mutex_(db_mutex)
{
    if (use_own_connection_)
        connection_ = pool_->get();
}

DataLoader::~DataLoader()
{
    if (!connection_)
        return;
    guarded([&] { pool_->release(connection_); });
}

bool DataLoader::exists(const DataLoader* loader)
{
    if (loader)
        return true;
    TRV_LOG(qr_Error, "Common resource error at DataLoader, existance test failed");
    return false;
}

bool DataLoader::admin_exists(const DataLoader* loader)
{
    if (loader)
        return true;
    TRV_LOG(qr_Error, "Common resource error at AdminLoader, existance test failed");
    return false;
}

DataLoader::Operation::Operation(DataLoader& loader) : hold_(*loader.mutex_)
{
    if (loader.use_own_connection_) {
        connection_ = loader.connection_;
    } else {
        // Taken after the database mutex, as the lock order requires.
        connection_ = loader.pool_->get();
        pool_ = loader.pool_;
    }
}

DataLoader::Operation::~Operation()
{
    if (!pool_)
        return;
    guarded([&] { pool_->release(connection_); });
}

TiXmlElement DataLoader::tab_to_treeitem(int uid, const TabRecord& tab)
{
    return new_tab_treeitem(uid, tab);
}
