#pragma once
// Where the tools find Brindle's data files (the program image): beside the tool in the build tree,
// else in the installed data folder, share/brindle for a tool in bin.
#include <filesystem>
#include <string_view>

namespace brindle {

// The file NAME beside TOOL_DIR if it is there, else the installed one if that is there, else the
// path beside TOOL_DIR (so a message names where it was expected).
std::filesystem::path data_file_path(const std::filesystem::path& tool_dir, std::string_view name);

}  // namespace brindle
