// The wait between frames every desktop back end shares: it sleeps in the
// system's own way until a message comes or the time is up, and never longer.
// A machine of its own here keeps the time, so nothing waits for real.

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <vector>

#include "platform/backend.h"
#include "tests/quiet_machine.h"

namespace {

using namespace platform;

// A machine whose clock moves only while it sleeps, with messages due at
// given times (microseconds).
class SleepingMachine final : public testmachine::QuietMachine {
  public:
    int64_t now = 0;
    std::vector<std::pair<int64_t, MessageKind>> due;
    std::vector<int64_t> sleeps;  // each sleep asked for, in microseconds
    bool hasWindow = true;

    void pumpEvents(std::deque<Message>& queue) override {
        while (!due.empty() && due.front().first <= now) {
            queue.push_back({due.front().second, 0});
            due.erase(due.begin());
        }
    }
    int64_t performanceCounter() override { return now; }

  protected:
    // Sleeps in steps of at most 4 ms, as a system that wakes now and then
    // for events of its own would, and wakes early for a message.
    bool sleepForEvents(std::deque<Message>&, int64_t microseconds) override {
        if (!hasWindow) return false;
        sleeps.push_back(microseconds);
        int64_t until = now + std::min<int64_t>(microseconds, 4000);
        if (!due.empty() && due.front().first < until) until = due.front().first;
        now = until;
        return true;
    }
};

TEST(EventWait, WithNothingComingItSleepsTheWholeTimeAndNoMore) {
    SleepingMachine machine;
    std::deque<Message> queue;
    machine.waitForEvents(queue, 16'667);
    EXPECT_EQ(machine.now, 16'667);
    EXPECT_TRUE(queue.empty());
    ASSERT_FALSE(machine.sleeps.empty());
    EXPECT_EQ(machine.sleeps.front(), 16'667) << "each sleep is for what is left";
    EXPECT_EQ(machine.sleeps.back(), 16'667 - 4 * 4000);
}

TEST(EventWait, AMessageEndsTheWaitAtOnce) {
    SleepingMachine machine;
    machine.due = {{5'500, MessageKind::FocusLost}};
    std::deque<Message> queue;
    machine.waitForEvents(queue, 16'667);
    EXPECT_EQ(machine.now, 5'500);
    ASSERT_EQ(queue.size(), 1u);
    EXPECT_EQ(queue.front().kind, MessageKind::FocusLost);
}

TEST(EventWait, AMessageAlreadyWaitingMeansNoSleep) {
    SleepingMachine machine;
    machine.due = {{0, MessageKind::Close}};
    std::deque<Message> queue;
    machine.waitForEvents(queue, 16'667);
    EXPECT_TRUE(machine.sleeps.empty());
    EXPECT_EQ(queue.size(), 1u);
}

TEST(EventWait, AMessageQueuedBeforeTheWaitDoesNotEndIt) {
    SleepingMachine machine;
    std::deque<Message> queue = {{MessageKind::Exposed, 0}};
    machine.waitForEvents(queue, 10'000);
    EXPECT_EQ(machine.now, 10'000) << "only a new message wakes the loop";
}

TEST(EventWait, NoTimeOrNoWindowMeansNoSleep) {
    SleepingMachine machine;
    std::deque<Message> queue;
    machine.waitForEvents(queue, 0);
    machine.waitForEvents(queue, -5);
    machine.hasWindow = false;
    machine.waitForEvents(queue, 16'667);
    EXPECT_EQ(machine.now, 0);
}

TEST(EventWait, ALongWaitEndsAfterTenSeconds) {
    SleepingMachine machine;
    std::deque<Message> queue;
    machine.waitForEvents(queue, 3'600'000'000);
    EXPECT_EQ(machine.now, 10'000'000);
}

}  // namespace
