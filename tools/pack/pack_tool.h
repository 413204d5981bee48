#pragma once
// brindle-pack: appends a payload container to a launcher, or lists the container of an executable.
#include <ostream>
#include <span>
#include <string>

namespace brindle::pack {

// Runs the tool on its arguments (without the program name); the exit status.
int run(std::span<const std::string> args, std::ostream& out, std::ostream& err);

}  // namespace brindle::pack
