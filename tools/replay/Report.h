// SPDX-License-Identifier: GPL-3.0-or-later
// The state report the runner dumps: every key always present, null where it does not apply.
// One function per part, so each screen's owner fills in its own.
#pragma once

#include <cstdint>
#include <nlohmann/json.hpp>
#include <string>

nlohmann::json BuildReport(int32_t frame);
// The report as the dump file's text. Bytes that are not UTF-8 (initials from a damaged file,
// say) are replaced, so the report is still written.
std::string ReportText(int32_t frame);

nlohmann::json ReportTitle();     // null unless the title screen is current
nlohmann::json ReportPlay();      // play and tutorial states
nlohmann::json ReportTutorial();  // tutorial state only
nlohmann::json ReportOptions();   // the options screen, from the title or over a paused game
nlohmann::json ReportScores();    // the high-score table held in memory
