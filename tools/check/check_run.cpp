#include "tools/check/check_run.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <ostream>
#include <sstream>

#include "common/json_string.h"
#include "tools/check/template_check.h"

namespace brindle::check {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kUsage = "usage: brindle-check [--format text|json] PATH...";

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

class Run {
public:
    Run(std::ostream& err) : err_(err) {}

    // Files as named; directories walked for templates, in name order so reports are stable.
    void add_path(const std::string& arg) {
        std::error_code ec;
        fs::file_status status = fs::status(arg, ec);
        if (ec || !fs::exists(status)) return unreadable(arg, "no such file or directory");
        if (!fs::is_directory(status)) return check_file(arg);
        std::vector<fs::path> found;
        fs::recursive_directory_iterator it(arg, fs::directory_options::skip_permission_denied, ec), end;
        if (ec) return unreadable(arg, ec.message());
        for (; it != end; it.increment(ec)) {
            if (ec) return unreadable(arg, ec.message());
            std::error_code file_ec;
            if (it->is_regular_file(file_ec) && is_template_name(it->path())) found.push_back(it->path());
        }
        std::sort(found.begin(), found.end());
        for (const fs::path& path : found) check_file(path.string());
    }

    void check_file(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        if (!in) return unreadable(path, "cannot open");
        std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        if (in.bad()) return unreadable(path, "read error");
        auto decoded = decode_template(bytes);
        if (!decoded) return unreadable(path, decoded.error().message + "; skipped");
        reports_.push_back({path, check_template(decoded->text)});
    }

    void unreadable(const std::string& path, std::string reason) {
        err_ << "brindle-check: " << path << ": " << reason << "\n";
        unreadable_.push_back({path, std::move(reason)});
    }

    size_t count(Severity severity) const {
        size_t n = 0;
        for (const FileReport& r : reports_)
            n += std::count_if(r.diagnostics.begin(), r.diagnostics.end(),
                               [&](const Diagnostic& d) { return d.severity == severity; });
        return n;
    }

    void print_text(std::ostream& out) const {
        for (const FileReport& r : reports_)
            for (const Diagnostic& d : r.diagnostics)
                out << r.path << ":" << d.line << ":" << d.column << ": " << severity_name(d.severity) << ": "
                    << d.message << "\n";
    }

    void print_json(std::ostream& out) const {
        out << "{\n  \"files\": " << reports_.size() << ",\n  \"errors\": " << count(Severity::Error)
            << ",\n  \"warnings\": " << count(Severity::Warning) << ",\n  \"diagnostics\": [";
        bool first = true;
        for (const FileReport& r : reports_)
            for (const Diagnostic& d : r.diagnostics) {
                out << (first ? "\n" : ",\n") << "    {\"file\": " << json_string(r.path) << ", \"line\": " << d.line
                    << ", \"column\": " << d.column << ", \"severity\": \"" << severity_name(d.severity)
                    << "\", \"message\": " << json_string(d.message) << "}";
                first = false;
            }
        out << (first ? "]" : "\n  ]") << ",\n  \"unreadable\": [";
        first = true;
        for (const Unreadable& u : unreadable_) {
            out << (first ? "\n" : ",\n") << "    {\"file\": " << json_string(u.path)
                << ", \"reason\": " << json_string(u.reason) << "}";
            first = false;
        }
        out << (first ? "]" : "\n  ]") << "\n}\n";
    }

    int status() const {
        if (!unreadable_.empty()) return 2;
        return count(Severity::Error) ? 1 : 0;
    }

private:
    std::ostream& err_;
    std::vector<FileReport> reports_;
    std::vector<Unreadable> unreadable_;
};

}  // namespace

int run_check(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    bool json = false;
    std::vector<std::string> paths;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--format" || a.starts_with("--format=")) {
            std::string value = a == "--format" ? (i + 1 < args.size() ? args[++i] : "") : a.substr(9);
            if (value != "text" && value != "json") {
                err << "brindle-check: --format takes text or json, not '" << value << "'\n" << kUsage << "\n";
                return 2;
            }
            json = value == "json";
        } else if (a == "--help" || a == "-h") {
            out << kUsage << "\n";
            return 0;
        } else if (a.starts_with("--")) {
            err << "brindle-check: unknown option " << a << "\n" << kUsage << "\n";
            return 2;
        } else {
            paths.push_back(a);
        }
    }
    if (paths.empty()) {
        err << "brindle-check: no template named\n" << kUsage << "\n";
        return 2;
    }
    Run run(err);
    for (const std::string& p : paths) run.add_path(p);
    if (json) run.print_json(out);
    else run.print_text(out);
    return run.status();
}

}  // namespace brindle::check
