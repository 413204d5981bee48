// brindle-image: prints the content of a program image file, as a listing or as JSON.
#include <iostream>
#include <string>

#include "common/exit_status.h"
#include "common/input_file.h"
#include "image/image_reader.h"
#include "image/inspect/dump.h"

namespace {

constexpr const char* kUsage = "usage: brindle-image dump [--json] FILE\n";

int dump(const std::string& path, bool json) {
    // A missing file, a directory or an unreadable one: one line and status 2, as for every tool.
    const auto bytes = brindle::read_input_file(path);
    if (!bytes) {
        std::cerr << "brindle-image: " << bytes.error().describe() << "\n";
        return brindle::kExitBadPath;
    }
    auto image = brindle::image::open_image(*bytes);
    if (!image) {
        std::cerr << "brindle-image: " << path << ": not a valid image: " << image.error().describe() << "\n";
        return brindle::kExitFailed;
    }
    if (json) brindle::inspect::print_json(*image, std::cout);
    else brindle::inspect::print_listing(*image, std::cout);
    std::cout.flush();
    return std::cout ? brindle::kExitOk : brindle::kExitFailed;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::string(argv[1]) == "dump") return dump(argv[2], false);
    if (argc == 4 && std::string(argv[1]) == "dump" && std::string(argv[2]) == "--json") return dump(argv[3], true);
    std::cerr << kUsage;
    return brindle::kExitUsage;
}
