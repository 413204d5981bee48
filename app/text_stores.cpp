#include "app/text_stores.h"

#include <algorithm>

namespace brindle::app {

// One source line per line of text. Trailing blanks, leading tabs and the presence or absence of a
// final CR LF are part of each fragment: DedeCMS authors paste these verbatim.
// clang-format off
const std::vector<TextStore>& text_stores() {
    static const std::vector<TextStore> stores = {
        {"编辑框_带图片",
         "<table cellspacing=2 cellpadding=0 width=\"98%\" border=0>\r\n"
         "<tbody>\r\n"
         "<tr>\r\n"
         "<td align=middle>[field:imglink/]</td></tr>\r\n"
         "<tr>\r\n"
         "<td align=middle>[field:textlink/]</td></tr></tbody></table>"},
        {"编辑框_时间3",
         "[field:pubdate function='strftime(\"%y-%m-%d %H:%M:%S\",@me)'/] "},
        {"编辑框_带摘要",
         "<table cellspacing=2 cellpadding=2 width=\"100%\" border=0>\r\n"
         "<tbody>\r\n"
         "<tr>\r\n"
         "<td width=\"70%\"><a href=\"[field:filename/]\">[field:title/]</a></td></tr>\r\n"
         "<tr>\r\n"
         "<td>[field:info/]</td></tr></tbody></table>"},
        {"编辑框_时间7",
         "[field:pubdate function='strftime(\"%Y年%m月%d日 %H点%M分%S秒\",@me)'/] "},
        {"编辑框_时间4",
         "[field:pubdate function='strftime(\"%m-%d %H:%M:%S\",@me)'/]"},
        {"编辑框_时间5",
         "[field:pubdate function='strftime(\"%m-%d %H:%M\",@me)'/] "},
        {"编辑框_时间6",
         "[field:pubdate function='strftime(\"%y年%m月%d日\",@me)'/] "},
        {"编辑框_时间8",
         "[field:pubdate function='strftime(\"%b %d, %Y\",@me)'/]"},
        {"编辑框_图片摘要",
         "<table cellspacing=2 cellpadding=2 width=\"100%\" border=0>\r\n"
         "<tbody>\r\n"
         "<tr>\r\n"
         "<td align=middle width=\"30%\" rowspan=2>[field:imglink/]</td>\r\n"
         "<td width=\"70%\"><a href=\"[field:filename/]\">[field:title/]</a></td></tr>\r\n"
         "<tr>\r\n"
         "<td>[field:info/]</td></tr></tbody></table>\r\n"},
        {"编辑框_上传日期",
         "[field:pubdate function=\"GetDateTimeMK(@me)\"/]"},
        {"编辑框_分页CSS",
         ".dede_pages{\r\n"
         "}\r\n"
         ".dede_pages ul{\r\n"
         "\tfloat:left;\r\n"
         "\tpadding:12px 0px 12px 16px;\r\n"
         "}\r\n"
         ".dede_pages ul li{\r\n"
         "\tfloat:left;\r\n"
         "\tfont-family:Tahoma;\r\n"
         "\tline-height:17px;\r\n"
         "\tmargin-right:6px;\r\n"
         "}\r\n"
         ".dede_pages ul li a{\r\n"
         "\tfloat:left;\r\n"
         "\tpadding:2px 4px 2px;\r\n"
         "\tcolor:#666;\r\n"
         "\tborder-bottom:1px solid #EEE;\r\n"
         "}\r\n"
         ".dede_pages ul li a:hover{\r\n"
         "\tcolor:#690;\r\n"
         "\ttext-decoration:none;\r\n"
         "\tpadding:2px 4px 1px;\r\n"
         "\tborder-bottom:2px solid #690;\r\n"
         "}\r\n"
         ".dede_pages ul li.thisclass a,.pagebox ul li.thisclass a:hover{\r\n"
         "\tcolor:#F63;\r\n"
         "\tpadding:2px 4px 1px;\r\n"
         "\tborder-bottom:2px solid #F63;\r\n"
         "\tfont-weight:bold;\r\n"
         "}\r\n"
         ".dede_pages .pageinfo{\r\n"
         "\tfloat:right;\r\n"
         "\tline-height:21px;\r\n"
         "\tpadding:12px 10px 12px 16px;\r\n"
         "\tcolor:#999;\r\n"
         "}\r\n"
         ".dede_pages .pageinfo strong{\r\n"
         "\tcolor:#666;\r\n"
         "\tfont-weight:normal;\r\n"
         "\tmargin:0px 2px;\r\n"
         "}\r\n"},
        {"编辑框_分类",
         "{dede:infolink}\r\n"
         "<table id='dedeinfolink'>\r\n"
         "<tr>\r\n"
         "\t<td colspan='3' class='iftitle'>\r\n"
         "\t\t信息附加条件：\r\n"
         "\t</td>\r\n"
         "</tr>\r\n"
         "<tr>\r\n"
         "\t<td width='50'>&nbsp;地 区：</td>\r\n"
         "\t<td align='center' nowrap='yes'>\r\n"
         "\t\t<div>[field:linkallplace/]</div>\r\n"
         "\t</td>\r\n"
         "\t<td>\r\n"
         "  \t[field:nativeplace /]&nbsp;\r\n"
         "\t</td>\r\n"
         "</tr>\r\n"
         "<tr><td colspan='3' class='spline'>&nbsp;</td></tr>\r\n"
         "<tr>\r\n"
         "\t<td>&nbsp;类 型：</td>\r\n"
         "  <td align='center' nowrap='yes'>\r\n"
         "  \t<div>[field:linkalltype/]</div>\r\n"
         "  </td>\r\n"
         "  <td>\r\n"
         "  \t[field:infotype /]&nbsp;\r\n"
         "  </td>\r\n"
         "</tr>\r\n"
         "<tr><td colspan='3' class='spline'>&nbsp;</td></tr>\r\n"
         "</table>\r\n"
         "{/dede:infolink}"},
        {"编辑框_分页标签",
         " <div class=\"dede_pages\">\r\n"
         "\t\t\t<ul class=\"pagelist\">\r\n"
         "             {dede:pagelist listitem=\"info,index,end,pre,next,pageno\" listsize=\"5\"/}\r\n"
         "\t\t\t</ul>\r\n"
         "\t\t</div><!-- /pages --> "},
        {"编辑框_购物车",
         "<form id=\"formcar\" name=\"formcar\" method=\"post\" action=\"{dede:field name='phpurl'/}/posttocar.php\">\r\n"
         "                <input type=\"hidden\" name=\"id\" value=\"{dede:field.id/}\" />\r\n"
         "                <input type=\"hidden\" name=\"title\" value=\"{dede:field.title/}\" />\r\n"
         "                <input type=\"hidden\" name=\"price\" value=\"{dede:field.trueprice/}\" />\r\n"
         "                <input type=\"hidden\" name=\"units\" value=\"{dede:field.units/}\" />\r\n"
         "                <small>购物车：</small><span><a href=\"{dede:field name='phpurl'/}/car.php\" target=\"_blank\">查看购物车</a></span>\r\n"
         "                <small>购买：</small><span><button type=\"submit\" name=\"button\" class=\"btn-2\">放入购物车</button></span>\r\n"
         "                </form>"},
        {"编辑框_收藏",
         "<a href=\"{dede:field name='phpurl'/}/stow.php?aid={dede:field.id/}\" target=\"_blank\">收藏</a>"},
        {"编辑框_推荐",
         "<a href=\"{dede:field name='phpurl'/}/recommend.php?aid={dede:field.id/}\" target=\"_blank\">推荐</a>"},
        {"编辑框_挑错",
         "<a href=\"{dede:field name='phpurl'/}/erraddsave.php?aid={dede:field.id/}&title={dede:field.title/}\" target=\"_blank\">挑错</a>"},
        {"编辑框_打印",
         "<a href=\"#\" target=\"_blank\" onClick=\"window.print();\">打印</a>"},
        {"编辑框_人气",
         "<script src=\"{dede:field name='phpurl'/}/count.php?view=yes&aid={dede:field name='id'/}&mid={dede:field name='mid'/}\" type='text/javascript' language=\"javascript\"></script>"},
        {"编辑框_下载次数",
         "<script src=\"{dede:field.phpurl/}/disdls.php?aid={dede:field.id/}\" language=\"javascript\"></script>"},
        {"编辑框_截止日期",
         "{dede:field.endtime function=\"MyDate('Y-m-d H:m',@me)\" /}"},
        {"编辑框_发布时间",
         "{dede:field.pubdate function=\"MyDate('Y-m-d H:i',@me)\"/}"},
        {"编辑框_点击",
         "<script src=\"{dede:field name='phpurl'/}/count.php?view=yes&aid={dede:field name='id'/}&mid={dede:field name='mid'/}\" type='text/javascript' language=\"javascript\"></script>"},
        {"编辑框_评论链接",
         "<a href=\"{dede:field name='phpurl'/}/feedback.php?aid={dede:field.id/}\">查看所有评论</a>"},
        {"编辑框_顶一下",
         "\t\t\t<div class=\"newdigg\" id=\"newdigg\">\r\n"
         "\t\t\t\t<div class=\"diggbox digg_good\" onmousemove=\"this.style.backgroundPosition='left bottom';\" onmouseout=\"this.style.backgroundPosition='left top';\" onclick=\"javascript:postDigg('good',{dede:field.id/})\">\r\n"
         "\t\t\t\t\t<div class=\"digg_act\">顶一下</div>\r\n"
         "\t\t\t\t\t<div class=\"digg_num\">({dede:field.goodpost/})</div>\r\n"
         "\t\t\t\t\t<div class=\"digg_percent\">\r\n"
         "\t\t\t\t\t\t<div class=\"digg_percent_bar\"><span style=\"width:{dede:field.goodper/}%\"></span></div>\r\n"
         "\t\t\t\t\t\t<div class=\"digg_percent_num\">{dede:field.goodper/}%</div>\r\n"
         "\t\t\t\t\t</div>\r\n"
         "\t\t\t\t</div>\r\n"
         "\t\t\t\t<div class=\"diggbox digg_bad\" onmousemove=\"this.style.backgroundPosition='right bottom';\" onmouseout=\"this.style.backgroundPosition='right top';\" onclick=\"javascript:postDigg('bad',{dede:field.id/})\">\r\n"
         "\t\t\t\t\t<div class=\"digg_act\">踩一下</div>\r\n"
         "\t\t\t\t\t<div class=\"digg_num\">({dede:field.badpost/})</div>\r\n"
         "\t\t\t\t\t<div class=\"digg_percent\">\r\n"
         "\t\t\t\t\t\t<div class=\"digg_percent_bar\"><span style=\"width:{dede:field.badper/}%\"></span></div>\r\n"
         "\t\t\t\t\t\t<div class=\"digg_percent_num\">{dede:field.badper/}%</div>\r\n"
         "\t\t\t\t\t</div>\r\n"
         "\t\t\t\t</div>\r\n"
         "\t\t\t</div>\r\n"
         "\t\t\t <script language=\"javascript\" type=\"text/javascript\">getDigg({dede:field.id/});</script>"},
        {"编辑框_flash属性前",
         ";\r\n"
         "var files = \"\";\r\n"
         "var links = \"\";\r\n"
         "var texts = \"\";\r\n"
         "//这里设置调用标记\r\n"
         "{dede:arclist "},
        {"编辑框_flash高",
         ";\r\n"
         "var swf_height="},
        {"编辑框_flash宽",
         "<script language='javascript'>\r\n"
         "linkarr = new Array();\r\n"
         "picarr = new Array();\r\n"
         "textarr = new Array();\r\n"
         "var swf_width="},
        {"编辑框_flash结束",
         "'}\r\n"
         "linkarr[[field:global.autoindex/]] = \"[field:arcurl/]\";\r\n"
         "picarr[[field:global.autoindex/]]  = \"[field:litpic/]\";\r\n"
         "textarr[[field:global.autoindex/]] = \"[field:title function='html2text(@me)'/]\";\r\n"
         "{/dede:arclist}\r\n"
         "for(i=1;i<picarr.length;i++){\r\n"
         "  if(files==\"\") files = picarr[i];\r\n"
         "  else files += \"|\"+picarr[i];\r\n"
         "}\r\n"
         "for(i=1;i<linkarr.length;i++){\r\n"
         "  if(links==\"\") links = linkarr[i];\r\n"
         "  else links += \"|\"+linkarr[i];\r\n"
         "}\r\n"
         "for(i=1;i<textarr.length;i++){\r\n"
         "  if(texts==\"\") texts = textarr[i];\r\n"
         "  else texts += \"|\"+textarr[i];\r\n"
         "}\r\n"
         "document.write('<object classid=\"clsid:d27cdb6e-ae6d-11cf-96b8-444553540000\" codebase=\"https://download.flash.example/pub/shockwave/cabs/flash/swflash.cab#version=6,0,0,0\" width=\"'+ swf_width +'\" height=\"'+ swf_height +'\">');\r\n"
         "document.write('<param name=\"movie\" value=\"{dede:global.$cfg_templeturl/}/images/bcastr3.swf\"><param name=\"quality\" value=\"high\">');\r\n"
         "document.write('<param name=\"menu\" value=\"false\"><param name=wmode value=\"opaque\">');\r\n"
         "document.write('<param name=\"FlashVars\" value=\"bcastr_file='+files+'&bcastr_link='+links+'&bcastr_title='+texts+'\">');\r\n"
         "document.write('<embed src=\"{dede:global.cfg_templeturl/}/images/bcastr3.swf\" wmode=\"opaque\" FlashVars=\"bcastr_file='+files+'&bcastr_link='+links+'&bcastr_title='+texts+'& menu=\"false\" quality=\"high\" width=\"'+ swf_width +'\" height=\"'+ swf_height +'\" type=\"application/x-shockwave-flash\" pluginspage=\"https://www.flash.example/go/getflashplayer\" />'); document.write('</object>'); \r\n"
         "</script>"},
        {"编辑框_清空文章中关键字字段",
         "update dede_archives set keywords=''"},
        {"编辑框_内容统计",
         "·共有文章：** 篇 \r\n"
         "{dede:sql sql=\"select count(*) as c from dede_archives where channel=1\"}·共有文章：[field:c /]篇{/dede:sql} \r\n"
         "·共有图集：** 个 \r\n"
         "{dede:sql sql=\"select count(*) as c from dede_archives where channel=2\"}·共有图集：[field:c /]个{/dede:sql} \r\n"
         "·共有软件：** 个 \r\n"
         "{dede:sql sql=\"select count(*) as c from dede_archives where channel=3\"}·共有软件：[field:c /]个{/dede:sql} \r\n"
         "·共有评论：**条 \r\n"
         "{dede:sql sql=\"select count(*) as c from dede_feedback\"}·共有评论：[field:c /]条{/dede:sql} \r\n"
         "·共有会员：**名 \r\n"
         "{dede:sql sql=\"select count(mid) as c from dede_member \"}·共有会员：[field:c /]名{/dede:sql} \r\n"
         "·文章阅读：** 人次 \r\n"
         "{dede:sql sql=\"select sum(click) as c from dede_archives\"}文章阅读：[field:c /]人次{/dede:sql} \r\n"
         "·今日更新：**篇 \r\n"
         "{dede:sql sql=\"SELECT count( * ) AS c FROM dede_archives WHERE pubdate > UNIX_TIMESTAMP( CURDATE( ) ) \"}今日更新：[field:c /]篇{/dede:sql}\r\n"
         "总共留言：{dede:sql sql=\"select count(*) as cc From dede_guestbook\"}[field:cc/]{/dede:sql}条"},
        {"编辑框_推荐会员",
         "{dede:sql sql=\"SELECT mid,mtype,userid,uname,matt,face\r\n"
         "FROM dede_member \r\n"
         "where matt = 1 and mtype='个人'\r\n"
         "LIMIT 0 , 10\"} \r\n"
         "头像：<img src=\"[field:face runphp='yes'] \r\n"
         "if(!@me)@me = 'https://bbs.brindle.example/attachment/upload/87/11787.gif'; \r\n"
         "[/field:face]\" /> \r\n"
         "用户名：<a href='[field:global name='cfg_cmspath'/]/member/?[field:userid/]/'>[field:uname/]</a> \r\n"
         "{/dede:sql} \r\n"
         "\r\n"
         "[field:face runphp='yes'] \r\n"
         "if(!@me)@me = 'https://bbs.brindle.example/p_w_picpath/post/smile/default/14.gif'; \r\n"
         "[/field:face] \r\n"
         "为用户头像图片 \r\n"
         "[img]https://bbs.brindle.example/attachment/upload/87/11787.gif[/img] \r\n"
         "\r\n"
         "是如果用户头像为空的话要显示的图像 这个大家自己改吧"},
        {"编辑框_文章内容批量替换",
         "update `dede_addonarticle` set body=REPLACE(body,'论坛','社区') where body like \"%论坛%\" \r\n"
         "以上SQL语句作用是查找所有文章带有“论坛”的词组，并将论坛替换为“社区”"},
        {"编辑框_会员积分排行",
         "{dede:sql sql=\"Select mid,userid,uname,scores From dede_member order by scores desc limit 0,10\"} \r\n"
         "<dd><span class=\"name\"><a href='[field:global name='cfg_cmspath'/]/member/?[field:userid/]/'>[field:uname/]</a> \r\n"
         "</span><span class=\"jifen\">积分[field:scores/]</span></dd> \r\n"
         "{/dede:sql} "},
        {"编辑框_编辑框_UCenterHome会员",
         "{dede:sql sql=\"SELECT * FROM `uchome_space` WHERE `avatar` =1 LIMIT 0 , 10\"} \r\n"
         "<a href=\"你安装UCenter Home的地址/space.php?uid=[field:uid/]\"> \r\n"
         "<img src='你安装UCenter的地址/avatar.php?uid=[field:uid/]&size=[field:small/]' border='0' width='99' height='88' > \r\n"
         "<br /> \r\n"
         "[field:username/]</a> \r\n"
         "{/dede:sql} "},
        {"编辑框_企业及企业所属行业",
         "{dede:sql sql=\"SELECT m.mid,m.mtype,m.userid,m.matt,c.mid,c.company,c.comface,d.ename,d.evalue,d.egroup FROM dede_sys_enum as d ,dede_member as m left join dede_member_company c on m.mid = c.mid where m.mtype ='企业' and m.matt = 1 and c.vocation=d.evalue and d.egroup='vocation' LIMIT 0 , 10\"} \r\n"
         "[field:company/] \r\n"
         "[field:ename/] \r\n"
         "{/dede:sql} "},
        {"编辑框_UCHOME最新日志",
         "{dede:sql sql=\"Select subject,viewnum,blogid,uid From uchome_blog order by blogid desc limit 0,8\"} \r\n"
         "<li><A href=\"https://home.brindle.example/space.php?uid=[field:uid/]&do=blog&id=[field:blogid/]\">[field:subject function=\"cn_substr('@me',24)\" /]</A></li> \r\n"
         "{/dede:sql}"},
        {"编辑框_企业最新产品",
         "{dede:sql sql=\"SELECT a.id,a.litpic,a.title FROM dede_addonshop p left join dede_archives a on a.id = p.aid order by a.id desc LIMIT 0 , 4\"} \r\n"
         "<li><div><a href=\"/plus/view.php?aid=[field:aid/]\" title=\"[field:title/]\"><img src=\"[field:litpic/]\" alt=\"[field:title/]\"/></a></div><a href=\"/plus/view.php?aid=[field:aid/]\" title=\"[field:title/]\">[field:title/]</a></li> \r\n"
         "{/dede:sql} "},
        {"编辑框_推荐企业包含企业简介",
         "{dede:sql sql=\"SELECT m.userid,m.comname,c.cominfo \r\n"
         "FROM #@__member m left join #@__member_cominfo c on m.ID = c.id \r\n"
         "where m.type = 1 and m.matt = 1 \r\n"
         "LIMIT 0 , 5\"} \r\n"
         "\r\n"
         "企业名称：<a href='[field:global name='cfg_cmspath'/]/member/?[field:userid/]/'>[field:comname/]</a> \r\n"
         "企业简介：[field:cominfo function=\"cn_substr(ClearHtml(@me),100)\"/] \r\n"
         "{/dede:sql}"},
        {"编辑框_Discuz论坛附件带图片",
         "{dede:sql sql=\"SELECT` cdb_p_w_uploads`.`aid`, `cdb_p_w_uploads`.`p_w_upload`,`cdb_threads`.`tid`, `cdb_threads`.`fid`, `cdb_threads`.`subject` FROM `cdb_p_w_uploads` LEFT JOIN `cdb_threads` ON `cdb_threads`.`tid`=`cdb_p_w_uploads`.`tid` WHERE `cdb_p_w_uploads`.`readperm`='0' AND `displayorder`>='0' AND `filetype`='p_w_picpath/pjpeg' GROUP BY tid LIMIT 0,2\"} \r\n"
         "<li><A href=\"/bbs/viewthread.php?tid=[field:tid /]\"><IMG src=\"/bbs/p_w_uploads/[field:p_w_upload/]\"></A></li> \r\n"
         "<li><A href=\"/bbs/viewthread.php?tid=[field:tid /]\">[field:subject function=\"cn_substr('@me',30)\" /]</A></li> \r\n"
         "{/dede:sql}"},
        {"编辑框_dz论坛最新主题",
         "{dede:loop table=\"cdb_threads\" sort=\"tid\" row=\"10\"}\r\n"
         "<a href=\"/dz/viewthread.php?tid=[field:tid /]\">\r\n"
         "·[field:subject function=\"cn_substr('@me',30)\" /]([field:lastpost function=\"date('m-d H:M','@me')\" /])\r\n"
         "</a>\r\n"
         "<br/>\r\n"
         "{/dede:loop}"},
        {"编辑框_会员发布的最新10条文档",
         "{dede:sql sql=\"SELECT f.title,f.url,m.uname,m.id as uid \r\n"
         "FROM #@__archives a left join #@__full_search f on a.ID = f.aid \r\n"
         "left join #@__member m on a.memberID = m.ID \r\n"
         "WHERE memberID >0 \r\n"
         "ORDER BY `sortrank` DESC \r\n"
         "LIMIT 0 , 10\"} \r\n"
         "<a href='[field:url/]'>[field:title function=\"cn_substr(@me,50)\"/]</a> \r\n"
         "<a href='[field:global name='cfg_cmspath'/]/member/?[field:uid/]/'>[field:uname/]</a> \r\n"
         "{/dede:sql}"},
    };
    return stores;
}
// clang-format on

const TextStore* find_text_store(std::string_view name) {
    const auto& stores = text_stores();
    auto it = std::ranges::find(stores, name, &TextStore::name);
    return it == stores.end() ? nullptr : &*it;
}

}  // namespace brindle::app
