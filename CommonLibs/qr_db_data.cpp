#include "qr_db_data.h"

#include "qr_config.h"

#include <cstdlib>

namespace {
const std::string& empty_text()
{
    static const std::string empty;
    return empty;
}
}  // namespace

bool DB_COLUMN::is_null_text(int row) const
{
    const std::string& v = values_[static_cast<size_t>(row)];
    return v.empty() || v == "NULL";
}

long DB_COLUMN::GetLong(int row) const
{
    return std::atol(values_[static_cast<size_t>(row)].c_str());
}

int DB_COLUMN::GetInt(int row) const
{
    return is_null_text(row) ? -1 : static_cast<int>(std::atol(values_[static_cast<size_t>(row)].c_str()));
}

double DB_COLUMN::GetDouble(int row) const
{
    return is_null_text(row) ? -1.0 : std::atof(values_[static_cast<size_t>(row)].c_str());
}

double DB_COLUMN::GetDoubleRaw(int row) const
{
    return std::atof(values_[static_cast<size_t>(row)].c_str());
}

const char* DB_COLUMN::GetCString(int row) const
{
    const std::string& v = values_[static_cast<size_t>(row)];
    return v == "NULL" ? empty_text().c_str() : v.c_str();
}

std::string DB_COLUMN::GetString(int row) const
{
    const std::string& v = values_[static_cast<size_t>(row)];
    return v == "NULL" ? std::string() : v;
}

time_t DB_COLUMN::GetTime(int row) const
{
    return ParseDateTime(values_[static_cast<size_t>(row)]);
}

long DB_COLUMN::GetIntOrNull(int row) const
{
    return is_null_text(row) ? -1 : std::atol(values_[static_cast<size_t>(row)].c_str());
}

bool DB_COLUMN::GetBool(int row) const
{
    return values_[static_cast<size_t>(row)] != "0";
}

int DB_COLUMN::Append(const std::string& value)
{
    values_.push_back(value);
    return Size();
}

int DB_DATA::RowCount() const
{
    return columns_.empty() ? 0 : columns_.front().second.Size();
}

std::string DB_DATA::key_of(const std::string& name)
{
    std::string key = name;
    for (char& c : key)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return key;
}

const DB_COLUMN* DB_DATA::Find(const std::string& name) const
{
    auto it = index_.find(key_of(name));
    return it == index_.end() ? nullptr : &columns_[it->second].second;
}

bool DB_DATA::HasColumn(const std::string& name) const
{
    return Find(name) != nullptr;
}

DB_COLUMN& DB_DATA::Column(const std::string& name)
{
    auto [it, added] = index_.emplace(key_of(name), columns_.size());
    if (added)
        columns_.emplace_back(name, DB_COLUMN());
    return columns_[it->second].second;
}
