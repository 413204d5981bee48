#pragma once
// brindle-preview's command line: which site, which page, and the page on stdout with its
// diagnostics on stderr.
#include <filesystem>
#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

namespace brindle::preview {

// Exit status: 0 rendered, 1 rendered with errors, 2 could not render (or the command line is wrong).
int run_preview(const std::vector<std::string>& args, const std::filesystem::path& tool_dir, std::ostream& out,
                std::ostream& err);

// The one line that says what is wrong with the command line, then the usage; status 2.
int usage_error(std::ostream& err, const std::string& message);

// The embedded sample site's data, as SQL in SQLite's dialect.
std::string_view sample_site_sql();

}  // namespace brindle::preview
