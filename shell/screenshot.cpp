// Screenshots through libpng. The shown frame is the back buffer: it keeps
// its pixels after the flip until the next frame is drawn, and every poll of
// the keys comes between the two.

#include "shell/screenshot.h"

#include <png.h>

#include <iostream>
#include <string_view>

#include "gfx/display.h"
#include "platform/files.h"
#include "platform/pixel_widening.h"

namespace {

void appendBytes(png_structp png, png_bytep data, png_size_t length) {
    auto* out = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}

void flushNothing(png_structp) {}

// libpng reports its errors by jumping back to the setjmp; only plain
// values live in this function, so the jump finds nothing half made.
bool writePng(png_structp png, png_infop info, const platform::Surface& frame,
              std::vector<uint8_t>* out, uint32_t* row) {
    if (setjmp(png_jmpbuf(png))) return false;
    png_set_write_fn(png, out, appendBytes, flushNothing);
    png_set_IHDR(png, info, static_cast<png_uint_32>(frame.width),
                 static_cast<png_uint_32>(frame.height), 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    // ABGR words are the bytes R, G, B and a filler that libpng leaves out.
    png_set_filler(png, 0, PNG_FILLER_AFTER);
    const auto width = static_cast<size_t>(frame.width);
    for (size_t y = 0; y < static_cast<size_t>(frame.height); ++y) {
        platform::convertRgb565ToAbgr8888(frame.pixels.data() + y * width, row, width);
        png_write_row(png, reinterpret_cast<png_const_bytep>(row));
    }
    png_write_end(png, nullptr);
    return true;
}

std::string timeName(std::time_t when, int number) {
    std::tm local{};
    localtime_r(&when, &local);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y-%m-%d %H-%M-%S", &local);
    std::string name = std::string("Kordavan ") + stamp;
    if (number > 1) name += " (" + std::to_string(number) + ")";
    return name + ".png";
}

}  // namespace

std::vector<uint8_t> encodePng(const platform::Surface& frame) {
    std::vector<uint8_t> out;
    if (frame.width <= 0 || frame.height <= 0 ||
        frame.pixels.size() !=
            static_cast<size_t>(frame.width) * static_cast<size_t>(frame.height)) {
        return out;
    }
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png != nullptr ? png_create_info_struct(png) : nullptr;
    std::vector<uint32_t> row(static_cast<size_t>(frame.width));
    if (info == nullptr || !writePng(png, info, frame, &out, row.data())) out.clear();
    png_destroy_write_struct(&png, info != nullptr ? &info : nullptr);
    return out;
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
        error = "cannot write in " + folder.string() + ": " + reason;
        return {};
    }
    const std::string_view bytes(reinterpret_cast<const char*>(png.data()), png.size());
    // Two pictures in the same second get numbers; nothing is overwritten.
    for (int number = 1; number < 1000; ++number) {
        const std::filesystem::path name = folder / timeName(when, number);
        switch (platform::createFile(name, bytes, reason)) {
            case platform::CreateStatus::created:
                return name;
            case platform::CreateStatus::taken:
                continue;
            case platform::CreateStatus::failed:
                error = "cannot write " + name.string() + ": " + reason;
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
    if (saved.empty()) std::cerr << "kordavan: the screenshot is not saved: " << error << "\n";
}
