// SPDX-License-Identifier: GPL-3.0-or-later
// The error log (game/errors.log, recreated at every start) and the one reporting procedure.
// Every layer reports through this interface; the shell implements it (shell/modError.cpp).
#pragma once

#include <cstdint>
#include <string>

void OpenErrorLog();
void WriteErrorLog(const std::string& text);
void CloseErrorLog();

// Writes a dated entry and, with terminate, ends the program in order (throws ExitSignal).
// pendingError is the number of the run-time error the calling handler caught (0 for none).
void ReportError(int32_t errorNumber, const std::string& moduleName, const std::string& procedureName,
                 const std::string& message, bool writeToLog, bool reportAlways, bool terminate,
                 int32_t pendingError = 0);
