// The settings screen's pages and what the player's moves do on them.

#include "shell/settings_menu.h"

#include <array>
#include <sstream>
#include <utility>

#include "platform/warnings.h"
#include "shell/preferences.h"
#include "shell/rebinding.h"
#include "shell/recordings.h"
#include "shell/replay_choice.h"
#include "shell/setting_changes.h"
#include "shell/settings_table.h"

namespace {

constexpr const char* commandLineMark = " (command line)";
constexpr const char* restoreQuestion =
    "Press Return again to restore every setting, key and button";

// The first page's rows below the settings, in order.
struct LinkRow {
    std::string_view label;
    RowDoes does;
    ScreenPage opens = ScreenPage::settings;  // for openPage
};

constexpr std::array firstPageLinks = {
    LinkRow{"Keys...", RowDoes::openPage, ScreenPage::keys},
    LinkRow{"Pad buttons...", RowDoes::openPage, ScreenPage::pads},
    LinkRow{"Watch a replay...", RowDoes::openPage, ScreenPage::replays},
    LinkRow{"Save a picture", RowDoes::savePicture},
    LinkRow{"Restore the defaults", RowDoes::restoreDefaults},
};

// Each page's heading, and what the line says as it opens (the replays'
// line counts them, so it is made when the page opens).
struct PageText {
    std::string_view heading;
    std::string_view opened;
};

constexpr std::array pageTexts = {
    PageText{"Settings", ""},
    PageText{"Keys", "Return, then the new key, gives a control another key"},
    PageText{"Pad buttons", "Return, then the new button, gives a control another button"},
    PageText{"Watch a replay", ""},
};

const PageText& textOf(ScreenPage page) {
    return pageTexts[static_cast<size_t>(page)];
}

ScreenRow linkRow(RowDoes does, std::string label) {
    ScreenRow row;
    row.does = does;
    row.label = std::move(label);
    return row;
}

}  // namespace

std::vector<std::string_view> firstPageLabels() {
    std::vector<std::string_view> labels;
    for (const SettingRow* row : screenRows()) labels.push_back(row->screenLabel);
    for (const LinkRow& link : firstPageLinks) labels.push_back(link.label);
    return labels;
}

SettingsScreenModel::SettingsScreenModel(std::filesystem::path settingsFile,
                                         std::filesystem::path recordings)
    : file(std::move(settingsFile)), recordingsFolder(std::move(recordings)) {}

void SettingsScreenModel::open() {
    showPage(ScreenPage::settings);
    said.clear();
}

void SettingsScreenModel::showPage(ScreenPage page) {
    shown = page;
    at = 0;
    captureKind.reset();
    restoreAsked = false;
    if (page == ScreenPage::replays) recordings = keptRecordings(recordingsFolder);
    pageRows = builtRows();
}

const std::vector<ScreenRow>& SettingsScreenModel::rows() const {
    if (shown != ScreenPage::replays) pageRows = builtRows();
    return pageRows;
}

std::string SettingsScreenModel::heading() const {
    return std::string(textOf(shown).heading);
}

std::vector<ScreenRow> SettingsScreenModel::builtRows() const {
    std::vector<ScreenRow> out;
    switch (shown) {
        case ScreenPage::settings: {
            const Settings& settings = currentSettings();
            const SettingRow* first = settingsTable().data();
            for (const SettingRow* setting : screenRows()) {
                ScreenRow row;
                row.does = RowDoes::setting;
                row.index = static_cast<size_t>(setting - first);
                row.label = std::string(setting->screenLabel);
                row.value = screenText(*setting, setting->fields.read(settings));
                if (givenOnCommandLine(setting->name)) row.value += commandLineMark;
                row.steps = true;
                out.push_back(row);
            }
            for (const LinkRow& link : firstPageLinks) {
                ScreenRow row = linkRow(link.does, std::string(link.label));
                row.index = static_cast<size_t>(link.opens);
                out.push_back(row);
            }
            break;
        }
        case ScreenPage::keys:
        case ScreenPage::pads: {
            const bool keys = shown == ScreenPage::keys;
            const KeyBindings& bindings = keyBindings();
            for (size_t control = 0; control < controlCount; ++control) {
                ScreenRow row;
                row.does = keys ? RowDoes::key : RowDoes::pad;
                row.index = control;
                row.label = controlLabel(control);
                row.value =
                    keys ? keyNames(bindings.keys[control]) : padNames(bindings.pads[control]);
                if (captureKind && captureControl == control) {
                    row.value = keys ? "press a key..." : "press a button...";
                }
                out.push_back(row);
            }
            break;
        }
        case ScreenPage::replays:
            for (size_t i = 0; i < recordings.size(); ++i) {
                ScreenRow row = linkRow(RowDoes::replay, recordings[i].stem().string());
                row.index = i;
                out.push_back(row);
            }
            if (recordings.empty()) out.push_back(linkRow(RowDoes::nothing, "No recordings yet"));
            break;
    }
    out.push_back(linkRow(RowDoes::back, "Back"));
    return out;
}

void SettingsScreenModel::select(size_t row) {
    if (captureKind) return;
    const size_t count = rows().size();
    if (row != at) dropQuestion();
    at = row < count ? row : count - 1;
}

