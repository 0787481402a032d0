#pragma once
// The time source behind timers, message times and GetTickCount. Tests put a
// fake clock in its place so that timers fire when the test says, not when
// the machine gets round to it.

#include <cstdint>

namespace win {

class Clock {
  public:
    virtual ~Clock() = default;
    // Milliseconds since an arbitrary start.
    virtual std::uint64_t nowMs() = 0;
    // Returns once nowMs() has reached `ms` or the presenter has input.
    virtual void sleepUntil(std::uint64_t ms) = 0;
};

// A clock that moves only when told to, or when the message wait has nothing
// to do but wait for a timer (then it jumps straight to the timer).
class FakeClock : public Clock {
  public:
    std::uint64_t nowMs() override { return now_; }
    void sleepUntil(std::uint64_t ms) override {
        if (ms > now_) now_ = ms;
    }
    void advance(std::uint64_t ms) { now_ += ms; }

  private:
    std::uint64_t now_ = 1000;
};

// The clock in use: the monotonic system clock unless one was installed.
Clock& currentClock();
// Installs a clock (not owned); nullptr goes back to the system clock.
void setClock(Clock* clock);
// True when the clock in use is a fake one (the wait may jump it forward).
bool clockIsFake();

}  // namespace win
