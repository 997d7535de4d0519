// SPDX-License-Identifier: GPL-3.0-or-later
// The error log and ReportError. Entries are written at once so a crash keeps what was written.
#include "base/modError.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <ctime>

#include "base/Globals.h"
#include "gfx/Clock.h"
#include "gfx/Gfx.h"
#include "gfx/GfxFile.h"
#include "shell/modMain.h"

namespace {
GfxFile::FreshFile sLog;  // replaced at every start: never emptied or written through a link

// "Short date, a space, long time" in the general date format the log has always used:
// 12/6/2026 7:05:09 PM. The calendar date comes from the system; the time of day from the
// game's clock, so the scripted runner's logs carry its virtual time.
std::string NowText() {
    const std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
    std::tm date{};
    localtime_r(&now, &date);
    const long seconds = static_cast<long>(std::floor(Timer())) % 86400;
    const long hour = seconds / 3600, minute = seconds / 60 % 60, second = seconds % 60;
    const long hour12 = hour % 12 == 0 ? 12 : hour % 12;
    char text[64];
    std::snprintf(text, sizeof text, "%d/%d/%d %ld:%02ld:%02ld %s", date.tm_mon + 1, date.tm_mday, date.tm_year + 1900,
                  hour12, minute, second, hour < 12 ? "AM" : "PM");
    return text;
}
}  // namespace

void OpenErrorLog() {
    CloseErrorLog();
    sLog.Open(gProgramFolder / "game" / "errors.log");
}

void WriteErrorLog(const std::string& text) { sLog.Append(text + "\r\n" + "\r\n\r\n"); }

void CloseErrorLog() { sLog.Close(); }

void ReportError(int32_t errorNumber, const std::string& moduleName, const std::string& procedureName,
                 const std::string& message, bool writeToLog, bool reportAlways, bool terminate, int32_t pendingError) {
    if (errorNumber != pendingError && !reportAlways) return;
    if (writeToLog) {
        WriteErrorLog(NowText() + "\r\n" + "Handled Error Occurred in " + moduleName + "." + procedureName + "\r\n" +
                      "Error Number: " + std::to_string(errorNumber) + "\r\n" + "Error: " + message + "\r\n");
    }
    if (!terminate) return;
    // Never throw out of a destructor: during shutdown the program is ending already, and a
    // retired state being released ends the program right after its release.
    if (ShutdownInProgress()) return;
    // The player learns why the game ends, not only the log; without a display (the runner)
    // the text goes to standard error.
    GfxEngine::MessageBox("Kindlewisp", message);
    if (InStateRelease()) {
        DeferEndAfterRelease();
        return;
    }
    ShutdownGameAfterError();
}
