// SPDX-License-Identifier: GPL-3.0-or-later
// The runner's script: the settings read before start-up and the timed actions, parsed one
// line at a time so a script can also arrive on standard input while the game runs.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <istream>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

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
        MouseWheel,
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
    uint64_t at = 0;   // virtual milliseconds since start
    int32_t code = 0;  // key scan code, mouse button (1 left, 2 right), wheel steps, joystick button, axis value
    char axis = 'x';   // joystick axis
    Press press = Press::Tap;
    float x = 0, y = 0;  // mouse position in game pixels
    GfxWindowAction window = GfxWindowAction::Close;
    std::string name;       // screenshot or dump file name
    uint32_t frameMs = 16;  // for Kind::Frame

    bool IsOutput() const { return kind == Kind::Screenshot || kind == Kind::Dump; }
};

// Times run so far that no run reaches them (2^31 frames of the longest length), so a recording of
// a run at the limit, whose end lies a frame or two beyond it, is never cut short or wrapped.
constexpr uint64_t MaxScriptTimeMs = uint64_t{1} << 62;
// A script or recording read from a file; a recording takes some ten bytes a frame at most.
constexpr std::size_t MaxScriptBytes = 64 << 20;
// Far longer than any command line a shell passes, even with every byte escaped.
constexpr std::size_t MaxScriptLineBytes = 1 << 20;

// `start NAME VALUE`: a setting the recorded run began with (the shell knows the names).
struct ScriptStart {
    std::string name;
    std::string value;
    int line = 0;
};

struct ScriptSettings {
    uint32_t frameMs = 16;
    double clockSeconds = 12 * 3600;
    int32_t day = DefaultVirtualDay;  // the date at the start, a day number (gfx/Clock.h)
    bool joystick = false;
    std::string args;
    std::vector<ScriptStart> start;
};

class ScriptReader final {
public:
    // maxBytes: more than that is an error (a file); a script on standard input may run on.
    explicit ScriptReader(std::istream& in, uint64_t maxBytes = UINT64_MAX) : m_In(in), m_MaxBytes(maxBytes) {}
    // Reads the settings up to the first timed line; that line is kept for Next.
    ScriptSettings ReadSettings();
    // The next action, or nullopt at the end of input. Throws ScriptError.
    std::optional<ScriptAction> Next();

private:
    std::optional<ScriptAction> ParseTimed(int line, const std::string& text);
    bool NextLine(std::string& text);

    std::istream& m_In;
    uint64_t m_MaxBytes;
    uint64_t m_Bytes = 0;  // read so far
    std::string m_Buffer;  // one line, at most MaxScriptLineBytes
    int m_Line = 0;
    std::optional<std::pair<int, std::string>> m_Held;  // a timed line read by ReadSettings
    ScriptSettings m_Settings;
    bool m_SawEnd = false;
    uint64_t m_LastAt = 0;
};

// Reads a whole script to check it (throws ScriptError), then rewinds the stream for the reader
// that plays it, so a damaged end never stops a run halfway.
void CheckScript(std::istream& in, uint64_t maxBytes = UINT64_MAX);

// Why a script or recording file cannot be read, in words for its message ("it is a folder, not a
// file"); "" when it can. Only a plain file of at most MaxScriptBytes is read.
std::string ScriptFileProblem(const std::filesystem::path& file);

// The text of `args` and `start` as written: plain when it reads back as it is, else in double
// quotes with \\ \" \n \r \t and \xHH escapes, so any path (a `#`, a newline, blanks) replays exactly.
std::string ScriptText(std::string_view text);

// DirectInput scan code for a key name of the script, 0 if unknown, and back ("" if unnamed).
int32_t ScanCodeForKeyName(const std::string& name);
std::string KeyNameForScanCode(int32_t code);
