#include <iostream>
#include <string>
#include <vector>

#include "tools/pack/pack_tool.h"

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    return brindle::pack::run(args, std::cout, std::cerr);
}
