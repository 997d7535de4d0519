// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/GameStates.h"

#include <memory>

#include "play/cEndlessState.h"
#include "play/cLevelFileState.h"
#include "play/cPlayState.h"
#include "shell/cBaseState.h"
#include "ui/cTitleState.h"
#include "ui/cTutorialState.h"

void RegisterGameStates() {
    RegisterStateFactory(StateTitle, [] { return std::make_unique<cTitleState>(); });
    RegisterStateFactory(StatePlay, [] { return std::make_unique<cPlayState>(); });
    RegisterStateFactory(StateTutorial, [] { return std::make_unique<cTutorialState>(); });
    RegisterStateFactory(StateEndless,
                         [] { return std::make_unique<cEndlessState>(cEndlessState::TakeRequestedSeed()); });
    RegisterStateFactory(StateLevelFile,
                         [] { return std::make_unique<cLevelFileState>(cLevelFileState::CommandLineFile()); });
}
