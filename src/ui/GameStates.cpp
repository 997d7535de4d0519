#include "ui/GameStates.h"

#include <memory>

#include "play/cPlayState.h"
#include "shell/cBaseState.h"
#include "ui/cTitleState.h"

void RegisterGameStates() {
    RegisterStateFactory(StateTitle, [] { return std::make_unique<cTitleState>(); });
    RegisterStateFactory(StatePlay, [] { return std::make_unique<cPlayState>(); });
}
