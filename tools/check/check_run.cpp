#include "tools/check/check_run.h"

#include <algorithm>
#include <filesystem>
#include <ostream>

#include "common/hex.h"
#include "common/input_file.h"
#include "common/json_string.h"
#include "common/utf8.h"
#include "dede/template_check.h"

namespace brindle::check {
namespace {

namespace fs = std::filesystem;
using dede::Diagnostic;
using dede::Severity;

constexpr std::string_view kUsage = "usage: brindle-check [--format text|json] [--] PATH...";

struct FileReport {
    std::string path;
    std::vector<Diagnostic> diagnostics;
};

struct Unreadable {
    std::string path;
    std::string reason;
};

bool is_template_name(const fs::path& path) {
    std::string ext = path.extension().string();
    for (char& c : ext)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return ext == ".htm" || ext == ".html" || ext == ".php";
}

// A file name in JSON: always valid UTF-8, and the raw bytes in hex beside it when they are not.
std::string json_file(const std::string& path) {
    std::string valid = valid_utf8(path);
    std::string out = "\"file\": " + json_string(valid);
    if (valid != path) out += ", \"file_hex\": \"" + hex_bytes(path) + "\"";
    return out;
}

class Run {
public:
    explicit Run(std::ostream& err) : err_(err) {}

    // Files as named; directories walked for templates, in name order so reports are stable.
    void add_path(const std::string& arg) {
        std::error_code ec;
        fs::file_status status = fs::status(arg, ec);
        if (ec || !fs::exists(status)) return unreadable(arg, "no such file or directory");
        if (!fs::is_directory(status)) return check_file(arg);
        std::vector<fs::path> found;
        walk(arg, found);
        std::sort(found.begin(), found.end());
        for (const fs::path& path : found) check_file(path.string());
    }

    void check_file(const std::string& path) {
        auto bytes = read_input_file(path);
        if (!bytes) return unreadable(path, bytes.error().message);
        std::string_view text(reinterpret_cast<const char*>(bytes->data()), bytes->size());
        reports_.push_back({path, dede::check_template(dede::decode_template(text))});
    }

    void unreadable(const std::string& path, std::string reason) {
        err_ << "brindle-check: " << terminal_safe(path) << ": " << reason << "\n";
        unreadable_.push_back({path, std::move(reason)});
    }

    size_t count(Severity severity) const {
        size_t n = 0;
        for (const FileReport& r : reports_)
            n += std::count_if(r.diagnostics.begin(), r.diagnostics.end(),
                               [&](const Diagnostic& d) { return d.severity == severity; });
        return n;
    }

    // One record a line, whatever a file name or a template holds.
    void print_text(std::ostream& out) const {
        for (const FileReport& r : reports_) {
            std::string path = terminal_safe(r.path);
            for (const Diagnostic& d : r.diagnostics)
                out << path << ":" << d.line << ":" << d.column << ": " << dede::severity_name(d.severity) << ": "
                    << terminal_safe(d.message) << "\n";
        }
    }

    void print_json(std::ostream& out) const {
        out << "{\n  \"files\": " << reports_.size() << ",\n  \"errors\": " << count(Severity::Error)
            << ",\n  \"warnings\": " << count(Severity::Warning) << ",\n  \"diagnostics\": [";
        bool first = true;
        for (const FileReport& r : reports_) {
            std::string file = json_file(r.path);
            for (const Diagnostic& d : r.diagnostics) {
                out << (first ? "\n" : ",\n") << "    {" << file << ", \"line\": " << d.line
                    << ", \"column\": " << d.column << ", \"severity\": \"" << dede::severity_name(d.severity)
                    << "\", \"message\": " << json_string(d.message) << "}";
                first = false;
            }
        }
        out << (first ? "]" : "\n  ]") << ",\n  \"unreadable\": [";
        first = true;
        for (const Unreadable& u : unreadable_) {
            out << (first ? "\n" : ",\n") << "    {" << json_file(u.path) << ", \"reason\": " << json_string(u.reason)
                << "}";
            first = false;
        }
        out << (first ? "]" : "\n  ]") << "\n}\n";
    }

    int status() const {
        if (!unreadable_.empty()) return kExitBadPath;
        return count(Severity::Error) ? 1 : 0;
    }

private:
    // Templates under `dir`; a directory that cannot be listed is reported and the walk goes on.
    // Links to directories are not followed, so a loop of links cannot trap the walk.
    void walk(const fs::path& dir, std::vector<fs::path>& found) {
        std::error_code ec;
        fs::directory_iterator it(dir, ec), end;
        if (ec) return unreadable(dir.string(), ec.message());
        std::vector<fs::path> subdirectories;
        for (; it != end; it.increment(ec)) {
            if (ec) return unreadable(dir.string(), ec.message());
            std::error_code type_ec;
            if (it->is_directory(type_ec) && !it->is_symlink(type_ec)) subdirectories.push_back(it->path());
            else if (it->is_regular_file(type_ec) && is_template_name(it->path())) found.push_back(it->path());
        }
        for (const fs::path& sub : subdirectories) walk(sub, found);
    }

    std::ostream& err_;
    std::vector<FileReport> reports_;
    std::vector<Unreadable> unreadable_;
};

}  // namespace

int run_check(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    bool json = false;
    std::vector<std::string> paths;
    bool options_ended = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (options_ended) {
            paths.push_back(a);
        } else if (a == "--") {
            options_ended = true;
        } else if (a == "--format" || a.starts_with("--format=")) {
            std::string value = a == "--format" ? (i + 1 < args.size() ? args[++i] : "") : a.substr(9);
            if (value != "text" && value != "json") {
                err << "brindle-check: --format takes text or json, not '" << terminal_safe(value) << "'\n"
                    << kUsage << "\n";
                return kExitBadPath;
            }
            json = value == "json";
        } else if (a == "--help" || a == "-h") {
            out << kUsage << "\n";
            return 0;
        } else if (a.starts_with("--")) {
            err << "brindle-check: unknown option " << terminal_safe(a) << "\n" << kUsage << "\n";
            return kExitBadPath;
        } else {
            paths.push_back(a);
        }
    }
    if (paths.empty()) {
        err << "brindle-check: no template named\n" << kUsage << "\n";
        return kExitBadPath;
    }
    Run run(err);
    for (const std::string& p : paths) run.add_path(p);
    if (json) run.print_json(out);
    else run.print_text(out);
    return run.status();
}

}  // namespace brindle::check
