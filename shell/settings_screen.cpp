// The settings screen's pages and what the player's moves do on them.

#include "shell/settings_screen.h"

#include <sstream>
#include <utility>

#include "platform/warnings.h"
#include "shell/preferences.h"
#include "shell/rebinding.h"
#include "shell/recordings.h"
#include "shell/replay_choice.h"
#include "shell/screen_settings.h"

namespace {

constexpr const char* commandLineMark = " (command line)";

ScreenRow linkRow(RowDoes does, std::string label) {
    ScreenRow row;
    row.does = does;
    row.label = std::move(label);
    return row;
}

}  // namespace

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
    if (page == ScreenPage::replays) recordings = keptRecordings(recordingsFolder);
}

std::string SettingsScreenModel::heading() const {
    switch (shown) {
        case ScreenPage::settings:
            return "Settings";
        case ScreenPage::keys:
            return "Keys";
        case ScreenPage::pads:
            return "Pad buttons";
        case ScreenPage::replays:
            return "Watch a replay";
    }
    return {};
}

std::vector<ScreenRow> SettingsScreenModel::rows() const {
    std::vector<ScreenRow> out;
    switch (shown) {
        case ScreenPage::settings: {
            const Settings& settings = currentSettings();
            const auto shownSettings = screenSettings();
            for (size_t i = 0; i < shownSettings.size(); ++i) {
                ScreenRow row;
                row.does = RowDoes::setting;
                row.index = i;
                row.label = std::string(shownSettings[i].label);
                row.value = valueText(shownSettings[i], settings);
                if (givenOnCommandLine(shownSettings[i].name)) row.value += commandLineMark;
                row.steps = true;
                out.push_back(row);
            }
            out.push_back(linkRow(RowDoes::keysPage, "Keys..."));
            out.push_back(linkRow(RowDoes::padsPage, "Pad buttons..."));
            out.push_back(linkRow(RowDoes::replaysPage, "Watch a replay..."));
            out.push_back(linkRow(RowDoes::savePicture, "Save a picture"));
            out.push_back(linkRow(RowDoes::restoreDefaults, "Restore the defaults"));
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
    at = row < count ? row : count - 1;
}

void SettingsScreenModel::move(int direction) {
    if (captureKind) return;
    const size_t count = rows().size();
    at = direction < 0 ? (at + count - 1) % count : (at + 1) % count;
}

void SettingsScreenModel::step(int direction) {
    if (captureKind) return;
    const ScreenRow row = rows()[at];
    if (row.does != RowDoes::setting) return;
    const ScreenSetting& setting = screenSettings()[row.index];
    const int value = steppedValue(setting, currentSettings(), direction, false);
    if (value == tableRow(setting).fields.read(currentSettings())) return;
    std::ostringstream failure;
    said = changeSetting(file, setting, value, failure);
    if (!failure.str().empty()) platform::warnings() << failure.str();
}

ScreenRequest SettingsScreenModel::activate() {
    if (captureKind) return ScreenRequest::none;
    const ScreenRow row = rows()[at];
    switch (row.does) {
        case RowDoes::setting: {
            const ScreenSetting& setting = screenSettings()[row.index];
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
        case RowDoes::keysPage:
            showPage(ScreenPage::keys);
            said = "Return, then the new key, gives a control another key";
            return ScreenRequest::none;
        case RowDoes::padsPage:
            showPage(ScreenPage::pads);
            said = "Return, then the new button, gives a control another button";
            return ScreenRequest::none;
        case RowDoes::replaysPage:
            showPage(ScreenPage::replays);
            said = recordings.empty()
                       ? "No recordings yet: \"Record my games\" keeps them"
                       : std::to_string(recordings.size()) + " recordings, the newest first";
            return ScreenRequest::none;
        case RowDoes::replay:
            chooseReplay(recordings[row.index]);
            return ScreenRequest::close;
        case RowDoes::nothing:
            return ScreenRequest::none;
        case RowDoes::savePicture:
            return ScreenRequest::savePicture;
        case RowDoes::restoreDefaults: {
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

ScreenRequest SettingsScreenModel::back() {
    if (captureKind) {
        cancelCapture("Nothing changed");
        return ScreenRequest::none;
    }
    if (shown == ScreenPage::settings) return ScreenRequest::close;
    const ScreenPage from = shown;
    showPage(ScreenPage::settings);
    // Back on the row that led to the page left.
    for (size_t i = 0; i < rows().size(); ++i) {
        const RowDoes does = rows()[i].does;
        if ((from == ScreenPage::keys && does == RowDoes::keysPage) ||
            (from == ScreenPage::pads && does == RowDoes::padsPage) ||
            (from == ScreenPage::replays && does == RowDoes::replaysPage)) {
            at = i;
        }
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

void SettingsScreenModel::keyPressed(uint8_t code) {
    if (captureKind != BindingKind::key) return;
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
