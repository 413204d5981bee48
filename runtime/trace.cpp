#include "runtime/trace.h"

#include <time.h>

#include <cstdio>
#include <cstdlib>

#include "common/hex.h"

namespace brindle::runtime::trace {
namespace {

void write_to_stderr(std::string_view line) {
    std::string whole(line);
    whole += '\n';
    std::fwrite(whole.data(), 1, whole.size(), stderr);
}

Writer g_writer = write_to_stderr;

int64_t now_ns(clockid_t clock) {
    timespec t;
    clock_gettime(clock, &t);
    return int64_t(t.tv_sec) * 1'000'000'000 + t.tv_nsec;
}

}  // namespace

Result<unsigned> parse_channels(std::string_view list) {
    unsigned channels = 0;
    if (list.empty()) return channels;
    for (size_t start = 0;;) {
        const size_t comma = list.find(',', start);
        const std::string_view name = list.substr(start, comma - start);
        if (name == "services")
            channels |= kServices;
        else if (name == "phases")
            channels |= kPhases;
        else if (name == "events")
            channels |= kEvents;
        else if (name == "all")
            channels |= kAllChannels;
        else
            return fail("unknown channel \"" + std::string(name) +
                        "\"; the channels are services, phases, events and all");
        if (comma == std::string_view::npos) return channels;
        start = comma + 1;
    }
}

void set_channels(unsigned channels) { detail::channels = channels & kAllChannels; }

void configure_from_environment() {
    const char* value = std::getenv(kVariable.data());
    auto channels = parse_channels(value ? value : "");
    if (!channels) write(std::string(kVariable) + ": " + channels.error().message + "; nothing is traced");
    set_channels(channels.value_or(0));
}

void set_writer(Writer writer) { g_writer = writer ? writer : write_to_stderr; }

void write(std::string_view line) { g_writer(line); }

std::string phase_line(std::string_view name, int64_t monotonic_ns, int64_t cpu_ns) {
    return "phase " + std::string(name) + " " + std::to_string(monotonic_ns) + " " + std::to_string(cpu_ns);
}

std::string event_line(const Event& event) {
    std::string line = "event routine=" + hex(event.routine_offset) + " arguments=(";
    for (size_t i = 0; i < event.arguments.size(); ++i)
        line += (i ? ", " : "") + std::to_string(static_cast<int32_t>(event.arguments[i]));
    return line + ")";
}

void phase(std::string_view name) {
    if (on(kPhases)) write(phase_line(name, now_ns(CLOCK_MONOTONIC), now_ns(CLOCK_PROCESS_CPUTIME_ID)));
}

}  // namespace brindle::runtime::trace
