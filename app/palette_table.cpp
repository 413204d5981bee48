#include "app/palette_table.h"

#include "image/kernel_abi.h"

namespace brindle::app {

// clang-format off
const std::vector<PaletteEntry>& palette_entries() {
    using enum PaletteEntry::Source;
    constexpr bool kPointsToCopy = true;
    static const std::vector<PaletteEntry> entries = {
        // page 0 首页标签: 分组框1 头尾标签
        {"单选框_网站名称", "编辑框_头尾", Literal, "{dede:global.cfg_webname/}", kPointsToCopy},
        {"单选框_站点默认关键字", "编辑框_头尾", Literal, "{dede:global.cfg_keywords/}", kPointsToCopy},
        {"单选框_网站版权", "编辑框_头尾", Literal, "{dede:global.cfg_powerby/}", kPointsToCopy},
        {"单选框2", "编辑框_头尾", Literal, "{dede:flink row='24'/}"},
        {"单选框_网站地址", "编辑框_头尾", Literal, "{dede:global.cfg_cmsurl/}", kPointsToCopy},
        {"单选框_站点描述", "编辑框_头尾", Literal, "{dede:global.cfg_description/}", kPointsToCopy},
        {"单选框_网站备案号", "编辑框_头尾", Literal, "{dede:global.cfg_beian/}", kPointsToCopy},
        // page 1 列表标签: 分组框10 软件常用
        {"单选框_上传日期", "编辑框_软件常用", Store, "编辑框_上传日期"},
        {"单选框_上传日期1", "编辑框_软件常用", Literal, "[field:softrank function='GetRankStar(@me)'/]"},
        {"单选框_上传日期2", "编辑框_软件常用", Literal, "[field:language/]"},
        {"单选框_上传日期3", "编辑框_软件常用", Literal, "[field:click/]"},
        // 分组框11 商品常用
        {"单选框_上传日期7", "编辑框_商品常用", Store, "编辑框_上传日期"},
        {"单选框_上传日期6", "编辑框_商品常用", Literal, "[field:trueprice/]"},
        {"单选框_上传日期5", "编辑框_商品常用", Literal, "[field:brand/]"},
        {"单选框_上传日期4", "编辑框_商品常用", Literal, "[field:click/]"},
        // 分组框12 分类
        {"单选框18", "编辑框_列表页面", Store, "编辑框_分类"},
        // 分组框13 通用标签
        {"单选框5", "编辑框_列表页面", Literal, "[field:description/]..."},
        {"单选框3", "编辑框_列表页面", Literal, "{dede:field name='position'/}"},
        {"单选框4", "编辑框_列表页面", Literal, "<img src='[field:litpic/]' alt='[field:title function='html2text(@me)'/]'/>"},
        {"单选框19", "编辑框_列表页面", Store, "编辑框_分页标签"},
        {"单选框20", "编辑框_列表页面", Store, "编辑框_分页CSS"},
        {"单选框1", "编辑框_列表页面", Literal, "<a href='{dede:field name='typeurl'/}'>{dede:field name='typename'/}</a>"},
        // page 2 内容标签: 分组框5 内容通用
        {"单选框6", "编辑框_文章页面", Literal, "{dede:field.title/}"},
        {"单选框7", "编辑框_文章页面", Store, "编辑框_发布时间"},
        {"单选框8", "编辑框_文章页面", Literal, "{dede:field.source/}"},
        {"单选框9", "编辑框_文章页面", Literal, "{dede:field.writer/}"},
        {"单选框10", "编辑框_文章页面", Store, "编辑框_点击"},
        {"单选框11", "编辑框_文章页面", Literal, "{dede:field.description/}"},
        {"单选框12", "编辑框_文章页面", Literal, "{dede:field.body/}"},
        {"单选框13", "编辑框_文章页面", Literal, "{dede:pagebreak/}"},
        {"单选框14", "编辑框_文章页面", Literal, "{dede:prenext get='pre'/}"},
        {"单选框15", "编辑框_文章页面", Literal, "{dede:prenext get='next'/}"},
        {"单选框16", "编辑框_文章页面", Store, "编辑框_评论链接"},
        {"单选框17", "编辑框_文章页面", Store, "编辑框_顶一下"},
        // 分组框6 软件页面
        {"单选框22", "编辑框_文章页面", Literal, "{dede:field.softtype/}"},
        {"单选框25", "编辑框_文章页面", Literal, "{dede:field.accredit/}"},
        {"单选框27", "编辑框_文章页面", Literal, "{dede:field.softsize/}"},
        {"单选框23", "编辑框_文章页面", Literal, "{dede:field.filetype/}"},
        {"单选框26", "编辑框_文章页面", Literal, "{dede:field.os/}"},
        {"单选框28", "编辑框_文章页面", Literal, "{dede:field.softrank function='GetRankStar(@me)'/}"},
        {"单选框24", "编辑框_文章页面", Literal, "{dede:field.officialdemo/}"},
        {"单选框30", "编辑框_文章页面", Literal, "{dede:field.officialurl/}"},
        {"单选框29", "编辑框_文章页面", Store, "编辑框_下载次数"},
        {"单选框31", "编辑框_文章页面", Literal, "{dede:field name='image'/}"},
        {"单选框33", "编辑框_文章页面", Literal, "{dede:field.introduce/}"},
        {"单选框34", "编辑框_文章页面", Store, "编辑框_发布时间"},
        {"单选框32", "编辑框_文章页面", Literal, "{dede:field name='softlinks'/}"},
        {"单选框35", "编辑框_文章页面", Literal, "{dede:softmsg/}"},
        {"单选框36", "编辑框_文章页面", Literal, "{dede:field.goodpost/}"},
        // 分组框7 分类信息
        {"单选框37", "编辑框_文章页面", Literal, "{dede:field.nativeplace /}"},
        {"单选框41", "编辑框_文章页面", Literal, "{dede:field.infotype /}"},
        {"单选框38", "编辑框_文章页面", Store, "编辑框_截止日期"},
        {"单选框42", "编辑框_文章页面", Store, "编辑框_发布时间"},
        {"单选框39", "编辑框_文章页面", Literal, "{dede:field.tel /}"},
        {"单选框43", "编辑框_文章页面", Literal, "{dede:field.email/}"},
        {"单选框40", "编辑框_文章页面", Literal, "{dede:field.address /}"},
        {"单选框44", "编辑框_文章页面", Literal, "{dede:field name='image'/}"},
        {"单选框45", "编辑框_文章页面", Literal, "{dede:field.body /}"},
        // 分组框8 商店
        {"单选框46", "编辑框_文章页面", Literal, "{dede:field.price/}"},
        {"单选框49", "编辑框_文章页面", Literal, "{dede:field.trueprice/}"},
        {"单选框50", "编辑框_文章页面", Literal, "{dede:field.brand/}"},
        {"单选框48", "编辑框_文章页面", Literal, "{dede:field.units/}"},
        {"单选框47", "编辑框_文章页面", Store, "编辑框_人气"},
        {"单选框52", "编辑框_文章页面", Store, "编辑框_购物车"},
        {"单选框53", "编辑框_文章页面", Store, "编辑框_购物车"},
        // 分组框_图片页面
        {"单选框_收藏", "编辑框_文章页面", Store, "编辑框_收藏"},
        {"单选框_推荐", "编辑框_文章页面", Store, "编辑框_推荐"},
        {"单选框_挑错", "编辑框_文章页面", Store, "编辑框_挑错"},
        {"单选框_打印", "编辑框_文章页面", Store, "编辑框_打印"},
        // page 5 SQL调用整理: 分组框14 常用SQL
        {"单选框_内容统计12", "编辑框_SQL", Store, "编辑框_清空文章中关键字字段"},
        {"单选框_内容统计", "编辑框_SQL", Store, "编辑框_内容统计"},
        {"单选框_内容统计2", "编辑框_SQL", Store, "编辑框_推荐会员"},
        {"单选框_内容统计4", "编辑框_SQL", Store, "编辑框_文章内容批量替换"},
        {"单选框_内容统计5", "编辑框_SQL", Store, "编辑框_会员积分排行"},
        {"单选框_UCenterHome会员", "编辑框_SQL", Store, "编辑框_编辑框_UCenterHome会员"},
        {"单选框_内容统计10", "编辑框_SQL", Store, "编辑框_企业及企业所属行业"},
        {"单选框_内容统计1", "编辑框_SQL", Store, "编辑框_UCHOME最新日志"},
        {"单选框_内容统计9", "编辑框_SQL", Store, "编辑框_企业最新产品"},
        {"单选框_内容统计8", "编辑框_SQL", Store, "编辑框_Discuz论坛附件带图片"},
        {"单选框_内容统计11", "编辑框_SQL", Store, "编辑框_推荐企业包含企业简介"},
        {"单选框_内容统计3", "编辑框_SQL", Store, "编辑框_dz论坛最新主题"},
        {"单选框_内容统计7", "编辑框_SQL", Store, "编辑框_会员发布的最新10条文档"},
    };
    return entries;
}
// clang-format on

const std::vector<CopyEntry>& copy_entries() {
    static const std::vector<CopyEntry> entries = {
        {"按钮_头尾复制", "编辑框_头尾", abi::style::kInformation, std::nullopt},
        {"按钮_输出复制", "编辑框_标签输出1", abi::style::kInformation, std::nullopt},
        // The list page's button confirms plainly under the title 复制: that page has no other copy
        // button, so the title alone says what was copied.
        {"按钮5", "编辑框_列表页面", abi::style::kPlain, "复制"},
        {"按钮2", "编辑框_文章页面", abi::style::kInformation, std::nullopt},
        {"按钮3", "编辑框_生成flash", abi::style::kInformation, std::nullopt},
    };
    return entries;
}

}  // namespace brindle::app
