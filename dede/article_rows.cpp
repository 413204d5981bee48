#include "dede/article_rows.h"

#include "dede/php_text.h"
#include "dede/text_cut.h"

namespace brindle::dede {

void add_article_fields(const Site& site, Row& row, const ArticleRowStyle& style) {
    row["infos"] = cut_text(row["description"], style.info_length, site.charset());
    if (style.with_info) row["info"] = row["infos"];
    if (php_int(row["corank"]) > 0 && php_int(row["arcrank"]) == 0) row["arcrank"] = row["corank"];
    row["filename"] = row["arcurl"] = site.article_url(row);
    Row type = row;
    type["id"] = row["typeid"];
    row["typeurl"] = site.category_url(type);
    if (row["litpic"] == "-" || row["litpic"].empty()) row["litpic"] = site.global("cfg_cmspath") + "/images/defaultpic.gif";
    if (site.global("cfg_multi_site") == "Y" && !row["litpic"].starts_with("http://"))
        row["litpic"] = site.global("cfg_mainsite") + row["litpic"];
    row["picname"] = row["litpic"];
    row["stime"] = site.date(php_int(row["pubdate"]));
    row["typelink"] = "<a href='" + row["typeurl"] + "'>" + row["typename"] + "</a>";
    std::string alt;
    for (char c : row["title"])
        if (c != '\'' && c != '>' && c != '<') alt += c;
    row["image"] = "<img src='" + row["picname"] + "' border='0' width='" + style.image_width + "' height='" +
                   style.image_height + "' alt='" + alt + "'>";
    row["imglink"] = "<a href='" + row["filename"] + "'>" + row["image"] + "</a>";
    row["fulltitle"] = row["title"];
    row["title"] = cut_text(row["title"], style.title_length, site.charset());
    if (!row["color"].empty()) row["title"] = "<font color='" + row["color"] + "'>" + row["title"] + "</font>";
    if (row["flag"].find(style.bold_flag) != std::string::npos)
        row["title"] = "<" + style.bold + ">" + row["title"] + "</" + style.bold + ">";
    row["textlink"] = "<a href='" + row["filename"] + "'>" + row["title"] + "</a>";
    row["plusurl"] = row["phpurl"] = site.global("cfg_phpurl");
    row["memberurl"] = site.global("cfg_memberurl");
    row["templeturl"] = site.global("cfg_templeturl");
}

}  // namespace brindle::dede
