// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzz target: options.txt. Any text yields usable controls, and what is written back reads
// back the same, without a complaint.
#include "FuzzTarget.h"
#include "engine/Controls.h"
#include "shell/modOptions.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const OptionsRead read = ReadOptions(std::string_view(reinterpret_cast<const char*>(data), size));
    fuzz::Check(ControlsUsable(read.options.controls));
    const OptionsRead again = ReadOptions(OptionsText(read.options, read.unknown));
    fuzz::Check(again.problems.empty() && again.unknown == read.unknown);
    fuzz::Check(again.options.controls == read.options.controls && again.options.scaling == read.options.scaling &&
                again.options.fullScreen == read.options.fullScreen &&
                again.options.pauseOnFocusLoss == read.options.pauseOnFocusLoss);
    return 0;
}
