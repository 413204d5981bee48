#pragma once
// brindle-snippets' command line: the image to read, the format, the output directory.
#include <filesystem>
#include <iosfwd>
#include <string>
#include <vector>

namespace brindle::snippets {

// Exit status: 0 written, 1 the image is not one, 2 a path could not be read or written, or the
// command line is wrong. Without an image named, the one beside the executable or installed is read.
int run_snippets(const std::vector<std::string>& args, const std::filesystem::path& executable, std::ostream& out,
                 std::ostream& err);

}  // namespace brindle::snippets
