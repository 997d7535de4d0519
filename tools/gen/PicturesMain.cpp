// SPDX-License-Identifier: GPL-3.0-or-later
// The picture generator: kw_gen_pictures OUTDIR GROUP draws one group of pictures (sprites, screens,
// backgrounds, or the desktop icon at the sizes that follow) into OUTDIR, so the build can run the
// groups side by side.
#include <exception>
#include <filesystem>
#include <iostream>
#include <string>
#include <string_view>

#include "Pictures.h"
#include "shell/AssetTable.h"

int main(int argc, char** argv) {
    if (argc < 3 || (argc > 3 && std::string_view(argv[2]) != "icon")) {
        std::cerr << "usage: kw_gen_pictures OUTDIR sprites|screens|backgrounds|icon SIZE...\n";
        return 2;
    }
    const std::filesystem::path out = argv[1];
    const std::string_view group = argv[2];
    try {
        std::filesystem::create_directories(out);
        if (group == "sprites") {
            gen::MakeSpriteSheet(out);
            gen::MakeTextSheet(out);
        } else if (group == "screens") {
            gen::MakeTitleScreen(out);
            gen::MakeMenuButtons(out);
            gen::MakeFade(out);
            gen::MakeClouds(out);
            gen::MakeEditorScreen(out);
        } else if (group == "backgrounds") {
            for (const auto theme : assets::kBackgrounds) gen::MakeBackground(out, theme);
        } else if (group == "icon") {
            for (int i = 3; i < argc; ++i) gen::MakeIcon(out, std::stoi(argv[i]));
        } else {
            std::cerr << "kw_gen_pictures: unknown group " << group << "\n";
            return 2;
        }
    } catch (const std::exception& e) {
        std::cerr << "kw_gen_pictures: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
