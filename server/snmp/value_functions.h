// The "$" value functions of map-line expressions: they combine table
// columns row by row, translate codes into words, count, sum and look up.
// Results are value lists, one text per table row. Every table is read
// through scan_table, from the live session or the walk file given. Called
// by SNMP worker threads, each with its own session.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class CSnmpSession;

typedef std::vector<std::string> ValueList;

// Function indexes, in the order names are searched for.
enum ValueFunction {
    VF_BITARRAY = 0,
    VF_PCI_IDS,
    VF_SERVICE,
    VF_CISCOIMAGE,
    VF_IF,
    VF_MUL,
    VF_ADD,
    VF_SUB,
    VF_CONCAT,
    VF_COUNT,
    VF_LOOKUP,
    VF_SUM,
    VF_NOTZERO,
    VF_DATE,
    VF_GET_INDEX,
    VF_NONE
};

// Upper-cases (outside quotes) and removes blanks; on a function name, cuts
// the expression down to the function's argument text. Returns the index.
int classify_value_function(std::string& expression);

// Empties `values` and fills it with the expression's results; `folder`
// holds the PCI names file.
void apply_value_function(CSnmpSession* session, const std::string& address, std::string expression,
                          const std::string& community, const std::string& walk_file,
                          ValueList& values, const std::string& folder);

// One argument: ".OID" a table, a double-quoted literal, a nested "$"
// function, or a plain text. Returns the number of values.
size_t evaluate_argument(CSnmpSession* session, const std::string& argument, const std::string& address,
                         const std::string& community, const std::string& walk_file, ValueList& values,
                         const std::string& folder);

// Repeat the last value of the shorter list(s) until all are equally long.
size_t pad_value_pair(ValueList& a, ValueList& b);
size_t pad_value_lists(std::vector<ValueList>& lists, size_t count);

// Decimal conversions that stop at the first other character (none: 0).
int32_t value_to_int32(const std::string& text);
int64_t value_to_int64(const std::string& text);
