#include "dede/serve/static_files.h"

#include <algorithm>
#include <array>
#include <utility>

namespace brindle::preview {
namespace {

namespace fs = std::filesystem;

// What a template folder and an upload folder hold; anything else is plain bytes.
constexpr std::array<std::pair<std::string_view, std::string_view>, 20> kTypes = {{
    {".htm", "text/html"},    {".html", "text/html"},   {".css", "text/css"},          {".js", "text/javascript"},
    {".txt", "text/plain"},   {".xml", "text/xml"},     {".json", "application/json"}, {".svg", "image/svg+xml"},
    {".png", "image/png"},    {".jpg", "image/jpeg"},   {".jpeg", "image/jpeg"},       {".gif", "image/gif"},
    {".webp", "image/webp"},  {".ico", "image/x-icon"}, {".bmp", "image/bmp"},         {".woff", "font/woff"},
    {".woff2", "font/woff2"}, {".ttf", "font/ttf"},     {".mp4", "video/mp4"},         {".pdf", "application/pdf"},
}};

bool inside(const fs::path& folder, const fs::path& path) {
    auto [f, p] = std::mismatch(folder.begin(), folder.end(), path.begin(), path.end());
    return f == folder.end();
}

}  // namespace

std::optional<fs::path> file_inside(const fs::path& root, std::string_view relative) {
    const fs::path asked(relative);
    if (relative.empty() || asked.is_absolute() || asked.has_root_name()) return std::nullopt;
    for (const fs::path& part : asked)
        if (part == ".." || part == ".") return std::nullopt;
    std::error_code ec;
    const fs::path folder = fs::canonical(root, ec);
    if (ec) return std::nullopt;
    // canonical() resolves every symbolic link on the way: where the file really is.
    const fs::path real = fs::canonical(folder / asked, ec);
    if (ec || !inside(folder, real) || !fs::is_regular_file(real, ec)) return std::nullopt;
    return real;
}

std::string content_type_for(const fs::path& file, std::string_view charset) {
    std::string ext = file.extension().string();
    for (char& c : ext)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    for (auto [known, type] : kTypes)
        if (ext == known)
            return type.starts_with("text/") ? std::string(type) + "; charset=" + std::string(charset)
                                             : std::string(type);
    return "application/octet-stream";
}

}  // namespace brindle::preview
