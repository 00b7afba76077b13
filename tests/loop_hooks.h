#pragma once
// A test's ears on the loop: a listener that calls a test's functions before
// each step, after each step that goes on (with its result) and once an end
// picture has been dismissed (with 0), and after every frame.

#include <functional>
#include <utility>

#include "game/loop_events.h"

class StepHooks : public LoopListener {
  public:
    void set(std::function<void()> before, std::function<void(int)> after,
             std::function<void()> frame = nullptr) {
        beforeStep = std::move(before);
        afterStep = std::move(after);
        afterFrame = std::move(frame);
    }
    void heard(const LoopEvent& event) override {
        switch (event.kind) {
            case LoopEventKind::stepBegins:
                if (beforeStep) beforeStep();
                break;
            case LoopEventKind::stepRan:
                if (afterStep) afterStep(event.result);
                break;
            case LoopEventKind::endPictureDismissed:
                if (afterStep) afterStep(0);
                break;
            case LoopEventKind::frameEnded:
                if (afterFrame) afterFrame();
                break;
            default:
                break;
        }
    }

  private:
    std::function<void()> beforeStep;
    std::function<void(int)> afterStep;
    std::function<void()> afterFrame;
};
