// Tags read as DedeCMS V5.7 reads them; every expectation here was seen in DedeCMS's own parser.
#include <gtest/gtest.h>

#include "dede/tag_parser.h"

namespace brindle::dede {
namespace {

// "name[attr=value,...]{body}" for each tag, to compare whole readings at once.
std::string shape(const ParsedTemplate& parsed) {
    std::string out;
    for (const ParsedTag& tag : parsed.tags) {
        out += tag.name + "[";
        bool first = true;
        for (const auto& [key, value] : tag.attributes.items()) {
            out += (first ? "" : ",") + key + "=" + value;
            first = false;
        }
        out += "]";
        if (!tag.body.empty()) out += "{" + tag.body + "}";
        out += " ";
    }
    if (parsed.stop) out += parsed.stop->unended ? "unended:" + parsed.stop->name : "empty-name";
    return out;
}

std::string shape(std::string_view source, const TagSyntax& syntax = kTemplateTags) {
    return shape(parse_tags(source, syntax));
}

TEST(TagParser, WhereTagsEnd) {
    EXPECT_EQ(shape("<b>{dede:global.cfg_webname/}</b>{dede:arclist row='3'}<li>[field:title/]</li>{/dede:arclist}"),
              "global[name=cfg_webname] arclist[row=3]{<li>[field:title/]</li>} ");
    // A block left open runs to the next "/}", taking the next tag's head with it.
    EXPECT_EQ(shape("{dede:global.cfg_webname}X{dede:field name='t'/}Y"), "global[name=cfg_webname]{X{dede:field name='t'} ");
    // The last tag takes a later closer of its name even past a nearer "/}".
    EXPECT_EQ(shape("{dede:a/} text {/dede:a}"), "a/[]{ text } ");
    // Nested blocks of one name: the first closer ends the outer one; bodies are never searched.
    auto nested = parse_tags("{dede:arclist}A{dede:arclist}B{/dede:arclist}C{/dede:arclist}D");
    EXPECT_EQ(shape(nested), "arclist[]{A{dede:arclist}B} ");
    EXPECT_EQ(nested.tags[0].end, std::string_view("{dede:arclist}A{dede:arclist}B{/dede:arclist}").size());
    // Closers match the scanned name exactly, dotted part and case included.
    EXPECT_EQ(shape("{dede:field.body}x{/dede:field}{dede:y/}"), "field[name=body]{x{/dede:field}{dede:y} ");
    EXPECT_EQ(shape("{dede:ARCLIST}x{/dede:arclist}"), "unended:ARCLIST");
}

TEST(TagParser, WhatStopsOrSkipsTheReading) {
    EXPECT_EQ(shape("{dede:a/}{dede:}{dede:b/}"), "a[] empty-name");
    EXPECT_EQ(shape("x {dede: arclist/} {dede:b/}"), "empty-name");
    EXPECT_EQ(shape("{dede:a/}{dede:b row='1'} never ended"), "a[] unended:b");
    // Too short to be read at all: no more than the opening word and three bytes.
    EXPECT_EQ(shape("{dede:a/}"), "");
    EXPECT_EQ(shape("x{dede:a/}"), "a[] ");
    EXPECT_EQ(shape("[field:a/]", kItemTags), "");
    EXPECT_EQ(shape("[field:ab/]", kItemTags), "ab[] ");
    // Over 1024 bytes of name and attributes: skipped with its body, and reading goes on after it.
    const std::string fits = "a b='" + std::string(1024 - 7, 'x') + "'";
    EXPECT_EQ(parse_tags("{dede:" + fits + "/}{dede:c/}").tags.size(), 2u);
    EXPECT_EQ(shape("{dede:" + fits + "x'}{dede:inner/}{/dede:a}{dede:after/}"), "after[] ");
}

TEST(TagParser, AttributesAsDedeCmsSplitsThem) {
    // Quotes of either kind, unquoted values up to a space, blanks around '=', case of names only.
    EXPECT_EQ(shape("x{dede:arclist Row='5' titlelen = \"30\" orderby=pubdate Flag='H'/}"),
              "arclist[row=5,titlelen=30,orderby=pubdate,flag=H] ");
    // The last of two wins; a word without '=' joins the next name; a trailing one stays as written.
    EXPECT_EQ(shape("x{dede:a x=1 x=2 noflag row='5' c/}"), "a[x=2,noflag row=5, c=] ");
    // A quote after a backslash stays in the value; a quote left open runs to the end.
    EXPECT_EQ(shape("x{dede:a b='it\\'s' c='open/}"), "a[b=it\\'s,c=open] ");
    // Blanks collapse, even inside quotes; a '}' in a value ends the attributes unless escaped.
    EXPECT_EQ(shape("x{dede:a b='1\n\n  2'/}"), "a[b=1 2] ");
    EXPECT_EQ(shape("x{dede:a b='x}y'/}"), "a[b=x]{y'} ");
    EXPECT_EQ(shape("x{dede:a b='x\\}y'/}"), "a[b=x\\}y] ");
    // Dotted names: the second part is the name attribute, a later name= replaces it; tagname renames.
    EXPECT_EQ(shape("x{dede:Field.Title/}{dede:field.a.b/}{dede:field.title name='c'/}{dede:a tagname='Zzz'/}"),
              "field[name=Title] field[name=a] field[name=c] zzz[tagname=Zzz] ");
    // In item templates "\]" is a plain ']', so functions can take array subscripts.
    EXPECT_EQ(shape("<li>[field:f function='substr(@me[0\\],0)'/]</li>", kItemTags), "f[function=substr(@me[0],0)] ");
}

// Many tags whose closers are missing, or one tag's text of megabytes: read in linear time (the
// time-out of this binary is the bound).
TEST(TagParser, HostileShapesStayLinear) {
    std::string many;
    for (int i = 0; i < 200000; ++i) many += "{dede:a" + std::to_string(i) + "/}";
    EXPECT_EQ(parse_tags(many).tags.size(), 200000u);
    std::string opened;
    for (int i = 0; i < 200000; ++i) opened += "{dede:a" + std::to_string(i) + " x";
    EXPECT_EQ(shape(opened), "unended:a0");
    EXPECT_TRUE(parse_tags("{dede:a b='" + std::string(50 << 20, 'x') + "'/}").tags.empty());
}

TEST(TagParser, ValuesReplaceTheirTagsExtent) {
    const std::string source = "A{dede:unknown x='1'/}B{dede:unknown2}body{/dede:unknown2}C";
    auto parsed = parse_tags(source);
    ASSERT_EQ(parsed.tags.size(), 2u);
    EXPECT_EQ(replace_tags(source, parsed, std::vector<std::string>{"", ""}), "ABC");
    EXPECT_EQ(replace_tags(source, parsed, std::vector<std::string>{"1", "2"}), "A1B2C");
}

}  // namespace
}  // namespace brindle::dede
