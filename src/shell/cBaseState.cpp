// SetState and the retirement slot: a state that switches away is still running the operation
// that asked for the switch, so it is parked here and released only after that operation returns.
#include "shell/cBaseState.h"

#include <map>
#include <utility>
#include <vector>

#include "shell/Globals.h"

namespace {
std::map<int, std::function<std::unique_ptr<cBaseState>()>>& Factories() {
    static std::map<int, std::function<std::unique_ptr<cBaseState>()>> factories;
    return factories;
}
std::vector<std::unique_ptr<cBaseState>> sRetired;  // states switched away from in the current operation
int sCurrentNumber = -1;
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
    retired.clear();
}

void RegisterStateFactory(int number, std::function<std::unique_ptr<cBaseState>()> make) {
    Factories()[number] = std::move(make);
}

void ClearStateFactories() { Factories().clear(); }

int CurrentStateNumber() { return gCurrentState ? sCurrentNumber : -1; }
