// qr_map: a small ordered list of (key, value) pairs. Setting a key that is
// present replaces its value in place; a new key is appended at the end, so
// the pairs keep the order in which their keys were first set. Lookups are
// linear: the lists are short (a few dozen pairs at most).
//
// A plain value owned by its holder; not locked, one thread at a time.
#pragma once

#include <algorithm>
#include <cstddef>
#include <utility>
#include <vector>

template <class K, class V>
class qr_map {
public:
    typedef std::pair<K, V> pair_type;

    // Replaces the value of key in place, or appends (key, value).
    void set(const K& key, const V& value)
    {
        for (pair_type& p : pairs_)
            if (p.first == key) {
                p.second = value;
                return;
            }
        pairs_.emplace_back(key, value);
    }

    // The value of key, or nullptr when the key is absent.
    const V* find(const K& key) const
    {
        for (const pair_type& p : pairs_)
            if (p.first == key)
                return &p.second;
        return nullptr;
    }

    bool contains(const K& key) const { return find(key) != nullptr; }
    size_t size() const { return pairs_.size(); }
    bool empty() const { return pairs_.empty(); }
    void clear() { pairs_.clear(); }

    // The pairs in insertion order.
    const std::vector<pair_type>& pairs() const { return pairs_; }

    // The pairs ordered by ascending key. Keys are unique, so the order is
    // total whatever the keys are (negative ones come first).
    std::vector<pair_type> sorted_by_key() const
    {
        std::vector<pair_type> out(pairs_);
        std::sort(out.begin(), out.end(),
                  [](const pair_type& a, const pair_type& b) { return a.first < b.first; });
        return out;
    }

    typename std::vector<pair_type>::const_iterator begin() const { return pairs_.begin(); }
    typename std::vector<pair_type>::const_iterator end() const { return pairs_.end(); }

private:
    std::vector<pair_type> pairs_;
};
