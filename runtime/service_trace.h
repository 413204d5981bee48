#pragma once
// The trace line of one service call, read from the machine as the call is made: the table entry's
// name, then the arguments as the routine passed them (texts decoded and quoted, identifiers in hex).
// A value that cannot be read shows as `?`; the service itself then reports the fault.
#include <cstdint>
#include <string>

#include "runtime/machine.h"

namespace brindle::runtime {

std::string service_call_line(Machine& machine, uint32_t entry);

}  // namespace brindle::runtime
