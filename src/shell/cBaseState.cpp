// SPDX-License-Identifier: GPL-3.0-or-later
// SetState and the retirement slot: a state that switches away is still running the operation
// that asked for the switch, so it is parked here and released only after that operation returns.
#include "shell/cBaseState.h"

#include <map>
#include <utility>
#include <vector>

#include "base/Globals.h"
#include "shell/modMain.h"

namespace {
std::map<int, std::function<std::unique_ptr<cBaseState>()>>& Factories() {
    static std::map<int, std::function<std::unique_ptr<cBaseState>()>> factories;
    return factories;
}
std::vector<std::unique_ptr<cBaseState>> sRetired;  // states switched away from in the current operation
int sCurrentNumber = -1;
bool sReleasing = false;    // a retired state's destructor is running
bool sEndDeferred = false;  // it asked to end the program
}  // namespace

void SetState(int stateNumber) {
    if (gCurrentState) sRetired.push_back(std::move(gCurrentState));
    sCurrentNumber = -1;
    const auto it = Factories().find(stateNumber);
    if (it == Factories().end() || !it->second) return;
    gCurrentState = it->second();  // the constructor runs InitializeGraphics
    if (gCurrentState) sCurrentNumber = stateNumber;
}

void ReleaseRetiredState() {
    // Moved out first: a destructor that switches state again must not touch a vector being cleared.
    auto retired = std::move(sRetired);
    sRetired.clear();
    sReleasing = true;
    retired.clear();
    sReleasing = false;
    if (sEndDeferred) {
        sEndDeferred = false;
        ShutdownGameAfterError();
    }
}

bool InStateRelease() { return sReleasing; }

void DeferEndAfterRelease() { sEndDeferred = true; }

void RegisterStateFactory(int number, std::function<std::unique_ptr<cBaseState>()> make) {
    Factories()[number] = std::move(make);
}

void ClearStateFactories() { Factories().clear(); }

int CurrentStateNumber() { return gCurrentState ? sCurrentNumber : -1; }
