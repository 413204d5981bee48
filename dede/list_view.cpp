#include "dede/list_view.h"

#include <cmath>

#include "dede/article_rows.h"
#include "dede/pages.h"
#include "dede/php_text.h"

namespace brindle::dede {
namespace {

namespace fs = std::filesystem;

class ListPage {
public:
    ListPage(Renderer& renderer, const Category& category, int page_no)
        : renderer_(renderer), site_(renderer.site()), category_(category), page_no_(page_no) {}

    // Which articles the category lists, and how many.
    void count() {
        const Site& site = site_;
        Row c = category_.columns;
        const std::string id = std::to_string(category_.id);
        where_ = " arc.arcrank > -1 ";
        const bool second_types = site.global("cfg_need_typeid2") == "Y";
        const std::string typeid2 = " OR CONCAT(',', arc.typeid2, ',') LIKE '%," + id + ",%'";
        if (site.global("cfg_list_son") == "N") {
            where_ += second_types ? " AND ( (arc.typeid='" + id + "')" + typeid2 + ") " : " AND (arc.typeid='" + id + "') ";
        } else {
            std::string sons = joined(site.category_and_below(category_.id, static_cast<int>(php_int(c["channeltype"]))));
            std::string in = sons.find(',') == std::string::npos ? " arc.typeid = '" + sons + "' " : " arc.typeid IN(" + sons + ") ";
            where_ += second_types ? " AND ( " + in + typeid2 + "  ) " : " AND ( " + in + " ) ";
        }
        auto counted = site.database().select(site.sql("SELECT COUNT(*) AS `dd` FROM `#@__arctiny` arc WHERE " + where_));
        total_ = counted && !counted->rows.empty() ? php_int(counted->rows[0][0].value_or("0")) : 0;
    }

    std::optional<std::string> view_tag(TagCall& call) {
        const ParsedTag& tag = call.tag;
        if (tag.name == "list") return list(tag, call.file);
        if (tag.name == "pagelist") {
            std::string size = php_trim(tag.attributes.get("listsize"));
            std::string items = tag.attributes.get("listitem").empty() ? "index,pre,pageno,next,end,option"
                                                                       : std::string(tag.attributes.get("listitem"));
            if (size.empty() || size.find_first_not_of("0123456789") != std::string::npos) size = "3";
            return dynamic() ? dynamic_pages(php_int(size), items) : static_pages(php_int(size), items);
        }
        if (page_no_ != 1 && tag.name == "field" && !tag.attributes.get("display").empty()) return std::string();
        return std::nullopt;
    }

