// BRINDLE_TRACE: which channels a value names, what a value it cannot read does, and a phase's line.
#include <gtest/gtest.h>
#include <stdlib.h>

#include "runtime/trace.h"
#include "tests/runtime/trace_capture.h"

namespace brindle::runtime::testing {
namespace {

std::string channels_or_error(std::string_view value) {
    auto parsed = trace::parse_channels(value);
    return parsed ? std::to_string(*parsed) : parsed.error().message;
}

TEST(TraceChannels, ParsedFromTheVariable) {
    EXPECT_EQ(channels_or_error(""), "0");
    EXPECT_EQ(channels_or_error("services"), "1");
    EXPECT_EQ(channels_or_error("phases"), "2");
    EXPECT_EQ(channels_or_error("events"), "4");
    EXPECT_EQ(channels_or_error("events,services"), "5");
    EXPECT_EQ(channels_or_error("all"), "7");
    EXPECT_EQ(channels_or_error("phases,all,phases"), "7");
    // Names are exact: no other case, no blanks, no empty name between or after commas.
    const std::string known = "; the channels are services, phases, events and all";
    EXPECT_EQ(channels_or_error("Services"), "unknown channel \"Services\"" + known);
    EXPECT_EQ(channels_or_error("services, events"), "unknown channel \" events\"" + known);
    EXPECT_EQ(channels_or_error("services,,events"), "unknown channel \"\"" + known);
    EXPECT_EQ(channels_or_error("services,"), "unknown channel \"\"" + known);
    EXPECT_EQ(channels_or_error("1"), "unknown channel \"1\"" + known);
}

TEST(TraceChannels, ConfiguredFromTheEnvironment) {
    TraceCapture capture(0);
    ::setenv("BRINDLE_TRACE", "events,phases", 1);
    trace::configure_from_environment();
    EXPECT_TRUE(trace::on(trace::kEvents));
    EXPECT_TRUE(trace::on(trace::kPhases));
    EXPECT_FALSE(trace::on(trace::kServices));
    // A value it cannot read turns everything off and says so once.
    ::setenv("BRINDLE_TRACE", "services,evnts", 1);
    trace::configure_from_environment();
    EXPECT_FALSE(trace::on(trace::kServices));
    EXPECT_FALSE(trace::on(trace::kEvents));
    EXPECT_EQ(capture.lines(), std::vector<std::string>{"BRINDLE_TRACE: unknown channel \"evnts\"; the channels are "
                                                        "services, phases, events and all; nothing is traced"});
    ::setenv("BRINDLE_TRACE", "all", 1);
    trace::configure_from_environment();
    ::unsetenv("BRINDLE_TRACE");
    trace::configure_from_environment();
    EXPECT_FALSE(trace::on(trace::kPhases));
    EXPECT_EQ(capture.lines().size(), 1u);
}

TEST(TraceLines, PhaseNamesItsClocks) {
    EXPECT_EQ(trace::phase_line("image opened", 81234567890, 41234567), "phase image opened 81234567890 41234567");
    TraceCapture off(0);
    trace::phase("start");
    EXPECT_TRUE(off.lines().empty());
}

}  // namespace
}  // namespace brindle::runtime::testing
