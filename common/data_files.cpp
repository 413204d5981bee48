#include "common/data_files.h"

#include <system_error>

namespace brindle {

std::filesystem::path data_file_path(const std::filesystem::path& tool_dir, std::string_view name) {
    std::error_code ec;
    std::filesystem::path beside = tool_dir / name;
    if (std::filesystem::is_regular_file(beside, ec)) return beside;
    std::filesystem::path installed = (tool_dir / BRINDLE_DATA_FROM_BIN / name).lexically_normal();
    if (std::filesystem::is_regular_file(installed, ec)) return installed;
    return beside;
}

}  // namespace brindle
