// Looking up the control table.

#include "shell/control_table.h"

#include <algorithm>

#include "shell/key_names.h"
#include "shell/settings_file.h"

const std::array<std::string_view, controlCount>& controlNames() {
    static const std::array<std::string_view, controlCount> names = [] {
        std::array<std::string_view, controlCount> out;
        std::transform(std::begin(controlTable), std::end(controlTable), out.begin(),
                       [](const ControlRow& row) { return row.name; });
        return out;
    }();
    return names;
}

std::string controlNameList() {
    std::string list;
    for (const ControlRow& row : controlTable)
        list.append(list.empty() ? "" : " ").append(row.name);
    return list;
}

size_t controlIndex(std::string_view name) {
    const auto found =
        std::find_if(std::begin(controlTable), std::end(controlTable),
                     [name](const ControlRow& row) { return sameWord(name, row.name); });
    return static_cast<size_t>(found - std::begin(controlTable));
}

std::string controlLabel(size_t control) {
    std::string label(controlTable[control].name);
    if (!label.empty()) label[0] = static_cast<char>(label[0] - 'a' + 'A');
    return label;
}

uint8_t defaultKey(bool Controls::*member) {
    for (const ControlRow& row : controlTable) {
        if (row.member == member) return keyByName(row.keys.substr(0, row.keys.find(',')));
    }
    return 0;
}
