#pragma once
// Collects the kernel's trace lines while it lives, with the channels given; everything off after.
#include <string>
#include <string_view>
#include <vector>

#include "runtime/trace.h"

namespace brindle::runtime::testing {

class TraceCapture {
public:
    explicit TraceCapture(unsigned channels) {
        lines().clear();
        trace::set_writer(keep);
        trace::set_channels(channels);
    }
    ~TraceCapture() {
        trace::set_channels(0);
        trace::set_writer(nullptr);
    }
    TraceCapture(const TraceCapture&) = delete;
    TraceCapture& operator=(const TraceCapture&) = delete;

    static std::vector<std::string>& lines() {
        static std::vector<std::string> kept;
        return kept;
    }

private:
    static void keep(std::string_view line) { lines().emplace_back(line); }
};

}  // namespace brindle::runtime::testing
