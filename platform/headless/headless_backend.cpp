// A machine in memory, for tests and tools.

#include <cstdio>
#include <deque>
#include <map>

#include "platform/backend.h"
#include "platform/headless.h"

namespace platform::headless {

namespace {

class HeadlessBackend final : public Backend {
  public:
    std::vector<Call> record;
    std::map<std::string, int> failures;  // name -> calls to go before the failing one
    int64_t nowMicroseconds = 0;
    int64_t autoAdvance = 0;
    bool counterAvailable = true;
    bool focused = true;
    uint8_t keys[256] = {};
    bool scripted = false;
    std::deque<Snapshot> script;
    void (*onExhausted)() = nullptr;
    Surface shown;
    int flips = 0;
    int boxes = 0;
    std::string lastBox;
    std::deque<Message> pending;
    SoundDevice* audio = nullptr;
    int sampleRemainder = 0;
    bool videoStarted = false;
    PadState pad;
    int waits = 0;
    int64_t lastWait = 0;

    bool refuses(const char* call) override {
        auto it = failures.find(call);
        if (it == failures.end()) return false;
        if (--it->second > 0) return false;
        failures.erase(it);
        return true;
    }
    void note(const char* call, int serial) override { record.push_back(Call{call, serial}); }

    bool startVideo(const Module*, int) override {
        videoStarted = true;
        return true;
    }
    void stopVideo() override { videoStarted = false; }
    bool openWindow(const char*, int, int) override { return true; }
    void closeWindow() override {}
    void setCursorVisible(bool) override {}
    DesktopSize desktopSize() override { return {1920, 1080}; }
    void pumpEvents(std::deque<Message>& queue) override {
        while (!pending.empty()) {
            queue.push_back(pending.front());
            pending.pop_front();
        }
    }
    void waitForEvents(std::deque<Message>& queue, int64_t timeoutMicroseconds) override {
        ++waits;
        lastWait = timeoutMicroseconds;
        pumpEvents(queue);
    }
    void showMessageBox(const char* text, const char*) override {
        ++boxes;
        lastBox = text;
    }

    bool openScreen(int width, int height) override {
        shown.width = width;
        shown.height = height;
        shown.pixels.assign(static_cast<size_t>(width) * static_cast<size_t>(height), 0);
        return true;
    }
    void closeScreen() override {}
    void present(const Surface& backBuffer) override {
        shown.pixels = backBuffer.pixels;
        ++flips;
        // One display frame of sound: 22050 / 60 = 367.5 samples.
        sampleRemainder += 22050;
        const int samples = sampleRemainder / 60;
        sampleRemainder %= 60;
        if (audio != nullptr) mixSoundBuffers(audio, nullptr, samples);
    }

    bool performanceFrequency(int64_t& frequency) override {
        frequency = counterAvailable ? 1'000'000 : 0;
        return counterAvailable;
    }
    int64_t performanceCounter() override {
        nowMicroseconds += autoAdvance;
        return nowMicroseconds;
    }
    uint32_t milliseconds() override {
        nowMicroseconds += autoAdvance;
        return static_cast<uint32_t>(nowMicroseconds / 1000);
    }

    bool openAudio(SoundDevice* device) override {
        audio = device;
        return true;
    }
    void closeAudio() override { audio = nullptr; }

    bool hasKeyboardFocus() override { return focused; }
    void readKeys(uint8_t (&state)[256]) override {
        if (!scripted) {
            std::copy(std::begin(keys), std::end(keys), std::begin(state));
            return;
        }
        std::fill(std::begin(state), std::end(state), uint8_t{0});
        if (script.empty()) {
            if (onExhausted != nullptr) onExhausted();
            return;
        }
        for (uint8_t code : script.front()) state[code] = 0x80;
        script.pop_front();
    }
    PadState readPads() override { return pad; }

    void pressPointer(int x, int y) { notePointerPress(PicturePoint{x, y}); }

    void dropFile(const std::string& path) { noteDroppedFile(path); }

    void switchDisplay() { display.fullscreen = !display.fullscreen; }
};

HeadlessBackend* machine = nullptr;

HeadlessBackend& current() {
    if (machine == nullptr) use();
    return *machine;
}

}  // namespace

void use() {
    delete machine;
    machine = new HeadlessBackend;
    useBackend(machine);
    forgetPointerAndDrops();
}

const std::vector<Call>& calls() {
    return current().record;
}
void clearCalls() {
    current().record.clear();
}
void failCall(const std::string& name, int nth) {
    current().failures[name] = nth < 1 ? 1 : nth;
}

void setMicroseconds(int64_t now) {
    current().nowMicroseconds = now;
}
void advanceMicroseconds(int64_t delta) {
    current().nowMicroseconds += delta;
}
void setAutoAdvance(int64_t microsecondsPerRead) {
    current().autoAdvance = microsecondsPerRead;
}
void setPerformanceCounterAvailable(bool available) {
    current().counterAvailable = available;
}

void setKeys(const std::vector<uint8_t>& scanCodesDown) {
    HeadlessBackend& m = current();
    m.scripted = false;
    std::fill(std::begin(m.keys), std::end(m.keys), uint8_t{0});
    for (uint8_t code : scanCodesDown) m.keys[code] = 0x80;
}

void setFocus(bool focused) {
    current().focused = focused;
    current().pending.push_back(
        Message{focused ? MessageKind::FocusGained : MessageKind::FocusLost, 0});
}

void setKeyScript(std::vector<Snapshot> script, void (*onExhausted)()) {
    HeadlessBackend& m = current();
    m.scripted = true;
    m.script.assign(script.begin(), script.end());
    m.onExhausted = onExhausted;
}

size_t keyScriptRemaining() {
    return current().script.size();
}

void setPad(const PadState& pad) {
    current().pad = pad;
}

void pressPointer(int x, int y) {
    notePointerPress(PicturePoint{x, y});
}

void dropFile(const std::string& path) {
    noteDroppedFile(path);
}

void switchDisplay() {
    current().switchDisplay();
}

int waitCount() {
    return current().waits;
}
int64_t lastWaitMicroseconds() {
    return current().lastWait;
}

const Surface& screen() {
    return current().shown;
}
int flipCount() {
    return current().flips;
}
int messageBoxCount() {
    return current().boxes;
}
const std::string& lastMessageBox() {
    return current().lastBox;
}

void postSystemMessage(MessageKind kind) {
    current().pending.push_back(Message{kind, 0});
}

}  // namespace platform::headless
