// Row comparators: orderings of row IDs (the numbers IndexRows gives the data
// rows). Columns (grid_column.h) are comparators over their values; the
// plain comparators here order by the IDs themselves, by a vector indexed by
// ID, by several comparators in turn, or turn another one around. None of
// them owns what it refers to. GUI thread only.
#pragma once

#include <vector>

#include "grid/grid_geometry.h"
#include "wendrel_export.h"

class WENDREL_API TRowComparator {
public:
    // Row a sorts before row b (a strict order).
    virtual bool Less(int a, int b) = 0;
    // Rows a and b have equal values.
    virtual bool Equal(int a, int b) = 0;
    // Gives an adapter the comparator it wraps; ignored by the others.
    virtual void SetComparator(TRowComparator*) {}
    virtual ~TRowComparator();
    // Whether Less can order rows at all: an adapter that wraps nothing
    // cannot, and a view refuses to sort with it.
    virtual bool CanCompare() const { return true; }
};

// How views compare rows by ID: an unset ID comes before every set one.
inline bool RowIdLess(TRowComparator& cmp, int a, int b) {
    if (a == GRID_UNSET) return b != GRID_UNSET;
    if (b == GRID_UNSET) return false;
    return cmp.Less(a, b);
}

// The natural order: the IDs themselves.
class WENDREL_API TTrivialRowComparator : public TRowComparator {
public:
    ~TTrivialRowComparator() override;
    bool Less(int a, int b) override { return a < b; }
    bool Equal(int a, int b) override { return a == b; }
};

// Orders IDs by v[id]; an ID outside the vector counts as 0.
class WENDREL_API TRowComparatorOnVector : public TRowComparator {
public:
    explicit TRowComparatorOnVector(const std::vector<int>* v) : m_v(v) {}
    ~TRowComparatorOnVector() override;
    bool Less(int a, int b) override { return At(a) < At(b); }
    bool Equal(int a, int b) override { return At(a) == At(b); }

private:
    int At(int id) const { return id >= 0 && size_t(id) < m_v->size() ? (*m_v)[size_t(id)] : 0; }
    const std::vector<int>* m_v;
};

// Several comparators, the primary first: the first that orders a pair decides.
class WENDREL_API TMultiComparator : public TRowComparator {
public:
    TMultiComparator() = default;
    explicit TMultiComparator(std::vector<TRowComparator*> list) : m_list(std::move(list)) {}
    void Add(TRowComparator* c) { m_list.push_back(c); }
    bool Less(int a, int b) override;
    bool Equal(int a, int b) override;
    bool CanCompare() const override;

private:
    std::vector<TRowComparator*> m_list;
};

// The grid's order adapter: applies ascending or descending order to the
// comparator it is given with SetComparator (null at first). Descending
// swaps the operands of Less, so the order stays strict.
class WENDREL_API TOrderComporator : public TRowComparator {
public:
    explicit TOrderComporator(bool ascending) : m_ascending(ascending) {}
    void SetComparator(TRowComparator* c) override { m_wrapped = c; }
    TRowComparator* GetComparator() const { return m_wrapped; }
    bool IsAscending() const { return m_ascending; }
    bool Less(int a, int b) override;
    bool Equal(int a, int b) override;
    bool CanCompare() const override { return m_wrapped != nullptr && m_wrapped->CanCompare(); }

private:
    TRowComparator* m_wrapped = nullptr;
    bool m_ascending;
};
