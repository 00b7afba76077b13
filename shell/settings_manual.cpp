// The manual page's lists. roff wants a minus sign written \-, a backslash
// \e, and nothing at the start of a line that a dot or quote could make a
// request of; each sentence starts a line of its own, so that it is spaced
// as one.

#include "shell/settings_manual.h"

#include <algorithm>
#include <vector>

#include "shell/key_bindings.h"
#include "shell/options.h"
#include "shell/settings_menu.h"
#include "shell/settings_table.h"

namespace {

std::string roff(std::string_view text) {
    std::string out;
    for (char c : text) {
        if (c == '-')
            out += "\\-";
        else if (c == '\\')
            out += "\\e";
        else
            out += c;
    }
    if (!out.empty() && (out.front() == '.' || out.front() == '\'')) out.insert(0, "\\&");
    return out;
}

// Whole sentences, one a line.
std::string sentences(std::string_view text) {
    std::string out;
    while (!text.empty()) {
        size_t end = text.find(". ");
        end = end == std::string_view::npos ? text.size() : end + 1;
        out += roff(text.substr(0, end)) + "\n";
        text.remove_prefix(std::min(text.size(), end + 1));
    }
    return out;
}

std::string capitalised(std::string text) {
    if (!text.empty() && text.front() >= 'a' && text.front() <= 'z') text.front() -= 'a' - 'A';
    return text;
}

// A string argument of a macro: quoted when it holds a space.
std::string argument(std::string_view text) {
    const std::string escaped = roff(text);
    return text.find(' ') == std::string_view::npos ? escaped : "\"" + escaped + "\"";
}

}  // namespace

std::string manualOptions() {
    std::string out;
    for (const SettingRow& row : settingsTable()) {
        if (!(row.place & commandLine)) continue;
        out += ".TP\n";
        const std::string name = roff("--" + std::string(row.name));
        if (row.argument.empty())
            out += ".B " + name + "\n";
        else
            out += ".BI " + name + " \" " + roff(row.argument) + "\"\n";
        out += sentences(capitalised(optionHelp(row)) + ".");
        if (!row.details.empty()) out += sentences(row.details);
    }
    return out;
}

std::string manualFileKeys() {
    std::string out;
    for (const SettingRow& row : settingsTable()) {
        if (!(row.place & settingsFile)) continue;
        out += ".TP\n";
        const std::string name = roff(row.name);
        std::string help(row.help);
        if (row.kind == SettingKind::number) {
            out += ".BI \"" + name + " = \" " + roff(row.argument) + "\n";
            help += "; " + std::string(row.argument) + " from " + std::to_string(fileLow(row)) +
                    " to " + std::to_string(row.high) + ", by default " +
                    (row.defaultText.empty()
                         ? std::to_string(row.byDefault)
                         : std::to_string(row.byDefault) + ", " + std::string(row.defaultText));
        } else {
            out += ".BR " + name + " \" = \"";
            const std::string words =
                row.kind == SettingKind::flag ? "yes|no" : std::string(row.words);
            std::string_view rest = words;
            for (bool first = true; !rest.empty(); first = false) {
                const size_t bar = rest.find('|');
                out += (first ? " " : " | ") + argument(rest.substr(0, bar));
                rest.remove_prefix(bar == std::string_view::npos ? rest.size() : bar + 1);
            }
            out += "\n";
            help += ", by default " + settingText(row, row.byDefault);
        }
        out += roff(help) + "\n";
    }
    out +=
        ".TP\n"
        ".BI key\\- control \" = \" \"key\" \", ...\"\n"
        "the keys for a control, replacing its default keys\n"
        ".TP\n"
        ".BI pad\\- control \" = \" \"button\" \", ...\"\n"
        "the gamepad buttons for a control\n";
    return out;
}

namespace {

// "a, b and c.", a word a line in the font `macro` (.BR, .IR) names.
std::string roffList(std::string_view macro, const std::vector<std::string>& words) {
    std::string out;
    for (size_t index = 0; index < words.size(); ++index) {
        const char* after = index + 1 == words.size()   ? " ."
                            : index + 2 == words.size() ? " \" and\""
                                                        : " ,";
        out += std::string(macro) + " " + words[index] + after + "\n";
    }
    return out;
}

}  // namespace

std::string manualControls() {
    std::vector<std::string> names;
    for (std::string_view name : controlNames()) names.push_back(roff(name));
    return "The controls are\n" + roffList(".BR", names);
}

std::string manualScreenRows() {
    std::vector<std::string> labels;
    for (std::string_view label : firstPageLabels()) labels.push_back(argument(label));
    return roffList(".IR", labels);
}

std::optional<std::string> manualPage(std::string_view page) {
    const ManualList lists[] = {{manualOptionsMarker, manualOptions()},
                                {manualFileKeysMarker, manualFileKeys()},
                                {manualControlsMarker, manualControls()},
                                {manualScreenMarker, manualScreenRows()}};
    return withLists(page, lists);
}