    bool dynamic() const { return php_int(category_.columns.at("isdefault")) == -1; }
    void set_page_size(long long size) { page_size_ = size > 0 ? size : 20; }

private:
    std::string list(const ParsedTag& tag, std::string_view file) {
        const TagAttributes& a = tag.attributes;
        const long long col = a.get("col").empty() ? 1 : php_int(a.get("col"));
        ArticleRowStyle style;
        style.title_length = static_cast<size_t>(a.get("titlelen").empty() ? 100 : php_int(a.get("titlelen")));
        style.info_length = static_cast<size_t>(a.get("infolen").empty() ? 250 : php_int(a.get("infolen")));
        if (!a.get("imgwidth").empty()) style.image_width = a.get("imgwidth");
        if (!a.get("imgheight").empty()) style.image_height = a.get("imgheight");
        style.with_info = false;
        style.bold_flag = 'c';
        style.bold = "b";
        std::string orderby(a.get("orderby"));
        for (char& ch : orderby) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
        const std::string way = a.get("orderway") == "asc" ? "asc" : "desc";
        std::string order = orderby == "senddate" || orderby == "id"   ? " ORDER BY arc.id " + way
                            : orderby == "hot" || orderby == "click"   ? " ORDER BY arc.click " + way
                            : orderby == "lastpost"                    ? " ORDER BY arc.lastpost " + way
                            : orderby == "weight"                      ? " ORDER BY arc.weight " + way
                                                                       : " ORDER BY arc.sortrank " + way;
        std::string body = php_trim(tag.body);
        if (body.empty()) body = renderer_.system_template("list_fulllist.htm");
        const std::string limit = " LIMIT " + std::to_string((page_no_ - 1) * page_size_) + "," + std::to_string(page_size_);
        const std::string columns = "SELECT arc.*,tp.typedir,tp.typename,tp.corank,tp.isdefault,tp.defaultname,tp.namerule,"
                                    "tp.namerule2,tp.ispart,tp.moresite,tp.siteurl,tp.sitepath FROM `#@__archives` arc "
                                    "LEFT JOIN `#@__arctype` tp ON arc.typeid=tp.id ";
        Result<QueryResult> result = fail("");
        if (orderby == "hot" || orderby == "click" || orderby == "lastpost" || orderby == "weight") {
            result = site_.database().select(site_.sql(columns + "WHERE " + where_ + order + limit));
        } else {
            auto ids = site_.database().select(site_.sql("SELECT `id` FROM `#@__arctiny` arc WHERE " + where_ + order + limit));
            if (!ids) return report(tag, file, ids.error().message);
            std::string list;
            for (const auto& row : ids->rows) list += (list.empty() ? "" : ",") + row[0].value_or("0");
            if (list.empty()) return {};
            result = site_.database().select(site_.sql(columns + "WHERE arc.id in(" + list + ") " + order));
        }
        if (!result) return report(tag, file, result.error().message);
        std::vector<Row> rows;
        for (size_t i = 0; i < result->rows.size(); ++i) {
            Row row = row_at(*result, i);
            add_article_fields(site_, row, style);
            rows.push_back(std::move(row));
        }
        renderer_.set_global("autoindex", "0");
        if (col <= 1) return renderer_.fill_items(body, rows, file, trimmed_body_at(tag));
        std::string out;
        for (size_t next = 0; next < rows.size();) {
            out += "<div>\r\n";
            for (long long j = 0; j < col && next < rows.size(); ++j, ++next)
                out += renderer_.fill_items(body, {rows[next]}, file, trimmed_body_at(tag), "", true, static_cast<int>(next + 1));
            out += "    </div>\r\n";
        }
        return out;
    }

    std::string report(const ParsedTag& tag, std::string_view file, const std::string& message) {
        renderer_.report(file, tag.begin, "{dede:" + tag.name + "}: " + message);
        return {};
    }

    long long total_pages() const {
        return static_cast<long long>(std::ceil(static_cast<double>(total_) / static_cast<double>(page_size_)));
    }

    // The pages of a static category: list_T_P.html beside this one.
    std::string static_pages(long long list_len, const std::string& items) {
        const long long pages = total_pages();
        if (pages <= 1 && total_ > 0)
            return "<li><span class=\"pageinfo\">共 <strong>1</strong>页<strong>" + std::to_string(total_) + "</strong>条记录</span></li>\r\n";
        if (total_ == 0) return "<li><span class=\"pageinfo\">共 <strong>0</strong>页<strong>0</strong>条记录</span></li>\r\n";
        std::string rule = replace_all(category_.columns.at("namerule2"), "{tid}", std::to_string(category_.id));
        rule = rule.substr(rule.rfind('/') == std::string::npos ? 0 : rule.rfind('/') + 1);
        auto link = [&](long long page) { return replace_all(rule, "{page}", std::to_string(page)); };
        const std::string info = "<li><span class=\"pageinfo\">共 <strong>" + std::to_string(pages) + "</strong>页<strong>" +
                                 std::to_string(total_) + "</strong>条</span></li>\r\n";
        std::string previous, next, first, last;
        if (page_no_ != 1) {
            previous = "<li><a href='" + link(page_no_ - 1) + "'>上一页</a></li>\r\n";
            first = "<li><a href='" + link(1) + "'>首页</a></li>\r\n";
        } else {
            first = "<li>首页</li>\r\n";
        }
        if (page_no_ != pages && pages > 1) {
            next = "<li><a href='" + link(page_no_ + 1) + "'>下一页</a></li>\r\n";
            last = "<li><a href='" + link(pages) + "'>末页</a></li>\r\n";
        } else {
            last = "<li>末页</li>\r\n";
        }
        long long width = static_cast<long long>(std::to_string(pages).size()) * 12 + 18;
        width = std::clamp(width, 36LL, 100LL);
        std::string options = "<li><select name='sldd' style='width:" + std::to_string(width) +
                              "px' onchange='location.href=this.options[this.selectedIndex].value;'>\r\n";
        for (long long p = 1; p <= pages; ++p)
            options += "<option value='" + link(p) + "'" + (p == page_no_ ? " selected" : "") + ">" + std::to_string(p) + "</option>\r\n";
        options += "</select></li>\r\n";
        std::string numbers;
        auto [from, to] = window(list_len, pages);
        for (long long p = from; p <= to; ++p)
            numbers += p == page_no_ ? "<li class=\"thisclass\">" + std::to_string(p) + "</li>\r\n"
                                     : "<li><a href='" + link(p) + "'>" + std::to_string(p) + "</a></li>\r\n";
        return pick(items, first, previous, numbers, next, last, options, info);
    }

