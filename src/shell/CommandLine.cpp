// SPDX-License-Identifier: GPL-3.0-or-later
// The command line: the table of the game's arguments, their parser and the usage of every program.
#include "shell/CommandLine.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <ostream>
#include <system_error>
#include <vector>

#include "base/Globals.h"
#include "shell/modMain.h"

namespace {
constexpr GameArgument kGameArguments[] = {
#define KW_ARGUMENT(name, value, help) {name, value, help},
#include "shell/GameArguments.def"
#undef KW_ARGUMENT
};

bool SameLetters(std::string_view a, std::string_view b) {
    return std::ranges::equal(a, b,
                              [](unsigned char x, unsigned char y) { return std::toupper(x) == std::toupper(y); });
}

// One line of a usage's table: the argument, padded to a column, and its help.
std::string UsageLine(std::string_view argument, std::string_view help) {
    std::string line = "  " + std::string(argument);
    line.resize(std::max<size_t>(line.size() + 2, 18), ' ');
    return line + std::string(help) + "\n";
}

// The two options every program takes, after its own.
std::string WithStandardOptions(std::string_view usage) {
    return std::string(usage) + UsageLine("--help", "Show this help and exit.") +
           UsageLine("--version", "Show the version and exit.");
}

std::vector<std::string_view> SplitArguments(std::string_view line, std::string_view separator) {
    std::vector<std::string_view> arguments;
    while (!separator.empty()) {
        const auto at = line.find(separator);
        if (at == std::string_view::npos) break;
        arguments.push_back(line.substr(0, at));
        line.remove_prefix(at + separator.size());
    }
    arguments.push_back(line);
    return arguments;
}

// The value when argument is NAME=VALUE for this name.
std::optional<std::string_view> ArgumentValue(std::string_view argument, std::string_view name) {
    if (name.empty() || argument.size() <= name.size() || argument[name.size()] != '=' ||
        !SameLetters(argument.substr(0, name.size()), name))
        return std::nullopt;
    return argument.substr(name.size() + 1);
}

std::string GameUsage() {
    std::string usage =
        "Usage: kindlewisp [ARGUMENT]...\n"
        "A little dragon burns rising columns of coloured orbs. Arguments are separated by spaces or\n"
        "\";\". A relative FILE is looked up in the current folder, then beside the game folder, so\n"
        "Replay=game/replays/last.kws finds the last game played.\n\n";
    for (const GameArgument& argument : kGameArguments)
        usage += UsageLine(std::string(argument.name) + "=" + std::string(argument.value), argument.help);
    return usage;
}
}  // namespace

std::span<const GameArgument> GameArguments() { return kGameArguments; }

std::string JoinArguments(int argc, const char* const* argv) {
    std::string line;
    for (int i = 1; i < argc; ++i) {
        if (i > 1) line += ';';
        line += argv[i];
    }
    return line;
}

std::string GetCommandLineValue(const std::string& key, const std::string& separator) {
    for (const std::string_view argument : SplitArguments(CommandLine(), separator))
        if (const auto value = ArgumentValue(argument, key)) return std::string(*value);
    return "";
}

std::filesystem::path CommandLineFile(const std::string& name) {
    const std::filesystem::path given = GetCommandLineValue(name, ";");
    std::error_code ec;
    if (given.empty() || given.is_absolute() || std::filesystem::exists(given, ec) || gProgramFolder.empty())
        return given;
    const std::filesystem::path inGame = gProgramFolder / given;
    return std::filesystem::exists(inGame, ec) ? inGame : given;
}

std::string_view GameVersion() { return KW_VERSION; }

std::optional<int> ProgramUsage::AnswerHelpOrVersion(std::string_view argument, std::ostream& out) const {
    if (argument == "--help")
        out << WithStandardOptions(usage);
    else if (argument == "--version")
        out << program << ' ' << GameVersion() << '\n';
    else
        return std::nullopt;
    return 0;
}

int ProgramUsage::Error(std::string_view problem, std::ostream& err) const {
    err << program << ": " << problem << '\n' << WithStandardOptions(usage);
    return 2;
}

std::optional<int32_t> ParseCount(std::string_view text, int32_t min, int32_t max) {
    const auto value = ParseDigits<int32_t>(text);
    if (!value || *value < min || *value > max) return std::nullopt;
    return value;
}

std::optional<uint32_t> ParseSeed(std::string_view text) { return ParseDigits<uint32_t>(text); }

std::optional<int> AnswerGameCommandLine(const std::string& commandLine, std::ostream& out, std::ostream& err) {
    const std::string usage = GameUsage();
    const ProgramUsage game{"kindlewisp", usage};
    for (const std::string_view argument : SplitArguments(commandLine, ";")) {
        if (argument.empty()) continue;
        if (const auto exitCode = game.AnswerHelpOrVersion(argument, out)) return exitCode;
        const bool known = std::ranges::any_of(
            kGameArguments, [&](const GameArgument& entry) { return ArgumentValue(argument, entry.name).has_value(); });
        if (!known) return game.Error("unknown argument '" + std::string(argument) + "'", err);
    }
    return std::nullopt;
}
