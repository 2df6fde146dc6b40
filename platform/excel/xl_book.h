// The data of the automation server's workbooks: sheets of cells with their
// values and formats, merged ranges and column widths, kept in memory while
// a client fills them and written out as an .xlsx file (libxlsxwriter) when
// the workbook is shown. Rows and columns count from 0 here. Used on the
// thread of the client's apartment only.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "xl_input.h"

namespace xl {

// The worksheet's size limits.
constexpr int kMaxRows = 1048576;
constexpr int kMaxColumns = 16384;
// Width of a column nobody set, in characters of the standard font's digits.
constexpr double kDefaultColumnWidth = 8.43;

enum HAlign { H_GENERAL = 1, H_CENTER = -4108, H_LEFT = -4131, H_RIGHT = -4152 };
enum VAlign { V_BOTTOM = -4107, V_CENTER = -4108, V_TOP = -4160 };

struct Rect {  // inclusive cell rectangle
    int row1 = 0, col1 = 0, row2 = 0, col2 = 0;
    bool Overlaps(const Rect& o) const {
        return row1 <= o.row2 && o.row1 <= row2 && col1 <= o.col2 && o.col1 <= col2;
    }
    long long Cells() const { return (long long)(row2 - row1 + 1) * (col2 - col1 + 1); }
};

struct Cell {
    TypedValue value;
    bool wrap = false;
    bool bold = false;
    int hAlign = H_GENERAL;
    int vAlign = V_BOTTOM;
};

class Sheet {
public:
    explicit Sheet(std::string name) : m_name(std::move(name)) {}
    const std::string& GetName() const { return m_name; }
    // False when the name is not one a sheet may have (empty, longer than 31
    // characters, or holding one of : \ / ? * [ ]).
    bool SetName(const std::string& name);

    Cell& At(int row, int col) { return m_cells[{row, col}]; }
    const Cell* Find(int row, int col) const;
    const std::map<std::pair<int, int>, Cell>& GetCells() const { return m_cells; }

    // Merges a rectangle; merged areas it overlaps join it (as one larger area).
    void Merge(Rect r);
    const std::vector<Rect>& GetMerges() const { return m_merges; }
    // Whether a cell lies in a merged area other than as its first cell.
    bool IsHiddenByMerge(int row, int col) const;

    double GetColumnWidth(int col) const;
    void SetColumnWidth(int col, double width) { m_widths[col] = width; }
    const std::map<int, double>& GetColumnWidths() const { return m_widths; }

private:
    std::string m_name;
    std::map<std::pair<int, int>, Cell> m_cells;  // (row, column)
    std::vector<Rect> m_merges;
    std::map<int, double> m_widths;
};

class Book {
public:
    Book(std::string name, int sheets);
    const std::string& GetName() const { return m_name; }
    Sheet& GetSheet(size_t i) { return *m_sheets[i]; }
    size_t GetSheetCount() const { return m_sheets.size(); }
    Sheet& GetActiveSheet() { return *m_sheets[0]; }
    bool IsSaved() const { return m_saved; }

    // Writes the workbook as an .xlsx file at a UTF-8 path; false with the
    // cause in error when it cannot.
    bool Save(const std::string& path, std::string& error);

private:
    std::string m_name;
    std::vector<std::unique_ptr<Sheet>> m_sheets;
    bool m_saved = false;
};

// Width of a column in points as shown: whole pixels of the standard font
// (7-pixel digits, 5 pixels of padding), three quarters of a point each.
double ColumnWidthPoints(double characters);

}  // namespace xl
