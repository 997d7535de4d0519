// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzz target: archive extraction. Whatever the archive, everything it writes lies inside the
// target folder under a name the game does not keep, and is listed so it can be deleted.
#include "FuzzTarget.h"
#include "gfx/Gfx.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static GfxEngine engine;
    const std::filesystem::path folder = fuzz::Scratch("archive") / "game" / "images";
    std::filesystem::create_directories(folder);
    engine.SetWorkingFolder(folder.string() + "/");
    fuzz::WriteFile(folder / "kwgfx.pak", data, size);
    std::vector<std::filesystem::path> written;
    engine.GetArchive().ExtractArchive("kwgfx.pak", "marlowe47", "M4RL0WE47", 0, "", &written);
    for (const auto& path : written) {
        const auto inside = path.lexically_normal().lexically_relative(folder);
        fuzz::Check(!inside.empty() && *inside.begin() != "..");
    }
    // Nothing but what was listed, and the archive itself untouched.
    for (auto it = written.rbegin(); it != written.rend(); ++it) std::filesystem::remove(*it);
    for (const auto& entry : std::filesystem::directory_iterator(fuzz::Scratch("archive")))
        fuzz::Check(entry.path().filename() == "game");
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        fuzz::Check(entry.path().filename() == "kwgfx.pak");
    fuzz::Check(std::filesystem::file_size(folder / "kwgfx.pak") == size);
    return 0;
}
