#include "runtime/event_dispatch.h"

namespace brindle::runtime {

void EventDispatcher::deliver(const Event& event) {
    if (stopped_) return;
    queue_.push_back(event);
    if (!busy_) drain();
}

void EventDispatcher::drain() {
    if (busy_) return;
    while (!queue_.empty() && !stopped_) {
        Event next = std::move(queue_.front());
        queue_.pop_front();
        busy_ = true;
        run_(next);
        busy_ = false;
    }
}

}  // namespace brindle::runtime
