#include "dede/site.h"

#include <algorithm>
#include <ctime>

#include "common/gbk.h"
#include "common/try.h"
#include "dede/php_text.h"

namespace brindle::dede {
namespace {

int column_int(const Row& row, const std::string& column) {
    auto found = row.find(column);
    return found == row.end() ? 0 : static_cast<int>(php_int(found->second));
}

std::string single_slashes(std::string text) {
    std::string out;
    for (char c : text)
        if (!(c == '/' && !out.empty() && out.back() == '/')) out += c;
    return out;
}

std::string trim_slashes_around(std::string path) {
    // cmspath is "" or "/dir": one leading slash, none at the end.
    while (!path.empty() && path.back() == '/') path.pop_back();
    size_t first = path.find_first_not_of('/');
    return first == std::string::npos ? std::string() : "/" + path.substr(first);
}

}  // namespace

Row row_at(const QueryResult& result, size_t index) {
    Row row;
    for (size_t c = 0; c < result.columns.size(); ++c) row[result.columns[c]] = result.rows[index][c].value_or("");
    return row;
}

std::string value_in(const Row& row, const std::string& name) {
    auto found = row.find(name);
    return found == row.end() ? std::string() : found->second;
}

Result<Site> Site::load(SiteDatabase& database, const SiteOptions& options) {
    Site site;
    site.database_ = &database;
    site.options_ = options;
    BRINDLE_TRY(auto settings, database.select(site.sql("SELECT varname, value FROM `#@__sysconfig`")));
    for (const auto& row : settings.rows) site.globals_[row[0].value_or("")] = row[1].value_or("");

    // What DedeCMS works out from the settings at start.
    auto& g = site.globals_;
    g["cfg_cmspath"] = trim_slashes_around(g["cfg_cmspath"]);
    const std::string& cms = g["cfg_cmspath"];
    g["cfg_mainsite"] = g["cfg_multi_site"] == "Y" ? g["cfg_basehost"] : "";
    const std::string& main = g["cfg_mainsite"];
    g["cfg_templets_dir"] = cms + "/templets";
    g["cfg_templeturl"] = main + g["cfg_templets_dir"];
    g["cfg_templets_skin"] = main + g["cfg_templets_dir"] + "/" + (g["cfg_df_style"].empty() ? "default" : g["cfg_df_style"]);
    g["cfg_cmsurl"] = main + cms;
    g["cfg_plus_dir"] = cms + "/plus";
    g["cfg_phpurl"] = main + g["cfg_plus_dir"];
    g["cfg_mobile_dir"] = cms + "/m";
    g["cfg_mobileurl"] = main + g["cfg_mobile_dir"];
    g["cfg_data_dir"] = cms + "/data";
    g["cfg_dataurl"] = main + g["cfg_data_dir"];
    g["cfg_member_dir"] = cms + "/member";
    g["cfg_memberurl"] = main + g["cfg_member_dir"];
    g["cfg_special"] = cms + "/special";
    g["cfg_specialurl"] = main + g["cfg_special"];
    g["cfg_medias_dir"] = cms + g["cfg_medias_dir"];
    g["cfg_mediasurl"] = main + g["cfg_medias_dir"];
    g["cfg_image_dir"] = g["cfg_medias_dir"] + "/allimg";
    g["cfg_user_dir"] = g["cfg_medias_dir"] + "/userup";
    g["cfg_soft_dir"] = g["cfg_medias_dir"] + "/soft";
    g["cfg_other_medias"] = g["cfg_medias_dir"] + "/media";
    g["cfg_version"] = "V57_UTF8_SP2";
    g["cfg_soft_lang"] = "utf-8";
    g["cfg_soft_public"] = "base";
    g["cfg_softname"] = "织梦内容管理系统";
    g["cfg_soft_enname"] = "DedeCMS";
    g["cfg_soft_devteam"] = "DedeCMS官方团队";
    g["cfg_df_ext"] = ".html";
    g["cfg_df_namerule"] = "{typedir}/{Y}/{M}{D}/{aid}.html";
    // Never shown to a template, whatever the settings hold.
    g.erase("cfg_dbpwd");
    g.erase("dbuserpwd");

    BRINDLE_TRY(auto types, database.select(site.sql("SELECT * FROM `#@__arctype` ORDER BY sortrank, id")));
    for (size_t i = 0; i < types.rows.size(); ++i) {
        Category category;
        category.columns = row_at(types, i);
        category.id = column_int(category.columns, "id");
        category.reid = column_int(category.columns, "reid");
        category.topid = column_int(category.columns, "topid");
        site.order_.push_back(category.id);
        site.categories_[category.id] = std::move(category);
    }
    return site;
}

std::string Site::sql(std::string_view with_placeholders) const {
    return replace_all(std::string(with_placeholders), "#@__", options_.table_prefix);
}

std::string Site::global(std::string_view name) const {
    auto found = globals_.find(std::string(name));
    return found == globals_.end() ? std::string() : found->second;
}

int Site::hours_from_utc() const {
    const std::string hours = global("cfg_cli_time");
    return hours.empty() ? 8 : static_cast<int>(php_int(hours));
}

const Category* Site::category(int id) const {
    auto found = categories_.find(id);
    return found == categories_.end() ? nullptr : &found->second;
}

std::vector<int> Site::category_and_below(int id, int channel) const {
    std::vector<int> out{id};
    for (size_t k = 0; k < out.size(); ++k)
        for (const Category* child : children(out[k]))
            if (channel == 0 || column_int(child->columns, "channeltype") == channel) out.push_back(child->id);
    return out;
}

std::vector<const Category*> Site::children(int id) const {
    std::vector<const Category*> out;
    for (int other : order_) {
        const Category& c = categories_.at(other);
        if (c.reid == id && c.id != id) out.push_back(&c);
    }
    return out;
}

std::string Site::folder(std::string_view typedir) const {
    if (typedir.starts_with("http:") || typedir.starts_with("ftp:")) return std::string(typedir);
    return single_slashes(replace_all(std::string(typedir), "{cmspath}", global("cfg_cmspath")));
}

std::string Site::category_url(const Row& c) const {
    auto get = [&](const char* k) {
        auto f = c.find(k);
        return f == c.end() ? std::string() : f->second;
    };
    const std::string dir = folder(get("typedir"));
    const int isdefault = column_int(c, "isdefault"), ispart = column_int(c, "ispart");
    std::string url;
    if (isdefault == -1) url = global("cfg_phpurl") + "/list.php?tid=" + get("id");
    else if (ispart == 2) return dir;
    else if (isdefault == 0 && ispart == 0)
        url = replace_all(replace_all(replace_all(get("namerule2"), "{page}", "1"), "{tid}", get("id")), "{typedir}", dir);
    else if (global("cfg_typedir_df") == "N" || isdefault == 0) url = dir + "/" + get("defaultname");
    else url = dir + "/";
    if (!url.starts_with("http://")) url = single_slashes(url);
    if (global("cfg_multi_site") == "Y" && !url.starts_with("http://")) url = global("cfg_basehost") + url;
    return url;
}

std::string Site::article_url(const Row& row) const {
    std::string url = article_path(row);
    if (global("cfg_multi_site") == "Y" && url.find("http:") == std::string::npos) url = global("cfg_basehost") + url;
    return url;
}

std::string Site::article_path(const Row& row) const {
    auto get = [&](const char* k) {
        auto f = row.find(k);
        return f == row.end() ? std::string() : f->second;
    };
    std::string rule = get("namerule");
    int typeid_ = column_int(row, "typeid");
    if (rule.empty()) {
        rule = global("cfg_special") + "/arc-{aid}.html";
        typeid_ = -1;
    }
    std::string url;
    if (column_int(row, "arcrank") != 0 || column_int(row, "ismake") == -1 || typeid_ == 0 || column_int(row, "money") > 0) {
        url = global("cfg_rewrite") == "Y" ? global("cfg_plus_dir") + "/view-" + get("id") + "-1.html"
                                           : global("cfg_phpurl") + "/view.php?aid=" + get("id");
    } else {
        std::string dir = get("typedir").empty() ? global("cfg_cmspath") + global("cfg_arcdir") : folder(get("typedir"));
        for (char& ch : rule)
            if (ch >= 'A' && ch <= 'Z') ch = static_cast<char>(ch - 'A' + 'a');
        const std::string day = date(php_int(get("senddate")));
        if (!get("filename").empty()) {
            size_t slash = rule.rfind('/');
            rule = (slash == std::string::npos ? std::string(".") : rule.substr(0, slash)) + "/" + get("filename") +
                   global("cfg_df_ext");
        }
        rule = replace_all(rule, "{typedir}", dir);
        rule = replace_all(rule, "{y}", day.substr(0, 4));
        rule = replace_all(rule, "{m}", day.size() >= 7 ? day.substr(5, 2) : "");
        rule = replace_all(rule, "{d}", day.size() >= 10 ? day.substr(8, 2) : "");
        rule = replace_all(rule, "{timestamp}", get("senddate"));
        rule = replace_all(rule, "{aid}", get("id"));
        size_t first = rule.find_first_not_of('/');
        url = "/" + (first == std::string::npos ? std::string() : rule.substr(first));
        if (global("cfg_arc_dirname") == "Y" && url.find("index.html") != std::string::npos)
            url = replace_all(url, "index.html", "");
    }
    return url;
}

std::string Site::date(int64_t time) const {
    if (time == 0) return "暂无";
    std::time_t local = static_cast<std::time_t>(time + int64_t{3600} * hours_from_utc());
    std::tm tm{};
    gmtime_r(&local, &tm);
    char text[16];
    std::strftime(text, sizeof text, "%Y-%m-%d", &tm);
    return text;
}

std::string Site::in_site_encoding(std::string_view page) const {
    return options_.charset == SiteCharset::gbk ? utf8_to_gb18030(page) : std::string(page);
}

}  // namespace brindle::dede
