#include "dede/serve/reload_events.h"

namespace brindle::preview {

uint64_t ReloadEvents::generation() const {
    std::lock_guard lock(mutex_);
    return generation_;
}

void ReloadEvents::changed() {
    {
        std::lock_guard lock(mutex_);
        ++generation_;
    }
    wake_.notify_all();
}

std::optional<uint64_t> ReloadEvents::wait_past(uint64_t seen, std::chrono::milliseconds timeout) {
    std::unique_lock lock(mutex_);
    wake_.wait_for(lock, timeout, [&] { return closed_ || generation_ > seen; });
    if (closed_) return std::nullopt;
    return generation_;
}

void ReloadEvents::close() {
    {
        std::lock_guard lock(mutex_);
        closed_ = true;
    }
    wake_.notify_all();
}

}  // namespace brindle::preview
