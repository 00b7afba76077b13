// Screenshots as PNG files, made by the platform's own encoder on every
// desktop. The shown frame is the back buffer: it keeps its pixels after the
// flip until the next frame is drawn, and every poll of the keys comes
// between the two.

#include "shell/screenshot.h"

#include <iostream>
#include <string_view>

#include "formats/picture_files.h"
#include "gfx/display.h"
#include "platform/files.h"
#include "platform/printable.h"
#include "platform/warnings.h"
#include "shell/time_names.h"

std::vector<uint8_t> encodePng(const platform::Surface& frame) {
    if (frame.width <= 0 || frame.height <= 0 ||
        frame.pixels.size() !=
            static_cast<size_t>(frame.width) * static_cast<size_t>(frame.height)) {
        return {};
    }
    return formats::encodePng(frame.width, frame.height, 3, formats::surfaceRgb(frame));
}

std::filesystem::path screenshotFolder() {
    const std::filesystem::path pictures = platform::picturesFolder();
    return pictures.empty() ? pictures : pictures / "Kordavan";
}

std::filesystem::path saveScreenshotFile(const std::vector<uint8_t>& png,
                                         const std::filesystem::path& folder, std::time_t when,
                                         std::string& error) {
    if (png.empty()) {
        error = "the picture could not be encoded";
        return {};
    }
    if (folder.empty()) {
        error = "there is no home folder to keep it in";
        return {};
    }
    std::string reason;
    if (!platform::makeFolders(folder, reason)) {
        error = "cannot write in " + shownName(platform::utf8Text(folder)) + ": " + reason;
        return {};
    }
    const std::string_view bytes(reinterpret_cast<const char*>(png.data()), png.size());
    // Two pictures in the same second get numbers; nothing is overwritten.
    for (int number = 1; number < 1000; ++number) {
        const std::filesystem::path name = folder / timeName(when, number, ".png");
        switch (platform::createFile(name, bytes, reason)) {
            case platform::CreateStatus::created:
                return name;
            case platform::CreateStatus::taken:
                continue;
            case platform::CreateStatus::failed:
                error = "cannot write " + shownName(platform::utf8Text(name)) + ": " + reason;
                return {};
        }
    }
    error = "too many pictures of the same second";
    return {};
}

void saveScreenshot() {
    if (backBuffer == nullptr) return;
    std::string error;
    const std::filesystem::path saved =
        saveScreenshotFile(encodePng(*backBuffer), screenshotFolder(), std::time(nullptr), error);
    if (saved.empty())
        platform::warnings() << "kordavan: the screenshot is not saved: " << error << "\n";
}
