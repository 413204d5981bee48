// The DedeCMS tag table. Each row names where its facts were published; the tag list itself is the
// DedeCMS 5.3 tag manual's index (www.kancloud.cn/bill080307/dedecms53, the help.dedecms.com/v53
// manual), which lists global, module, list-page and document-page tags.
#include "dede/tag_table.h"

#include <algorithm>
#include <array>

namespace brindle::dede {
namespace {

// The arclist family: imglist, imginfolist, specart, coolart, autolist, hotart, likeart and artlist
// are aliases "extended from arclist's attributes" (blog.csdn.net/QWERTYUIOM12/article/details/80617598,
// www.w3cschool.cn/dedecms/enau1pno.html). Attributes: kancloud.cn/bill080307/dedecms53/173569;
// isweight: blog.csdn.net/iteye_17658/article/details/82646843; type, att:
// www.w3cschool.cn/dedecms/enau1pno.html; addfields (with channelid, fields of the model's own table):
// blog.csdn.net/qq19124152/article/details/8315380.
constexpr std::string_view kArclist =
    "col row typeid getall titlelen titlelength infolen infolength imgwidth imgheight listtype orderby "
    "orderway keyword innertext aid idlist channelid limit flag noflag subday isweight type att addfields";

constexpr auto kTags = std::to_array<DedeTag>({
    // kancloud.cn/bill080307/dedecms53 index; blog.csdn.net/lumengabc/article/details/17218593
    {"adminname", false, "", false},
    {"arclist", true, kArclist, false},
    // www.cnblogs.com/dyllove98/p/3221753.html
    {"arclistsg", true, "flag typeid row col titlelen orderway keyword limit innertext arcid idlist channelid subday", false},
    // blog.csdn.net/lumengabc/article/details/17218593 (listed, attributes not given)
    {"arcpagelist", false, "", true},
    {"artlist", true, kArclist, false},
    {"ask", true, "", true},
    // blog.csdn.net/weixin_34383618/article/details/94122619
    {"autochannel", true, "partsort typeid", false},
    {"autolist", true, kArclist, false},
    {"bookcontentlist", true, "", true},
    {"booklist", true, "", true},
    // blog.csdn.net/aszt123/article/details/16806059
    {"cattree", false, "typeid", false},
    // www.cnblogs.com/saw2012/p/2772968.html (the tag's attribute list, cacheid included);
    // noself: www.kancloud.cn/fxswangwei/zhimengyiqiba/957027
    {"channel", true, "typeid reid row col type currentstyle cacheid noself", false},
    // blog.csdn.net/weixin_34383618/article/details/94122619; col, tablewidth:
    // blog.csdn.net/weixin_30593261/article/details/95785473
    {"channelartlist", true, "typeid row col tablewidth", false},
    {"coolart", true, kArclist, false},
    {"feedback", true, "", true},
    // {dede:field name='...'/} and {dede:field.NAME/}: blog.csdn.net/ljl_xyf/article/details/83766542
    {"field", false, "name", false},
    // kancloud.cn/bill080307/dedecms53/173575
    {"fieldlist", true, "", false},
    // blog.csdn.net/apjnp08262/article/details/102163241, www.cnblogs.com/juebai/p/5274708.html
    {"flink", true, "type row titlelen linktype typeid", false},
    // blog.csdn.net/aszt123/article/details/16806059
    {"flinktype", true, "type row", false},
    // {dede:foreach array='...'}: cnblogs.com/onlylove2015/p/4391679.html
    {"foreach", true, "array", false},
    // {dede:global.NAME/}, {dede:global name='cfg_cmspath'/}: cnblogs.com/onlylove2015/p/4391679.html
    {"global", false, "name", false},
    {"group", true, "", true},
    {"groupthread", true, "", true},
    {"hotart", true, kArclist, false},
    {"hotwords", false, "", true},
    {"imginfolist", true, kArclist, false},
    {"imglist", true, kArclist, false},
    // file: cnblogs.com/onlylove2015/p/4391679.html; filename is the form DedeCMS's default templates use
    {"include", false, "file filename", false},
    // kancloud.cn/bill080307/dedecms53/173577
    {"infoguide", false, "", true},
    // Not in the manual's index; the classified-information list page's tag, written by Brindle's own
    // palette. Its attributes are not published, so they are not checked.
    {"infolink", true, "", true},
    {"likeart", true, kArclist, false},
    // kancloud.cn/bill080307/dedecms53/173600
    {"likearticle", true, "row col titlelen infolen mytypeid innertext", false},
    {"likepage", false, "", true},
    {"likesgpage", false, "", true},
    // kancloud.cn/bill080307/dedecms53/173598; row: www.instres.cn/post/6000.html
    {"list", true, "col titlelen infolen imgwidth imgheight listtype orderby orderway pagesize typeid row", false},
    // kancloud.cn/bill080307/dedecms53/173583; tablename, ifcase, orderway:
    // blog.csdn.net/uyoumond/article/details/40018941
    {"loop", true, "table tablename row sort if ifcase orderway", false},
    {"memberinfos", false, "", true},
    {"memberlist", true, "", true},
    {"myad", false, "", true},
    {"mynews", true, "", true},
    {"mytag", false, "", true},
    // kancloud.cn/bill080307/dedecms53 index (pagebreak|内容分页)
    {"pagebreak", false, "", false},
    // blog.csdn.net/zhan0623/article/details/78979149
    {"pagelist", false, "listsize listitem", false},
    {"pagetitle", false, "", true},
    // kancloud.cn/bill080307/dedecms53/173603
    {"prenext", false, "get", false},
    // kancloud.cn/bill080307/dedecms53 index (softmsg|下载说明)
    {"softmsg", false, "", false},
    {"sonchannel", true, "", true},
    {"specart", true, kArclist, false},
    // {dede:sql sql="..."}: blog.csdn.net/dhvn939935/article/details/102071597
    {"sql", true, "sql", false},
    {"tag", true, "", true},
    // blog.csdn.net/weixin_30886233/article/details/98284467
    {"type", true, "typeid", false},
    {"vote", false, "", true},
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

// Any tag may pass its value through a function (the prenext page's example,
// kancloud.cn/bill080307/dedecms53/173603; cnblogs.com/onlylove2015/p/4391679.html) or run PHP on it
// (blog.csdn.net/dhvn939935/article/details/102071597).
bool is_common_attribute(std::string_view name) { return name == "function" || name == "runphp"; }

// [field:NAME function='...'/], [field:NAME runphp='yes']...[/field:NAME] and
// [field:global name='cfg_cmspath'/] (blog.csdn.net/ljl_xyf/article/details/83766542,
// blog.csdn.net/weixin_30593261/article/details/95785473).
bool is_field_attribute(std::string_view name) { return is_common_attribute(name) || name == "name"; }

bool takes_attribute(const DedeTag& tag, std::string_view attribute) {
    return tag.open || is_common_attribute(attribute) || in_list(tag.attributes, attribute);
}

}  // namespace brindle::dede
