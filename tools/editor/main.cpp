// SPDX-License-Identifier: GPL-3.0-or-later
// kindlewisp-editor [--game-dir DIR] [FILE]: draws a level in a window and saves it in the level
// format; with no FILE, a new level is saved under a name that is still free.
#include <filesystem>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <system_error>

#include "Editor.h"
#include "base/Globals.h"
#include "gfx/Gfx.h"
#include "gfx/GfxFile.h"
#include "shell/CommandLine.h"
#include "shell/modMain.h"
#include "shell/modSettings.h"

namespace {

namespace fs = std::filesystem;

constexpr ProgramUsage kUsage{
    "kindlewisp-editor",
    "Usage: kindlewisp-editor [--game-dir DIR] [FILE]\n"
    "Draws a level in a window and saves it in the level format; without FILE, a new level is\n"
    "saved under a name that is still free.\n\n"
    "  --game-dir DIR  The game folder to show and play-test with (default: the game's).\n"};

int Usage(const std::string& problem) { return kUsage.Error(problem); }

// The game's pictures and the play-test level, in a folder of the editor's own for as long as it
// runs: a fresh one that no one else can have made or can open.
class Pictures {
public:
    Pictures() : m_Folder(GfxFile::MakeScratchFolder("kindlewisp-editor")) {}
    ~Pictures() {
        std::error_code ec;
        fs::remove_all(m_Folder, ec);
    }
    Pictures(const Pictures&) = delete;
    Pictures& operator=(const Pictures&) = delete;
    const fs::path& Folder() const { return m_Folder; }

private:
    fs::path m_Folder;
};

}  // namespace

int main(int argc, char** argv) {
    GameFolders folders;
    fs::path game = ExecutableFolder() / "kindlewisp";
    fs::path file;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (const auto exitCode = kUsage.AnswerHelpOrVersion(arg)) return *exitCode;
        if (arg == "--game-dir") {
            if (i + 1 == argc) return Usage("--game-dir needs a folder");
            folders.program = folders.installed = argv[++i];
            game = folders.program / "kindlewisp";
        } else if (arg.size() > 1 && arg[0] == '-') {
            return Usage("unknown option '" + arg + "'");
        } else if (file.empty()) {
            file = arg;
        } else {
            return Usage("only one level file at a time");
        }
    }

    int status = 0;
    {
        std::optional<Pictures> pictures;  // outlives the engine, which may hold its files open
        gEngine = std::make_unique<GfxEngine>();
        try {
            pictures.emplace();
            gEngine->SetWorkingFolder(pictures->Folder().string() + "/");
            if (folders.program.empty()) folders = FindGameFolders();
            if (!gEngine->Startup()) throw std::runtime_error("the display cannot be opened");
            if (!UnpackArchiveInto(folders.installed / "game" / "images" / "kwgfx.pak", pictures->Folder()))
                throw std::runtime_error("the game's pictures are not in " + folders.installed.string() +
                                         "; give the game's folder with --game-dir");
            if (!gEngine->InitializeDisplay()) throw std::runtime_error("the window cannot be opened");
            gEngine->ShowWindow();
            Editor editor(file, folders.program, game, pictures->Folder());
            editor.Run();
        } catch (const std::exception& e) {
            std::cerr << "kindlewisp-editor: " << e.what() << "\n";
            GfxEngine::MessageBox("Kindlewisp level editor", e.what());
            status = 1;
        }
        gEngine->Shutdown();
        gEngine.reset();
    }
    return status;
}
