// SPDX-License-Identifier: GPL-3.0-or-later
// Script parsing. Every malformed line is an error naming its line, so a typo never turns into
// a run that silently does something else.
#include "gfx/Script.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <charconv>
#include <fstream>
#include <sstream>
#include <vector>

#include "gfx/Clock.h"
#include "gfx/GfxFile.h"

namespace {
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

// YYYY-MM-DD, a date the calendar has.
int32_t ParseDate(int line, const std::vector<std::string>& words) {
    const std::string text = words.size() == 2 ? words[1] : "";
    CalendarDate date;
    std::optional<int32_t> day;
    if (text.size() == 10 && text[4] == '-' && text[7] == '-' && ParseNumber(text.substr(0, 4), date.year) &&
        ParseNumber(text.substr(5, 2), date.month) && ParseNumber(text.substr(8, 2), date.day))
        day = DayOfDate(date);
    if (!day) throw ScriptError(line, "date takes a date YYYY-MM-DD");
    return *day;
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

constexpr std::string_view Blanks = " \t\r\n\v\f";

// Where a comment starts: the first # outside double quotes (a quoted text may hold one).
size_t CommentStart(const std::string& text) {
    bool quoted = false;
    for (size_t i = 0; i < text.size(); ++i) {
        if (quoted && text[i] == '\\')
            ++i;
        else if (text[i] == '"')
            quoted = !quoted;
        else if (text[i] == '#' && !quoted)
            return i;
    }
    return std::string::npos;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// The text a command takes after its word: plain, without the blanks around it, or quoted.
std::string ParseText(int line, std::string_view text) {
    const auto first = text.find_first_not_of(Blanks);
    if (first == std::string_view::npos) return "";
    text = text.substr(first, text.find_last_not_of(Blanks) - first + 1);
    if (text.front() != '"') return std::string(text);
    std::string out;
    for (size_t i = 1; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '"') {
            if (i + 1 != text.size()) throw ScriptError(line, "nothing may follow the closing quote");
            return out;
        }
        if (c != '\\') {
            out += c;
            continue;
        }
        const char e = i + 1 < text.size() ? text[++i] : '\0';
        if (e == '\\' || e == '"') {
            out += e;
        } else if (e == 'n' || e == 'r' || e == 't') {
            out += e == 'n' ? '\n' : e == 'r' ? '\r' : '\t';
        } else if (e == 'x' && i + 2 < text.size() && HexDigit(text[i + 1]) >= 0 && HexDigit(text[i + 2]) >= 0) {
            out += static_cast<char>(HexDigit(text[i + 1]) * 16 + HexDigit(text[i + 2]));
            i += 2;
        } else {
            throw ScriptError(line, "a quoted text knows the escapes \\\\ \\\" \\n \\r \\t and \\xHH");
        }
    }
    throw ScriptError(line, "the quoted text has no closing quote");
}

// The text after the command word.
std::string_view AfterCommand(const std::string& text) {
    const auto start = text.find_first_not_of(Blanks);
    const auto end = text.find_first_of(Blanks, start);
    return end == std::string::npos ? std::string_view() : std::string_view(text).substr(end);
}
}  // namespace

std::string ScriptText(std::string_view text) {
    const bool plain = !text.empty() && text.front() != '"' && Blanks.find(text.front()) == std::string_view::npos &&
                       Blanks.find(text.back()) == std::string_view::npos &&
                       std::none_of(text.begin(), text.end(), [](char c) {
                           const auto u = static_cast<unsigned char>(c);
                           return c == '#' || u < 0x20 || u == 0x7f;
                       });
    if (plain) return std::string(text);
    std::string out = "\"";
    for (const char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '\\' || c == '"') {
            out += '\\';
            out += c;
        } else if (c == '\n' || c == '\r' || c == '\t') {
            out += c == '\n' ? "\\n" : c == '\r' ? "\\r" : "\\t";
        } else if (u < 0x20 || u == 0x7f) {
            constexpr char hex[] = "0123456789abcdef";
            out += "\\x";
            out += hex[u >> 4];
            out += hex[u & 15];
        } else {
            out += c;
        }
    }
    return out + "\"";
}

