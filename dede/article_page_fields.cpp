#include "dede/article_page_fields.h"

#include <cmath>
#include <cstdio>
#include <optional>

#include "common/gbk.h"
#include "dede/html_text.h"
#include "dede/keyword_links.h"
#include "dede/php_text.h"
#include "dede/text_cut.h"

namespace brindle::dede {
namespace {

constexpr size_t kPageSummaryLength = 200;

// PHP's empty() of a value read from the database.
bool php_empty(std::string_view value) { return value.empty() || value == "0"; }

// A PHP float as echo prints it (14 significant digits).
std::string php_float(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.14G", value);
    return text;
}

// The shares of "good" and "bad" votes in per cent, as DedeCMS rounds them (to a tenth of a per cent).
void add_digg_shares(Row& f) {
    const double good = static_cast<double>(php_int(f["goodpost"])), bad = static_cast<double>(php_int(f["badpost"]));
    if (good + bad == 0) {
        f["goodper"] = f["badper"] = "0";
        return;
    }
    char rounded[32];
    std::snprintf(rounded, sizeof rounded, "%.3f", std::round(good / (good + bad) * 1000.0) / 1000.0);
    const double share = std::strtod(rounded, nullptr) * 100;
    f["goodper"] = php_float(share);
    f["badper"] = php_float(100 - share);
}

// Keyword links in a text as the site's edition writes them: the GBK edition works on GBK bytes, so
// its patterns and hashes see those.
LinkedText site_keyword_linked(const Site& site, const std::string& text, const std::vector<KeywordLink>& links) {
    const long limit = static_cast<long>(php_int(site.global("cfg_replace_num")));
    if (site.charset() == SiteCharset::utf8) return with_keyword_links(text, links, limit);
    std::vector<KeywordLink> in_gbk;
    for (const KeywordLink& link : links) in_gbk.push_back({utf8_to_gb18030(link.keyword), utf8_to_gb18030(link.url)});
    LinkedText linked = with_keyword_links(utf8_to_gb18030(text), in_gbk, limit);
    linked.text = gbk_to_utf8(linked.text);
    linked.fault = gbk_to_utf8(linked.fault);
    return linked;
}

// The channel table's fields as the template asks for them, keyword links in its HTML text.
void add_own_fields(const Site& site, const ArticleRecord& article, const ParsedTemplate& tags,
                    ArticlePageFields& out) {
    Row& f = out.fields;
    std::optional<std::vector<KeywordLink>> links;
    for (const ChannelField& field : article.channel_fields.fields) {
        auto stored = article.own.find(field.name);
        if (stored == article.own.end()) continue;
        const std::string_view rename = field.attributes.get("rename");
        const std::string shown_as = rename.empty() ? field.name : std::string(rename);
        bool named = false;
        for (const ParsedTag& tag : tags.tags) {
            if (tag.name != "field" || tag.attributes.get("name") != field.name) continue;
            named = true;
            const std::string value = shown_field_value(field, stored->second);
            if (!tag.attributes.get("noteid").empty())
                f[field.name + "_" + std::string(tag.attributes.get("noteid"))] = value;
            else if (!tag.attributes.get("type").empty())
                f[field.name + "_" + std::string(tag.attributes.get("type"))] = value;
            else
                f[shown_as] = value;
        }
        if (!named) f[shown_as] = stored->second;
        if (field.attributes.get("type") != "htmltext" || site.global("cfg_keyword_replace") != "Y" ||
            php_empty(f["keywords"]))
            continue;
        if (!links) {
            auto read = site_keyword_links(site);
            if (!read) out.warnings.push_back("the keyword links cannot be read: " + read.error().message);
            links = read ? std::move(*read) : std::vector<KeywordLink>{};
        }
        LinkedText linked = site_keyword_linked(site, f[shown_as], *links);
        if (!linked.fault.empty()) out.warnings.push_back("field " + shown_as + " is empty: " + linked.fault);
        f[shown_as] = std::move(linked.text);
    }
    f["typename"] = article.category ? value_in(article.category->columns, "typename") : "";
}

// The picture: the site's default one when there is none, an <img> when it looks like a picture.
void add_picture(const Site& site, Row& f) {
    if (f["litpic"] == "-" || f["litpic"].empty()) f["litpic"] = site.global("cfg_cmspath") + "/images/defaultpic.gif";
    if (site.global("cfg_multi_site") == "Y" && !ascii_lower(f["litpic"]).starts_with("http://"))
        f["litpic"] = site.global("cfg_mainsite") + f["litpic"];
    f["picname"] = f["litpic"];
    const std::string lower = ascii_lower(f["picname"]);
    const bool picture = lower.find("jpg") != std::string::npos || lower.find("gif") != std::string::npos ||
                         lower.find("png") != std::string::npos;
    f["image"] = picture ? "<img src='" + f["picname"] + "' />" : "";
}

// A static article's file names: the file's own (NAME.EXT, which page N extends to NAME_N.EXT) and
// its address.
void add_file_names(const Site& site, const ArticleRecord& article, ArticlePageFields& out) {
    Row& f = out.fields;
    for (const char* name : {"senddate", "title", "filename"})
        if (php_empty(f[name])) f[name] = "";
    for (const char* name : {"arcrank", "ismake", "money"})
        if (php_empty(f[name])) f[name] = "0";
    Row addressed = f;
    if (article.category)
        for (const char* name : {"namerule", "moresite", "siteurl", "sitepath"})
            addressed[name] = value_in(article.category->columns, name);
    std::string file = site.article_path(addressed);
    if (file.find('?') == std::string::npos && site.global("cfg_arc_dirname") == "Y" && file.ends_with('/'))
        file += "index.html";
    const size_t dot = file.rfind('.');
    std::string extension = dot == std::string::npos ? file : file.substr(dot + 1);
    if (extension.empty()) extension = "html";
    std::string first = file;
    if (first.size() > extension.size() &&
        ascii_lower(first.substr(first.size() - extension.size() - 1)) == "." + ascii_lower(extension))
        first.resize(first.size() - extension.size() - 1);
    std::string base = first;
    while (base.size() > 1 && base.back() == '/') base.pop_back();
    f["namehand"] = base.substr(base.rfind('/') == std::string::npos ? 0 : base.rfind('/') + 1);
    out.addresses.name = first.substr(first.rfind('/') == std::string::npos ? 0 : first.rfind('/') + 1);
    out.addresses.extension = extension;
    f["arcurl"] = f["fullname"] = site.article_url(addressed);
}

}  // namespace

ArticlePageFields article_page_fields(const Site& site, const ArticleRecord& article, const ParsedTemplate& tags,
                                      bool dynamic) {
    ArticlePageFields out;
    Row& f = out.fields = article.fields;
    f["displaytype"] = dynamic ? "dm" : "st";
    if (!value_in(article.channel, "addtable").empty()) add_own_fields(site, article, tags, out);

    out.split_field = article.channel_fields.split_field;
    if (!out.split_field.empty() && f.contains(out.split_field)) {
        out.pages = split_pages(f[out.split_field], site.charset());
        f["totalpage"] = std::to_string(out.pages.texts.size());
    } else {
        out.split_field.clear();
        out.pages.texts.emplace_back();
    }
    add_picture(site, f);
    if (!php_empty(f["voteid"]))
        f["vote"] = "<script language='javascript' src='" +
                    (site.global("cfg_multi_site") == "Y" ? site.global("cfg_mainsite") : site.global("cfg_cmspath")) +
                    "/data/vote/vote_" + f["voteid"] + ".js'></script>";
    add_digg_shares(f);
    if (php_empty(f["keywords"])) f["keywords"] = "";
    if (php_empty(f["reid"])) f["reid"] = "0";

    out.addresses.dynamic = dynamic;
    out.addresses.aid = article.id;
    out.addresses.rewritten = site.global("cfg_rewrite") == "Y";
    out.addresses.phpurl = f["phpurl"];
    if (!dynamic) add_file_names(site, article, out);
    return out;
}

void show_page(ArticlePageFields& out, size_t page_no, SiteCharset charset) {
    Row& f = out.fields;
    const std::string number = std::to_string(page_no);
    if (out.addresses.dynamic) {
        if (page_no > 1) f["title"] += "(" + number + ")";
    } else if (out.pages.texts.size() > 1) {
        f["tmptitle"] = f["title"];
        if (page_no > 1) f["title"] += "(" + number + ")";
    }
    f["nowpage"] = number;
    if (out.split_field.empty()) return;
    const std::string& text = f[out.split_field] = out.pages.texts[page_no - 1];
    if (page_no == 1) return;
    std::string summary = cut_text(html_to_text(text), kPageSummaryLength, charset);
    for (char& c : summary)
        if (c == '\r' || c == '\n' || c == '\t') c = ' ';
    f["description"] = php_trim(summary);
}

}  // namespace brindle::dede
