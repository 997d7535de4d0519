// The keyed collection the rules rely on: insertion order, unique case-insensitive string keys,
// 1-based positions. Missing keys and bad positions raise run-time error 5.
#pragma once

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "shell/RuntimeError.h"

inline bool KeysEqual(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

template <typename T>
class Collection final {
public:
    struct Entry {
        std::string key;
        T value;
    };

    int32_t Count() const { return static_cast<int32_t>(m_Items.size()); }
    bool Exists(const std::string& key) const { return Find(key) != m_Items.end(); }

    // Appends, or inserts before the 1-based position when 1 <= before <= Count.
    void Add(T value, const std::string& key, int32_t before = 0) {
        if (Exists(key)) throw RuntimeError(457, "This key is already associated with an element of this collection");
        Entry entry{key, std::move(value)};
        if (before >= 1 && before <= Count())
            m_Items.insert(m_Items.begin() + (before - 1), std::move(entry));
        else
            m_Items.push_back(std::move(entry));
    }

    T& Item(const std::string& key) { return Checked(key)->value; }
    const T& Item(const std::string& key) const { return Checked(key)->value; }
    T& Item(int32_t position) { return m_Items.at(CheckedIndex(position)).value; }
    const T& Item(int32_t position) const { return m_Items.at(CheckedIndex(position)).value; }
    const std::string& KeyAt(int32_t position) const { return m_Items.at(CheckedIndex(position)).key; }

    void Remove(const std::string& key) { m_Items.erase(Checked(key)); }
    void Remove(int32_t position) { m_Items.erase(m_Items.begin() + CheckedIndex(position)); }
    void Clear() { m_Items.clear(); }

    // A walk that may change the collection iterates over this copy and re-checks keys.
    std::vector<Entry> Snapshot() const { return m_Items; }
    const std::vector<Entry>& Entries() const { return m_Items; }

private:
    using Iter = typename std::vector<Entry>::const_iterator;
    Iter Find(const std::string& key) const {
        return std::find_if(m_Items.begin(), m_Items.end(), [&](const Entry& e) { return KeysEqual(e.key, key); });
    }
    typename std::vector<Entry>::iterator Checked(const std::string& key) {
        auto it = std::find_if(m_Items.begin(), m_Items.end(), [&](const Entry& e) { return KeysEqual(e.key, key); });
        if (it == m_Items.end()) throw RuntimeError(ErrorNumber::KeyNotFound, "Invalid procedure call or argument");
        return it;
    }
    Iter Checked(const std::string& key) const {
        auto it = Find(key);
        if (it == m_Items.end()) throw RuntimeError(ErrorNumber::KeyNotFound, "Invalid procedure call or argument");
        return it;
    }
    size_t CheckedIndex(int32_t position) const {
        if (position < 1 || position > Count()) throw RuntimeError(9, "Subscript out of range");
        return static_cast<size_t>(position - 1);
    }

    std::vector<Entry> m_Items;
};
