#pragma once
// brindle-snippets' command line: the image to read, the format, the output directory.
#include <filesystem>
#include <iosfwd>
#include <string>
#include <vector>

namespace brindle::snippets {

// Where the image is when none is named: beside the executable (the build tree), else where an
// install puts it (../share/brindle/brindle.img from the executable's directory).
std::vector<std::filesystem::path> default_image_paths(const std::filesystem::path& executable);

// Exit status: 0 written, 2 a path could not be read or written, or the command line is wrong.
int run_snippets(const std::vector<std::string>& args, const std::filesystem::path& executable, std::ostream& out,
                 std::ostream& err);

}  // namespace brindle::snippets
