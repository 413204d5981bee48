#include "dede/article_record.h"

#include "common/try.h"
#include "dede/pages.h"
#include "dede/php_text.h"

namespace brindle::dede {
namespace {

// The article's tags, joined with commas in the order the site stores them.
std::string article_tags(const Site& site, int64_t aid) {
    auto result =
        site.database().select(site.sql("SELECT tag FROM `#@__taglist` WHERE aid='" + std::to_string(aid) + "'"));
    std::string tags;
    if (result)
        for (const auto& row : result->rows) tags += (tags.empty() ? "" : ",") + row[0].value_or("");
    return tags;
}

}  // namespace

bool ArticleRecord::dynamic() const {
    return php_int(value_in(fields, "ismake")) == -1 || php_int(value_in(fields, "arcrank")) != 0 ||
           php_int(value_in(fields, "money")) > 0 || (typeid_ == 0 && php_int(value_in(fields, "channel")) != -1);
}

Result<ArticleRecord> read_article(const Site& site, int64_t aid) {
    const std::string id = std::to_string(aid);
    BRINDLE_TRY(auto tiny,
                site.database().select(site.sql("SELECT channel, typeid FROM `#@__arctiny` WHERE id='" + id + "'")));
    if (tiny.rows.empty()) return fail("there is no article " + id);
    ArticleRecord article;
    article.id = aid;
    long long channel = php_int(tiny.rows[0][0].value_or("0"));
    if (channel == 0) channel = 1;
    article.typeid_ = static_cast<int>(php_int(tiny.rows[0][1].value_or("0")));
    article.category = site.category(article.typeid_);

    BRINDLE_TRY(auto model, site.database().select(site.sql("SELECT * FROM `#@__channeltype` WHERE id='" +
                                                            std::to_string(channel) + "'")));
    if (model.rows.empty())
        return fail("article " + id + " is of channel " + std::to_string(channel) + ", which the site does not have");
    article.channel = row_at(model, 0);
    if (php_int(article.channel["issystem"]) == -1)
        return fail("article " + id + " is of a single-table model (" + article.channel["typename"] +
                    "), which this preview does not render");
    article.channel_fields = read_channel_fields(article.channel["fieldset"]);

    BRINDLE_TRY(
        auto main,
        site.database().select(site.sql(
            "SELECT arc.*, tp.reid, tp.typedir, ch.addtable FROM `#@__archives` arc "
            "LEFT JOIN `#@__arctype` tp ON tp.id=arc.typeid LEFT JOIN `#@__channeltype` ch ON arc.channel=ch.id "
            "WHERE arc.id='" +
            id + "'")));
    if (main.rows.empty()) return fail("article " + id + " is listed but has no row in the archives table");
    Row& f = article.fields = row_at(main, 0);
    if (article.category && php_int(value_in(article.category->columns, "corank")) > 0 && php_int(f["arcrank"]) == 0)
        f["arcrank"] = value_in(article.category->columns, "corank");
    f["tags"] = article_tags(site, aid);
    f["aid"] = f["id"] = id;
    f["position"] = category_position(site, article.category);
    f["typeid"] = std::to_string(article.typeid_);
    for (auto& [name, value] : public_fields(site)) f[name] = value;

    const std::string table = article.channel["addtable"];
    if (!table.empty()) {
        auto own = site.database().select(site.sql("SELECT * FROM `" + table + "` WHERE `aid` = '" + id + "'"));
        if (own && !own->rows.empty())
            for (size_t c = 0; c < own->columns.size(); ++c)
                if (own->rows[0][c]) article.own[ascii_lower(own->columns[c])] = *own->rows[0][c];
    }
    for (const char* name : {"redirecturl", "templet", "userip"}) f[name] = php_trim(value_in(article.own, name));
    return article;
}

}  // namespace brindle::dede
