#pragma once
// The manual page's source holds a marker line where each list made from
// the game's tables goes (the options, the keys, the settings screen's
// rows...): a roff comment, so that the page without its lists still reads.

#include <optional>
#include <span>
#include <string>
#include <string_view>

// A list of the page and the marker line it takes the place of.
struct ManualList {
    std::string_view marker;
    std::string text;
};
// `page` with each list in place of its marker; empty when a marker is
// missing.
std::optional<std::string> withLists(std::string_view page, std::span<const ManualList> lists);
