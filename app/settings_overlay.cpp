// The settings screen's frames: the player's presses in, the picture out.

#include "app/settings_overlay.h"

#include <ctime>
#include <deque>
#include <string>
#include <utility>

#include "app/keyboard.h"
#include "app/screen_keys.h"
#include "app/settings_painter.h"
#include "gfx/display.h"
#include "platform/warnings.h"
#include "shell/key_bindings.h"
#include "shell/recordings.h"
#include "shell/screenshot.h"
#include "shell/settings_file.h"
#include "shell/settings_menu.h"

namespace {

using namespace platform;

// A pad button waited for this many frames (ten seconds) is given up: a
// player without a pad in hand is not kept on the question.
constexpr int padWaitFrames = 600;

// What the player holds, as the screen reads it: each meaning held or not.
struct Held {
    bool up = false;
    bool down = false;
    bool left = false;
    bool right = false;
    bool enter = false;
    bool back = false;
    bool close = false;
    bool picture = false;
};

Held heldNow(const ScreenKeys& keys) {
    Held held;
    held.up = keys.held(ScreenMeaning::up);
    held.down = keys.held(ScreenMeaning::down);
    held.left = keys.held(ScreenMeaning::left);
    held.right = keys.held(ScreenMeaning::right);
    held.enter = keys.held(ScreenMeaning::enter);
    held.back = keys.held(ScreenMeaning::back);
    held.close = keys.held(ScreenMeaning::close);
    held.picture = keys.held(ScreenMeaning::picture);
    return held;
}

// Alt is a key a control may have, and half of Alt+Enter and Alt+F4 too: a
// capture takes it as it is let go, if nothing else came while it was held.
bool isAlt(int code) {
    return code == DIK_LMENU || code == DIK_RMENU;
}

// An arrow held down moves again after 0.4 s and then ten times a second, as
// in any list. One that went down while the screen could not act on it (as
// it opened, or while a key was being bound) waits to go up.
class ArrowRepeat {
  public:
    bool moves(bool held, bool acting) {
        if (!held) {
            frames = 0;
            return false;
        }
        if (frames++ == 0) live = acting;
        if (!live || !acting) return false;
        return frames == 1 || (frames > delayFrames && (frames - delayFrames) % everyFrames == 0);
    }

  private:
    static constexpr int delayFrames = 24;
    static constexpr int everyFrames = 6;
    int frames = 0;
    bool live = false;
};

class SettingsOverlay : public OverlayScreen {
  public:
    SettingsOverlay(const std::filesystem::path& file, const std::filesystem::path& recordings)
        : model(file, recordings) {}

    void open(LoopPhase) override {
        if (backBuffer != nullptr) under = *backBuffer;
        model.open();
        top = 0;
        first = true;
        closing = false;
        padWait = 0;
        up = down = left = right = ArrowRepeat{};
        screenKeys = ScreenKeys{};
        altWaiting = 0;
        shownFullscreen = displayOptions().fullscreen;
    }

    bool frame(const DeviceInput& input) override {
        const KeySnapshot& keys = input.keys;
        const PadState& pad = input.pad;
        presses.insert(presses.end(), input.presses.begin(), input.presses.end());
        if (first) screenKeys.hush(keys, pad);
        const bool fullscreen = displayOptions().fullscreen;
        switched = fullscreen != shownFullscreen;
        shownFullscreen = fullscreen;
        screenKeys.look(keys, pad);
        const Held held = heldNow(screenKeys);
        const bool acting = !first && !closing && !model.capturing();
        const Moves moves{up.moves(held.up, acting), down.moves(held.down, acting),
                          left.moves(held.left, acting), right.moves(held.right, acting)};
        if (first) {
            // What was down as the screen opened (the settings key itself)
            // must go up before it counts, and a press on the title before
            // it opened is not one on the screen.
            presses.clear();
            first = false;
        } else if (!closing) {
            if (model.capturing()) {
                capture(keys, pad);
                // The key just given, and all held with it, act only once let go.
                if (!model.capturing()) screenKeys.hush(keys, pad);
            } else {
                act(held, moves);
            }
        }
        before = held;
        beforeKeys = keys;
        beforePad = pad;
        if (backBuffer == nullptr) return !closing;
        if (closing) {
            // The frame it opened over, until every key that closes it is up
            // (a stick that drifts must not keep it open).
            if (backBuffer->pixels.size() == under.pixels.size()) backBuffer->pixels = under.pixels;
            return held.enter || held.back || held.close;
        }
        top = firstShownRow(top, model.selected(), model.rows().size());
        paintSettingsScreen(*backBuffer, under, model, top);
        return true;
    }

  private:
    bool pressed(bool now, bool was) const { return now && !was; }

    struct Moves {
        bool up, down, left, right;
    };

