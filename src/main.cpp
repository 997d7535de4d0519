// SPDX-License-Identifier: GPL-3.0-or-later
// Process entry: answers --help, --version and unknown arguments without opening a window, then
// registers the screens and hands the command-line text to Main.
#include <iostream>
#include <string>

#include "shell/CommandLine.h"
#include "shell/modMain.h"
#include "ui/GameStates.h"

int main(int argc, char** argv) {
    const std::string commandLine = JoinArguments(argc, argv);
    if (const auto exitCode = AnswerGameCommandLine(commandLine, std::cout, std::cerr)) return *exitCode;
    RegisterGameStates();
    return Main(commandLine);
}
