#pragma once
// Stops work that has taken too much processor time, from a thread of its own: the watched thread
// pays a lock per arming (and a wake-up after a long pause), and nothing while it works.
#include <time.h>

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

namespace brindle::runtime {

class Watchdog {
public:
    explicit Watchdog(std::function<void()> on_expiry);
    ~Watchdog();
    Watchdog(const Watchdog&) = delete;
    Watchdog& operator=(const Watchdog&) = delete;

    // Watches the calling thread: once it has used `limit` of processor time from now, on_expiry runs
    // on the watchdog's thread, unless disarm() comes first.
    void arm(std::chrono::nanoseconds limit);
    // After it returns, on_expiry will not run for the last arming. True if it already has.
    bool disarm();

private:
    void watch();

    std::function<void()> on_expiry_;
    std::mutex mutex_;
    std::condition_variable wake_;
    bool armed_ = false, expired_ = false, quit_ = false;
    bool idle_ = false;  // waiting for an arming, with no deadline to wake it
    clockid_t clock_{};
    std::chrono::nanoseconds start_{}, limit_{};
    std::thread thread_;  // last, so that it starts with everything above in place
};

}  // namespace brindle::runtime
