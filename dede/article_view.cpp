#include "dede/article_view.h"

#include <optional>

#include "common/try.h"
#include "dede/article_neighbours.h"
#include "dede/article_page_fields.h"
#include "dede/php_text.h"

namespace brindle::dede {
namespace {

namespace fs = std::filesystem;

// The article's own template (its channel table's `templet`), else its category's article template,
// else the style's default one.
Result<fs::path> article_template(const Site& site, const fs::path& templets, const ArticleRecord& article) {
    const std::string style = site.global("cfg_df_style");
    const std::string own = value_in(article.fields, "templet");
    std::string name = template_path(
        site, own.empty() ? (article.category ? value_in(article.category->columns, "temparticle") : "") : own);
    if (!own.empty() && name.find('/') == std::string::npos) name = style + "/" + name;
    const std::string nid = value_in(article.channel, "nid");
    name = replace_all(replace_all(name, "{cid}", nid), "{tid}", std::to_string(article.typeid_));
    fs::path file = templets / name;
    if (nid == "spec" && own.empty()) file = templets / style / "article_spec.htm";
    std::error_code ec;
    if (!fs::exists(file, ec)) file = templets / style / (nid == "spec" ? "article_spec.htm" : "article_default.htm");
    const std::string path = file.string();
    if (path.size() < 4 || !path.ends_with("htm") || !fs::is_regular_file(file, ec))
        return fail("article " + std::to_string(article.id) + " has no template: " + path +
                    " (模板文件不存在，无法解析文档！)");
    return file;
}

// What a visitor cannot read: DedeCMS's view.php shows its message instead of the page. A visitor
// has member id 0, so an article whose author id is 0 counts as the visitor's own and shows.
std::optional<std::string> closed_to_visitors(const ArticleRecord& article) {
    if (php_int(value_in(article.fields, "mid")) == 0) return std::nullopt;
    const std::string id = std::to_string(article.id);
    const long long rank = php_int(value_in(article.fields, "arcrank")),
                    price = php_int(value_in(article.fields, "money"));
    if (rank < 0)
        return "article " + id + " is not published (arcrank " + std::to_string(rank) +
               "): a visitor gets 文章尚未审核,非作者本人无权查看!";
    if (rank > 1)
        return "article " + id + " is for members (arcrank " + std::to_string(rank) +
               "): a visitor gets 你没有权限浏览文档";
    if (price > 0)
        return "article " + id + " costs " + std::to_string(price) + " coins: a visitor gets 你没有权限浏览文档";
    return std::nullopt;
}

// The page's own tags, after the tag libraries.
class ArticleView {
public:
    ArticleView(Renderer& renderer, const ArticleRecord& article, const ArticlePageFields& fields, size_t page_no)
        : renderer_(renderer), article_(article), fields_(fields), page_no_(page_no) {}

    std::optional<std::string> view_tag(TagCall& call) {
        const ParsedTag& tag = call.tag;
        if (tag.name == "field") return field(call.page.fields, tag);
        if (tag.name == "pagebreak") return page_break(fields_.addresses, fields_.pages.texts.size(), page_no_);
        if (tag.name == "pagetitle")
            return page_titles(fields_.addresses, fields_.pages, tag.attributes.get("style"), page_no_);
        if (tag.name == "prenext") {
            if (!neighbours_) neighbours_ = article_neighbours(renderer_.site(), article_.id, article_.typeid_);
            return neighbours_->shown(tag.attributes.get("get"));
        }
        if (tag.name == "fieldlist") return field_list(call);
        return std::nullopt;
    }

private:
    // Every field tag gets a value, "" for a field the page lacks; type= and noteid= pick the
    // channel field shown under that name.
    static std::string field(const Row& fields, const ParsedTag& tag) {
        const std::string name(tag.attributes.get("name"));
        if (name == "array") return "array";
        std::string key = name;
        if (!tag.attributes.get("noteid").empty())
            key += "_" + std::string(tag.attributes.get("noteid"));
        else if (!tag.attributes.get("type").empty())
            key += "_" + std::string(tag.attributes.get("type"));
        return value_in(fields, key);
    }

