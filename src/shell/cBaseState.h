// The game state interface: the frame loop talks to the current screen only through this.
#pragma once

class cBaseState {
public:
    virtual ~cBaseState() = default;
    virtual void InitializeGraphics() = 0;
    virtual void HandleInput() = 0;
    virtual void DrawState() = 0;
    virtual void ProcessState() = 0;
    virtual void Destroy() = 0;
};

enum StateNumber : int { StateTitle = 0, StatePlay = 1, StateTutorial = 2 };

// Makes a new state current. The old one moves to the retirement slot and is released by the
// frame loop once the operation that asked for the switch has returned.
void SetState(int stateNumber);
// Releases a retired state; called by the frame loop after each state operation.
void ReleaseRetiredState();

#include <functional>
#include <memory>
// Tells SetState which object to make for a state number.
void RegisterStateFactory(int stateNumber, std::function<std::unique_ptr<cBaseState>()> factory);
