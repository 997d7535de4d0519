// SPDX-License-Identifier: GPL-3.0-or-later
// The game state interface: the frame loop talks to the current screen only through this.
// SetState builds states through factories that the screens register, so the shell needs no screen headers.
#pragma once

#include <functional>
#include <memory>

class cBaseState {
public:
    virtual ~cBaseState() = default;
    virtual void InitializeGraphics() = 0;
    virtual void HandleInput() = 0;
    virtual void DrawState() = 0;
    virtual void ProcessState() = 0;
    virtual void Destroy() = 0;
};

// StateLevelFile: play on the level file the command line names (Level=FILE); StateEndless: an
// endless run (Endless=SEED, or the title's choice).
enum StateNumber : int { StateTitle = 0, StatePlay = 1, StateTutorial = 2, StateLevelFile = 3, StateEndless = 4 };

// Makes a new state current. The old one moves to the retirement slot and is released by the
// frame loop once the operation that asked for the switch has returned. A number without a
// registered factory leaves gCurrentState empty.
void SetState(int stateNumber);
// Releases a retired state; called by the frame loop after each state operation.
void ReleaseRetiredState();

// The constructor a number stands for; registering a number again replaces its factory.
void RegisterStateFactory(int number, std::function<std::unique_ptr<cBaseState>()> make);
void ClearStateFactories();
// The number of the current state, -1 when there is none (state reports of the scripted runner).
int CurrentStateNumber();
