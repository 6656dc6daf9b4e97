#include "app/common/game_folder.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>
#include <vector>

#ifndef MERVOX_DATA_FROM_PROGRAM
#define MERVOX_DATA_FROM_PROGRAM "../share/mervox"
#endif

namespace mervox {

const char* const kDataFromProgram = MERVOX_DATA_FROM_PROGRAM;

namespace fs = std::filesystem;

namespace {

bool IsDir(const fs::path& p) {
    std::error_code ec;
    return fs::is_directory(p, ec);
}

// The player's folder keeps only links that lead to an installed file:
// one whose file is gone (the game removed, or installed elsewhere since)
// is taken away. The player's own files are never touched.
void RemoveDeadLinks(const fs::path& to) {
    std::error_code ec;
    for (const fs::directory_entry& e : fs::directory_iterator(to, ec)) {
        std::error_code st;
        if (fs::is_symlink(e.symlink_status(st)) && !fs::exists(e.path(), st)) fs::remove(e.path(), st);
    }
}

// Links every installed file of `from` into `to` that `to` does not hold as
// a file of its own; a link to another place is made to lead here.
bool LinkFiles(const fs::path& from, const fs::path& to, std::string& why) {
    std::error_code ec;
    fs::create_directories(to, ec);
    if (ec) {
        why = "cannot make " + to.string() + ": " + ec.message();
        return false;
    }
    RemoveDeadLinks(to);
    for (const fs::directory_entry& e : fs::directory_iterator(from, ec)) {
        const fs::path link = to / e.path().filename();
        std::error_code st;
        const fs::file_status s = fs::symlink_status(link, st);
        if (fs::is_symlink(s)) {
            if (fs::read_symlink(link, st) == e.path()) continue;
            fs::remove(link, st);
        } else if (fs::exists(s)) {
            continue;
        }
        fs::create_symlink(e.path(), link, ec);
        if (ec) {
            why = "cannot link " + link.string() + ": " + ec.message();
            return false;
        }
    }
    return true;
}

std::string Shown(const std::string& dir) {
    std::error_code ec;
    const fs::path abs = fs::absolute(dir, ec);
    return (ec ? fs::path(dir) : abs.lexically_normal()).string();
}

}  // namespace

std::string InstalledDataDir(const std::string& exePath, const std::string& dataFromProgram) {
    return (fs::path(exePath).parent_path() / dataFromProgram).lexically_normal().string();
}

std::string PlayerDataDir(const char* xdgDataHome, const char* home) {
    if (xdgDataHome != nullptr && xdgDataHome[0] == '/') return (fs::path(xdgDataHome) / "mervox").string();
    if (home != nullptr && home[0] != '\0') return (fs::path(home) / ".local" / "share" / "mervox").string();
    return "";
}

bool HoldsGameFiles(const std::string& dir) {
    std::error_code ec;
    const fs::path data = fs::path(dir) / "data";
    for (const char* sheet : {"number.png", "title.png", "rank.png"})
        if (fs::exists(data / sheet, ec)) return true;
    return false;
}

bool ChooseGameFolder(const FolderSearch& where, GameFolder& out, std::string& why) {
    std::vector<std::string> looked;
    for (const std::string* dir : {&where.currentDir, &where.programDir}) {
        if (dir->empty()) continue;
        if (HoldsGameFiles(*dir)) {
            out = GameFolder{*dir, false};
            return true;
        }
        const std::string shown = Shown(*dir);
        if (looked.empty() || looked.back() != shown) looked.push_back(shown);
    }
    const std::string& installed = where.installedDataDir;
    if (installed.empty() || !HoldsGameFiles(installed)) {
        if (!installed.empty()) looked.push_back(Shown(installed));
        why = "cannot find the game's pictures: there is no data/title.png in ";
        for (size_t i = 0; i < looked.size(); ++i)
            why += (i == 0 ? "" : i + 1 == looked.size() ? " or " : ", ") + looked[i];
        why += "; build the game with ./play.sh and run build/game/mervox, or install its package";
        return false;
    }
    if (where.playerDir.empty()) {
        why = "neither XDG_DATA_HOME nor HOME says where to keep the settings and scores";
        return false;
    }
    const fs::path from(installed), player(where.playerDir);
    if (!LinkFiles(from / "data", player / "data", why)) return false;
    if (IsDir(from / "snd") && !LinkFiles(from / "snd", player / "snd", why)) return false;
    out = GameFolder{where.playerDir, true};
    return true;
}

std::string FindRecording(const std::string& given, const GameFolder& folder) {
    const fs::path p(given);
    std::error_code ec;
    if (p.is_absolute() || fs::exists(p, ec)) return given;
    const fs::path inFolder = fs::path(folder.dir) / p;
    return fs::exists(inFolder, ec) ? inFolder.string() : given;
}

bool ChooseOwnGameFolder(GameFolder& out, std::string& why) {
    std::error_code ec;
    const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    FolderSearch where;
    where.currentDir = ".";
    if (!ec) {
        where.programDir = exe.parent_path().string();
        where.installedDataDir = InstalledDataDir(exe.string(), kDataFromProgram);
    }
    where.playerDir = PlayerDataDir(std::getenv("XDG_DATA_HOME"), std::getenv("HOME"));
    return ChooseGameFolder(where, out, why);
}

}  // namespace mervox
