#pragma once
// What the settings screen holds, without drawing it: its pages, their rows
// with their values in words, the row the player is on, what a move does,
// and the line that says what happened. The screen that draws it and reads
// the player's keys, pads and pointer is the application's.
//
// The first page holds the settings table's rows that carry a screen label,
// then its links: the ways to the other pages (the keys, one row a control;
// the pad buttons, likewise; the recordings to watch) and the rows that do
// something at once. A link is one line of a list in settings_menu.cpp.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "shell/binding_lines.h"
#include "shell/key_bindings.h"

enum class ScreenPage : uint8_t { settings, keys, pads, replays };

enum class RowDoes : uint8_t {
    setting,   // index: of settingsTable()
    key,       // index: the control
    pad,       // index: the control
    openPage,  // index: the ScreenPage it opens
    replay,    // index: of the recordings listed
    nothing,   // a line that only says something
    savePicture,
    restoreDefaults,
    back,
};

struct ScreenRow {
    RowDoes does = RowDoes::nothing;
    size_t index = 0;
    std::string label;
    std::string value;   // at the right; may be empty
    bool steps = false;  // Left and Right change it
};

// The first page's labels, in order, without its Back: the settings, then
// the links. The manual page lists them, and the docs are checked against them.
std::vector<std::string_view> firstPageLabels();

// What the screen itself must do after a move of the player's.
enum class ScreenRequest : uint8_t { none, captureKey, capturePad, savePicture, close };

class SettingsScreenModel {
  public:
    SettingsScreenModel(std::filesystem::path settingsFile, std::filesystem::path recordings);

    // The first page, on its first row, with nothing said yet.
    void open();
    ScreenPage page() const { return shown; }
    std::string heading() const;
    const std::vector<ScreenRow>& rows() const;
    size_t selected() const { return at; }
    void select(size_t row);
    // Up (-1) or down (1), round the page.
    void move(int direction);
    // Left (-1) or Right (1) on the row the player is on.
    void step(int direction);
    // Return, pad A, a press on the row. "Restore the defaults" asks first
    // and does it on the next Return; any other press drops the question.
    ScreenRequest activate();
    void dropQuestion();
    // Escape, pad B: a page goes back to the first, the first closes.
    ScreenRequest back();

    // While the player is asked to press the new key or button.
    std::optional<BindingKind> capturing() const { return captureKind; }
    void keyPressed(uint8_t code);
    void padPressed(PadButton button);
    void cancelCapture(const std::string& why);
    // F11 or Alt+Enter switched the display while a key was asked for: it
    // is not given, and the question stays.
    void displaySwitched();

    // The lines that say what happened, '\n' between them; empty for none.
    const std::string& message() const { return said; }
    void say(std::string text) { said = std::move(text); }

  private:
    void showPage(ScreenPage page);
    std::vector<ScreenRow> builtRows() const;
    void captured(const struct BindingChange& change, BindingKind kind);

    std::filesystem::path file;
    std::filesystem::path recordingsFolder;
    ScreenPage shown = ScreenPage::settings;
    size_t at = 0;
    std::vector<std::filesystem::path> recordings;
    // The page's rows as last asked for. The replays' are made once, as the
    // page opens: a folder may hold thousands, and a frame that made them
    // again would cost as much as the folder holds. The other pages show
    // values that change, and are made at every ask.
    mutable std::vector<ScreenRow> pageRows;
    std::optional<BindingKind> captureKind;
    size_t captureControl = 0;
    bool restoreAsked = false;
    std::string said;
};
