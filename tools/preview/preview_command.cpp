#include "tools/preview/preview_command.h"

#include <sqlite3.h>

#include <cstring>
#include <optional>
#include <ostream>

#include "common/data_files.h"
#include "common/input_file.h"
#include "common/utf8.h"
#include "dede/article_view.h"
#include "dede/lazy_php.h"
#include "dede/list_view.h"
#include "dede/pages.h"
#include "dede/renderer.h"
#include "dede/serve/issue_positions.h"
#include "dede/serve/site_session.h"
#include "tools/preview/serve_command.h"

namespace brindle::preview {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kCommands =
    "usage: brindle-preview render [SITE OPTIONS] [--typeid N] (TEMPLATE_FILE | --tag STRING)\n"
    "       brindle-preview render [SITE OPTIONS] --list TYPEID [--page N]\n"
    "       brindle-preview render [SITE OPTIONS] --article AID [--page N]\n"
    "       brindle-preview serve [SITE OPTIONS] [--port N] [--open]\n"
    "       brindle-preview sample-site OUT.sqlite\n";
constexpr int kRendered = 0, kRenderedWithErrors = 1, kCannotRender = 2;

struct Options {
    SiteArguments site;
    int typeid_ = 0;
    std::optional<fs::path> file;
    std::optional<std::string> tag;
    std::optional<int> list;
    std::optional<int> article;
    int page = 1;
};

std::optional<int> parse_id(const std::string& text) {
    if (text.empty() || text.size() > 9 || text.find_first_not_of("0123456789") != std::string::npos) return std::nullopt;
    return std::stoi(text);
}

// The sample site as a SQLite file, written whole under a temporary name and renamed into place.
int write_sample_site(const std::string& out, std::ostream& err) {
    const std::string temp = out + ".partial";
    std::error_code ec;
    fs::remove(temp, ec);
    sqlite3* db = nullptr;
    int status = sqlite3_open_v2(temp.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    char* message = nullptr;
    if (status == SQLITE_OK) status = sqlite3_exec(db, std::string(sample_site_sql()).c_str(), nullptr, nullptr, &message);
    std::string reason = message ? message : db ? sqlite3_errmsg(db) : sqlite3_errstr(status);
    sqlite3_free(message);
    sqlite3_close(db);
    if (status == SQLITE_OK && std::rename(temp.c_str(), out.c_str()) != 0) {
        status = SQLITE_CANTOPEN;
        reason = std::strerror(errno);
    }
    if (status != SQLITE_OK) {
        fs::remove(temp, ec);
        err << "brindle-preview: cannot write " << terminal_safe(out) << ": " << reason << "\n";
        return kCannotRender;
    }
    return kRendered;
}

}  // namespace

int usage_error(std::ostream& err, const std::string& message) {
    err << "brindle-preview: " << terminal_safe(message) << "\n" << kCommands << kSiteOptionsUsage << "\n";
    return kCannotRender;
}

int run_preview(const std::vector<std::string>& args, const fs::path& tool_dir, std::ostream& out, std::ostream& err) {
    if (args.empty()) return usage_error(err, "no command");
    if (args[0] == "--help" || args[0] == "-h") {
        out << kCommands << kSiteOptionsUsage << "\n";
        return kRendered;
    }
    if (args[0] == "sample-site") {
        if (args.size() != 2) return usage_error(err, "sample-site takes one file to write");
        return write_sample_site(args[1], err);
    }
    if (args[0] == "serve") return run_serve(args, tool_dir, out, err);
    if (args[0] != "render") return usage_error(err, "unknown command " + args[0]);

    Options options;
    for (size_t i = 1; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto value = [&]() -> std::optional<std::string> {
            return i + 1 < args.size() ? std::optional(args[++i]) : std::nullopt;
        };
        auto site_option = options.site.take(args, i);
        if (!site_option) return usage_error(err, site_option.error().message);
        if (*site_option) continue;
        if (a == "--typeid" || a == "--tag" || a == "--list" || a == "--article" || a == "--page") {
            auto v = value();
            if (!v) return usage_error(err, a + " takes a value");
            if (a == "--tag") {
                options.tag = *v;
            } else {
                auto id = parse_id(*v);
                if (!id || (a == "--page" && *id == 0)) return usage_error(err, a + " takes a number, not '" + *v + "'");
                if (a == "--typeid") options.typeid_ = *id;
                else if (a == "--list") options.list = *id;
                else if (a == "--article")
                    options.article = *id;
                else options.page = *id;
            }
        } else if (a.starts_with("--")) {
            return usage_error(err, "unknown option " + a);
        } else if (options.file) {
            return usage_error(err, "one template at a time");
        } else {
            options.file = a;
        }
    }
    if (int(options.file.has_value()) + int(options.tag.has_value()) + int(options.list.has_value()) +
            int(options.article.has_value()) !=
        1)
        return usage_error(err, "name a template file, or give --tag, --list or --article");

    // The template.
    std::string source_name = options.tag ? std::string("--tag") : options.file ? options.file->string() : std::string();
    std::string source;
    if (options.tag) {
        source = *options.tag;
    } else if (options.file) {
        auto bytes = read_input_file(options.file->string());
        if (!bytes) {
            err << "brindle-preview: " << terminal_safe(bytes.error().describe()) << "\n";
            return kCannotRender;
        }
    }

    // The templets/ folder: the sample site's unless told, or the file's own style folder.
    fs::path templets = data_file_path(tool_dir, "sample-templets");
    std::error_code ec;
    if (options.file) {
        fs::path style_parent = fs::absolute(*options.file, ec).parent_path().parent_path();
        if (fs::is_directory(style_parent / "system", ec)) templets = style_parent;
    }
    auto session = open_site_session(options.site, tool_dir, templets);
    if (!session) {
        err << "brindle-preview: " << session.error().message << "\n";
        return kCannotRender;
    }
    templets = session->templets;
    dede::Site& site = *session->site;

    // PHP for field functions and runphp, started only if the template has some.
    dede::LazyPhp php(site, session->php);
    dede::Renderer renderer(site, templets, &php);
    IssuePositions positions(renderer);
    if (options.list || options.article) {
        auto page = options.list ? dede::render_list_page(renderer, templets, *options.list, options.page)
                                 : dede::render_article_page(renderer, templets, *options.article, options.page);
        if (!page) {
            err << "brindle-preview: " << terminal_safe(page.error().describe()) << "\n";
            return kCannotRender;
        }
        out << site.in_site_encoding(page->html);
    } else {
        // As DedeCMS reads a template (a byte-order mark included); read once above to say why not.
        if (options.file)
            source = renderer.read_template(*options.file).value_or("");
        else
            renderer.check_utf8(source_name, source);
        dede::Page page = dede::index_page(site, options.typeid_);
        out << site.in_site_encoding(renderer.render_page(source, page, source_name));
        positions.add(source_name, source);
    }
    bool errors = false;
    // A copy: finding a position may read a file, and reading adds to the renderer's issues.
    const std::vector<dede::RenderIssue> issues = renderer.issues();
    for (const dede::RenderIssue& issue : issues) {
        dede::TextPosition at = positions.at(issue);
        err << terminal_safe(issue.file) << ":" << at.line << ":" << at.column << ": "
            << (issue.error ? "error" : "warning") << ": " << terminal_safe(issue.message) << "\n";
        errors = errors || issue.error;
    }
    return errors ? kRenderedWithErrors : kRendered;
}

}  // namespace brindle::preview
