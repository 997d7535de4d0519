// SPDX-License-Identifier: GPL-3.0-or-later
// The runner's script: the settings read before start-up and the timed actions, parsed one
// line at a time so a script can also arrive on standard input while the game runs.
#pragma once

#include <cstdint>
#include <istream>
#include <optional>
#include <stdexcept>
#include <string>

#include "gfx/Clock.h"
#include "gfx/Gfx.h"

struct ScriptError : std::runtime_error {
    ScriptError(int line, const std::string& reason)
        : std::runtime_error("line " + std::to_string(line) + ": " + reason), line(line) {}
    int line;
};

enum class Press { Down, Up, Tap };

struct ScriptAction {
    enum class Kind {
        Key,
        MouseMove,
        MouseButton,
        MouseClick,
        JoyAxis,
        JoyButton,
        Window,
        Screenshot,
        Dump,
        Frame,
        End
    };
    Kind kind = Kind::End;
    int line = 0;
    uint32_t at = 0;   // virtual milliseconds since start
    int32_t code = 0;  // key scan code, mouse button (1 left, 2 right), joystick button, axis value
    char axis = 'x';   // joystick axis
    Press press = Press::Tap;
    float x = 0, y = 0;  // mouse position in game pixels
    GfxWindowAction window = GfxWindowAction::Close;
    std::string name;       // screenshot or dump file name
    uint32_t frameMs = 16;  // for Kind::Frame

    bool IsOutput() const { return kind == Kind::Screenshot || kind == Kind::Dump; }
};

struct ScriptSettings {
    uint32_t frameMs = 16;
    double clockSeconds = 12 * 3600;
    int32_t day = DefaultVirtualDay;  // the date at the start, a day number (gfx/Clock.h)
    bool joystick = false;
    std::string args;
};

class ScriptReader final {
public:
    explicit ScriptReader(std::istream& in) : m_In(in) {}
    // Reads the settings up to the first timed line; that line is kept for Next.
    ScriptSettings ReadSettings();
    // The next action, or nullopt at the end of input. Throws ScriptError.
    std::optional<ScriptAction> Next();

private:
    std::optional<ScriptAction> ParseTimed(int line, const std::string& text);
    bool NextLine(std::string& text);

    std::istream& m_In;
    int m_Line = 0;
    std::optional<std::pair<int, std::string>> m_Held;  // a timed line read by ReadSettings
    ScriptSettings m_Settings;
    bool m_SawEnd = false;
    uint32_t m_LastAt = 0;
};

// DirectInput scan code for a key name of the script, 0 if unknown, and back ("" if unnamed).
int32_t ScanCodeForKeyName(const std::string& name);
std::string KeyNameForScanCode(int32_t code);
