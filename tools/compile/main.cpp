// brindle-compile: writes the program image of the application.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>

#include "app/image_compiler.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: brindle-compile PICTURES_DIR OUT.img\n";
        return 2;
    }
    // The pictures' folder must be one: a missing path or a file is answered as every tool answers a bad path.
    std::error_code error;
    if (!std::filesystem::is_directory(argv[1], error)) {
        std::cerr << "brindle-compile: " << argv[1] << ": "
                  << (error ? error.message() : std::filesystem::exists(argv[1]) ? "Not a directory" : "No such file or directory")
                  << "\n";
        return 2;
    }
    auto image = brindle::app::compile_application(argv[1]);
    if (!image) {
        std::cerr << "brindle-compile: " << image.error().describe() << "\n";
        return 1;
    }
    // Written beside the target and renamed, so a failed write never leaves a truncated image.
    const std::filesystem::path target = argv[2];
    std::filesystem::path partial = target;
    partial += ".partial";
    errno = 0;
    std::ofstream out(partial, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(image->data()), static_cast<std::streamsize>(image->size()));
    out.close();
    std::string reason = out ? std::string() : std::strerror(errno ? errno : EIO);
    std::error_code renamed;
    if (out) std::filesystem::rename(partial, target, renamed);
    if (!out || renamed) {
        if (renamed) reason = renamed.message();
        std::error_code ignored;
        std::filesystem::remove(partial, ignored);
        std::cerr << "brindle-compile: cannot write " << target.string() << ": " << reason << "\n";
        return 2;
    }
    return 0;
}
