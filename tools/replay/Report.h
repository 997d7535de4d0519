// The state report the runner dumps: every key always present, null where it does not apply.
// One function per part, so each screen's owner fills in its own.
#pragma once

#include <cstdint>
#include <nlohmann/json.hpp>

nlohmann::json BuildReport(int32_t frame);

nlohmann::json ReportTitle();     // null unless the title screen is current
nlohmann::json ReportPlay();      // play and tutorial states
nlohmann::json ReportTutorial();  // tutorial state only
nlohmann::json ReportScores();    // the high-score table held in memory
