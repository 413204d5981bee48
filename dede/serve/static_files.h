#pragma once
// Files that go out as they are, from the template and upload folders: only what lies inside the
// folder, with a symbolic link followed only while it stays inside.
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace brindle::preview {

// The regular file at `relative` under `root`, or none: an absolute path, a path that climbs out
// (by "..", or by a symbolic link anywhere along it), a folder or a missing file names nothing.
std::optional<std::filesystem::path> file_inside(const std::filesystem::path& root, std::string_view relative);

// The Content-Type of a file by its extension; text goes out in the site's charset.
std::string content_type_for(const std::filesystem::path& file, std::string_view charset);

}  // namespace brindle::preview
