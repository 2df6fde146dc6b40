// The in-house growable array that holds most record lists of the server,
// and its named integer lists.
//
// A tgDArray grows in steps of ten and never shrinks: its capacity is always
// larger than its count. Copies are deep (inner arrays and strings too); an
// array owns its items. An array is not locked: its owner serialises access.
#pragma once

#include "qr_exception.h"

#include <climits>
#include <cstdint>
#include <new>
#include <utility>
#include <vector>

struct Pair {
    int first = -1;
    int second = -1;
};

struct MarkedInt {
    char mark = 0;  // 0 or 1
    int value = -1;
};

// One term of a formula; the mark is 1 when the term names a block.
struct FormulaItem {
    char mark = 0;
    int value = -1;
};

template <typename T>
class tgDArray {
public:
    tgDArray() { Reserve(0); }
    tgDArray(const tgDArray& other) : grow_(other.grow_) { *this = other; }
    virtual ~tgDArray() = default;

    // Deep copy; the capacity becomes the other's count plus the grow step.
    tgDArray& operator=(const tgDArray& other)
    {
        if (this == &other)
            return *this;
        items_.clear();
        count_ = 0;
        Reserve(other.count_);
        for (int i = 0; i < other.count_; ++i)
            items_[i] = other.items_[i];
        count_ = other.count_;
        return *this;
    }

    // Makes room for index n.
    void Reserve(int n)
    {
        if (n < Capacity())
            return;
        if (n > INT_MAX - grow_)
            qr_exception("tgDArray: cannot make room for index %d", n);
        std::vector<T> bigger;
        try {
            bigger.resize(static_cast<size_t>(n) + grow_);
        } catch (const std::bad_alloc&) {
            qr_exception("tgDArray: cannot allocate %d items", n + grow_);
        }
        for (int i = 0; i < count_; ++i)
            bigger[i] = items_[i];
        items_.swap(bigger);
    }

    void Add(const T& v)
    {
        T copy(v);  // v may live in this array's own buffer
        Reserve(count_ + 1);
        items_[count_] = std::move(copy);
        ++count_;
    }

    // Returns the index, or -1 for a negative one. Past the end the array
    // grows to index + 1 and the items in between are cleared.
    int Insert(const T& v, int index)
    {
        if (index < 0)
            return -1;
        T copy(v);
        if (index < count_) {
            Reserve(count_ + 1);
            for (int i = count_; i > index; --i)
                items_[i] = std::move(items_[i - 1]);
            items_[index] = std::move(copy);
            ++count_;
        } else {
            if (index == INT_MAX)
                qr_exception("tgDArray: cannot make room for index %d", index);
            Reserve(index + 1);
            for (int i = count_; i < index; ++i)
                items_[i] = T();
            items_[index] = std::move(copy);
            count_ = index + 1;
        }
        return index;
    }

    // Moves the following items down by one.
    void RemoveAt(int index)
    {
        if (index < 0 || index >= count_)
            return;
        for (int i = index; i + 1 < count_; ++i)
            items_[i] = std::move(items_[i + 1]);
        --count_;
        items_[count_] = T();
    }

    // Count 0; the capacity stays.
    void Clear()
    {
        for (int i = 0; i < count_; ++i)
            items_[i] = T();
        count_ = 0;
    }

    int Count() const { return count_; }
    int Capacity() const { return static_cast<int>(items_.size()); }
    int GrowStep() const { return grow_; }

    T& operator[](int i) { return items_[i]; }
    const T& operator[](int i) const { return items_[i]; }
    T* Data() { return items_.data(); }
    const T* Data() const { return items_.data(); }
    T* begin() { return items_.data(); }
    T* end() { return items_.data() + count_; }
    const T* begin() const { return items_.data(); }
    const T* end() const { return items_.data() + count_; }

private:
    std::vector<T> items_;  // size() is the capacity
    int count_ = 0;
    int grow_ = 10;
};

class IntArray : public tgDArray<int> {
public:
    bool Contains(int v) const { return find(v) >= 0; }
    // Removes the first item equal to v.
    void Remove(int v) { RemoveAt(find(v)); }
    // Replaces the contents by the other's values.
    void AddAll(const IntArray& other)
    {
        if (this == &other)
            return;
        Clear();
        for (int v : other)
            Add(v);
    }
    // Before the first larger item, so equal values keep their arrival order.
    void InsertSorted(int v)
    {
        for (int i = 0; i < Count(); ++i) {
            if ((*this)[i] > v) {
                Insert(v, i);
                return;
            }
        }
        Add(v);
    }

private:
    int find(int v) const
    {
        for (int i = 0; i < Count(); ++i)
            if ((*this)[i] == v)
                return i;
        return -1;
    }
};

class LongArray : public tgDArray<long> {};

class MarkedIntArray : public tgDArray<MarkedInt> {
public:
    bool Contains(int v) const { return find(v) >= 0; }
    void Remove(int v) { RemoveAt(find(v)); }
    void Mark(int v) { set_mark(v, 1); }
    void Unmark(int v) { set_mark(v, 0); }
    bool IsMarked(int v) const
    {
        int i = find(v);
        return i >= 0 && (*this)[i].mark != 0;
    }
    // Appends (0, v) when v is absent.
    void AddUnique(int v)
    {
        if (find(v) < 0)
            Add(MarkedInt{0, v});
    }

private:
    int find(int v) const
    {
        for (int i = 0; i < Count(); ++i)
            if ((*this)[i].value == v)
                return i;
        return -1;
    }
    void set_mark(int v, char mark)
    {
        int i = find(v);
        if (i >= 0)
            (*this)[i].mark = mark;
    }
};

class PairArray : public tgDArray<Pair> {};

class FormulaCell : public tgDArray<FormulaItem> {};
