#pragma once
// The generations of the template folder: each save starts a new one, and every page that was
// rendered in an older one is told to reload. A page says which generation it was rendered in, so
// a save between its render and its subscription is not missed.
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <optional>

namespace brindle::preview {

class ReloadEvents {
public:
    explicit ReloadEvents(uint64_t first_generation) : generation_(first_generation) {}

    uint64_t generation() const;
    // A save: a new generation, and every waiter wakes.
    void changed();
    // The generation once it is past `seen`; the current one when `timeout` passes first; none
    // once closed.
    std::optional<uint64_t> wait_past(uint64_t seen, std::chrono::milliseconds timeout);
    // Every waiter wakes with none, now and from now on.
    void close();

private:
    mutable std::mutex mutex_;
    std::condition_variable wake_;
    uint64_t generation_;
    bool closed_ = false;
};

}  // namespace brindle::preview
