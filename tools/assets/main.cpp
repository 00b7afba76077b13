// kordavan-assets: draws the game's pictures and synthesises its sounds.
//
//   kordavan-assets OUTDIR                   writes <id>.bmp and <id>.wav
//   kordavan-assets --sheet FILE.png OUTDIR  also writes a contact sheet
//   kordavan-assets --check FILE...          checks files a player brings
//   kordavan-assets --icons OUTDIR           writes the desktop icons
//   kordavan-assets --report DIR             prints the loudness of the sounds
//   kordavan-assets --compose GENERATED USERDIR ASSETDIR
//                                            the files to embed: the generated
//                                            ones, or the player's in their place
//                                            (USERDIR may be "": none)
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "catalogue.h"
#include "checker.h"
#include "contact_sheet.h"
#include "emblem.h"
#include "image_files.h"
#include "key_rules.h"
#include "mastering.h"
#include "report.h"
#include "text.h"
#include "user_folder.h"
#include "wave_file.h"

namespace {

int fail(const std::string& message) {
    std::fprintf(stderr, "kordavan-assets: %s\n", message.c_str());
    closeFonts();
    return 1;
}

std::vector<Picture> drawPictures() {
    std::vector<Picture> pictures;
    addTerrain(pictures);
    addSky(pictures);
    addHelicopter(pictures);
    addSprites(pictures);
    addHazards(pictures);
    addExplosion(pictures);
    addHud(pictures);
    addScreens(pictures);
    addCredits(pictures);
    addScreenFont(pictures);
    return pictures;
}

std::vector<Sound> makeSounds() {
    std::vector<Sound> sounds;
    addEffects(sounds);
    addMusic(sounds);
    return sounds;
}

std::string expectedSize(int id, int width, int height) {
    if (id == iconId) return width == 32 && height == 32 ? "" : "the icon must be 32 x 32";
    const PictureEntry* entry = findPicture(id);
    if (!entry) return "picture " + std::to_string(id) + " is not in the catalogue";
    if (entry->width != width || entry->height != height)
        return "picture " + std::to_string(id) + " is " + std::to_string(width) + " x " +
               std::to_string(height) + ", the game needs " + std::to_string(entry->width) + " x " +
               std::to_string(entry->height);
    return {};
}

// Loops must wrap without a click, one-shots must begin and end at silence.
std::string soundProblem(const SoundEntry& entry, const std::vector<uint8_t>& bytes) {
    auto distance = [](int a, int b) { return a > b ? a - b : b - a; };
    if (entry.loops) {
        if (distance(bytes.front(), bytes.back()) > 10) return "loop does not close smoothly";
        for (size_t i = 1; i < bytes.size(); ++i)
            if (distance(bytes[i], bytes[i - 1]) > 120) return "loop has a sudden jump";
        return {};
    }
    if (distance(bytes.front(), 128) > 3 || distance(bytes.back(), 128) > 3)
        return "one-shot does not start and end at silence";
    return {};
}

int generate(const std::string& outDir, const std::string& sheetPath) {
    std::error_code error;
    std::filesystem::create_directories(outDir, error);
    if (!std::filesystem::is_directory(outDir)) return fail("cannot create directory " + outDir);

    std::vector<SheetEntry> sheet;
    std::vector<bool> drawn(1000, false);
    for (const Picture& picture : drawPictures()) {
        Image image = toKeyedImage(picture.canvas);
        std::string problem = expectedSize(picture.id, image.width, image.height);
        if (problem.empty()) problem = keyRuleProblem(image);
        if (!problem.empty()) return fail("picture " + std::to_string(picture.id) + ": " + problem);
        std::string path = outDir + "/" + std::to_string(picture.id) + ".bmp";
        if (!writeBmp(path, image)) return fail("cannot write " + path);
        drawn[picture.id] = true;
        sheet.push_back({picture.id, std::move(image)});
    }
    for (const PictureEntry& entry : pictureCatalogue())
        if (!drawn[entry.id])
            return fail("picture " + std::to_string(entry.id) + " was never drawn");
    if (!drawn[iconId]) return fail("the window icon was never drawn");

    std::vector<bool> made(1000, false);
    for (const Sound& sound : makeSounds()) {
        const SoundEntry* entry = findSound(sound.id);
        if (!entry) return fail("sound " + std::to_string(sound.id) + " is not in the catalogue");
        if (static_cast<int>(sound.samples.size()) != entry->sampleBytes)
            return fail("sound " + std::to_string(sound.id) + " has the wrong length");
        Signal mastered = sound.samples;
        master(mastered, targetLoudness(entry->kind), entry->loops);
        std::vector<uint8_t> bytes =
            toEightBit(mastered, 0x9E37u + static_cast<uint32_t>(sound.id) * 7919u);
        std::string problem = soundProblem(*entry, bytes);
        if (!problem.empty()) return fail("sound " + std::to_string(sound.id) + ": " + problem);
        std::string path = outDir + "/" + std::to_string(sound.id) + ".wav";
        if (!writeWav(path, bytes)) return fail("cannot write " + path);
        made[sound.id] = true;
    }
    for (const SoundEntry& entry : soundCatalogue())
        if (!made[entry.id]) return fail("sound " + std::to_string(entry.id) + " was never made");

    if (!sheetPath.empty() && !writeContactSheet(sheetPath, sheet))
        return fail("cannot write " + sheetPath);
    closeFonts();
    return 0;
}

int usage() {
    std::fprintf(stderr,
                 "usage: kordavan-assets OUTDIR\n"
                 "       kordavan-assets --sheet FILE.png OUTDIR\n"
                 "       kordavan-assets --check FILE...\n"
                 "       kordavan-assets --icons OUTDIR\n"
                 "       kordavan-assets --report DIR\n"
                 "       kordavan-assets --compose GENERATED USERDIR ASSETDIR\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() >= 2 && args[0] == "--check") {
        int result = 0;
        for (size_t i = 1; i < args.size(); ++i)
            if (!checkUserFile(args[i])) result = 1;
        return result;
    }
    if (args.size() == 2 && args[0] == "--icons") {
        std::string problem = writeDesktopIcons(args[1]);
        return problem.empty() ? 0 : fail(problem);
    }
    if (args.size() == 2 && args[0] == "--report") return printLoudnessReport(args[1]);
    if (args.size() == 4 && args[0] == "--compose") return composeAssets(args[1], args[2], args[3]);
    if (args.size() == 3 && args[0] == "--sheet") return generate(args[2], args[1]);
    if (args.size() == 1 && args[0].rfind("--", 0) != 0) return generate(args[0], "");
    return usage();
}
