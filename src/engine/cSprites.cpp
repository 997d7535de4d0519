// SPDX-License-Identifier: GPL-3.0-or-later
// The scenery list. An index given as text is a position when it is a number not above Count,
// otherwise a key: "2" means the second entry while there are two or more.
#include "engine/cSprites.h"

#include <charconv>
#include <optional>

namespace {
// The position a text stands for, if it is a number (only digits, optional sign); nullopt otherwise.
// Numbers too large for 32 bits are above any Count, so they are read as keys.
std::optional<int64_t> NumericIndex(const std::string& index) {
    if (index.empty()) return std::nullopt;
    const char* begin = index.data();
    const char* end = begin + index.size();
    if (*begin == '+') ++begin;
    int64_t value = 0;
    const auto [ptr, ec] = std::from_chars(begin, end, value);
    if (ptr != end || begin == end) return std::nullopt;
    if (ec == std::errc::result_out_of_range) return INT64_MAX;
    if (ec != std::errc()) return std::nullopt;
    return value;
}
}  // namespace

SpriteRef cSprites::Item(const std::string& index) const {
    const auto position = NumericIndex(index);
    if (position && *position <= Count()) return Item(static_cast<int32_t>(*position));
    return SpriteExists(index) ? m_Items.Item(index) : nullptr;
}

SpriteRef cSprites::Item(int32_t position) const {
    if (position > Count())
        return SpriteExists(std::to_string(position)) ? m_Items.Item(std::to_string(position)) : nullptr;
    return m_Items.Item(position);  // 0 or below raises a run-time error
}

void cSprites::Add_Sprite(SpriteRef sprite, const std::string& key, int32_t position) {
    m_Items.Add(std::move(sprite), key, position);  // a key already present raises a run-time error
}

void cSprites::Remove_Sprite(const std::string& index) {
    const auto position = NumericIndex(index);
    if (position && *position <= Count()) {
        Remove_Sprite(static_cast<int32_t>(*position));
        return;
    }
    if (SpriteExists(index)) m_Items.Remove(index);
}

void cSprites::Remove_Sprite(int32_t position) {
    if (position > Count()) {
        if (SpriteExists(std::to_string(position))) m_Items.Remove(std::to_string(position));
        return;
    }
    m_Items.Remove(position);
}

void cSprites::RenderAll() const {
    for (int32_t position = 1; position <= Count(); ++position) m_Items.Item(position)->Render();
}
