#include "runtime/watchdog.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>

namespace brindle::runtime {
namespace {

using namespace std::chrono_literals;

// Works on this thread until the watchdog fires or, as a safety net, a few seconds pass.
void work_until(const std::atomic<bool>& fired) {
    const auto give_up = std::chrono::steady_clock::now() + 5s;
    while (!fired && std::chrono::steady_clock::now() < give_up) {
    }
}

// Only the watched thread's own work counts, disarming in time stops it, and a shorter limit after a
// longer one is not held up by the longer one's deadline.
TEST(WatchdogTest, FiresOnlyForAnArmingThatOverrunsItsLimit) {
    std::atomic<bool> fired = false;
    std::atomic<int> expiries = 0;
    Watchdog watchdog([&] {
        ++expiries;
        fired = true;
    });

    watchdog.arm(10s);
    EXPECT_FALSE(watchdog.disarm());

    watchdog.arm(20ms);
    work_until(fired);
    EXPECT_TRUE(fired);
    EXPECT_TRUE(watchdog.disarm());
    EXPECT_EQ(expiries, 1);

    fired = false;
    watchdog.arm(10s);
    EXPECT_FALSE(watchdog.disarm());
    watchdog.arm(20ms);
    work_until(fired);
    EXPECT_TRUE(watchdog.disarm());
    EXPECT_EQ(expiries, 2);
}

}  // namespace
}  // namespace brindle::runtime
