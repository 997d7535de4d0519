// The keyed collection the rules rely on: insertion order, unique case-insensitive string keys,
// 1-based positions. Missing keys and bad positions raise run-time error 5.
#pragma once

#include <algorithm>
#include <cctype>
#include <cstddef>
#include <cstdint>
#include <string>
#include <unordered_map>
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
    bool Exists(const std::string& key) const { return m_Index.find(Folded(key)) != m_Index.end(); }

    // Appends, or inserts before the 1-based position when 1 <= before <= Count.
    void Add(T value, const std::string& key, int32_t before = 0) {
        if (Exists(key)) throw RuntimeError(457, "This key is already associated with an element of this collection");
        Entry entry{key, std::move(value)};
        if (before >= 1 && before <= Count()) {
            const auto at = static_cast<size_t>(before - 1);
            for (auto& [folded, index] : m_Index)
                if (index >= at) ++index;
            m_Items.insert(m_Items.begin() + static_cast<std::ptrdiff_t>(at), std::move(entry));
            m_Index.emplace(Folded(key), at);
        } else {
            m_Items.push_back(std::move(entry));
            m_Index.emplace(Folded(key), m_Items.size() - 1);
        }
    }

    T& Item(const std::string& key) { return Checked(key)->value; }
    const T& Item(const std::string& key) const { return Checked(key)->value; }
    T& Item(int32_t position) { return m_Items.at(CheckedIndex(position)).value; }
    const T& Item(int32_t position) const { return m_Items.at(CheckedIndex(position)).value; }
    const std::string& KeyAt(int32_t position) const { return m_Items.at(CheckedIndex(position)).key; }

    void Remove(const std::string& key) { Erase(static_cast<size_t>(Checked(key) - m_Items.begin())); }
    void Remove(int32_t position) { Erase(CheckedIndex(position)); }
    void Clear() {
        m_Items.clear();
        m_Index.clear();
    }

    // A walk that may change the collection iterates over this copy and re-checks keys.
    std::vector<Entry> Snapshot() const { return m_Items; }
    const std::vector<Entry>& Entries() const { return m_Items; }

private:
    using Iter = typename std::vector<Entry>::const_iterator;
    // Keys are found through a hash index on the folded key: the play update looks up hundreds of
    // board cells every frame, which a linear case-insensitive search made far too slow.
    static std::string Folded(const std::string& key) {
        std::string folded = key;
        for (char& c : folded) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        return folded;
    }
    size_t IndexOf(const std::string& key) const {
        const auto found = m_Index.find(Folded(key));
        if (found == m_Index.end()) throw RuntimeError(ErrorNumber::KeyNotFound, "Invalid procedure call or argument");
        return found->second;
    }
    typename std::vector<Entry>::iterator Checked(const std::string& key) {
        return m_Items.begin() + static_cast<std::ptrdiff_t>(IndexOf(key));
    }
    Iter Checked(const std::string& key) const { return m_Items.begin() + static_cast<std::ptrdiff_t>(IndexOf(key)); }
    void Erase(size_t at) {
        m_Index.erase(Folded(m_Items[at].key));
        for (auto& [folded, index] : m_Index)
            if (index > at) --index;
        m_Items.erase(m_Items.begin() + static_cast<std::ptrdiff_t>(at));
    }
    size_t CheckedIndex(int32_t position) const {
        if (position < 1 || position > Count()) throw RuntimeError(9, "Subscript out of range");
        return static_cast<size_t>(position - 1);
    }

    std::vector<Entry> m_Items;
    std::unordered_map<std::string, size_t> m_Index;  // folded key -> position in m_Items
};
