#pragma once
// The kernel's trace on stderr, off unless BRINDLE_TRACE names what to follow: a comma list of
// `services` (each service call with its arguments), `phases` (start-up phase boundaries) and
// `events` (each event routine as it starts), or `all`. A line starts with its channel's word:
//   service WriteProperty window=0x52010001 element=0x16000011 property=8 value="生成"
//   phase image opened 81234567890 41234567          (monotonic ns, process CPU ns)
//   event routine=0x40 arguments=(1)
// While a channel is off, a place that traces it costs one test of a flag.
#include <cstdint>
#include <string>
#include <string_view>

#include "common/result.h"
#include "runtime/ui.h"

namespace brindle::runtime::trace {

enum Channel : unsigned { kServices = 1, kPhases = 2, kEvents = 4 };
inline constexpr unsigned kAllChannels = kServices | kPhases | kEvents;
inline constexpr std::string_view kVariable = "BRINDLE_TRACE";

// The channels a BRINDLE_TRACE value names; empty names none. An unknown name is an error naming it.
Result<unsigned> parse_channels(std::string_view list);

namespace detail {
inline unsigned channels = 0;
}
#ifdef BRINDLE_WITHOUT_TRACE  // every place that traces compiled out: bench_click's comparison kernel
constexpr bool on(Channel) { return false; }
#else
inline bool on(Channel channel) { return (detail::channels & channel) != 0; }
#endif
void set_channels(unsigned channels);

// Turns on the channels BRINDLE_TRACE names. A value it cannot read turns none on and says so in one
// line through the writer.
void configure_from_environment();

// Where lines go, one call a line without its newline; nullptr restores stderr. The kernel writes to
// stderr only through here, its one start-up failure included.
using Writer = void (*)(std::string_view line);
void set_writer(Writer writer);
void write(std::string_view line);

std::string phase_line(std::string_view name, int64_t monotonic_ns, int64_t cpu_ns);
std::string event_line(const Event& event);

// A phase boundary with the clocks read now, when phases are traced.
void phase(std::string_view name);

}  // namespace brindle::runtime::trace
