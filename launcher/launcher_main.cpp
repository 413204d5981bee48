// The launcher's entry: no command line, no environment of its own; the platform does the rest.
#include "launcher/launch.h"
#include "launcher/posix_platform.h"

// The program image, embedded in read-only data by program_image.S.
extern "C" const unsigned char brindle_program_image[];

int main() {
    brindle::launcher::PosixPlatform platform;
    return brindle::launcher::launch(platform, brindle_program_image);
}
