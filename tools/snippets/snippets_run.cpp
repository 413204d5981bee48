#include "tools/snippets/snippets_run.h"

#include <optional>
#include <ostream>

#include "common/data_files.h"
#include "common/exit_status.h"
#include "common/input_file.h"
#include "common/output_file.h"
#include "common/utf8.h"
#include "runtime/headless/palette.h"
#include "tools/snippets/snippet_formats.h"
#include "tools/snippets/snippet_prefixes.h"

namespace brindle::snippets {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kUsage = "usage: brindle-snippets [--format vscode|sublime|textmate] [IMAGE] [--out DIR]";

int usage_error(std::ostream& err, const std::string& message) {
    err << "brindle-snippets: " << message << "\n" << kUsage << "\n";
    return kExitUsage;
}

}  // namespace

int run_snippets(const std::vector<std::string>& args, const fs::path& executable, std::ostream& out,
                 std::ostream& err) {
    Format format = Format::VsCode;
    std::optional<fs::path> image_path;
    fs::path out_dir = ".";
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto value = [&](std::string_view option) -> std::optional<std::string> {
            if (a == option) return i + 1 < args.size() ? std::optional(args[++i]) : std::nullopt;
            return a.substr(option.size() + 1);
        };
        if (a == "--format" || a.starts_with("--format=")) {
            auto name = value("--format");
            auto parsed = name ? parse_format(*name) : std::nullopt;
            if (!parsed) return usage_error(err, "--format takes vscode, sublime or textmate");
            format = *parsed;
        } else if (a == "--out" || a.starts_with("--out=")) {
            auto dir = value("--out");
            if (!dir || dir->empty()) return usage_error(err, "--out takes a directory");
            out_dir = *dir;
        } else if (a == "--help" || a == "-h") {
            out << kUsage << "\n";
            return kExitOk;
        } else if (a.starts_with("--")) {
            return usage_error(err, "unknown option " + a);
        } else if (image_path) {
            return usage_error(err, "one image at a time, not " + image_path->string() + " and " + a);
        } else {
            image_path = a;
        }
    }
    if (!image_path) image_path = data_file_path(executable.parent_path(), "brindle.img");

    auto bytes = read_input_file(image_path->string());
    if (!bytes) {
        err << "brindle-snippets: " << terminal_safe(bytes.error().describe()) << "\n";
        return kExitBadPath;
    }
    auto fragments = headless::read_palette(*bytes);
    if (!fragments) {
        err << "brindle-snippets: " << terminal_safe(image_path->string()) << ": " << fragments.error().message << "\n";
        return kExitFailed;
    }

    std::vector<std::string> prefixes = snippet_prefixes(*fragments);
    std::vector<Snippet> snippets;
    for (size_t i = 0; i < fragments->size(); ++i)
        snippets.push_back({prefixes[i], (*fragments)[i].caption, platform_text((*fragments)[i].text)});
    auto files = render_snippets(snippets, format);
    if (!files) {
        err << "brindle-snippets: " << files.error().message << "\n";
        return kExitFailed;
    }

    std::error_code ec;
    fs::create_directories(out_dir, ec);
    if (ec || !fs::is_directory(out_dir)) {
        err << "brindle-snippets: cannot create the directory " << terminal_safe(out_dir.string()) << "\n";
        return kExitBadPath;
    }
    for (const SnippetFile& file : *files) {
        fs::path path = out_dir / file.name;
        // A link planted under a snippet's name is replaced, never written through.
        auto written = write_file_atomically(path.string(), ByteView(reinterpret_cast<const uint8_t*>(file.content.data()), file.content.size()));
        if (!written) {
            err << "brindle-snippets: cannot write " << terminal_safe(path.string()) << ": " << written.error().message
                << "\n";
            return kExitBadPath;
        }
    }
    out << snippets.size() << " snippets in " << files->size() << (files->size() == 1 ? " file" : " files") << " under "
        << out_dir.string() << "\n";
    return kExitOk;
}

}  // namespace brindle::snippets