    // One item a channel field (those marked autofield="0" left out): its label, name and value.
    std::string field_list(TagCall& call) {
        std::string body = php_trim(call.tag.body);
        if (body.empty()) body = renderer_.system_template("tag_fieldlist.htm");
        const ParsedTemplate items = parse_tags(body, kItemTags);
        bool shows_value = false;
        for (const ParsedTag& item : items.tags) shows_value = shows_value || item.name == "value";
        std::vector<Row> rows;
        for (const ChannelField& field : article_.channel_fields.fields) {
            const std::string_view automatic = field.attributes.get("autofield");
            if (field.attributes.has("autofield") && (automatic.empty() || automatic == "0")) continue;
            Row row{{"name", field.item_name}, {"tagname", field.name}};
            // DedeCMS keeps the value it shows here as the page's field.
            if (shows_value)
                row["value"] = call.page.fields[field.name] =
                    shown_field_value(field, value_in(call.page.fields, field.name));
            rows.push_back(std::move(row));
        }
        return renderer_.fill_items(body, rows, call.file, trimmed_body_at(call.tag), "", false);
    }

    Renderer& renderer_;
    const ArticleRecord& article_;
    const ArticlePageFields& fields_;
    size_t page_no_;
    std::optional<ArticleNeighbours> neighbours_;
};

// DedeCMS's page for a jump article when it is told not to jump at once (cfg_jump_once N).
std::string jump_page(const Site& site, const Row& f, const std::string& title) {
    return "<html>\r\n<head>\r\n<meta http-equiv=\"Content-Type\" content=\"text/html; charset=" +
           site.global("cfg_soft_lang") + "\">\r\n<title>" + title +
           "</title>\r\n<meta http-equiv=\"refresh\" content=\"3;URL=" + value_in(f, "redirecturl") +
           "\">\r\n</head>\r\n<body>\r\n现在正在转向：" + title +
           "，请稍候...<br/><br/>\r\n转向内容简介:" + value_in(f, "description") + "\r\n</body>\r\n</html>\r\n";
}

}  // namespace

Result<RenderedPage> render_article_page(Renderer& renderer, const fs::path& templets, int64_t aid, int page_no) {
    Site& site = renderer.site();
    BRINDLE_TRY(ArticleRecord article, read_article(site, aid));
    if (auto closed = closed_to_visitors(article)) return fail(*closed);
    const bool dynamic = article.dynamic();
    BRINDLE_TRY(fs::path file, article_template(site, templets, article));
    auto text = renderer.read_template(file);
    if (!text) return fail("cannot read the template " + file.string());

    if (dynamic && value_in(article.fields, "flag").find('j') != std::string::npos &&
        !value_in(article.fields, "redirecturl").empty()) {
        const std::string title =
            value_in(article.fields, "title") + (page_no > 1 ? "(" + std::to_string(page_no) + ")" : "");
        if (site.global("cfg_jump_once") == "N")
            return RenderedPage{jump_page(site, article.fields, title), file.string()};
        return fail("article " + std::to_string(aid) + " jumps to " + value_in(article.fields, "redirecturl") +
                    ": DedeCMS answers with a redirect, not a page");
    }

    ArticlePageFields fields = article_page_fields(site, article, parse_tags(*text), dynamic);
    const size_t pages = fields.pages.texts.size();
    if (page_no < 1 || static_cast<size_t>(page_no) > pages)
        return fail("article " + std::to_string(aid) + " has " + std::to_string(pages) +
                    (pages == 1 ? " page" : " pages") + ", not a page " + std::to_string(page_no));
    show_page(fields, static_cast<size_t>(page_no), site.charset());
    for (const std::string& warning : fields.warnings) renderer.report(file.string(), 0, warning, false);

    Page page;
    page.view = Page::View::Article;
    page.typeid_ = article.typeid_;
    page.fields = std::move(fields.fields);
    page.view_fills_fields = true;
    page.parse_notices_in_page = dynamic;
    ArticleView view(renderer, article, fields, static_cast<size_t>(page_no));
    page.view_tags = [&view](TagCall& call) { return view.view_tag(call); };
    return RenderedPage{renderer.render_page(*text, page, file.string()), file.string()};
}

}  // namespace brindle::dede
