// SPDX-License-Identifier: GPL-3.0-or-later
// The keyed collection the rules rely on: insertion order, unique case-insensitive string keys,
// 1-based positions. Missing keys and bad positions raise run-time error 5.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "base/RuntimeError.h"

// Keys compare without regard to ASCII letter case, as the game's keys are plain ASCII.
inline char FoldKeyChar(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + ('a' - 'A')) : c; }

inline bool KeysEqual(const std::string& a, const std::string& b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return FoldKeyChar(x) == FoldKeyChar(y); });
}

// Case-insensitive hash to go with KeysEqual.
struct KeyHash {
    size_t operator()(const std::string& key) const {
        size_t hash = 14695981039346656037ULL;
        for (const char c : key) hash = (hash ^ static_cast<unsigned char>(FoldKeyChar(c))) * 1099511628211ULL;
        return hash;
    }
};
struct KeyEqual {
    bool operator()(const std::string& a, const std::string& b) const { return KeysEqual(a, b); }
};

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
        if (before >= 1 && before <= Count()) {
            m_Items.insert(m_Items.begin() + (before - 1), std::move(entry));
            Reindex(static_cast<size_t>(before - 1));
        } else {
            m_Items.push_back(std::move(entry));
            m_Index.emplace(key, m_Items.size() - 1);
        }
    }

    T& Item(const std::string& key) { return Checked(key)->value; }
    const T& Item(const std::string& key) const { return Checked(key)->value; }
    T& Item(int32_t position) { return m_Items.at(CheckedIndex(position)).value; }
    const T& Item(int32_t position) const { return m_Items.at(CheckedIndex(position)).value; }
    // The item under the key, or nullptr: one lookup where Exists and Item would take two.
    const T* TryItem(const std::string& key) const {
        const auto found = m_Index.find(key);
        return found == m_Index.end() ? nullptr : &m_Items[found->second].value;
    }
    const std::string& KeyAt(int32_t position) const { return m_Items.at(CheckedIndex(position)).key; }

    void Remove(const std::string& key) { RemoveAt(static_cast<size_t>(Checked(key) - m_Items.begin())); }
    void Remove(int32_t position) { RemoveAt(CheckedIndex(position)); }
    void Clear() {
        m_Items.clear();
        m_Index.clear();
    }

    // A walk that may change the collection iterates over this copy and re-checks keys.
    std::vector<Entry> Snapshot() const { return m_Items; }
    const std::vector<Entry>& Entries() const { return m_Items; }

private:
    using Iter = typename std::vector<Entry>::const_iterator;
    // Key lookups go through the index: the play rules look cells up many times per frame.
    Iter Find(const std::string& key) const {
        const auto found = m_Index.find(key);
        return found == m_Index.end() ? m_Items.end() : m_Items.begin() + static_cast<std::ptrdiff_t>(found->second);
    }
    typename std::vector<Entry>::iterator Checked(const std::string& key) {
        const auto found = m_Index.find(key);
        if (found == m_Index.end()) throw RuntimeError(ErrorNumber::KeyNotFound, "Invalid procedure call or argument");
        return m_Items.begin() + static_cast<std::ptrdiff_t>(found->second);
    }
    void RemoveAt(size_t index) {
        m_Index.erase(m_Items[index].key);
        m_Items.erase(m_Items.begin() + static_cast<std::ptrdiff_t>(index));
        Reindex(index);
    }
    // Positions from `from` on have shifted.
    void Reindex(size_t from) {
        for (size_t i = from; i < m_Items.size(); ++i) m_Index[m_Items[i].key] = i;
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
    std::unordered_map<std::string, size_t, KeyHash, KeyEqual> m_Index;  // key -> position - 1
};
