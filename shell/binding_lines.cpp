// The key-* and pad-* lines the settings screen writes.

#include "shell/binding_lines.h"

#include "shell/key_names.h"
#include "shell/pad_buttons.h"
#include "shell/settings_file.h"

std::string bindingLineKey(size_t control, BindingKind kind) {
    return std::string(kind == BindingKind::key ? "key-" : "pad-") +
           std::string(controlNames()[control]);
}

std::string withBinding(std::string_view text, const KeyBindings& bindings, size_t control,
                        BindingKind kind) {
    const KeyBindings defaults = defaultKeyBindings();
    const bool key = kind == BindingKind::key;
    const bool byDefault = key ? bindings.keys[control] == defaults.keys[control]
                               : bindings.pads[control] == defaults.pads[control];
    const std::string lineKey = bindingLineKey(control, kind);
    // An empty list is written as nothing after the equals sign.
    const std::string words =
        key ? (bindings.keys[control].empty() ? std::string() : keyNames(bindings.keys[control]))
            : (bindings.pads[control].empty() ? std::string() : padNames(bindings.pads[control]));
    if (byDefault) {
        bool hasLine = false;
        for (const SettingLine& line : settingLines(text)) {
            hasLine = hasLine || sameWord(line.key, lineKey);
        }
        if (!hasLine) return std::string(text);
    }
    return withLine(text, lineKey, words);
}

bool saveBindings(const std::filesystem::path& path, const KeyBindings& bindings,
                  std::span<const size_t> controls, BindingKind kind, std::ostream& warnings) {
    if (controls.empty()) return true;
    const std::string what = "the " + bindingLineKey(controls.front(), kind) + " line";
    return saveFileChange(
        path, what,
        [&](std::string_view text) {
            std::string changed(text);
            for (const size_t control : controls) {
                changed = withBinding(changed, bindings, control, kind);
            }
            return changed;
        },
        warnings);
}
