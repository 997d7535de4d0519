// SPDX-License-Identifier: GPL-3.0-or-later
// The command line every program of the game answers as Linux programs do: --help, --version and
// a usage error for anything unknown, all before a window opens; and the game's own NAME=VALUE
// arguments, read from one table (GameArguments.def) by the parser, the usage and the manual page.
#pragma once

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <filesystem>
#include <iostream>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <system_error>

struct GameArgument {
    std::string_view name;   // matched at the start of an argument, in any letter case, before "="
    std::string_view value;  // what the usage shows after the "="
    std::string_view help;   // its line in the usage and the manual page
};
std::span<const GameArgument> GameArguments();

// The game's command-line text: the program's words joined by ";", which also separates arguments
// within one word ("Level=a.dat;Windowed=NO").
std::string JoinArguments(int argc, const char* const* argv);
// The value of the first argument NAME=VALUE of that name (in any letter case) in the command line,
// empty when there is none.
std::string GetCommandLineValue(const std::string& key, const std::string& separator);
// The file a NAME=FILE argument names: a relative path is looked up in the current folder, then in
// the folder that holds the game folder; as given when neither has it, empty without the argument.
std::filesystem::path CommandLineFile(const std::string& name);

std::string_view GameVersion();
// A program's name and usage, for the answers every program gives.
struct ProgramUsage {
    std::string_view program;
    std::string_view usage;  // its own lines: the --help and --version lines follow them
    // --help and --version: writes the usage or "PROGRAM VERSION" to out and answers the exit code
    // 0; nothing for any other argument.
    std::optional<int> AnswerHelpOrVersion(std::string_view argument, std::ostream& out = std::cout) const;
    // A usage error: one line naming the problem, then the usage, to err; answers the exit code 2.
    int Error(std::string_view problem, std::ostream& err = std::cerr) const;
};
// A whole number as players and recordings write it: decimal digits only, the whole text read (no
// sign, blank, exponent or trailing letters), within the type.
template <typename Number>
std::optional<Number> ParseDigits(std::string_view text) {
    if (text.empty() || !std::ranges::all_of(text, [](unsigned char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    Number value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}
// A count on a command line: decimal digits only, from min to max.
std::optional<int32_t> ParseCount(std::string_view text, int32_t min, int32_t max);
// An endless run's seed, as players type and share it: decimal digits only, 0 to 4294967295.
std::optional<uint32_t> ParseSeed(std::string_view text);
// The seed of a day's boards, the same for everyone on that date: YYYYMMDD read as a number.
constexpr uint32_t DailySeed(int year, int month, int day) {
    return static_cast<uint32_t>(year * 10000 + month * 100 + day);
}

// What the game's command line asks before the game starts: nothing when the game is to run, else
// the exit code once the help, the version or the usage error is written.
std::optional<int> AnswerGameCommandLine(const std::string& commandLine, std::ostream& out, std::ostream& err);
