// brindle-check: finds DedeCMS tag mistakes in templates before the CMS does.
#include <iostream>

#include "tools/check/check_run.h"

int main(int argc, char** argv) {
    return brindle::check::run_check(std::vector<std::string>(argv + 1, argv + argc), std::cout, std::cerr);
}
