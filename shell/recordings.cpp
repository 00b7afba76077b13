// The recordings folder and its names.

#include "shell/recordings.h"

#include <algorithm>
#include <system_error>

#include "platform/files.h"
#include "platform/printable.h"
#include "shell/time_names.h"

namespace {

constexpr std::string_view prefix = "Kordavan ";
constexpr std::string_view suffix = ".replay";
// "2026-12-08 16-50-03": the digits and their separators.
constexpr std::string_view stampShape = "dddd-dd-dd dd-dd-dd";

// A file name as UTF-8 text: a wide name in another script stays whole.
std::string nameOf(const std::filesystem::path& path) {
    const std::u8string name = path.filename().u8string();
    return {name.begin(), name.end()};
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// The stamp and the number of a recording's name, which order the
// recordings the way they were made: the stamp's text sorts as its time.
struct Order {
    std::string stamp;
    int number = 1;
    bool operator<(const Order& other) const {
        return stamp != other.stamp ? stamp < other.stamp : number < other.number;
    }
};

bool readName(const std::string& name, Order& order) {
    if (name.size() < prefix.size() + stampShape.size() + suffix.size()) return false;
    if (name.compare(0, prefix.size(), prefix) != 0) return false;
    if (name.compare(name.size() - suffix.size(), suffix.size(), suffix) != 0) return false;
    const std::string stamp = name.substr(prefix.size(), stampShape.size());
    for (size_t i = 0; i < stampShape.size(); ++i) {
        if (stampShape[i] == 'd' ? !isDigit(stamp[i]) : stamp[i] != stampShape[i]) return false;
    }
    const std::string rest =
        name.substr(prefix.size() + stampShape.size(),
                    name.size() - prefix.size() - stampShape.size() - suffix.size());
    int number = 1;
    if (!rest.empty()) {
        // " (n)", n from 2 up, as a second recording of the same second is named.
        if (rest.size() < 4 || rest.compare(0, 2, " (") != 0 || rest.back() != ')') return false;
        const std::string digits = rest.substr(2, rest.size() - 3);
        if (digits.size() > 6 || digits.front() == '0' ||
            !std::all_of(digits.begin(), digits.end(), isDigit)) {
            return false;
        }
        number = std::stoi(digits);
        if (number < 2) return false;
    }
    order = {stamp, number};
    return true;
}

}  // namespace

std::filesystem::path recordingsFolder() {
    const std::filesystem::path settings = platform::settingsFolder();
    return settings.empty() ? settings : settings / "recordings";
}

std::string recordingName(std::time_t when, int number) {
    return timeName(when, number, suffix);
}

bool isRecordingName(const std::string& name) {
    Order order;
    return readName(name, order);
}

std::vector<std::filesystem::path> keptRecordings(const std::filesystem::path& folder) {
    std::vector<std::pair<Order, std::filesystem::path>> found;
    std::error_code error;
    for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end;
         it.increment(error)) {
        Order order;
        if (!it->is_regular_file(error)) continue;
        if (readName(nameOf(it->path()), order)) found.emplace_back(order, it->path());
    }
    std::sort(found.begin(), found.end(),
              [](const auto& a, const auto& b) { return b.first < a.first; });
    std::vector<std::filesystem::path> newestFirst;
    newestFirst.reserve(found.size());
    for (auto& [order, path] : found) newestFirst.push_back(std::move(path));
    return newestFirst;
}

bool pruneRecordings(const std::filesystem::path& folder, size_t keep, std::string& reason,
                     const std::filesystem::path& recording) {
    reason = platform::othersOwn(folder);
    if (!reason.empty()) return false;
    std::vector<std::filesystem::path> kept = keptRecordings(folder);
    // The file being recorded is the newest whatever its name says: a clock
    // put back, or recordings from another machine, name others later.
    const auto current = std::find_if(kept.begin(), kept.end(), [&](const auto& path) {
        return !recording.empty() && path.filename() == recording.filename();
    });
    if (current != kept.end()) std::rotate(kept.begin(), current, current + 1);
    bool allRemoved = true;
    for (size_t i = keep; i < kept.size(); ++i) {
        std::error_code error;
        if (!std::filesystem::remove(kept[i], error) && error) {
            reason = shownName(nameOf(kept[i])) + ": " + error.message();
            allRemoved = false;
        }
    }
    return allRemoved;
}
