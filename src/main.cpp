// SPDX-License-Identifier: GPL-3.0-or-later
// Process entry: registers the screens and hands the command-line text to Main.
#include <string>

#include "shell/modMain.h"
#include "ui/GameStates.h"

int main(int argc, char** argv) {
    std::string commandLine;
    for (int i = 1; i < argc; ++i) {
        if (i > 1) commandLine += ' ';
        commandLine += argv[i];
    }
    RegisterGameStates();
    return Main(commandLine);
}
