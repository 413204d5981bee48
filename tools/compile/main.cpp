// brindle-compile: writes the program image of the application.
#include <filesystem>
#include <iostream>

#include "app/image_compiler.h"
#include "common/exit_status.h"
#include "common/input_file.h"
#include "common/output_file.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: brindle-compile PICTURES_DIR OUT.img\n";
        return brindle::kExitUsage;
    }
    // The pictures' folder must be one: a missing path or a file is answered as every tool answers a bad path.
    std::error_code error;
    if (!std::filesystem::is_directory(argv[1], error)) {
        std::cerr << "brindle-compile: " << argv[1] << ": "
                  << (error ? error.message() : std::filesystem::exists(argv[1]) ? "Not a directory" : "No such file or directory")
                  << "\n";
        return brindle::kExitBadPath;
    }
    auto image = brindle::app::compile_application(argv[1]);
    if (!image) {
        std::cerr << "brindle-compile: " << image.error().describe() << "\n";
        return brindle::kExitFailed;
    }
    auto written = brindle::write_file_atomically(argv[2], *image);
    if (!written) {
        std::cerr << "brindle-compile: cannot write " << argv[2] << ": " << written.error().message << "\n";
        return brindle::kExitBadPath;
    }
    return brindle::kExitOk;
}