    void act(const Held& held, const Moves& moves) {
        if (screenKeys.pressedOtherThanEnter()) model.dropQuestion();
        if (pressed(held.close, before.close)) return close();
        if (pressed(held.picture, before.picture)) savePicture();
        if (moves.up) model.move(-1);
        if (moves.down) model.move(1);
        if (moves.left) model.step(-1);
        if (moves.right) model.step(1);
        if (pressed(held.enter, before.enter)) request(model.activate());
        if (!closing && pressed(held.back, before.back)) request(model.back());
        PicturePoint point;
        while (!closing && !model.capturing() && takePress(point)) pointAt(point);
    }

    void pointAt(PicturePoint point) {
        const PointerTarget target = pointerTarget(point, model, top);
        switch (target.what) {
            case PointerTarget::What::nothing:
                model.dropQuestion();
                break;
            case PointerTarget::What::back:
                request(model.back());
                break;
            case PointerTarget::What::lessArrow:
                model.dropQuestion();
                model.step(-1);
                break;
            case PointerTarget::What::row:
                model.select(target.row);
                request(model.activate());
                break;
        }
    }

    void capture(const KeySnapshot& keys, const PadState& pad) {
        PicturePoint point;
        bool pointed = false;
        while (takePress(point)) pointed = true;
        if (pointed) return model.cancelCapture("Nothing changed");
        if (*model.capturing() == BindingKind::key) return captureKey(keys, pad);
        if (pressed(keys.isDown(DIK_ESCAPE), beforeKeys.isDown(DIK_ESCAPE))) {
            return model.cancelCapture("Nothing changed");
        }
        for (int button = 0; button <= static_cast<int>(PadButton::back); ++button) {
            const auto which = static_cast<PadButton>(button);
            if (pressed(padButtonHeld(pad, which), padButtonHeld(beforePad, which))) {
                padWait = 0;
                return model.padPressed(which);
            }
        }
        if (++padWait >= padWaitFrames) {
            padWait = 0;
            model.cancelCapture("No button came: nothing changed");
        }
    }

    // F11 and Alt+Enter switch the display whenever they are pressed, so
    // neither is ever given: the question stays, and says why.
    void captureKey(const KeySnapshot& keys, const PadState& pad) {
        if (pressed(pad.east, beforePad.east)) return model.cancelCapture("Nothing changed");
        if (switched) {
            altWaiting = 0;
            return model.displaySwitched();
        }
        for (int code = 1; code < 256; ++code) {
            if (!keys.isDown(code) || beforeKeys.isDown(code)) continue;
            if (code == DIK_ESCAPE) return model.cancelCapture("Nothing changed");
            if (isAlt(code)) {
                altWaiting = code;
                continue;
            }
            altWaiting = 0;
            return model.keyPressed(static_cast<uint8_t>(code));
        }
        if (altWaiting != 0 && !keys.isDown(altWaiting)) {
            const int alt = std::exchange(altWaiting, 0);
            model.keyPressed(static_cast<uint8_t>(alt));
        }
    }

    void request(ScreenRequest what) {
        switch (what) {
            case ScreenRequest::none:
            case ScreenRequest::captureKey:
                break;
            case ScreenRequest::capturePad:
                padWait = 0;
                break;
            case ScreenRequest::savePicture:
                savePicture();
                break;
            case ScreenRequest::close:
                close();
                break;
        }
    }

    void close() { closing = true; }

    // Presses come in with the frame's devices; one that came with another
    // (two in a frame) waits its turn, as the pointer's own queue kept it.
    bool takePress(PicturePoint& point) {
        if (presses.empty()) return false;
        point = presses.front();
        presses.pop_front();
        return true;
    }

    // The game's frame under the screen, not the screen itself.
    void savePicture() {
        std::string error;
        const std::filesystem::path saved =
            saveScreenshotFile(encodePng(under), screenshotFolder(), std::time(nullptr), error);
        if (saved.empty()) {
            warnings() << "kordavan: the picture is not saved: " << error << "\n";
            model.say("The picture is not saved: " + error);
        } else {
            model.say("Picture saved: " + saved.filename().string());
        }
    }

    SettingsScreenModel model;
    Surface under;
    size_t top = 0;
    bool first = true;
    bool closing = false;
    int padWait = 0;
    ArrowRepeat up, down, left, right;
    ScreenKeys screenKeys;
    int altWaiting = 0;  // an Alt pressed while a key is asked for, taken as it goes up
    bool shownFullscreen = true;
    bool switched = false;  // between window and full screen since the last frame
    Held before;
    KeySnapshot beforeKeys;
    PadState beforePad;
    std::deque<PicturePoint> presses;  // not yet acted on
};

}  // namespace

OverlayScreen& settingsOverlay() {
    static SettingsOverlay overlay(settingsPath(), recordingsFolder());
    return overlay;
}

std::unique_ptr<OverlayScreen> makeSettingsOverlay(const std::filesystem::path& settingsFile,
                                                   const std::filesystem::path& recordings) {
    return std::make_unique<SettingsOverlay>(settingsFile, recordings);
}
