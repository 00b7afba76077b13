#pragma once
// kordavan-trace's key script as the loop's source: each poll takes the next
// snapshot of held keys. It knows when the trace has seen enough, and when
// the script ran out where the game would wait for ever.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "game/loop_events.h"
#include "platform/headless.h"

class KeyScriptSource : public ControlSource {
  public:
    // steps: the steps to trace; none: until the script is used up.
    KeyScriptSource(std::vector<platform::headless::Snapshot> script, std::optional<int64_t> steps);

    Controls poll(LoopPhase phase, bool paused) override;
    void heard(const LoopEvent& event) override;
    bool done() const override { return finished; }

    // Why the run ended: 0 with no message when it was done, else 3 and a
    // message for a run the game would wait out for ever.
    int exitCode() const { return code; }
    const std::string& message() const { return why; }

  private:
    void finish(int exitCode, std::string message = {});

    std::vector<platform::headless::Snapshot> script;
    size_t next = 0;
    std::optional<int64_t> steps;
    int64_t stepsRun = 0;
    int64_t emptyTitleReads = 0;
    bool finished = false;
    int code = 0;
    std::string why;
};
