#pragma once
// Runs the routines of events one at a time, to completion, in the order the events arrived. An event
// that arrives while a routine runs (say, while it waits in a message box) or while the entry routine
// runs (a window's creation event) waits in the queue: emulation is never nested.
#include <deque>
#include <functional>

#include "runtime/ui.h"

namespace brindle::runtime {

class EventDispatcher : public EventSink {
public:
    using Runner = std::function<void(const Event&)>;
    explicit EventDispatcher(Runner run) : run_(std::move(run)) {}

    // Queues the event and, unless emulation is busy, runs everything queued.
    void deliver(const Event& event) override;

    // Marks the emulator busy with something else (the entry routine); events only queue meanwhile.
    void set_busy(bool busy) { busy_ = busy; }
    // Runs every queued event, including those queued while they run.
    void drain();
    // The program has ended: queued events are dropped and later ones ignored.
    void stop() { stopped_ = true; queue_.clear(); }

    size_t queued() const { return queue_.size(); }

private:
    Runner run_;
    std::deque<Event> queue_;
    bool busy_ = false;
    bool stopped_ = false;
};

}  // namespace brindle::runtime
