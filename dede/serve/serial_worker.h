#pragma once
// One thread that runs the calls given to it, one at a time, in order: for state that must only
// ever be used from one thread (the site's database connection, the embedded PHP interpreter).
#include <condition_variable>
#include <deque>
#include <functional>
#include <future>
#include <memory>
#include <mutex>
#include <thread>

namespace brindle::preview {

class SerialWorker {
public:
    SerialWorker() : thread_([this] { run(); }) {}
    ~SerialWorker() {
        {
            std::lock_guard lock(mutex_);
            stopping_ = true;
        }
        wake_.notify_one();
        thread_.join();
    }
    SerialWorker(const SerialWorker&) = delete;
    SerialWorker& operator=(const SerialWorker&) = delete;

    // Runs `call` on the worker's thread and waits for its result.
    template <class Call>
    auto run(Call call) -> decltype(call()) {
        auto task = std::make_shared<std::packaged_task<decltype(call())()>>(std::move(call));
        auto result = task->get_future();
        {
            std::lock_guard lock(mutex_);
            queue_.emplace_back([task] { (*task)(); });
        }
        wake_.notify_one();
        return result.get();
    }

private:
    void run() {
        for (;;) {
            std::function<void()> next;
            {
                std::unique_lock lock(mutex_);
                wake_.wait(lock, [&] { return stopping_ || !queue_.empty(); });
                if (queue_.empty()) return;  // stopping, and nothing left to do
                next = std::move(queue_.front());
                queue_.pop_front();
            }
            next();
        }
    }

    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<std::function<void()>> queue_;
    bool stopping_ = false;
    std::thread thread_;  // last: starts once the rest is ready
};

}  // namespace brindle::preview
