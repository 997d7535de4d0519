// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzz target: the runner's script parser. Any script parses or names its bad line, what it
// accepts stays within the frames and times the virtual clock and the recorder hold, and any
// text written as a recording writes it reads back exactly.
#include <sstream>

#include "FuzzTarget.h"
#include "gfx/Clock.h"
#include "gfx/Script.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    std::istringstream in(bytes);
    ScriptReader reader(in, MaxScriptBytes);
    try {
        uint64_t frame = reader.ReadSettings().frameMs;
        while (const auto action = reader.Next()) {
            if (action->kind == ScriptAction::Kind::Frame) frame = action->frameMs;
            fuzz::Check(frame >= 1 && frame <= MaxFrameMs && action->at <= MaxScriptTimeMs);
        }
    } catch (const ScriptError& error) {
        fuzz::Check(error.line >= 1);
    }
    if (size > MaxScriptLineBytes / 8) return 0;  // escaped, it would pass a line's bound
    std::istringstream written("args " + ScriptText(bytes) + "\nstart name " + ScriptText(bytes) + "\n");
    ScriptReader back(written);
    const ScriptSettings settings = back.ReadSettings();
    fuzz::Check(settings.args == bytes && settings.start.size() == 1 && settings.start[0].value == bytes);
    return 0;
}
