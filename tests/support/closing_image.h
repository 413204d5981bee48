#pragma once
// Images written by tests: a kernel library record, and a program whose window closes itself as soon
// as it is created (the shortest run through the emitted entry routine, a real window, the event loop
// and the end of the program).
#include "common/bytes.h"
#include "image/library_table.h"

namespace brindle::test {

// A library table record for the kernel, for images written by tests and benchmarks.
image::LibraryRecord kernel_library_record();

Bytes closing_image();

}  // namespace brindle::test
