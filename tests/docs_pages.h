#pragma once
// Reading the project's own pages in tests that check them against the
// game's tables: a file's text, and the rows of a Markdown table.

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

inline std::string fileText(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The rows of the first Markdown table under `heading` in a page, as
// written, its header and rule left out.
inline std::vector<std::string> markdownRows(const std::string& page, const std::string& heading) {
    std::vector<std::string> rows;
    const size_t section = page.find("\n" + heading + "\n");
    if (section == std::string::npos) return rows;
    std::istringstream lines(page.substr(section + heading.size() + 2));
    std::string line;
    bool inTable = false;
    while (std::getline(lines, line)) {
        if (!line.starts_with("|")) {
            if (inTable) break;
            continue;
        }
        inTable = true;
        rows.push_back(line);
    }
    if (rows.size() >= 2) rows.erase(rows.begin(), rows.begin() + 2);
    return rows;
}
