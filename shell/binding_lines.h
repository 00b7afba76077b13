#pragma once
// A control's key-<control> or pad-<control> line in the settings file,
// written as the settings screen changes it: only that line changes, through
// the same careful replacing as every other setting.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <iosfwd>
#include <span>
#include <string>
#include <string_view>

#include "shell/key_bindings.h"

enum class BindingKind : uint8_t { key, pad };

// "key-left", "pad-land".
std::string bindingLineKey(size_t control, BindingKind kind);
// The file's text with the control's line saying what `bindings` say. A file
// without such a line, for a control that keeps its default, stays as it
// is: the default needs no line.
std::string withBinding(std::string_view text, const KeyBindings& bindings, size_t control,
                        BindingKind kind);
// The lines of these controls saved at once; false, with a line saying so,
// when they are not.
bool saveBindings(const std::filesystem::path& path, const KeyBindings& bindings,
                  std::span<const size_t> controls, BindingKind kind, std::ostream& warnings);
