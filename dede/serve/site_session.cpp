#include "dede/serve/site_session.h"

#include <ctime>

#include "common/data_files.h"
#include "common/try.h"
#include "common/utf8.h"
#include "dede/gbk_site.h"
#include "dede/open_site.h"
#include "dede/site_charset.h"

namespace brindle::preview {
namespace {

namespace fs = std::filesystem;

std::optional<int64_t> parse_time(const std::string& text) {
    std::tm tm{};
    const char* end = strptime(text.c_str(), "%Y-%m-%d %H:%M:%S", &tm);
    if (!end || *end != '\0') return std::nullopt;
    return static_cast<int64_t>(timegm(&tm));
}

}  // namespace

Result<bool> SiteArguments::take(const std::vector<std::string>& args, size_t& i) {
    const std::string& a = args[i];
    if (a != "--site" && a != "--prefix" && a != "--templets" && a != "--site-root" && a != "--now" && a != "--charset")
        return false;
    if (i + 1 >= args.size()) return fail(a + " takes a value");
    const std::string& v = args[++i];
    if (a == "--site")
        site_url = v;
    else if (a == "--prefix")
        prefix = v;
    else if (a == "--templets")
        templets = v;
    else if (a == "--site-root")
        site_root = v;
    else if (a == "--charset") {
        if (v != "utf-8" && v != "gbk") return fail("--charset takes utf-8 or gbk");
        charset = v;
    } else {
        now = parse_time(v);
        if (!now) return fail("--now takes 'YYYY-MM-DD HH:MM:SS', not '" + v + "'");
    }
    return true;
}

Result<SiteSession> open_site_session(const SiteArguments& arguments, const fs::path& tool_dir,
                                      const fs::path& default_templets) {
    SiteSession session;
    const dede::SiteClock clock{arguments.now.value_or(static_cast<int64_t>(std::time(nullptr)))};
    session.sample = arguments.site_url.empty();
    const std::string url =
        session.sample ? "sqlite:" + data_file_path(tool_dir, "sample-site.sqlite").string() : arguments.site_url;
    session.templets = arguments.templets.value_or(default_templets);

    auto address = dede::parse_site_address(url);
    if (!address) return fail("--site " + terminal_safe(url) + ": " + address.error().message);
    auto database = dede::open_site(*address, clock);
    if (!database) return fail("the site cannot be opened: " + terminal_safe(database.error().describe()));
    session.database = std::move(*database);
    auto charset =
        arguments.charset.empty()
            ? dede::detect_site_charset(*session.database, arguments.prefix)
            : Result<dede::SiteCharset>(arguments.charset == "gbk" ? dede::SiteCharset::gbk : dede::SiteCharset::utf8);
    if (!charset) return fail(terminal_safe(charset.error().describe()) + " (--charset utf-8|gbk says which)");
    if (*charset == dede::SiteCharset::gbk) session.database = dede::gbk_text_site(std::move(session.database));
    auto site = dede::Site::load(*session.database, {arguments.prefix, clock, *charset});
    if (!site) return fail("the site cannot be read: " + terminal_safe(site.error().describe()));
    session.site = std::make_unique<dede::Site>(std::move(*site));

    // PHP may read the template and site folders and nothing else; the site's own functions come
    // from its root.
    std::error_code ec;
    session.php.readable_dirs = {fs::absolute(session.templets, ec).string()};
    session.php.now = clock.now;
    session.php.cli_time_offset_hours = session.site->hours_from_utc();
    if (arguments.site_root) {
        fs::path functions = *arguments.site_root / "include" / "extend.func.php";
        if (!fs::is_regular_file(functions, ec))
            return fail("--site-root " + terminal_safe(arguments.site_root->string()) +
                        ": no include/extend.func.php there");
        session.php.readable_dirs.push_back(fs::absolute(*arguments.site_root, ec).string());
        session.php.site_functions_file = functions.string();
    }
    return session;
}

}  // namespace brindle::preview
