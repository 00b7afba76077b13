// Screenshots through libpng. The shown frame is the back buffer: it keeps
// its pixels after the flip until the next frame is drawn, and every poll of
// the keys comes between the two.

#include "app/screenshot.h"

#include <fcntl.h>
#include <png.h>
#include <pwd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <sstream>

#include "gfx/display.h"
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

std::filesystem::path homeFolder() {
    const char* home = std::getenv("HOME");
    if (home == nullptr || home[0] == '\0') {
        const passwd* user = getpwuid(getuid());
        home = user != nullptr ? user->pw_dir : nullptr;
    }
    return home != nullptr && home[0] != '\0' ? std::filesystem::path(home)
                                              : std::filesystem::path();
}

// XDG_PICTURES_DIR="$HOME/Pictures" as xdg-user-dirs writes it: a quoted path,
// absolute or starting with $HOME.
std::filesystem::path picturesFromUserDirs(const std::filesystem::path& file,
                                           const std::filesystem::path& home) {
    std::ifstream in(file);
    std::string line;
    while (std::getline(in, line)) {
        const std::string key = "XDG_PICTURES_DIR=\"";
        if (line.rfind(key, 0) != 0) continue;
        const size_t close = line.find('"', key.size());
        if (close == std::string::npos) continue;
        std::string value = line.substr(key.size(), close - key.size());
        if (value.rfind("$HOME", 0) == 0) {
            if (home.empty()) continue;
            value = home.string() + value.substr(5);
        }
        // The home folder itself means "no pictures folder".
        if (std::filesystem::path(value).is_absolute() && value != home.string() &&
            value != home.string() + "/") {
            return value;
        }
    }
    return {};
}

bool writeAll(int descriptor, const std::vector<uint8_t>& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t written = ::write(descriptor, bytes.data() + done, bytes.size() - done);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return false;
        done += static_cast<size_t>(written);
    }
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
    const std::filesystem::path home = homeFolder();
    const char* config = std::getenv("XDG_CONFIG_HOME");
    const std::filesystem::path configFolder =
        config != nullptr && std::filesystem::path(config).is_absolute()
            ? std::filesystem::path(config)
            : (home.empty() ? std::filesystem::path() : home / ".config");
    std::filesystem::path pictures;
    if (!configFolder.empty())
        pictures = picturesFromUserDirs(configFolder / "user-dirs.dirs", home);
    if (pictures.empty() && !home.empty()) pictures = home / "Pictures";
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
    std::error_code made;
    std::filesystem::create_directories(folder, made);
    // Hidden, in the same folder so that the link cannot cross file systems,
    // and of this process alone.
    const std::filesystem::path temporary =
        folder / (".kordavan-screenshot." + std::to_string(getpid()) + ".tmp");
    const int descriptor =
        ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (descriptor < 0) {
        error = "cannot write in " + folder.string() + ": " + std::strerror(errno);
        return {};
    }
    const bool written = writeAll(descriptor, png) && ::fsync(descriptor) == 0;
    const int writeError = errno;
    ::close(descriptor);
    std::filesystem::path saved;
    if (!written) {
        error = "cannot write " + temporary.string() + ": " + std::strerror(writeError);
    } else {
        // A link, unlike a rename, fails on a name already taken: two pictures
        // in the same second get numbers, and nothing is overwritten.
        for (int number = 1; number < 1000 && saved.empty(); ++number) {
            const std::filesystem::path name = folder / timeName(when, number);
            if (::link(temporary.c_str(), name.c_str()) == 0) {
                saved = name;
            } else if (errno != EEXIST) {
                error = "cannot write " + name.string() + ": " + std::strerror(errno);
                break;
            }
        }
        if (saved.empty() && error.empty()) error = "too many pictures of the same second";
    }
    ::unlink(temporary.c_str());
    return saved;
}

void saveScreenshot() {
    if (backBuffer == nullptr) return;
    std::string error;
    const std::filesystem::path saved =
        saveScreenshotFile(encodePng(*backBuffer), screenshotFolder(), std::time(nullptr), error);
    if (saved.empty()) std::cerr << "Kordavan: the screenshot is not saved: " << error << "\n";
}
