// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzz target: the runner's script parser. Any script parses or names its bad line, and what it
// accepts keeps the virtual clock from wrapping before the end.
#include <sstream>

#include "FuzzTarget.h"
#include "gfx/Script.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    ScriptReader reader(in);
    constexpr uint64_t Wrap = uint64_t{1} << 32;
    try {
        uint64_t frame = reader.ReadSettings().frameMs;
        while (const auto action = reader.Next()) {
            if (action->kind == ScriptAction::Kind::Frame) frame = action->frameMs;
            fuzz::Check(frame >= 1 && action->at + frame < Wrap);
        }
    } catch (const ScriptError& error) {
        fuzz::Check(error.line >= 1);
    }
    return 0;
}
