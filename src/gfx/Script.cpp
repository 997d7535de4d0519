// SPDX-License-Identifier: GPL-3.0-or-later
// Script parsing. Every malformed line is an error naming its line, so a typo never turns into
// a run that silently does something else.
#include "gfx/Script.h"

#include <array>
#include <charconv>
#include <sstream>
#include <vector>

namespace {
// The virtual clock counts milliseconds in 32 bits. The clock steps past each time by less than
// a frame, so frames and times are held where that step cannot wrap it and the end is reached.
constexpr uint32_t MaxFrameMs = 60 * 60 * 1000;
constexpr uint32_t MaxTimeMs = UINT32_MAX - MaxFrameMs;

std::vector<std::string> Words(const std::string& text) {
    std::istringstream in(text);
    std::vector<std::string> words;
    for (std::string word; in >> word;) words.push_back(word);
    return words;
}

template <typename T>
bool ParseNumber(const std::string& text, T& value) {
    const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc() && ptr == text.data() + text.size();
}

uint32_t ParseFrame(int line, const std::vector<std::string>& words) {
    uint32_t ms = 0;
    if (words.size() != 2 || !ParseNumber(words[1], ms) || ms == 0 || ms > MaxFrameMs)
        throw ScriptError(line, "frame takes a number of milliseconds from 1 to " + std::to_string(MaxFrameMs));
    return ms;
}

// HH:MM:SS with an optional fraction of up to three digits: a recording starts to the millisecond,
// since the game's draws are seeded with whole seconds of its clock.
double ParseClock(int line, const std::vector<std::string>& words) {
    const std::string text = words.size() == 2 ? words[1] : "";
    const auto dot = text.find('.');
    const std::string whole = text.substr(0, dot);
    const std::string fraction = dot == std::string::npos ? "" : text.substr(dot + 1);
    int h = -1, m = -1, s = -1, ms = 0;
    const bool wholeOk = whole.size() == 8 && whole[2] == ':' && whole[5] == ':' &&
                         ParseNumber(whole.substr(0, 2), h) && ParseNumber(whole.substr(3, 2), m) &&
                         ParseNumber(whole.substr(6, 2), s) && h >= 0 && h <= 23 && m >= 0 && m <= 59 && s >= 0 &&
                         s <= 59;
    const bool fractionOk =
        dot == std::string::npos ||
        (!fraction.empty() && fraction.size() <= 3 && fraction.find_first_not_of("0123456789") == std::string::npos &&
         ParseNumber(fraction + std::string(3 - fraction.size(), '0'), ms));
    if (!wholeOk || !fractionOk) throw ScriptError(line, "clock takes a time of day HH:MM:SS or HH:MM:SS.mmm");
    return h * 3600.0 + m * 60.0 + s + ms / 1000.0;
}

bool ParseCoordinate(const std::string& text, float& value) {
    // Whole or decimal game pixels; std::from_chars for float is not in every library we build on.
    std::istringstream in(text);
    in >> value;
    return in && in.peek() == std::char_traits<char>::eof();
}

Press ParsePress(int line, const std::string& word, bool tapAllowed) {
    if (word == "down") return Press::Down;
    if (word == "up") return Press::Up;
    if (word == "tap" && tapAllowed) return Press::Tap;
    throw ScriptError(line, "expected down, up" + std::string(tapAllowed ? " or tap" : "") + ", not '" + word + "'");
}

// A plain file name with the wanted extension: output never lands outside the --out folder.
std::string OutputName(int line, const std::string& name, const std::string& extension) {
    if (name.size() <= extension.size() ||
        name.compare(name.size() - extension.size(), extension.size(), extension) != 0)
        throw ScriptError(line, "the file name must end in " + extension);
    if (name.find_first_of("/\\") != std::string::npos || name.front() == '.')
        throw ScriptError(line, "the file name must be a plain name inside the output folder");
    return name;
}

struct NamedKey {
    const char* name;
    int32_t code;
};
// Every key a player may bind besides letters and digits, so a game played with any binding replays.
constexpr NamedKey kNamedKeys[] = {
    {"esc", 1},         {"enter", 28},     {"space", 57},    {"left", 203},     {"right", 205},     {"up", 200},
    {"down", 208},      {"f7", 65},        {"f8", 66},       {"tab", 15},       {"backspace", 14},  {"minus", 12},
    {"equals", 13},     {"lbracket", 26},  {"rbracket", 27}, {"semicolon", 39}, {"apostrophe", 40}, {"grave", 41},
    {"backslash", 43},  {"comma", 51},     {"period", 52},   {"slash", 53},     {"lshift", 42},     {"rshift", 54},
    {"lctrl", 29},      {"rctrl", 157},    {"lalt", 56},     {"ralt", 184},     {"capslock", 58},   {"insert", 210},
    {"delete", 211},    {"home", 199},     {"end", 207},     {"pageup", 201},   {"pagedown", 209},  {"kp0", 82},
    {"kp1", 79},        {"kp2", 80},       {"kp3", 81},      {"kp4", 75},       {"kp5", 76},        {"kp6", 77},
    {"kp7", 71},        {"kp8", 72},       {"kp9", 73},      {"kpenter", 156},  {"kpplus", 78},     {"kpminus", 74},
    {"kpmultiply", 55}, {"kpdivide", 181}, {"kpperiod", 83}, {"f1", 59},        {"f2", 60},         {"f3", 61},
    {"f4", 62},         {"f5", 63},        {"f6", 64},       {"f9", 67},        {"f10", 68},        {"f12", 88},
};
}  // namespace