    // The pages of a dynamic category: /plus/list.php with the count carried along.
    std::string dynamic_pages(long long list_len, const std::string& items) {
        const long long pages = total_pages();
        if (pages <= 1 && total_ > 0) return "<li><span class=\"pageinfo\">共 1 页/" + std::to_string(total_) + " 条记录</span></li>\r\n";
        if (total_ == 0) return "<li><span class=\"pageinfo\">共 0 页/0 条记录</span></li>\r\n";
        const std::string info = "<li><span class=\"pageinfo\">共 <strong>" + std::to_string(pages) + "</strong>页<strong>" +
                                 std::to_string(total_) + "</strong>条</span></li>\r\n";
        const std::string url = site_.global("cfg_phpurl") + "/list.php?tid=" + std::to_string(category_.id) +
                                "&TotalResult=" + std::to_string(total_) + "&PageNo=";
        std::string previous, next, first, last;
        if (page_no_ != 1) {
            previous = "<li><a href='" + url + std::to_string(page_no_ - 1) + "'>上一页</a></li>\r\n";
            first = "<li><a href='" + url + "1'>首页</a></li>\r\n";
        } else {
            first = "<li><a>首页</a></li>\r\n";
        }
        if (page_no_ != pages && pages > 1) {
            next = "<li><a href='" + url + std::to_string(page_no_ + 1) + "'>下一页</a></li>\r\n";
            last = "<li><a href='" + url + std::to_string(pages) + "'>末页</a></li>\r\n";
        } else {
            last = "<li><a>末页</a></li>\r\n";
        }
        std::string numbers;
        auto [from, to] = window(list_len, pages);
        for (long long p = from; p <= to; ++p)
            numbers += p == page_no_ ? "<li class=\"thisclass\"><a>" + std::to_string(p) + "</a></li>\r\n"
                                     : "<li><a href='" + url + std::to_string(p) + "'>" + std::to_string(p) + "</a></li>\r\n";
        return pick(items, first, previous, numbers, next, last, "", info);
    }

    // The page numbers shown: up to list_len on each side of this one.
    std::pair<long long, long long> window(long long list_len, long long pages) const {
        long long total_list = list_len * 2 + 1, from = 1;
        if (page_no_ >= total_list) {
            from = page_no_ - list_len;
            total_list = page_no_ + list_len;
        }
        return {from, std::min(total_list, pages)};
    }

