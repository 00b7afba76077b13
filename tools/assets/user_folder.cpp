#include "user_folder.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <vector>

#include "checker.h"
#include "platform/printable.h"

namespace {

namespace fs = std::filesystem;

std::string shown(const fs::path& path) {
    return quotedInput(path.string(), 300);
}

bool isPictureOrSound(const fs::path& path) {
    std::string extension = path.extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension == ".bmp" || extension == ".wav";
}

std::optional<std::vector<char>> readAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in.is_open()) return std::nullopt;
    std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) return std::nullopt;
    return bytes;
}

// Writes `target` only when its bytes are not already those of `source`, so
// that its time stamp moves exactly when its content does.
bool copyIfDifferent(const fs::path& source, const fs::path& target) {
    const std::optional<std::vector<char>> bytes = readAll(source);
    if (!bytes) return false;
    std::error_code error;
    if (fs::exists(target, error) && readAll(target) == bytes) return true;
    fs::path part = target;
    part += ".part";
    {
        std::ofstream out(part, std::ios::binary | std::ios::trunc);
        out.write(bytes->data(), static_cast<std::streamsize>(bytes->size()));
        out.close();
        if (!out) return false;
    }
    fs::rename(part, target, error);
    return !error;
}

// The names of the game's files: every picture and sound the generator made.
std::vector<std::string> gameFileNames(const fs::path& generatedDir) {
    std::vector<std::string> names;
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator(generatedDir, error)) {
        if (entry.is_regular_file(error) && isPictureOrSound(entry.path()))
            names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace

int composeAssets(const std::string& generatedDir, const std::string& userDir,
                  const std::string& assetDir) {
    const std::vector<std::string> names = gameFileNames(generatedDir);
    if (names.empty()) {
        std::fprintf(stderr, "%s: holds no generated pictures or sounds\n",
                     shown(generatedDir).c_str());
        return 1;
    }

    std::map<std::string, fs::path> chosen;
    bool refused = false;
    if (!userDir.empty()) {
        std::error_code error;
        std::vector<fs::path> offered;
        for (const fs::directory_entry& entry : fs::directory_iterator(userDir, error)) {
            if (isPictureOrSound(entry.path())) offered.push_back(entry.path());
        }
        if (error) {
            std::fprintf(stderr, "%s: cannot be read as a folder\n", shown(userDir).c_str());
            return 1;
        }
        std::sort(offered.begin(), offered.end());
        for (const fs::path& path : offered) {
            const std::string name = path.filename().string();
            if (!std::binary_search(names.begin(), names.end(), name)) {
                std::printf(
                    "%s: left out, the game has no file of that name (its files are "
                    "named like 151.bmp and 140.wav)\n",
                    shown(path).c_str());
                continue;
            }
            const std::string problem =
                fs::is_regular_file(path, error) ? userFileProblem(path.string()) : "not a file";
            if (!problem.empty()) {
                std::fprintf(stderr, "%s: %s\n", shown(path).c_str(), problem.c_str());
                refused = true;
                continue;
            }
            chosen[name] = path;
        }
    }
    if (refused) return 1;

    std::error_code error;
    fs::create_directories(assetDir, error);
    for (const std::string& name : names) {
        const auto player = chosen.find(name);
        const fs::path source =
            player != chosen.end() ? player->second : fs::path(generatedDir) / name;
        if (!copyIfDifferent(source, fs::path(assetDir) / name)) {
            std::fprintf(stderr, "%s: cannot be copied to %s\n", shown(source).c_str(),
                         shown(assetDir).c_str());
            return 1;
        }
        if (player != chosen.end()) std::printf("using %s\n", shown(source).c_str());
    }
    return 0;
}
