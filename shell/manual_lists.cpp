// Putting the lists in place of their markers.

#include "shell/manual_lists.h"

#include <algorithm>
#include <vector>

std::optional<std::string> withLists(std::string_view page, std::span<const ManualList> lists) {
    std::string out;
    std::vector<bool> placed(lists.size(), false);
    while (!page.empty()) {
        const size_t end = page.find('\n');
        const std::string_view line = page.substr(0, end);
        page.remove_prefix(end == std::string_view::npos ? page.size() : end + 1);
        const auto list = std::find_if(lists.begin(), lists.end(), [line](const ManualList& list) {
            return list.marker == line;
        });
        if (list == lists.end()) {
            out += std::string(line) + "\n";
            continue;
        }
        out += list->text;
        placed[static_cast<size_t>(list - lists.begin())] = true;
    }
    if (std::find(placed.begin(), placed.end(), false) != placed.end()) return std::nullopt;
    return out;
}
