// {dede:arclist} and its aliases: articles chosen by category, flags, keyword and time, in an order,
// each filled into the item template.
#include <algorithm>
#include <cctype>
#include <cmath>
#include <optional>

#include "dede/article_rows.h"
#include "dede/php_text.h"
#include "dede/tags/libraries.h"

namespace brindle::dede {
namespace {

// PHP's empty(): what an attribute left out or given as 0 falls back from.
std::string or_default(std::string_view value, std::string_view fallback) {
    return value.empty() || value == "0" ? std::string(fallback) : std::string(value);
}

// A keyword "~NAME~" (letters and digits) stands for the page's field NAME.
std::optional<std::string> field_reference(std::string_view keyword) {
    for (size_t open = keyword.find('~'); open != std::string_view::npos; open = keyword.find('~', open + 1)) {
        size_t end = open + 1;
        while (end < keyword.size() && std::isalnum(static_cast<unsigned char>(keyword[end]))) ++end;
        if (end > open + 1 && end < keyword.size() && keyword[end] == '~')
            return std::string(keyword.substr(open + 1, end - open - 1));
    }
    return std::nullopt;
}

std::string sons(const Site& site, std::string_view id) { return joined(site.category_and_below(static_cast<int>(php_int(id)))); }

// The article the page shows, 0 on other pages.
long long page_aid(const Page& page) {
    auto aid = page.fields.find("aid");
    return aid == page.fields.end() ? 0 : php_int(aid->second);
}

}  // namespace

std::string arclist(TagCall& call) {
    const ParsedTag& tag = call.tag;
    const TagAttributes& a = tag.attributes;
    Site& site = call.renderer.site();
    const std::string& name = tag.name;

    std::string listtype, channelid(a.get("channelid"));
    if (name == "imglist" || name == "imginfolist") listtype = "image";
    else if (name == "specart") channelid = "-1";
    else if (name == "coolart") listtype = "commend";
    else if (name != "autolist") listtype = a.get("type");
    std::string orderby = !a.get("sort").empty() ? std::string(a.get("sort")) : name == "hotart" ? "click" : std::string(a.get("orderby"));
    std::string body = php_trim(php_trim(tag.body).empty() ? call.renderer.system_template(name == "imglist"       ? "part_imglist.htm"
                                                                             : name == "imginfolist" ? "part_imginfolist.htm"
                                                                                                     : "part_arclist.htm")
                                               : tag.body);
    std::string titlelen = !a.get("titlelength").empty() ? std::string(a.get("titlelength")) : std::string(a.get("titlelen"));
    std::string infolen = !a.get("infolength").empty() ? std::string(a.get("infolength")) : std::string(a.get("infolen"));
    std::string typeid_ = php_trim(a.get("typeid"));
    if (typeid_.empty() || typeid_ == "0") typeid_ = std::to_string(call.page.typeid_);
    std::string att = a.get("att").empty() ? std::string(a.get("flag")) : std::string(a.get("att"));

    const long long rows = php_int(or_default(a.get("row"), "10"));
    const size_t title_length = static_cast<size_t>(php_int(or_default(titlelen, "30")));
    const size_t info_length = static_cast<size_t>(php_int(or_default(infolen, "160")));
    const std::string imgwidth = or_default(a.get("imgwidth"), "120"), imgheight = or_default(a.get("imgheight"), "120");
    orderby = ascii_lower(or_default(orderby, "default"));
    const std::string orderway = or_default(a.get("orderway"), "desc") == "asc" ? "asc" : "desc";
    const long long subday = php_int(a.get("subday"));
    std::string keyword = php_trim(a.get("keyword"));
    const std::string idlist = id_list(a.get("idlist"));
    long long col = php_int(a.get("col"));
    if (col == 0) col = 1;
    if (att == "0") att.clear();
    if (att == "3") att = "f";
    if (att == "1") att = "h";

    std::vector<std::string> where;
    if (idlist.empty()) {
        if (orderby == "near" && site.global("cfg_keyword_like") == "N") keyword.clear();
        if (a.get("writer") == "this") {
            auto writer = call.page.fields.find("mid");
            where.push_back(
                " arc.mid = " + site.database().quote(writer == call.page.fields.end() ? "0" : writer->second) + " ");
        }
        if (subday > 0) {
            int64_t today = site.clock().now - site.clock().now % 86400;  // UTC midnight, as DedeCMS's gmmktime
            where.push_back(" arc.senddate > " + std::to_string(today - subday * 86400) + " ");
        }
        if (!keyword.empty()) {
            if (auto name = field_reference(keyword)) {
                auto field = call.page.fields.find(*name);
                if (field != call.page.fields.end()) keyword = field->second;
            }
            std::replace(keyword.begin(), keyword.end(), ',', '|');
            while (!keyword.empty() && keyword.front() == '|') keyword.erase(keyword.begin());
            while (!keyword.empty() && keyword.back() == '|') keyword.pop_back();
            where.push_back(" CONCAT(arc.title,arc.keywords) REGEXP " + site.database().quote(keyword) + " ");
        }
        if (ascii_lower(listtype).find("commend") != std::string::npos) where.push_back(" FIND_IN_SET('c', arc.flag)>0  ");
        if (ascii_lower(listtype).find("image") != std::string::npos) where.push_back(" FIND_IN_SET('p', arc.flag)>0  ");
        if (!att.empty()) {
            size_t from = 0;
            while (true) {
                size_t comma = att.find(',', from);
                where.push_back(" FIND_IN_SET(" + site.database().quote(att.substr(from, comma - from)) + ", arc.flag)>0 ");
                if (comma == std::string::npos) break;
                from = comma + 1;
            }
        }
        if (!typeid_.empty() && typeid_ != "0" && typeid_ != "top") {
            if (typeid_.find(',') != std::string::npos) {
                // Several categories take their children only on a page without one of its own.
                std::string ids = id_list(typeid_);
                if (a.get("getall") == "1" || call.page.typeid_ == 0) {
                    std::vector<int> all;
                    size_t from = 0;
                    while (from <= ids.size()) {
                        size_t comma = ids.find(',', from);
                        for (int id : site.category_and_below(static_cast<int>(php_int(ids.substr(from, comma - from)))))
                            if (std::find(all.begin(), all.end(), id) == all.end()) all.push_back(id);
                        if (comma == std::string::npos) break;
                        from = comma + 1;
                    }
                    ids = joined(all);
                }
                where.push_back(" arc.typeid IN (" + ids + ") ");
            } else {
                where.push_back(" arc.typeid IN (" + sons(site, typeid_) + ")");
            }
        }
        if (!a.get("notypeid").empty() && a.get("notypeid") != "0")
            where.push_back(" arc.typeid NOT IN (" + sons(site, a.get("notypeid")) + ")");
        if (!channelid.empty() && channelid != "0") where.push_back(" arc.channel = " + site.database().quote(channelid) + " ");
        std::string noflag(a.get("noflag"));
        if (!noflag.empty()) {
            size_t from = 0;
            while (true) {
                size_t comma = noflag.find(',', from);
                std::string one = php_trim(noflag.substr(from, comma - from));
                if (!one.empty()) where.push_back(" FIND_IN_SET(" + site.database().quote(one) + ", arc.flag)<1 ");
                if (comma == std::string::npos) break;
                from = comma + 1;
            }
        }
        where.push_back(" arc.arcrank > -1 ");
    }

    std::string order;
    if (orderby == "hot" || orderby == "click") order = " ORDER BY arc.click " + orderway;
    else if (orderby == "id") order = " ORDER BY arc.id " + orderway;
    else if (orderby == "near")
        order = " ORDER BY ABS(arc.id - " + std::to_string(page_aid(call.page)) + ")";
    else if (orderby == "lastpost" || orderby == "scores" || orderby == "goodpost" || orderby == "badpost")
        order = " ORDER BY arc." + orderby + " " + orderway;
    else if (orderby == "rand") order = " ORDER BY rand()";
    else order = " ORDER BY arc.sortrank " + orderway;

    long long line = rows;
    std::string limit;
    std::string limit_text = php_trim(a.get("limit"));
    if (!limit_text.empty()) {
        std::string clean = id_list(ascii_lower(limit_text));
        limit = " LIMIT " + clean;
        size_t comma = clean.find(',');
        if (comma != std::string::npos) line = php_int(clean.substr(comma + 1));
    } else {
        limit = " LIMIT 0," + std::to_string(rows);
    }

    std::string query = "SELECT arc.*,tp.typedir,tp.typename,tp.corank,tp.isdefault,tp.defaultname,tp.namerule,"
                        "tp.namerule2,tp.ispart,tp.moresite,tp.siteurl,tp.sitepath FROM `#@__archives` arc LEFT JOIN "
                        "`#@__arctype` tp on arc.typeid=tp.id ";
    if (!idlist.empty()) {
        query += " WHERE arc.id in(" + idlist + ") " + order;
    } else {
        std::string joined_where;
        for (const std::string& w : where) joined_where += (joined_where.empty() ? "" : " And ") + w;
        if (!joined_where.empty()) query += " WHERE " + joined_where + " ";
        query += order + limit;
    }
    auto result = site.database().select(site.sql(query));
    if (!result) {
        call.renderer.report(call.file, tag.begin, "{dede:" + name + "}: " + result.error().message);
        return {};
    }

    const ArticleRowStyle style{title_length, info_length, imgwidth, imgheight};
    std::vector<Row> rows_out;
    for (size_t i = 0; i < result->rows.size(); ++i) {
        Row row = row_at(*result, i);
        add_article_fields(site, row, style);
        rows_out.push_back(std::move(row));
    }

    call.renderer.set_global("autoindex", "0");
    return fill_article_rows(call, body, rows_out, line, col, a.get("tablewidth"));
}

std::string fill_article_rows(TagCall& call, std::string_view body, const std::vector<Row>& rows, long long line,
                              long long col, std::string_view tablewidth) {
    if (col <= 1) {
        std::vector<Row> shown(rows.begin(),
                               rows.begin() + std::clamp<long long>(line, 0, static_cast<long long>(rows.size())));
        return call.renderer.fill_items(body, shown, call.file, trimmed_body_at(call.tag), "\r\n");
    }
    // A table of `col` columns: every row of the table holds `col` cells, filled or not.
    const std::string width = std::to_string(static_cast<long long>(std::ceil(100.0 / static_cast<double>(col)))) + "%";
    std::string out = "<table width='" + (tablewidth.empty() ? std::string("100") : std::string(tablewidth)) +
                      "%' border='0' cellspacing='0' cellpadding='0'>\r\n";
    size_t next = 0;
    int index = 1;
    for (long long i = 0; i < line; i += col) {
        out += "<tr>\r\n";
        for (long long j = 0; j < col; ++j) {
            out += "    <td width='" + width + "'>\r\n";
            if (next < rows.size()) {
                out += call.renderer.fill_items(body, {rows[next++]}, call.file, trimmed_body_at(call.tag), "\r\n",
                                                true, index);
                ++index;
            }
            out += "    </td>\r\n";
        }
        out += "    </tr>\r\n";
    }
    return out + "    </table>\r\n";
}

}  // namespace brindle::dede