int32_t ScanCodeForKeyName(const std::string& name) {
    for (const auto& key : kNamedKeys)
        if (name == key.name) return key.code;
    if (name.size() != 1) return 0;
    const char c = name[0];
    if (c >= '1' && c <= '9') return 2 + (c - '1');
    if (c == '0') return 11;
    // Letters in keyboard rows, as the scan codes run.
    static constexpr std::string_view rows[] = {"qwertyuiop", "asdfghjkl", "zxcvbnm"};
    static constexpr int32_t rowStart[] = {16, 30, 44};
    for (int row = 0; row < 3; ++row) {
        const auto at = rows[row].find(c);
        if (at != std::string_view::npos) return rowStart[row] + static_cast<int32_t>(at);
    }
    return 0;
}

std::string KeyNameForScanCode(int32_t code) {
    for (const auto& key : kNamedKeys)
        if (key.code == code) return key.name;
    for (const char c : std::string_view("abcdefghijklmnopqrstuvwxyz0123456789"))
        if (ScanCodeForKeyName(std::string(1, c)) == code) return std::string(1, c);
    return "";
}

bool ScriptReader::NextLine(std::string& text) {
    while (std::getline(m_In, text)) {
        ++m_Line;
        if (const auto hash = text.find('#'); hash != std::string::npos) text.erase(hash);
        // Blank is whatever the word splitting skips, vertical tab and form feed included.
        if (text.find_first_not_of(" \t\r\n\v\f") != std::string::npos) return true;
    }
    return false;
}

ScriptSettings ScriptReader::ReadSettings() {
    std::string text;
    while (NextLine(text)) {
        const auto words = Words(text);
        const std::string& command = words[0];
        if (command == "at" || command == "end") {
            m_Held.emplace(m_Line, text);
            break;
        }
        if (command == "frame") {
            m_Settings.frameMs = ParseFrame(m_Line, words);
        } else if (command == "clock") {
            m_Settings.clockSeconds = ParseClock(m_Line, words);
        } else if (command == "joystick") {
            if (words.size() != 1) throw ScriptError(m_Line, "joystick takes no arguments");
            m_Settings.joystick = true;
        } else if (command == "args") {
            const auto start = text.find("args") + 4;
            const auto first = text.find_first_not_of(" \t", start);
            const auto last = text.find_last_not_of(" \t\r");
            m_Settings.args = first == std::string::npos ? "" : text.substr(first, last - first + 1);
        } else {
            throw ScriptError(m_Line, "unknown command '" + command + "'");
        }
    }
    return m_Settings;
}

std::optional<ScriptAction> ScriptReader::Next() {
    std::string text;
    int line = 0;
    if (m_Held) {
        line = m_Held->first;
        text = m_Held->second;
        m_Held.reset();
    } else {
        if (!NextLine(text)) return std::nullopt;
        line = m_Line;
    }
    if (m_SawEnd) throw ScriptError(line, "nothing may follow end");
    return ParseTimed(line, text);
}

