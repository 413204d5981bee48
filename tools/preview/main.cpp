// brindle-preview: what a DedeCMS template renders, without PHP or a DedeCMS install.
#include <filesystem>
#include <iostream>

#include "tools/preview/preview_command.h"

int main(int argc, char** argv) {
    std::error_code ec;
    std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) self = std::filesystem::absolute(argv[0], ec);
    return brindle::preview::run_preview(std::vector<std::string>(argv + 1, argv + argc), self.parent_path(), std::cout,
                                         std::cerr);
}
