// {dede:flink}: the site's friend links; {dede:flinktype}: their groups, each with the flink tags of
// its body run for that group.
#include "dede/php_text.h"
#include "dede/tags/libraries.h"
#include "dede/text_cut.h"

namespace brindle::dede {
namespace {

std::string or_default(std::string_view value, std::string_view fallback) {
    return value.empty() ? std::string(fallback) : std::string(value);
}

// DedeCMS fills [field:NAME/] (any blanks or slashes before ']') by pattern, not by its parser.
std::string fill_by_pattern(std::string text, std::string_view name, std::string_view value) {
    const std::string head = "[field:" + std::string(name);
    for (size_t at = 0; (at = text.find(head, at)) != std::string::npos;) {
        size_t end = at + head.size();
        while (end < text.size() && (text[end] == '/' || text[end] == ' ' || text[end] == '\t' || text[end] == '\r' ||
                                     text[end] == '\n'))
            ++end;
        if (end < text.size() && text[end] == ']') {
            text.replace(at, end + 1 - at, value);
            at += value.size();
        } else {
            at = end;
        }
    }
    return text;
}

}  // namespace

std::string flink(TagCall& call) {
    const TagAttributes& a = call.tag.attributes;
    Site& site = call.renderer.site();
    const std::string type = or_default(a.get("type"), "textall");
    const std::string row_attribute = or_default(a.get("row"), "24");
    const size_t titlelen = static_cast<size_t>(php_int(or_default(a.get("titlelen"), "24")));
    long long typeid_ = php_int(or_default(a.get("typeid"), "0"));
    if (call.renderer.flink_group()) typeid_ = *call.renderer.flink_group();
    std::string where = " where ischeck >= '" + std::to_string(php_int(or_default(a.get("linktype"), "1"))) + "' ";
    if (typeid_ == 999) {
        // DedeCMS asks its own server for these links; a preview goes to no network.
        call.renderer.report(call.file, call.tag.begin, "{dede:flink typeid=999} comes from DedeCMS's server: not shown", false);
        return {};
    }
    if (typeid_ != 0) where += "And typeid = '" + std::to_string(typeid_) + "'";
    if (type == "image") where += " And logo<>'' ";
    else if (type == "text") where += " And logo='' ";
    auto result = site.database().select(site.sql("SELECT * FROM #@__flink " + where + " order by sortrank asc limit 0," +
                                                  std::to_string(php_int(row_attribute))));
    if (!result) {
        call.renderer.report(call.file, call.tag.begin, "{dede:flink}: " + result.error().message);
        return {};
    }
    std::string body = call.tag.body;
    if (body.find_first_not_of(" \t\r\n") == std::string::npos) body = "<li>[field:link /]</li>";
    // DedeCMS reads url, webname and logo from the row attribute's text by mistake: on the PHP it
    // was written for, each is that text's first character.
    const std::string mistaken = row_attribute.substr(0, 1);
    std::string out;
    for (size_t i = 0; i < result->rows.size(); ++i) {
        Row row = row_at(*result, i);
        const std::string image = "<a href='" + row["url"] + "' target='_blank'><img src='" + row["logo"] +
                                  "' width='88' height='31' border='0'></a> ";
        const std::string text = "<a href='" + row["url"] + "' target='_blank'>" +
                                 cut_text(row["webname"], titlelen, site.charset()) + "</a> ";
        std::string link = type == "text" || type == "textall" ? text : type == "image" ? image : row["logo"].empty() ? text : image;
        std::string item = fill_by_pattern(body, "url", mistaken);
        item = fill_by_pattern(item, "webname", mistaken);
        item = fill_by_pattern(item, "logo", mistaken);
        out += fill_by_pattern(item, "link", link);
    }
    return out;
}

std::string flinktype(TagCall& call) {
    Site& site = call.renderer.site();
    const std::string row_attribute = or_default(call.tag.attributes.get("row"), "24");
    auto result = site.database().select(site.sql("SELECT * FROM #@__flinktype order by id asc limit 0," +
                                                  std::to_string(php_int(row_attribute))));
    if (!result) {
        call.renderer.report(call.file, call.tag.begin, "{dede:flinktype}: " + result.error().message);
        return {};
    }
    std::string body = call.tag.body;
    if (body.find_first_not_of(" \t\r\n") == std::string::npos) body = "<li>[field:typename /]</li>";
    std::string out;
    for (size_t i = 0; i < result->rows.size(); ++i) {
        Row row = row_at(*result, i);
        // The group stays chosen for every flink after it on the page, as in DedeCMS.
        call.renderer.set_flink_group(php_int(row["id"]));
        std::string item = call.renderer.render_flinks(body, call.page, call.file);
        item = fill_by_pattern(item, "id", row["id"]);
        out += fill_by_pattern(item, "typename", row["typename"]);
    }
    return out;
}

// {dede:hotwords}: the most searched words of the last days, each a link to the search.
std::string hotwords(TagCall& call) {
    const TagAttributes& a = call.tag.attributes;
    Site& site = call.renderer.site();
    long long subday = php_int(a.get("subday")), num = php_int(a.get("num")), maxlength = php_int(a.get("maxlength"));
    if (a.get("subday").empty()) subday = 365;
    if (a.get("num").empty()) num = 6;
    if (a.get("maxlength").empty()) maxlength = 16;
    if (subday == 0) subday = 365;
    if (num == 0) num = 6;
    if (maxlength == 0) maxlength = 20;
    const long long since = site.clock().now - subday * 86400;
    auto result = site.database().select(site.sql(
        "SELECT keyword FROM `#@__search_keywords` WHERE lasttime>" + std::to_string(since) + " AND LENGTH(keyword)<" +
        std::to_string(maxlength + 1) + " ORDER BY count DESC LIMIT 0," + std::to_string(num)));
    if (!result) {
        call.renderer.report(call.file, call.tag.begin, "{dede:hotwords}: " + result.error().message);
        return {};
    }
    std::string out;
    for (const auto& row : result->rows) {
        const std::string word = row[0].value_or("");
        out += "　<a href='" + site.global("cfg_phpurl") + "/search.php?keyword=" + url_encoded(word, site.charset()) +
               "'>" + word + "</a> ";
    }
    return out;
}

}  // namespace brindle::dede
