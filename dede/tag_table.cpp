// The DedeCMS tag table, from DedeCMS V5.7.88's source (dedecms/DedeCMS, "Releases V5.7.88"). Each
// row names the file that implements the tag; the notes give the function and lines where the
// attributes are read, and anything the tag does that a template author would not expect. Aliases
// of arclist (artlist, likeart, hotart, imglist, imginfolist, coolart, specart, autolist) and of
// flink (friendlink) are mapped to their library in include/helpers/channelunit.helper.php
// (MakeOneTag); each keeps its own row because some read different attributes.
#include "dede/tag_table.h"

#include <algorithm>
#include <array>

namespace brindle::dede {
namespace {

// What the arclist library reads (lib_arclist, include/taglib/arclist.lib.php L60-170), for arclist
// and the aliases that read the same; hotart takes its order from sort alone, the picture and
// special lists set their list type themselves, and autolist reads partsort.
constexpr std::string_view kArclist =
    "channelid pagesize tagid isweight type sort orderby titlelength titlelen infolength infolen typeid att flag notypeid row col imgwidth imgheight keyword idlist limit orderway subday noflag tablewidth writer getall cross addfields";
constexpr std::string_view kArclistWithoutType =
    "channelid pagesize tagid isweight sort orderby titlelength titlelen infolength infolen typeid att flag notypeid row col imgwidth imgheight keyword idlist limit orderway subday noflag tablewidth writer getall cross addfields";
constexpr std::string_view kAutolist =
    "channelid pagesize tagid isweight partsort sort orderby titlelength titlelen infolength infolen typeid att flag notypeid row col imgwidth imgheight keyword idlist limit orderway subday noflag tablewidth writer getall cross addfields";
constexpr std::string_view kHotart =
    "channelid pagesize tagid isweight type sort titlelength titlelen infolength infolen typeid att flag notypeid row col imgwidth imgheight keyword idlist limit orderway subday noflag tablewidth writer getall cross addfields";

constexpr auto kTags = std::to_array<DedeTag>({
    // lib_adminname L35; no attributes
    {"adminname", "include/taglib/adminname.lib.php", Body::None, ""},
    // lib_arclist L60 / lib_arclistDone L172; default body templets/system/part_arclist.htm
    {"arclist", "include/taglib/arclist.lib.php", Body::Items, kArclist},
    // lib_arclistsg L49; attlist L54; innertext attribute is overridden by the body (L63)
    {"arclistsg", "include/taglib/arclistsg.lib.php", Body::Items, "typeid row col flag titlelen sort keyword innertext arcid idlist channelid limit orderway subday imgwidth imgheight cross nocross"},
    // lib_arcpagelist L14; attlist L17; style unused
    {"arcpagelist", "include/taglib/arcpagelist.lib.php", Body::None, "tagid style"},
    // a loop over an array: {dede:array.NAME}...{/dede:array}
    {"array", "include/dedetemplate.class.php", Body::Template, "*", Engine::Compiler},
    // alias of arclist (include/helpers/channelunit.helper.php MakeOneTag L539-542); no default changes
    {"artlist", "include/taglib/arclist.lib.php", Body::Items, kArclist},
    // lib_ask L13; attlist L17
    {"ask", "include/taglib/ask.lib.php", Body::Items, "row qtype tid titlelen"},
    // lib_asktype L14; attlist L18; name unused
    {"asktype", "include/taglib/asktype.lib.php", Body::Items, "tid reid name"},
    // lib_autochannel L28; attlist L32 (typo 'typeid=-1')
    {"autochannel", "include/taglib/autochannel.lib.php", Body::Items, "partsort typeid"},
    // alias of arclist (MakeOneTag L539-542); reads partsort (L91) but never uses it; 'type' not read
    {"autolist", "include/taglib/arclist.lib.php", Body::Items, kAutolist},
    // lib_bookcontentlist L42 -> lib_booklist; body ignored, item template = innertext attribute ([field:] items)
    {"bookcontentlist", "include/taglib/bookcontentlist.lib.php", Body::None, "row booktype titlelen orderby author keyword innertext imgwidth imgheight"},
    // lib_booklist L43; attlist L48; body ignored, item template = innertext attribute (L55-59)
    {"booklist", "include/taglib/booklist.lib.php", Body::None, "row booktype titlelen orderby author keyword innertext imgwidth imgheight"},
    // lib_cattree L29; attlist L35; typeid via extract
    {"cattree", "include/taglib/cattree.lib.php", Body::None, "showall catid typeid"},
    {"cfg", "include/dedetemplate.class.php", Body::None, "*", Engine::Compiler},
    // lib_channel L34; attlist L38; also called by arc.searchview.class.php Display L556-568
    {"channel", "include/taglib/channel.lib.php", Body::Items, "typeid reid row col type currentstyle cacheid"},
    // lib_channelartlist L41; attlist L46; body -> PartView::SetTemplet(...,'string') L100-103
    {"channelartlist", "include/taglib/channelartlist.lib.php", Body::Template, "typeid notypeid row cacheid"},
    // sets a compiler setting
    {"config", "include/dedetemplate.class.php", Body::None, "*", Engine::Compiler},
    // alias of arclist; listtype forced to 'commend' (L87-88), 'type' not read
    {"coolart", "include/taglib/arclist.lib.php", Body::Items, kArclistWithoutType},
    // the rows of the admin and member lists (DataListCP)
    {"datalist", "include/dedetemplate.class.php", Body::Template, "*", Engine::Compiler},
    // lib_demotag L29; attlist L34; returns 'Hello Word!'
    {"demotag", "include/taglib/demotag.lib.php", Body::None, "row titlelen"},
    {"echo", "include/dedetemplate.class.php", Body::None, "*", Engine::Compiler},
    // lib_feedback L38; attlist L41
    {"feedback", "include/taglib/feedback.lib.php", Body::Items, "row titlelen infolen"},
    // MakeOneTag L517-536; also include/arc.archives.class.php GetField L506-534 / ParseDMFields L723-726 (noteid, type), arc.listview.class.php L675-678 + arc.sglistview.class.php L620-623 (display), arc.searchview.class.php L544-555, arc.rssview.class.php L130-133; body used only as item template for img-type channel fields (include/taglib/channel/img.lib.php L53-57, pagesize L72-75) or as PHP with runphp
    {"field", "include/helpers/channelunit.helper.php", Body::Items, "name noteid type display pagesize"},
    // Archives::ParseDMFields L753-793; item fields name tagname value
    {"fieldlist", "include/arc.archives.class.php", Body::Items, ""},
    // lib_flink L35; attlist L39; body filled by regex for [field:url|webname|logo|link] only (L141-144)
    {"flink", "include/taglib/flink.lib.php", Body::Items, "type row titlelen linktype typeid"},
    // lib_flinktype L31; attlist L34; body parsed in {dede: namespace (L46-48), only nested {dede:flink} handled (L67-71); then [field:id]/[field:typename] by regex (L74-75)
    {"flinktype", "include/taglib/flinktype.lib.php", Body::Template, "row titlelen type"},
    // DedeTagParse::AssignSysTag L626-640; only '[field:key /]' and '[field:value /]' (whitespace before '/]' required), by regex
    {"foreach", "include/dedetag.class.php", Body::Items, "array"},
    // FreeList::ParseDMFields L408-413; placeholder, list definition stored in #@__freelist.listtag
    {"freelist", "include/arc.freelist.class.php", Body::None, ""},
    // alias of flink (MakeOneTag L543-546)
    {"friendlink", "include/taglib/flink.lib.php", Body::Items, "type row titlelen linktype typeid"},
    // DedeTagParse::AssignSysTag L604-614, GetGlobals L1008-1027; any namespace ([field:global.autoindex/])
    {"global", "include/dedetag.class.php", Body::None, "name function"},
    // lib_group L34; attlist L38
    {"group", "include/taglib/group.lib.php", Body::Items, "row orderby titlelen"},
    // lib_groupthread L36; attlist L40
    {"groupthread", "include/taglib/groupthread.lib.php", Body::Items, "gid orderby orderway row titlelen"},
    // alias of arclist; orderby forced to 'click' unless sort given (L98-100); 'orderby' not read
    {"hotart", "include/taglib/arclist.lib.php", Body::Items, kHotart},
    // lib_hotwords L29; attlist L33; also called by arc.searchview.class.php L540-543
    {"hotwords", "include/taglib/hotwords.lib.php", Body::None, "num subday maxlength"},
    // the attribute text is the condition; {else} inside
    {"if", "include/dedetemplate.class.php", Body::Template, "*", Engine::Compiler},
    // alias of arclist; listtype 'image' (L80-81), default body part_imginfolist.htm (L105); 'type' not read
    {"imginfolist", "include/taglib/arclist.lib.php", Body::Items, kArclistWithoutType},
    // alias of arclist; listtype 'image' (L80-81), default body part_imglist.htm (L104); 'type' not read
    {"imglist", "include/taglib/arclist.lib.php", Body::Items, kArclistWithoutType},
    // DedeTagParse::AssignSysTag L617-623, IncludeFile L1037-1074; the included FILE is parsed as a template unless ismake='no'
    {"include", "include/dedetag.class.php", Body::None, "file filename ismake"},
    // lib_infoguide L26; no attributes
    {"infoguide", "include/taglib/infoguide.lib.php", Body::Items, ""},
    // lib_infolink L30; no attributes
    {"infolink", "include/taglib/infolink.lib.php", Body::Items, ""},
    // lib_json L24; attlist L27; cache via extract (L55)
    {"json", "include/taglib/json.lib.php", Body::Items, "url cache"},
    {"key", "include/dedetemplate.class.php", Body::None, "*", Engine::Compiler},
    {"label", "include/dedetemplate.class.php", Body::None, "*", Engine::Compiler},
    // alias of arclist; no default changes
    {"likeart", "include/taglib/arclist.lib.php", Body::Items, kArclist},
    // lib_likearticle L36; attlist L41; byabs unused
    {"likearticle", "include/taglib/likearticle.lib.php", Body::Items, "row titlelen infolen col tablewidth mytypeid byabs imgwidth imgheight orderby orderway"},
    // lib_likepage L31 -> lib_likesgpage
    {"likepage", "include/taglib/likepage.lib.php", Body::Items, "row"},
    // lib_likesgpage L27; attlist L32
    {"likesgpage", "include/taglib/likesgpage.lib.php", Body::Items, "row"},
    // SearchView::Display L536-539, GetLikeWords L278; search.htm only
    {"likewords", "include/arc.searchview.class.php", Body::None, "num"},
    // ListView::ParseDMFields L628-657 (+ pagesize via GetTag L250-265); also arc.sglistview.class.php L576-602, arc.taglist.class.php L221-254, arc.specview.class.php L179-203/L240-264, arc.searchview.class.php L501-525
    {"list", "include/arc.listview.class.php", Body::Items, "pagesize col titlelen infolen imgwidth imgheight listtype orderby tablewidth orderway"},
    // lib_loop L37; attlist L40
    {"loop", "include/taglib/loop.lib.php", Body::Items, "table tablename row sort if ifcase orderway"},
    // lib_memberinfos L31; attlist L34
    {"memberinfos", "include/taglib/memberinfos.lib.php", Body::Items, "mid"},
    // lib_memberlist L37; attlist L40; signlen unused
    {"memberlist", "include/taglib/memberlist.lib.php", Body::Items, "row iscommend orderby signlen"},
    // lib_myad L30; attlist L32; stored content from #@__myad
    {"myad", "include/taglib/myad.lib.php", Body::None, "typeid name"},
    // lib_mynews L28; attlist L32; titlelen unused
    {"mynews", "include/taglib/mynews.lib.php", Body::Items, "row titlelen"},
    // lib_mytag L29; attlist L31; body ignored; STORED content parsed as template when ismake='yes' (L38-44)
    {"mytag", "include/taglib/mytag.lib.php", Body::None, "typeid name ismake"},
    {"object", "include/dedetemplate.class.php", Body::None, "*", Engine::Compiler},
    // ListView::CountRecord L250-265 (GetTag('page')); also sglistview L251-265, taglist L155-170, specview L90-100; outputs ''
    {"page", "include/arc.listview.class.php", Body::None, "pagesize"},
    // Archives::ParseDMFields L727-737
    {"pagebreak", "include/arc.archives.class.php", Body::None, ""},
    // ListView::ParseDMFields L658-674; also sglistview L603-619, taglist L255-271, freelist L414-430 (listsize listitem), specview L204-212/L265-272 and searchview L526-533 (listsize only)
    {"pagelist", "include/arc.listview.class.php", Body::None, "listsize listitem"},
    // FreeList::ParseDMFields L431-434
    {"pageno", "include/arc.freelist.class.php", Body::None, ""},
    // Archives::ParseDMFields L738-748
    {"pagetitle", "include/arc.archives.class.php", Body::None, "style"},
    // lib_php L31; body is PHP code (L35-42); disabled by default ($cfg_disable_tags='php')
    {"php", "include/taglib/php.lib.php", Body::Text, ""},
    // Archives::ParseDMFields L749-752, GetPreNext L820-896
    {"prenext", "include/arc.archives.class.php", Body::None, "get"},
    // lib_productimagelist L15; attlist L18; desclen unused
    {"productimagelist", "include/taglib/productimagelist.lib.php", Body::Items, "desclen"},
    // lib_qrcode L3; attlist L7
    {"qrcode", "include/taglib/qrcode.lib.php", Body::None, "type id"},
    // RssView::ParseTemplet L134-138, GetArcList L150
    {"rssitem", "include/arc.rssview.class.php", Body::Items, ""},
    // lib_softmsg L30; no attributes
    {"softmsg", "include/taglib/softmsg.lib.php", Body::None, ""},
    // lib_sonchannel L31; attlist L35
    {"sonchannel", "include/taglib/sonchannel.lib.php", Body::Items, "row nosonmsg col"},
    // alias of arclist; channelid forced to -1 after being read (L83-85); 'type' not read
    {"specart", "include/taglib/arclist.lib.php", Body::Items, kArclistWithoutType},
    // lib_sql L34; attlist L37 ('sql|appname' typo: sql defaults to 'appname')
    {"sql", "include/taglib/sql.lib.php", Body::Items, "sql appname"},
    // lib_tag L32; attlist L36
    {"tag", "include/taglib/tag.lib.php", Body::Items, "row sort getall typeid"},
    // lib_type L29; attlist L33
    {"type", "include/taglib/type.lib.php", Body::Items, "typeid"},
    // {dede:value.NAME/} inside an array or datalist loop
    {"value", "include/dedetemplate.class.php", Body::None, "*", Engine::Compiler},
    // DedeTagParse::AssignSysTag L643-660
    {"var", "include/dedetag.class.php", Body::None, "name value"},
    // lib_vote L38; attlist L41
    {"vote", "include/taglib/vote.lib.php", Body::None, "id lineheight tablewidth titlebgcolor titlebackgroup tablebg"},
});

bool in_list(std::string_view list, std::string_view name) {
    while (!list.empty()) {
        size_t end = list.find(' ');
        if (list.substr(0, end) == name) return true;
        if (end == std::string_view::npos) break;
        list.remove_prefix(end + 1);
    }
    return false;
}

}  // namespace

std::span<const DedeTag> dede_tags() { return kTags; }

const DedeTag* find_dede_tag(std::string_view name) {
    auto it = std::lower_bound(kTags.begin(), kTags.end(), name,
                               [](const DedeTag& tag, std::string_view n) { return tag.name < n; });
    return it != kTags.end() && it->name == name ? &*it : nullptr;
}

// function: DedeTagParse::Assign and EvalFunc (include/dedetag.class.php L551-568, L983-999);
// runphp and source: AssignSysTag and RunPHP (L663-666, L675-703), for every tag.
bool is_common_attribute(std::string_view name) { return name == "function" || name == "runphp" || name == "source"; }

// [field:NAME function='...'/], [field:NAME runphp='yes']...[/field:NAME], and the parser's own
// tags inside item templates ([field:global name='cfg_cmspath'/]).
bool is_field_attribute(std::string_view name) { return is_common_attribute(name) || name == "name"; }

bool takes_attribute(const DedeTag& tag, std::string_view attribute) {
    return tag.attributes == "*" || is_common_attribute(attribute) || in_list(tag.attributes, attribute);
}

}  // namespace brindle::dede
