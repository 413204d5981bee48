// The launcher's entry: "--help" and "--version" are answered at once; every other argument is ignored
// and the launch runs. The platform does the rest.
#include <cstdint>
#include <string_view>
#include <vector>

#include "launcher/launch.h"
#include "launcher/posix_platform.h"

// The program image, embedded in read-only data by program_image.S, and its size.
extern "C" const unsigned char brindle_program_image[];
extern "C" const uint64_t brindle_program_image_size;

int main(int argc, char** argv) {
    std::vector<std::string_view> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    if (auto status = brindle::launcher::answer_command_line(args, stdout)) return *status;
    brindle::launcher::PosixPlatform platform;
    return brindle::launcher::launch(platform,
                                     brindle::ByteView(brindle_program_image, static_cast<size_t>(brindle_program_image_size)));
}
