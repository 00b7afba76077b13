// The Windows back end's sound: the mixer's 22050 Hz mono samples go to the
// system's wave output (every Windows has it, and Windows converts to what
// the device wants), a few short blocks queued ahead by a thread of our own.

#include <array>
#include <cstring>

#include "platform/windows/win_machine.h"

namespace platform::windows {

namespace {

constexpr int sampleRate = 22050;
// About 23 ms of sound a block and four of them queued: short enough that
// an explosion follows its flash, long enough not to starve on a busy machine.
constexpr int blockFrames = 512;
constexpr int blockCount = 4;

struct Block {
    WAVEHDR header{};
    std::array<int16_t, blockFrames> samples{};
};

std::array<Block, blockCount> blocks;

}  // namespace

bool WinBackend::openAudio(SoundDevice* device) {
    if (mixing) return false;
    soundDevice = device;
    if (silentAudio) {
        mixing = true;
        mixer = std::thread([this] { silentLoop(); });
        return true;
    }
    audioEvent = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    if (audioEvent == nullptr) return false;
    WAVEFORMATEX format{};
    format.wFormatTag = WAVE_FORMAT_PCM;
    format.nChannels = 1;
    format.nSamplesPerSec = sampleRate;
    format.wBitsPerSample = 16;
    format.nBlockAlign = 2;
    format.nAvgBytesPerSec = sampleRate * 2;
    if (waveOutOpen(&waveOut, WAVE_MAPPER, &format, reinterpret_cast<DWORD_PTR>(audioEvent), 0,
                    CALLBACK_EVENT) != MMSYSERR_NOERROR) {
        waveOut = nullptr;
        CloseHandle(audioEvent);
        audioEvent = nullptr;
        return false;
    }
    for (Block& block : blocks) {
        block.header = WAVEHDR{};
        block.header.lpData = reinterpret_cast<LPSTR>(block.samples.data());
        block.header.dwBufferLength = sizeof block.samples;
        waveOutPrepareHeader(waveOut, &block.header, sizeof block.header);
        // Marked done, so the mixer fills every block at its first turn.
        block.header.dwFlags |= WHDR_DONE;
    }
    mixing = true;
    mixer = std::thread([this] { mixLoop(); });
    return true;
}

void WinBackend::mixLoop() {
    // Sound that stutters is worse than a frame that comes a hair late.
    SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_TIME_CRITICAL);
    while (mixing) {
        for (Block& block : blocks) {
            if ((block.header.dwFlags & WHDR_DONE) == 0) continue;
            block.header.dwFlags &= ~static_cast<DWORD>(WHDR_DONE);
            block.samples.fill(0);
            {
                const std::lock_guard<std::mutex> hold(audioLock);
                mixSoundBuffers(soundDevice, block.samples.data(), blockFrames);
            }
            waveOutWrite(waveOut, &block.header, sizeof block.header);
        }
        WaitForSingleObject(audioEvent, 100);
    }
}

void WinBackend::silentLoop() {
    // Plays nowhere, but moves the sounds on at the pace a real device would,
    // so the game sounds and ends its sounds the same without a sound card.
    LARGE_INTEGER frequency;
    LARGE_INTEGER start;
    LARGE_INTEGER now;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    int64_t mixed = 0;
    while (mixing) {
        QueryPerformanceCounter(&now);
        const int64_t due = (now.QuadPart - start.QuadPart) * sampleRate / frequency.QuadPart;
        if (due - mixed >= blockFrames) {
            const std::lock_guard<std::mutex> hold(audioLock);
            mixSoundBuffers(soundDevice, nullptr, blockFrames);
            mixed += blockFrames;
            continue;
        }
        Sleep(static_cast<DWORD>((blockFrames - (due - mixed)) * 1000 / sampleRate + 1));
    }
}

void WinBackend::closeAudio() {
    if (!mixing) return;
    mixing = false;
    if (audioEvent != nullptr) SetEvent(audioEvent);
    if (mixer.joinable()) mixer.join();
    if (waveOut != nullptr) {
        waveOutReset(waveOut);
        for (Block& block : blocks) {
            waveOutUnprepareHeader(waveOut, &block.header, sizeof block.header);
        }
        waveOutClose(waveOut);
        waveOut = nullptr;
    }
    if (audioEvent != nullptr) CloseHandle(audioEvent);
    audioEvent = nullptr;
    soundDevice = nullptr;
}

void WinBackend::lockAudio() {
    audioLock.lock();
}

void WinBackend::unlockAudio() {
    audioLock.unlock();
}

void WinBackend::setSilentAudio(bool silent) {
    silentAudio = silent;
}

}  // namespace platform::windows
