// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzz target: the high-score file. Any file loads a table of initials of at most three letters
// A-Z, and that table survives its own save and load unchanged.
#include "FuzzTarget.h"
#include "gfx/Gfx.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static GfxEngine engine;
    GfxUtility& scores = engine.GetUtility();
    engine.SetWorkingFolder(fuzz::Scratch("scores").string());
    fuzz::WriteFile(fuzz::Scratch("scores") / "scores.dat", data, size);
    scores.LoadHighScores("scores.dat");
    std::string before;
    for (int32_t i = 1; i <= 10; ++i) {
        const std::string name = scores.GetHighScoreName(i);
        fuzz::Check(name.size() <= 3 && name.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZ") == std::string::npos);
        before += name + " " + std::to_string(scores.GetHighScoreValue(i)) + "\n";
    }
    scores.SaveHighScores("scores.dat");
    scores.LoadHighScores("scores.dat");
    std::string after;
    for (int32_t i = 1; i <= 10; ++i)
        after += scores.GetHighScoreName(i) + " " + std::to_string(scores.GetHighScoreValue(i)) + "\n";
    fuzz::Check(before == after);
    return 0;
}
