#include "dede/article_neighbours.h"

namespace brindle::dede {
namespace {

// The neighbour on one side, with what its address is made of; none at the end of the category.
std::optional<Row> neighbour(const Site& site, int64_t aid, int typeid_, bool before) {
    const std::string where = before ? " WHERE id<" + std::to_string(aid) : " WHERE id>" + std::to_string(aid);
    auto id = site.database().select(site.sql("SELECT id FROM `#@__arctiny`" + where + " AND arcrank>-1 AND typeid='" +
                                              std::to_string(typeid_) + "' ORDER BY id " + (before ? "DESC" : "ASC") +
                                              " LIMIT 0,1"));
    if (!id || id->rows.empty()) return std::nullopt;
    auto row = site.database().select(site.sql(
        "SELECT arc.id, arc.title, arc.shorttitle, arc.typeid, arc.ismake, arc.senddate, arc.arcrank, arc.money, arc.filename, "
        "arc.litpic, t.typedir, t.typename, t.namerule, t.namerule2, t.ispart, t.moresite, t.siteurl, t.sitepath "
        "FROM `#@__archives` arc LEFT JOIN `#@__arctype` t ON arc.typeid=t.id WHERE arc.id=" +
        id->rows[0][0].value_or("0")));
    if (!row || row->rows.empty()) return std::nullopt;
    return row_at(*row, 0);
}

}  // namespace

std::string ArticleNeighbours::shown(std::string_view get) const {
    if (get == "pre") return pre;
    if (get == "preimg") return preimg;
    if (get == "next") return next;
    if (get == "nextimg") return nextimg;
    return pre + " &nbsp; " + next;
}

ArticleNeighbours article_neighbours(const Site& site, int64_t aid, int typeid_) {
    ArticleNeighbours out;
    if (auto row = neighbour(site, aid, typeid_, true)) {
        const std::string link = site.article_url(*row);
        out.pre = "上一篇：<a href='" + link + "'>" + (*row)["title"] + "</a> ";
        out.preimg =
            "<a href='" + link + "'><img src=\"" + (*row)["litpic"] + "\" alt=\"" + (*row)["title"] + "\"/></a> ";
    } else {
        out.pre = "上一篇：没有了 ";
        out.preimg = "<img src=\"/templets/default/images/nophoto.jpg\" alt=\"对不起，没有上一图集了！\"/>";
    }
    if (auto row = neighbour(site, aid, typeid_, false)) {
        const std::string link = site.article_url(*row);
        out.next = "下一篇：<a href='" + link + "'>" + (*row)["title"] + "</a> ";
        out.nextimg =
            "<a href='" + link + "'><img src=\"" + (*row)["litpic"] + "\" alt=\"" + (*row)["title"] + "\"/></a> ";
    } else {
        out.next = "下一篇：没有了 ";
        out.nextimg =
            "<a href='javascript:void(0)' alt=\"\"><img src=\"/templets/default/images/nophoto.jpg\" "
            "alt=\"对不起，没有下一图集了！\"/></a>";
    }
    return out;
}

}  // namespace brindle::dede
