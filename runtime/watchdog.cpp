#include "runtime/watchdog.h"

#include <pthread.h>

namespace brindle::runtime {
namespace {

std::chrono::nanoseconds processor_time(clockid_t clock) {
    timespec t{};
    clock_gettime(clock, &t);
    return std::chrono::seconds(t.tv_sec) + std::chrono::nanoseconds(t.tv_nsec);
}

}  // namespace

Watchdog::Watchdog(std::function<void()> on_expiry) : on_expiry_(std::move(on_expiry)), thread_([this] { watch(); }) {}

Watchdog::~Watchdog() {
    {
        std::lock_guard lock(mutex_);
        quit_ = true;
    }
    wake_.notify_one();
    thread_.join();
}

void Watchdog::arm(std::chrono::nanoseconds limit) {
    clockid_t clock{};
    pthread_getcpuclockid(pthread_self(), &clock);
    const auto start = processor_time(clock);
    bool wake = false;
    {
        std::lock_guard lock(mutex_);
        wake = idle_ || limit < limit_;
        clock_ = clock;
        start_ = start;
        limit_ = limit;
        armed_ = true;
        expired_ = false;
    }
    // Otherwise the watchdog is still waiting out an earlier deadline, which comes no later than this
    // arming's, and measures this one when it wakes.
    if (wake) wake_.notify_one();
}

bool Watchdog::disarm() {
    std::lock_guard lock(mutex_);
    armed_ = false;
    return expired_;
}

void Watchdog::watch() {
    std::unique_lock lock(mutex_);
    while (!quit_) {
        if (!armed_) {
            idle_ = true;
            wake_.wait(lock);
            idle_ = false;
            continue;
        }
        const auto used = processor_time(clock_) - start_;
        if (used >= limit_) {
            armed_ = false;
            expired_ = true;
            on_expiry_();  // under the lock, so that disarm() cannot return while it runs
            continue;
        }
        // A thread's processor time never runs faster than the clock on the wall.
        wake_.wait_for(lock, limit_ - used);
    }
}

}  // namespace brindle::runtime
