// Fuzz target for the payload container: any file either reads as a container or gives an error,
// and brindle-pack --list of it answers without crashing or allocating what the bytes claim.
#include <cstddef>
#include <cstdint>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

#include "launcher/container_reader.h"
#include "tools/pack/pack_tool.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    (void)brindle::container::read_container(brindle::ByteView(data, size));

    // The list command reads a file: one per process, rewritten each time.
    static const std::string path = "/tmp/brindle-fuzz-container-" + std::to_string(getpid());
    std::ofstream(path, std::ios::binary | std::ios::trunc).write(reinterpret_cast<const char*>(data), std::streamsize(size));
    std::ostringstream out, err;
    const std::vector<std::string> args = {"--list", path};
    (void)brindle::pack::run(args, out, err);
    return 0;
}
