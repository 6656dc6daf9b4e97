#include "app/common/game_folder.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace mervox {

namespace fs = std::filesystem;

namespace {

bool IsDir(const fs::path& p) {
    std::error_code ec;
    return fs::is_directory(p, ec);
}

// Links every installed file of `from` into `to` that `to` does not hold.
bool LinkFiles(const fs::path& from, const fs::path& to, std::string& why) {
    std::error_code ec;
    fs::create_directories(to, ec);
    if (ec) {
        why = "cannot make " + to.string() + ": " + ec.message();
        return false;
    }
    for (const fs::directory_entry& e : fs::directory_iterator(from, ec)) {
        const fs::path link = to / e.path().filename();
        std::error_code exists;
        if (fs::exists(fs::symlink_status(link, exists))) continue;
        fs::create_symlink(e.path(), link, ec);
        if (ec) {
            why = "cannot link " + link.string() + ": " + ec.message();
            return false;
        }
    }
    return true;
}

}  // namespace

std::string InstalledDataDir(const std::string& exePath) {
    const fs::path bin = fs::path(exePath).parent_path();
    return (bin.parent_path() / "share" / "mervox").string();
}

std::string PlayerDataDir(const char* xdgDataHome, const char* home) {
    if (xdgDataHome != nullptr && xdgDataHome[0] == '/') return (fs::path(xdgDataHome) / "mervox").string();
    if (home != nullptr && home[0] != '\0') return (fs::path(home) / ".local" / "share" / "mervox").string();
    return "";
}

bool ChooseGameFolder(const std::string& currentDir, const std::string& installedDataDir,
                      const std::string& playerDir, GameFolder& out, std::string& why) {
    if (IsDir(fs::path(currentDir) / "data")) {
        out = GameFolder{currentDir, false};
        return true;
    }
    // Neither: the current directory as always (the pictures and sounds
    // missing are reported as they fail to load).
    if (installedDataDir.empty() || !IsDir(fs::path(installedDataDir) / "data")) {
        out = GameFolder{currentDir, false};
        return true;
    }
    if (playerDir.empty()) {
        why = "neither XDG_DATA_HOME nor HOME says where to keep the settings and scores";
        return false;
    }
    const fs::path installed(installedDataDir);
    if (!LinkFiles(installed / "data", fs::path(playerDir) / "data", why)) return false;
    if (IsDir(installed / "snd") && !LinkFiles(installed / "snd", fs::path(playerDir) / "snd", why)) return false;
    out = GameFolder{playerDir, true};
    return true;
}

std::string FindRecording(const std::string& given, const GameFolder& folder) {
    const fs::path p(given);
    std::error_code ec;
    if (!folder.installed || p.is_absolute() || fs::exists(p, ec)) return given;
    const fs::path inFolder = fs::path(folder.dir) / p;
    return fs::exists(inFolder, ec) ? inFolder.string() : given;
}

bool ChooseOwnGameFolder(GameFolder& out, std::string& why) {
    std::error_code ec;
    const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    return ChooseGameFolder(".", ec ? std::string() : InstalledDataDir(exe.string()),
                            PlayerDataDir(std::getenv("XDG_DATA_HOME"), std::getenv("HOME")), out, why);
}

}  // namespace mervox
