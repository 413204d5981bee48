#pragma once
// brindle-preview serve: opens the site, serves it on the loopback address until Ctrl+C (SIGINT)
// or SIGTERM, and says where.
#include <filesystem>
#include <iosfwd>
#include <string>
#include <vector>

namespace brindle::preview {

// `args` starts with "serve". Exit status 0 once stopped by a signal, 2 when it could not start.
int run_serve(const std::vector<std::string>& args, const std::filesystem::path& tool_dir, std::ostream& out,
              std::ostream& err);

}  // namespace brindle::preview