std::optional<ScriptAction> ScriptReader::ParseTimed(int line, const std::string& text) {
    const auto words = Words(text);
    ScriptAction action;
    action.line = line;
    const std::string& command = words[0];
    if (command == "clock" || command == "joystick" || command == "args")
        throw ScriptError(line, command + " must come before the first timed command");
    if (command == "frame") {
        action.frameMs = ParseFrame(line, words);
        action.kind = ScriptAction::Kind::Frame;
        action.at = m_LastAt;
        return action;
    }
    if (command != "at" && command != "end") throw ScriptError(line, "unknown command '" + command + "'");
    if (words.size() < 2 || !ParseNumber(words[1], action.at))
        throw ScriptError(line, command + " needs a time in milliseconds");
    if (action.at < m_LastAt) throw ScriptError(line, "times must not go backwards");
    if (action.at > MaxTimeMs) throw ScriptError(line, "times end at " + std::to_string(MaxTimeMs) + " ms");
    m_LastAt = action.at;
    if (command == "end") {
        if (words.size() != 2) throw ScriptError(line, "end takes only a time");
        m_SawEnd = true;
        action.kind = ScriptAction::Kind::End;
        return action;
    }
    if (words.size() < 3) throw ScriptError(line, "at needs an action");
    const std::string& what = words[2];
    const size_t n = words.size();
    using Kind = ScriptAction::Kind;
    if (what == "frame") {
        action.frameMs = ParseFrame(line, {words.begin() + 2, words.end()});
        action.kind = Kind::Frame;
    } else if (what == "key") {
        if (n != 5) throw ScriptError(line, "key NAME down|up|tap");
        action.kind = Kind::Key;
        action.code = ScanCodeForKeyName(words[3]);
        if (action.code == 0) throw ScriptError(line, "unknown key '" + words[3] + "'");
        action.press = ParsePress(line, words[4], true);
    } else if (what == "mouse") {
        if (n == 6 && (words[3] == "move" || words[3] == "click")) {
            action.kind = words[3] == "move" ? Kind::MouseMove : Kind::MouseClick;
            if (!ParseCoordinate(words[4], action.x) || !ParseCoordinate(words[5], action.y))
                throw ScriptError(line, "mouse " + words[3] + " X Y takes two numbers");
        } else if (n == 5 && (words[3] == "left" || words[3] == "right")) {
            action.kind = Kind::MouseButton;
            action.code = words[3] == "left" ? 1 : 2;
            action.press = ParsePress(line, words[4], false);
        } else {
            throw ScriptError(line, "mouse move X Y | mouse click X Y | mouse left|right down|up");
        }
    } else if (what == "joy") {
        if (!m_Settings.joystick) throw ScriptError(line, "joy actions need the joystick command first");
        if (n == 6 && words[3] == "axis" && (words[4] == "x" || words[4] == "y")) {
            action.kind = Kind::JoyAxis;
            action.axis = words[4][0];
            if (!ParseNumber(words[5], action.code) || action.code < -1 || action.code > 1)
                throw ScriptError(line, "a joystick axis takes -1, 0 or 1");
        } else if (n == 6 && words[3] == "button") {
            action.kind = Kind::JoyButton;
            if (!ParseNumber(words[4], action.code) || action.code < 0 || action.code > 20)
                throw ScriptError(line, "a joystick button number is 0 to 20");
            action.press = ParsePress(line, words[5], true);
        } else {
            throw ScriptError(line, "joy axis x|y VALUE | joy button N down|up|tap");
        }
    } else if (what == "window") {
        action.kind = Kind::Window;
        const std::string arg = n >= 4 ? words[3] : "";
        const std::string arg2 = n >= 5 ? words[4] : "";
        if (arg == "focus" && n == 5 && arg2 == "lost")
            action.window = GfxWindowAction::FocusLost;
        else if (arg == "focus" && n == 5 && arg2 == "gained")
            action.window = GfxWindowAction::FocusGained;
        else if (arg == "minimize" && n == 4)
            action.window = GfxWindowAction::Minimize;
        else if (arg == "restore" && n == 4)
            action.window = GfxWindowAction::Restore;
        else if (arg == "close" && n == 4)
            action.window = GfxWindowAction::Close;
        else
            throw ScriptError(line, "window focus lost|gained | window minimize|restore | window close");
    } else if (what == "screenshot" || what == "dump") {
        if (n != 4) throw ScriptError(line, what + " takes one file name");
        action.kind = what == "dump" ? Kind::Dump : Kind::Screenshot;
        action.name = OutputName(line, words[3], what == "dump" ? ".json" : ".png");
    } else {
        throw ScriptError(line, "unknown action '" + what + "'");
    }
    return action;
}
