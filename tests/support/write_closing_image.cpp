// Writes the self-closing test program image for a test launcher to embed.
#include <cstdio>
#include <fstream>

#include "tests/support/closing_image.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: write_closing_image OUT.img\n");
        return 2;
    }
    brindle::Bytes image = brindle::test::closing_image();
    std::ofstream out(argv[1], std::ios::binary);
    out.write(reinterpret_cast<const char*>(image.data()), static_cast<std::streamsize>(image.size()));
    return out ? 0 : 1;
}
