// SPDX-License-Identifier: GPL-3.0-or-later
// The table of game states: which object each state number makes. Called once at start-up,
// before the first SetState.
#pragma once

void RegisterGameStates();