void SettingsScreenModel::move(int direction) {
    if (captureKind) return;
    dropQuestion();
    const size_t count = rows().size();
    at = direction < 0 ? (at + count - 1) % count : (at + 1) % count;
}

void SettingsScreenModel::step(int direction) {
    if (captureKind) return;
    dropQuestion();
    const ScreenRow row = rows()[at];
    if (row.does != RowDoes::setting) return;
    const SettingRow& setting = settingsTable()[row.index];
    const int value = steppedValue(setting, currentSettings(), direction, false);
    if (value == setting.fields.read(currentSettings())) return;
    std::ostringstream failure;
    said = changeSetting(file, setting, value, failure);
    if (!failure.str().empty()) platform::warnings() << failure.str();
}

ScreenRequest SettingsScreenModel::activate() {
    if (captureKind) return ScreenRequest::none;
    const ScreenRow row = rows()[at];
    if (row.does != RowDoes::restoreDefaults) dropQuestion();
    switch (row.does) {
        case RowDoes::setting: {
            const SettingRow& setting = settingsTable()[row.index];
            std::ostringstream failure;
            said = changeSetting(file, setting, steppedValue(setting, currentSettings(), 1, true),
                                 failure);
            if (!failure.str().empty()) platform::warnings() << failure.str();
            return ScreenRequest::none;
        }
        case RowDoes::key:
        case RowDoes::pad:
            captureKind = row.does == RowDoes::key ? BindingKind::key : BindingKind::pad;
            captureControl = row.index;
            said =
                row.does == RowDoes::key
                    ? "Press the new key for " + row.label + " now (Escape: keep the old)"
                    : "Press the new pad button for " + row.label + " now (Escape: keep the old)";
            return row.does == RowDoes::key ? ScreenRequest::captureKey : ScreenRequest::capturePad;
        case RowDoes::openPage: {
            const auto page = static_cast<ScreenPage>(row.index);
            showPage(page);
            said = textOf(page).opened;
            if (page == ScreenPage::replays) {
                said = recordings.empty()
                           ? "No recordings yet: \"Record my games\" keeps them"
                           : std::to_string(recordings.size()) + " recordings, the newest first";
            }
            return ScreenRequest::none;
        }
        case RowDoes::replay:
            chooseReplay(recordings[row.index]);
            return ScreenRequest::close;
        case RowDoes::nothing:
            return ScreenRequest::none;
        case RowDoes::savePicture:
            return ScreenRequest::savePicture;
        case RowDoes::restoreDefaults: {
            // Every setting, key and button at once is too much for one slip.
            if (!std::exchange(restoreAsked, true)) {
                said = restoreQuestion;
                return ScreenRequest::none;
            }
            restoreAsked = false;
            std::ostringstream failure;
            said = restoreDefaults(file, failure);
            if (!failure.str().empty()) platform::warnings() << failure.str();
            return ScreenRequest::none;
        }
        case RowDoes::back:
            return back();
    }
    return ScreenRequest::none;
}

void SettingsScreenModel::dropQuestion() {
    if (!std::exchange(restoreAsked, false)) return;
    said = "Nothing restored";
}

ScreenRequest SettingsScreenModel::back() {
    dropQuestion();
    if (captureKind) {
        cancelCapture("Nothing changed");
        return ScreenRequest::none;
    }
    if (shown == ScreenPage::settings) return ScreenRequest::close;
    const ScreenPage from = shown;
    showPage(ScreenPage::settings);
    // Back on the row that led to the page left.
    const std::vector<ScreenRow> shownRows = rows();
    for (size_t i = 0; i < shownRows.size(); ++i) {
        const ScreenRow& row = shownRows[i];
        if (row.does == RowDoes::openPage && row.index == static_cast<size_t>(from)) at = i;
    }
    said.clear();
    return ScreenRequest::none;
}

void SettingsScreenModel::cancelCapture(const std::string& why) {
    captureKind.reset();
    said = why;
}

void SettingsScreenModel::captured(const BindingChange& change, BindingKind kind) {
    captureKind.reset();
    said = change.said;
    if (!change.changed) return;
    std::ostringstream failure;
    if (!saveBindings(file, keyBindings(), change.controls, kind, failure)) {
        said += "\nFor this run only: " + failureLine(failure.str(), file);
        platform::warnings() << failure.str();
    }
}

void SettingsScreenModel::displaySwitched() {
    if (captureKind != BindingKind::key) return;
    said =
        "F11 and Alt+Enter switch between window and full screen: they cannot be given. "
        "Press another key for " +
        controlLabel(captureControl) + " (Escape: keep the old)";
}

void SettingsScreenModel::keyPressed(uint8_t code) {
    if (captureKind != BindingKind::key) return;
    if (code == platform::DIK_F11) return displaySwitched();
    KeyBindings bindings = keyBindings();
    const BindingChange change = bindKey(bindings, captureControl, code);
    if (change.changed) useKeyBindings(bindings);
    captured(change, BindingKind::key);
}

void SettingsScreenModel::padPressed(PadButton button) {
    if (captureKind != BindingKind::pad) return;
    KeyBindings bindings = keyBindings();
    const BindingChange change = bindPad(bindings, captureControl, button);
    if (change.changed) useKeyBindings(bindings);
    captured(change, BindingKind::pad);
}
