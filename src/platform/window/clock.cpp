#include "platform/window/clock.h"

#include <chrono>
#include <thread>

namespace win {
namespace {

class SystemClock : public Clock {
  public:
    std::uint64_t nowMs() override {
        using namespace std::chrono;
        return static_cast<std::uint64_t>(
            duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
    }
    void sleepUntil(std::uint64_t ms) override {
        const std::uint64_t now = nowMs();
        if (ms > now) std::this_thread::sleep_for(std::chrono::milliseconds(ms - now));
    }
};

SystemClock systemClock;
Clock* installed = nullptr;

}  // namespace

Clock& currentClock() {
    return installed ? *installed : systemClock;
}
void setClock(Clock* clock) {
    installed = clock;
}
bool clockIsFake() {
    return installed != nullptr && dynamic_cast<FakeClock*>(installed) != nullptr;
}

}  // namespace win
