#include "ui/GameStates.h"

#include <memory>

#include "shell/cBaseState.h"
#include "ui/cTitleState.h"

void RegisterGameStates() {
    RegisterStateFactory(StateTitle, [] { return std::make_unique<cTitleState>(); });
}
