// brindle-snippets: the palette's fragments as editor snippets, read from a program image.
#include <filesystem>
#include <iostream>

#include "tools/snippets/snippets_run.h"

int main(int argc, char** argv) {
    std::error_code ec;
    std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) self = std::filesystem::absolute(argv[0], ec);
    return brindle::snippets::run_snippets(std::vector<std::string>(argv + 1, argv + argc), self, std::cout, std::cerr);
}
