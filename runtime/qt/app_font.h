#pragma once
// One font for every control, chosen so that Chinese captions read well at the controls' pixel sizes.
#include <thread>

namespace brindle::runtime::qt {

// Reads the desktop's font configuration on the second core while the rest of start-up goes on; Qt
// then finds it read when it first lays out text. The thread ends by itself and joins when dropped.
std::jthread read_font_configuration_meanwhile();

// Sets the application font to the first installed of the CJK families, else Qt's default family.
void apply_application_font();

}  // namespace brindle::runtime::qt