void CheckScript(std::istream& in, uint64_t maxBytes) {
    ScriptReader reader(in, maxBytes);
    reader.ReadSettings();
    while (reader.Next()) {
    }
    in.clear();
    in.seekg(0);
}

std::string ScriptFileProblem(const std::filesystem::path& file) {
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::file_status status = fs::status(file, ec);
    switch (status.type()) {
        case fs::file_type::regular:
            break;
        case fs::file_type::not_found:
            return "there is no such file";
        case fs::file_type::directory:
            return "it is a folder, not a file";
        case fs::file_type::fifo:
            return "it is a pipe, not a file";
        case fs::file_type::none:  // a link in a loop, a folder on the way that may not be entered
            return GfxFile::Explain(ec.value());
        default:
            return "it is a device or socket, not a file";
    }
    if (const auto size = fs::file_size(file, ec); !ec && size > MaxScriptBytes)
        return "it is larger than " + std::to_string(MaxScriptBytes >> 20) + " MB";
    if (!std::ifstream(file)) return GfxFile::Explain(errno);
    return "";
}

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
    // A line is read into a buffer of its bound, so that no stream without line ends (a device, a
    // damaged file) can fill memory.
    m_Buffer.resize(MaxScriptLineBytes + 1);
    for (;;) {
        m_In.getline(m_Buffer.data(), static_cast<std::streamsize>(m_Buffer.size()));
        const auto count = static_cast<uint64_t>(m_In.gcount());
        if (m_In.bad()) throw ScriptError(m_Line + 1, "the script could not be read");
        if (count == 0 && m_In.eof()) return false;
        ++m_Line;
        if (m_In.fail() && !m_In.eof())
            throw ScriptError(m_Line, "a line is longer than " + std::to_string(MaxScriptLineBytes) + " bytes");
        m_Bytes += count;
        if (m_Bytes > m_MaxBytes)
            throw ScriptError(m_Line, "the script is longer than " + std::to_string(m_MaxBytes) + " bytes");
        text.assign(m_Buffer.data(), count - (m_In.eof() ? 0 : 1));  // without the line's end
        if (const auto hash = CommentStart(text); hash != std::string::npos) text.erase(hash);
        // Blank is whatever the word splitting skips, vertical tab and form feed included.
        if (text.find_first_not_of(Blanks) != std::string::npos) return true;
    }
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
        } else if (command == "date") {
            m_Settings.day = ParseDate(m_Line, words);
        } else if (command == "joystick") {
            if (words.size() != 1) throw ScriptError(m_Line, "joystick takes no arguments");
            m_Settings.joystick = true;
        } else if (command == "args") {
            m_Settings.args = ParseText(m_Line, AfterCommand(text));
        } else if (command == "start") {
            const std::string_view rest = AfterCommand(text);
            const auto nameAt = rest.find_first_not_of(Blanks);
            const auto nameEnd = rest.find_first_of(Blanks, nameAt);
            if (nameAt == std::string_view::npos || nameEnd == std::string_view::npos)
                throw ScriptError(m_Line, "start takes a name and a value");
            ScriptStart start{std::string(rest.substr(nameAt, nameEnd - nameAt)),
                              ParseText(m_Line, rest.substr(nameEnd)), m_Line};
            for (const ScriptStart& earlier : m_Settings.start)
                if (earlier.name == start.name) throw ScriptError(m_Line, "start " + start.name + " is given twice");
            m_Settings.start.push_back(std::move(start));
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
    if (command == "clock" || command == "date" || command == "joystick" || command == "args" || command == "start")
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
    if (action.at > MaxScriptTimeMs) throw ScriptError(line, "times end at " + std::to_string(MaxScriptTimeMs) + " ms");
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
        } else if (n == 5 && words[3] == "wheel") {
            action.kind = Kind::MouseWheel;
            constexpr int32_t most = GfxMouse::MaxWheelSteps;
            if (!ParseNumber(words[4], action.code) || action.code == 0 || action.code < -most || action.code > most)
                throw ScriptError(line, "mouse wheel takes steps from -" + std::to_string(most) + " to " +
                                            std::to_string(most) + ", not 0");
        } else {
            throw ScriptError(line, "mouse move X Y | mouse click X Y | mouse left|right down|up | mouse wheel N");
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
