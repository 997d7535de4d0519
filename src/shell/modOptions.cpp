// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/modOptions.h"

#include <algorithm>
#include <cctype>

#include "base/Globals.h"
#include "base/RuntimeError.h"
#include "base/modError.h"
#include "engine/Controls.h"
#include "gfx/GfxFile.h"
#include "shell/Replays.h"

namespace {
// A dozen short lines; a file or a line far longer than that is damage, not something to hold.
constexpr size_t MaxOptionsBytes = 16 * 1024;
constexpr size_t MaxOptionsLineBytes = 1024;

bool sLoaded = false;            // LoadOptions ran in this run
bool sReadable = true;           // the file was missing or could be read
std::vector<std::string> sKept;  // the unknown lines of the file read

std::string_view Trim(std::string_view text) {
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

std::string Lower(std::string_view text) {
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lower;
}

bool ReadYesNo(bool& option, std::string_view value) {
    const std::string word = Lower(value);
    if (word != "yes" && word != "no") return false;
    option = word == "yes";
    return true;
}

bool ReadScaling(GfxScaling& scaling, std::string_view value) {
    const std::string word = Lower(value);
    if (word != "fill" && word != "sharp") return false;
    scaling = word == "sharp" ? GfxScaling::Sharp : GfxScaling::Fill;
    return true;
}

// False for a name that is not an option; `valid` says whether its value could be read.
bool ReadOption(GameOptions& options, std::string_view name, std::string_view value, bool& valid) {
    if (name == "FullScreen")
        valid = ReadYesNo(options.fullScreen, value);
    else if (name == "Scaling")
        valid = ReadScaling(options.scaling, value);
    else if (name == "PauseOnFocusLoss")
        valid = ReadYesNo(options.pauseOnFocusLoss, value);
    else if (IsControlEntry(name))
        valid = ReadControlEntry(options.controls, name, value);
    else
        return false;
    return true;
}
}  // namespace

OptionsRead ReadOptions(std::string_view text) {
    OptionsRead read;
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    for (int number = 1; !text.empty(); ++number) {
        const auto end = std::min(text.find('\n'), text.size());
        const std::string_view raw = text.substr(0, end);
        text.remove_prefix(std::min(end + 1, text.size()));
        const std::string where = "Line " + std::to_string(number) + " of options.txt";
        if (raw.size() > MaxOptionsLineBytes) {
            read.problems.push_back(where + " is too long; it is left out.");
            continue;
        }
        const std::string_view line = Trim(raw);
        if (line.empty() || line.front() == '#') continue;
        const auto equals = line.find('=');
        if (equals == std::string_view::npos) {
            read.problems.push_back(where + " is not a name=value line; it is left out.");
            continue;
        }
        const std::string_view name = Trim(line.substr(0, equals));
        const std::string_view value = Trim(line.substr(equals + 1));
        bool valid = true;
        if (!ReadOption(read.options, name, value, valid)) {
            read.unknown.emplace_back(line);
        } else if (!valid) {
            read.problems.push_back(where + " (" + std::string(name) + ") has a value that cannot be used; " +
                                    "that option keeps its default.");
        }
    }
    if (!ControlsUsable(read.options.controls)) {
        read.problems.push_back(
            "In options.txt a key or button is bound twice or a control has none; "
            "using the default controls.");
        read.options.controls = Controls();
    }
    return read;
}

std::string OptionsText(const GameOptions& options, const std::vector<std::string>& unknown) {
    std::string text = "# Kindlewisp options: the options screen writes this file. The volumes are in game.dat.\r\n";
    const auto line = [&text](const std::string& name, const std::string& value) {
        text += name + "=" + value + "\r\n";
    };
    line("FullScreen", options.fullScreen ? "yes" : "no");
    line("Scaling", options.scaling == GfxScaling::Sharp ? "sharp" : "fill");
    line("PauseOnFocusLoss", options.pauseOnFocusLoss ? "yes" : "no");
    for (const auto& [name, value] : ControlEntries(options.controls)) line(name, value);
    for (const std::string& kept : unknown) text += kept + "\r\n";
    return text;
}

std::filesystem::path OptionsPath() { return gProgramFolder / "game" / "data" / "options.txt"; }

void LoadOptions() {
    gOptions = GameOptions();
    sKept.clear();
    sLoaded = true;
    sReadable = true;
    const auto path = OptionsPath();
    const auto file = GfxFile::ReadBounded(path, MaxOptionsBytes);
    if (file.status == GfxFile::ReadStatus::Missing) return;
    if (file.status == GfxFile::ReadStatus::Unreadable) {
        sReadable = false;
        ReportError(
            ErrorNumber::PathNotFound, "modOptions", "LoadOptions",
            "The file " + path.string() + " cannot be read; playing with the default options and leaving it as it is.",
            true, true, false);
        return;
    }
    std::string_view bytes = file.bytes;
    // A cut line is no line: what lies beyond the bound is lost anyway.
    if (file.truncated) bytes = bytes.substr(0, bytes.rfind('\n') == std::string_view::npos ? 0 : bytes.rfind('\n'));
    OptionsRead read = ReadOptions(bytes);
    if (file.truncated)
        read.problems.push_back("options.txt is longer than " + std::to_string(MaxOptionsBytes) +
                                " bytes; the rest is left out.");
    gOptions = read.options;
    sKept = std::move(read.unknown);
    if (read.problems.empty()) return;
    auto bad = path;
    bad += ".bad";
    if (!GfxFile::WriteAtomically(bad, file.bytes)) read.problems.push_back("No copy of options.txt could be kept.");
    for (const std::string& problem : read.problems)
        ReportError(ErrorNumber::TypeMismatch, "modOptions", "LoadOptions", problem, true, true, false);
}

void SaveOptions() {
    if (!sLoaded || !sReadable || ReplayWatched()) return;
    const auto path = OptionsPath();
    if (!GfxFile::WriteAtomically(path, OptionsText(gOptions, sKept))) {
        ReportError(ErrorNumber::PathNotFound, "modOptions", "SaveOptions",
                    "Path to file " + path.string() + " could not be written.", true, true, false);
    }
}

void ForgetLoadedOptions() { sLoaded = false; }