    // The parts in DedeCMS's fixed order, whatever order listitem names them in.
    static std::string pick(const std::string& items, const std::string& first, const std::string& previous,
                            const std::string& numbers, const std::string& next, const std::string& last,
                            const std::string& options, const std::string& info) {
        std::string lower = items;
        for (char& ch : lower) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
        auto has = [&](std::string_view word) { return lower.find(word) != std::string::npos; };
        std::string out;
        if (has("index")) out += first;
        if (has("pre")) out += previous;
        if (has("pageno")) out += numbers;
        if (has("next")) out += next;
        if (has("end")) out += last;
        if (has("option")) out += options;
        if (has("info")) out += info;
        return out;
    }

    Renderer& renderer_;
    Site& site_;
    const Category& category_;
    long long page_no_;
    long long page_size_ = 20;
    long long total_ = 0;
    std::string where_;
};

std::string list_template_path(const Site& site, const std::string& name, const Category& category) {
    std::string path = replace_all(name, "{tid}", std::to_string(category.id));
    auto channel = site.database().select(site.sql("SELECT nid FROM `#@__channeltype` WHERE id='" +
                                                   std::to_string(php_int(category.columns.at("channeltype"))) + "'"));
    return replace_all(path, "{cid}", channel && !channel->rows.empty() ? channel->rows[0][0].value_or("") : "");
}

}  // namespace

Result<RenderedPage> render_list_page(Renderer& renderer, const fs::path& templets, int typeid_, int page_no) {
    Site& site = renderer.site();
    const Category* category = site.category(typeid_);
    if (!category) return fail("no category " + std::to_string(typeid_));
    if (page_no < 1) page_no = 1;
    Page page = index_page(site, typeid_);
    const long long ispart = php_int(category->columns.at("ispart"));
    if (ispart == 2) return fail("category " + std::to_string(typeid_) + " is a link to " + category->columns.at("typedir"));
    std::error_code ec;
    if (ispart > 0) {
        // A cover page: the category's index template, as a page of its own. DedeCMS asks its category
        // links for the position a second time there, and the second answer lacks the closing symbol.
        std::string& position = page.fields["position"];
        const std::string symbol = site.global("cfg_list_symbol");
        if (position.ends_with(symbol)) position.resize(position.size() - symbol.size());
        fs::path file = templets / list_template_path(site, page.fields["tempindex"], *category);
        if (!fs::is_regular_file(file, ec)) file = templets / site.global("cfg_df_style") / "index_default.htm";
        auto text = renderer.read_template(file);
        if (!text) return fail("no template " + file.string());
        return RenderedPage{renderer.render_page(*text, page, file.string()), file.string()};
    }

    page.view = Page::View::List;
    page.fields["id"] = std::to_string(typeid_);
    page.fields["title"] = replace_all(replace_all(page.fields["title"], "<", " / "), ">", " / ");
    page.fields["rsslink"] = site.global("cfg_cmsurl") + "/data/rss/" + std::to_string(typeid_) + ".xml";
    fs::path file = templets / list_template_path(site, page.fields["templist"], *category);
    if (!fs::is_regular_file(file, ec)) file = templets / site.global("cfg_df_style") / "list_default.htm";
    auto text = renderer.read_template(file);
    if (!text) return fail("no template " + file.string() + " (模板文件不存在，无法解析文档！)");

    ListPage list(renderer, *category, page_no);
    list.count();
    // The page size: the first page tag's, else the first list tag's, else 20.
    ParsedTemplate parsed = parse_tags(*text);
    const ParsedTag* sizing = nullptr;
    for (const char* name : {"page", "list"})
        for (const ParsedTag& tag : parsed.tags)
            if (!sizing && tag.name == name) sizing = &tag;
    list.set_page_size(sizing && !sizing->attributes.get("pagesize").empty() ? php_int(sizing->attributes.get("pagesize")) : 20);
    // A marker templates use to hide the category's introduction after its first page.
    if (page_no > 1 || page.fields["content"].size() < 10) *text = replace_all(*text, "[cmsreplace]", "display:none");
    page.view_tags = [&list](TagCall& call) { return list.view_tag(call); };
    return RenderedPage{renderer.render_page(*text, page, file.string()), file.string()};
}

}  // namespace brindle::dede
