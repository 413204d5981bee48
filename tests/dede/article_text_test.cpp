// An article's text on its page: the site's keyword links, the pages and their links, the summary of a
// page, and the channel's own fields. Expected values are what DedeCMS 5.7.88 gives under PHP 8.2.
#include <gtest/gtest.h>

#include "dede/article_pages.h"
#include "dede/channel_fields.h"
#include "dede/html_text.h"
#include "dede/keyword_links.h"

namespace brindle::dede {
namespace {

std::string link(std::string_view url, std::string_view text) {
    return "<a href='" + std::string(url) + "' target='_blank'><u>" + std::string(text) + "</u></a>";
}

std::string linked(std::string text, const std::vector<KeywordLink>& links, long limit) {
    LinkedText out = with_keyword_links(std::move(text), links, limit);
    return out.fault.empty() ? out.text : "fault: " + out.fault;
}

TEST(KeywordLinks, LinkEachKeywordUpToTheLimitAndLeaveLinksAlone) {
    // The link already there keeps its text; the keyword is matched in any case and written as
    // stored, trimmed; the limit is per keyword.
    EXPECT_EQ(linked("<p><a href='/x'>示例</a> 示例 BODY 示例 示例 Body</p>",
                     {{"示例", "http://k/1"}, {" body ", " http://k/2 "}}, 2),
              "<p><a href='/x'>示例</a> " + link("http://k/1", "示例") + " " + link("http://k/2", "body") + " " +
                  link("http://k/1", "示例") + " 示例 " + link("http://k/2", "body") + "</p>");
    // A limit of 0 replaces every one, ASCII letters in either case.
    EXPECT_EQ(linked("AB ab aB", {{"ab", "u"}}, 0), link("u", "ab") + " " + link("u", "ab") + " " + link("u", "ab"));
    EXPECT_EQ(md5_hex("a"), "0cc175b9c0f1b6a831c399e269772661");
}

TEST(KeywordLinks, KeywordsArePatternsAndLaterOnesReachIntoEarlierLinks) {
    // A later keyword matches the "_blank" of an earlier link ...
    const std::string in_blank = "<a href='http://k/' target='_" + link("http://b/", "blank") + "'><u>k</u></a>";
    EXPECT_EQ(linked("k blank", {{"k", "http://k/"}, {"blank", "http://b/"}}, 2), in_blank + " blan" + in_blank);
    // ... or the "f" of "href", while "a" waits behind its hash.
    EXPECT_EQ(linked("a f", {{"a", "http://a/"}, {"f", "http://f/"}}, 1),
              "<a hre" + link("http://f/", "f") + "='http://a/' target='_blank'><u>a</u></a> f");
    // The keyword is a pattern, the address a replacement with $0 in it.
    EXPECT_EQ(linked("CCC c++", {{"C++", "u/$0"}}, 2), link("u/CCC", "C++") + " " + link("u/c", "C++") + "++");
    EXPECT_EQ(linked("abc a.c", {{"a.c", "u"}}, 1), link("u", "a.c") + " a.c");
    // One that is no pattern leaves nothing of the text.
    EXPECT_EQ(linked("a#b x", {{"a#b", "u"}, {"x", "v"}}, 2),
              "fault: the keyword 'a#b' is not a valid pattern (unknown modifier 'b')");
    EXPECT_TRUE(linked("C( c", {{"C(", "u"}}, 2)
                    .starts_with("fault: the keyword 'C(' is not a valid pattern (compilation failed"));
}

TEST(ArticlePages, SubtitlesAreCutAsDedeCmsCutsThem) {
    // DedeCMS looks at the first 50 bytes of a page for "#e#": a subtitle of 48 bytes is the longest it finds.
    ArticlePages pages = split_pages(
        "one#p#概述#e#two#p#副标题#e#three#p##e#four#p#A subtitle that runs well past fifty bytes of text#e#five"
        "#p#A subtitle of forty-eight bytes, the last in rea#e#six",
        SiteCharset::utf8);
    EXPECT_EQ(pages.texts,
              (std::vector<std::string>{"one", "two", "three", "#e#four",
                                        "A subtitle that runs well past fifty bytes of text#e#five", "six"}));
    // The cut keeps the '#' after the title, so "副标题" is not dropped as DedeCMS means it to be.
    EXPECT_EQ(pages.titles,
              (std::vector<std::string>{"概述#", "副标题#", "A subtitle of forty-eight bytes, the last in rea#"}));
    EXPECT_EQ(split_pages("分页标题#e#x", SiteCharset::utf8).titles, (std::vector<std::string>{"分页标题#"}));
    // The GBK edition's cut does not overshoot: its subtitles end where "#e#" begins.
    EXPECT_EQ(split_pages("a#p#概述#e#x#p#分页标题#e#y", SiteCharset::gbk).titles, (std::vector<std::string>{"概述"}));
    EXPECT_EQ(split_pages("no pages", SiteCharset::utf8).texts, (std::vector<std::string>{"no pages"}));
}

TEST(ArticlePages, LinksLeadToTheFilesOrToViewPhp) {
    const ArticlePages pages = split_pages("a#p#T2#e#b#p#c", SiteCharset::utf8);
    PageAddresses files{false, 5, "5", "html", false, "/plus"};
    EXPECT_EQ(page_break(files, 3, 3),
              "<li><a>共3页: </a></li><li><a href='5_2.html'>上一页</a></li><li><a href='5.html'>1</a></li>"
              "<li><a href='5_2.html'>2</a></li><li class=\"thisclass\"><a href='#'>3</a></li>"
              "<li><a href='#'>下一页</a></li>");
    EXPECT_EQ(page_break(files, 1, 1), "");
    // The only subtitle is the first, so it links to page 1 although it opens page 2.
    EXPECT_EQ(page_titles(files, pages, "link", 2), "<a href='5.html'>T2#</a> \r\n");

    PageAddresses rewritten{true, 27, "", "", true, "/plus"};
    EXPECT_EQ(page_break(rewritten, 2, 1),
              "<li><a>共2页: </a></li><li><a href='#'>上一页</a></li><li class=\"thisclass\"><a>1</a></li>"
              "<li><a href='view-27-2.html'>2</a></li><li><a href='view-27-2.html'>下一页</a></li>");
    EXPECT_EQ(page_break(rewritten, 2, 2),
              "<li><a>共2页: </a></li><li><a href='view-27-1.html'>上一页</a></li>"
              "<li><a href='view-27-1.html'>1</a></li><li class=\"thisclass\"><a href='#'>2</a></li>"
              "<li><a href='#'>下一页</a></li>");
    // Subtitles keep view.php's own address whatever cfg_rewrite says.
    EXPECT_EQ(page_titles(rewritten, pages, "", 1),
              "<select id='dedepagetitles' onchange='location.href=this.options[this.selectedIndex].value;'>\r\n"
              "<option value='/plus/view.php?aid=27&pageno=1'>1、T2#</option>\r\n</select>\r\n");
}

TEST(ArticlePages, ASummaryIsThePagesTextWithoutItsMarkup) {
    EXPECT_EQ(html_to_text("<style>p{}</style><p>A&nbsp;b　c\t\x01"
                           "d</p><!-- x --><SCRIPT>x</script>  e &amp&lt; f<br"),
              " Ab cd e lt; f ");
}

TEST(ChannelFields, TheModelsFieldsAndHowAPageShowsThem) {
    ChannelFields fields = read_channel_fields(
        "<field:body itemname=\"文章内容\" type=\"htmltext\" page=\"split\">\n</field:body>"
        "<field:Note type=\"text\" default=\"none\"></field:Note><field:pick type=\"checkbox\" default=\"x\"/>"
        "<field:body itemname=\"again\"></field:body><field:after/>");
    ASSERT_EQ(fields.fields.size(), 3u);  // reading stops at a name given twice
    EXPECT_EQ(fields.split_field, "body");
    EXPECT_EQ(fields.fields[0].item_name, "文章内容");
    const ChannelField& note = fields.fields[1];
    EXPECT_EQ(note.name, "note");
    EXPECT_EQ(note.item_name, "note");
    EXPECT_EQ(shown_field_value(note, ""), "none");
    EXPECT_EQ(shown_field_value(fields.fields[2], ""), "");
    EXPECT_EQ(shown_field_value(note, "it\\'s <b>\"x\"</b><style>a</style>y & z"),
              "it&#039;s &lt;b&gt;&quot;x&quot;&lt;/b&gt;y &amp; z");
    EXPECT_EQ(shown_field_value(note, "bad \xff"), "");
    EXPECT_EQ(shown_field_value(fields.fields[0], "<p>as stored</p>"), "<p>as stored</p>");
}

}  // namespace
}  // namespace brindle::dede
