// A query's result as named columns of text values (DB_DATA of DB_COLUMN).
//
// Every value is kept as text, one text per row; SQL NULL is stored as an
// empty text. Typed getters turn a row's text into numbers, times and flags.
// Column names are matched ignoring ASCII case: PostgreSQL reports unquoted
// names folded to lower case, SQLite as declared, and readers use one spelling.
// A DB_DATA is a plain value: owned by whoever holds it, not shared between
// threads without a lock of the caller's.
#pragma once

#include <ctime>
#include <deque>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

class DB_COLUMN {
public:
    virtual ~DB_COLUMN() = default;

    // Plain decimal conversion; an empty value reads 0.
    virtual long GetLong(int row) const;
    virtual long GetLongValue(int row) const { return GetLong(row); }
    // -1 when the value is empty or "NULL".
    virtual int GetInt(int row) const;
    virtual int GetIntValue(int row) const { return GetInt(row); }
    virtual double GetDouble(int row) const;
    virtual double GetDoubleRaw(int row) const;
    virtual double GetDoubleValue(int row) const { return GetDouble(row); }
    virtual double GetDoubleRawValue(int row) const { return GetDoubleRaw(row); }
    // Points into the column's own value; valid while the column lives.
    virtual const char* GetCString(int row) const;
    virtual std::string GetString(int row) const;
    // ParseDateTime of the value: local time; -1 when empty, "NULL" or malformed.
    virtual time_t GetTime(int row) const;
    virtual long GetIntOrNull(int row) const;
    // True unless the value is exactly "0".
    virtual bool GetBool(int row) const;
    // Appends a row value; returns the new number of values.
    virtual int Append(const std::string& value);

    int Size() const { return static_cast<int>(values_.size()); }

private:
    bool is_null_text(int row) const;

    std::vector<std::string> values_;
};

class DB_DATA {
public:
    // Rows of the first column; 0 without columns.
    int RowCount() const;
    bool HasColumn(const std::string& name) const;
    // The column of that name; an unknown name appends an empty column.
    // References to columns stay valid while the DB_DATA lives.
    DB_COLUMN& Column(const std::string& name);
    const DB_COLUMN* Find(const std::string& name) const;
    int ColumnCount() const { return static_cast<int>(columns_.size()); }
    // Name of the n-th column, in the order the columns were first named.
    const std::string& ColumnName(int n) const { return columns_[static_cast<size_t>(n)].first; }

private:
    // The position of the first column of each name, by its ASCII lower-case
    // form: a reader that asks by name for every cell of a large result
    // finds it without comparing the names of every column.
    static std::string key_of(const std::string& name);

    std::deque<std::pair<std::string, DB_COLUMN>> columns_;  // deque: appending moves no column
    std::unordered_map<std::string, size_t> index_;
};
