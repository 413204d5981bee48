#pragma once
// A program whose window closes itself as soon as it is created: the shortest run through the emitted
// entry routine, a real window, the event loop and the end of the program.
#include "common/bytes.h"

namespace brindle::test {

Bytes closing_image();

}  // namespace brindle::test
