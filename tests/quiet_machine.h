#pragma once
// A machine for tests that only care about a few of the back end's calls:
// every other call does nothing and succeeds. A test overrides what it watches.

#include <algorithm>
#include <cstdint>
#include <deque>

#include "platform/backend.h"

namespace testmachine {

class QuietMachine : public platform::Backend {
  public:
    bool startVideo(const platform::Module*, int) override { return true; }
    void stopVideo() override {}
    bool openWindow(const char*, int, int) override { return true; }
    void closeWindow() override {}
    void setCursorVisible(bool) override {}
    platform::DesktopSize desktopSize() override { return {640, 480}; }
    void pumpEvents(std::deque<platform::Message>&) override {}
    void showMessageBox(const char*, const char*) override {}
    bool openScreen(int, int) override { return true; }
    void closeScreen() override {}
    void present(const platform::Surface&) override {}
    bool performanceFrequency(int64_t& frequency) override {
        frequency = 1'000'000;
        return true;
    }
    int64_t performanceCounter() override { return 0; }
    uint32_t milliseconds() override { return 0; }
    bool openAudio(platform::SoundDevice*) override { return true; }
    void closeAudio() override {}
    bool hasKeyboardFocus() override { return true; }
    void readKeys(uint8_t (&state)[256]) override { std::fill(state, state + 256, uint8_t{0}); }
};

}  // namespace testmachine
