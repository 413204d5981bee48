-- The embedded sample site (SQLite): the tables DedeCMS reads when it renders, with the data of the
-- rendering fixtures in tests/dede/fixtures (site_dump.sql, converted: MySQL types kept for their
-- affinity, keys as indexes, strings in standard SQL quoting).
BEGIN;
CREATE TABLE `dede_addonarticle` (
  `aid` mediumint(8) NOT NULL DEFAULT 0,
  `typeid` smallint(5) NOT NULL DEFAULT 0,
  `body` mediumtext DEFAULT NULL,
  `redirecturl` varchar(255) NOT NULL DEFAULT '',
  `templet` varchar(30) NOT NULL DEFAULT '',
  `userip` char(15) NOT NULL DEFAULT '',
  PRIMARY KEY (`aid`)
);
INSERT INTO `dede_addonarticle` VALUES (1,5,'<p>正文 body of article 1: 国内经济形势稳中向好（1）</p><p>这是示例正文。这是示例正文。这是示例正文。</p>','','','127.0.0.1');
INSERT INTO `dede_addonarticle` VALUES (2,6,'<p>正文 body of article 2: 国际市场原油价格小幅上涨（2）</p><p>这是示例正文。这是示例正文。这是示例正文。</p>','','','127.0.0.1');
INSERT INTO `dede_addonarticle` VALUES (3,7,'<p>正文 body of article 3: DedeCMS template tags explained in depth for beginners #3</p><p>这是示例正文。这是示例正文。这是示例正文。</p>','','','127.0.0.1');
INSERT INTO `dede_addonarticle` VALUES (4,8,'<p>正文 body of article 4: 新款笔记本电脑正式上市（4）</p><p>这是示例正文。这是示例正文。这是示例正文。</p>','','','127.0.0.1');
INSERT INTO `dede_addonarticle` VALUES (5,9,'<p>第一页 page one 示例</p>#p#第二页标题#e#<p>第二页 page two</p>#p##e#<p>第三页 page three</p>','','','127.0.0.1');
INSERT INTO `dede_addonarticle` VALUES (6,10,'<p>正文 body of article 6: Release notes 5.7 #6</p><p>这是示例正文。这是示例正文。这是示例正文。</p>','','','127.0.0.1');
INSERT INTO `dede_addonarticle` VALUES (7,11,'<p>正文 body of article 7: 公司荣获年度优秀企业称号（7）</p><p>这是示例正文。这是示例正文。这是示例正文。</p>','','','127.0.0.1');
INSERT INTO `dede_addonarticle` VALUES (8,12,'<p>正文 body of article 8: 春节假期安排通知（8）</p><p>这是示例正文。这是示例正文。这是示例正文。</p>','','','127.0.0.1');
INSERT INTO `dede_addonarticle` VALUES (9,1,'<p>正文 body of article 9: A very long English title, longer than thirty characters #9</p><p>这是示例正文。这是示例正文。这是示例正文。</p>','','','127.0.0.1');
INSERT INTO `dede_addonarticle` VALUES (10,3,'<p>正文 body of article 10: 织梦内容管理系统发布新版本（10）</p><p>这是示例正文。这是示例正文。这是示例正文。</p>','','','127.0.0.1');
INSERT INTO `dede_addonarticle` VALUES (11,5,'<p>正文 body of article 11: 国内经济形势稳中向好（11）</p><p>这是示例正文。这是示例正文。这是示例正文。</p>','','','127.0.0.1');
INSERT INTO `dede_addonarticle` VALUES (12,6,'<p>正文 body of article 12: Short #12</p><p>这是示例正文。这是示例正文。这是示例正文。</p>','','','127.0.0.1');
INSERT INTO `dede_addonarticle` VALUES (13,7,'<p>正文 body of article 13: 行业协会召开年度工作会议（13）</p><p>这是示例正文。这是示例正文。这是示例正文。</p>','','','127.0.0.1');
INSERT INTO `dede_addonarticle` VALUES (14,8,'<p>正文 body of article 14: 新款笔记本电脑正式上市（14）</p><p>这是示例正文。这是示例正文。这是示例正文。</p>','','','127.0.0.1');
INSERT INTO `dede_addonarticle` VALUES (15,9,'<p>正文 body of article 15: Using arclist with titlelen and infolen #15</p><p>这是示例正文。这是示例正文。这是示例正文。</p>','','','127.0.0.1');
INSERT INTO `dede_addonarticle` VALUES (16,10,'<p>正文 body of article 16: 深入理解C++模板元编程技术与实践指南全集（16）</p><p>这是示例正文。这是示例正文。这是示例正文。</p>','','','127.0.0.1');
INSERT INTO `dede_addonarticle` VALUES (17,11,'<p>动态第一页</p>#p#下一页#e#<p>动态第二页</p>','','','127.0.0.1');
INSERT INTO `dede_addonarticle` VALUES (18,12,'<p>正文 body of article 18: C++ RAII &amp; smart pointers &lt;intro&gt; #18</p><p>这是示例正文。这是示例正文。这是示例正文。</p>','','','127.0.0.1');
INSERT INTO `dede_addonarticle` VALUES (19,1,'<p>正文 body of article 19: 人工智能在医疗领域的应用前景分析报告摘要（19）</p><p>这是示例正文。这是示例正文。这是示例正文。</p>','','','127.0.0.1');
INSERT INTO `dede_addonarticle` VALUES (20,3,'<p>正文 body of article 20: 织梦内容管理系统发布新版本（20）</p><p>这是示例正文。这是示例正文。这是示例正文。</p>','','','127.0.0.1');
INSERT INTO `dede_addonarticle` VALUES (21,5,'<p>正文 body of article 21: PHP 8.2 migration tips #21</p><p>这是示例正文。这是示例正文。这是示例正文。</p>','','','127.0.0.1');
INSERT INTO `dede_addonarticle` VALUES (22,6,'<p>正文 body of article 22: 国际市场原油价格小幅上涨（22）</p><p>这是示例正文。这是示例正文。这是示例正文。</p>','','','127.0.0.1');
INSERT INTO `dede_addonarticle` VALUES (23,7,'<p>正文 body of article 23: 行业协会召开年度工作会议（23）</p><p>这是示例正文。这是示例正文。这是示例正文。</p>','','','127.0.0.1');
INSERT INTO `dede_addonarticle` VALUES (24,8,'<p>正文 body of article 24: Hello World #24</p><p>这是示例正文。这是示例正文。这是示例正文。</p>','','','127.0.0.1');
INSERT INTO `dede_addonarticle` VALUES (25,9,'<p>正文 body of article 25: 如何使用PHP快速开发网站（25）</p><p>这是示例正文。这是示例正文。这是示例正文。</p>','','','127.0.0.1');
INSERT INTO `dede_addonarticle` VALUES (26,10,'<p>正文 body of article 26: 深入理解C++模板元编程技术与实践指南全集（26）</p><p>这是示例正文。这是示例正文。这是示例正文。</p>','','','127.0.0.1');
INSERT INTO `dede_addonarticle` VALUES (27,11,'<p>动态 27 第一页</p>#p#第二部分#e#<p>动态 27 第二页 示例</p>#p#第三部分#e#<p>第三页</p>','','article_fixture.htm','127.0.0.1');
INSERT INTO `dede_addonarticle` VALUES (28,12,'<p>正文 body of article 28: 春节假期安排通知（28）</p><p>这是示例正文。这是示例正文。这是示例正文。</p>','','','127.0.0.1');
INSERT INTO `dede_addonarticle` VALUES (29,1,'<p>正文 body of article 29: 人工智能在医疗领域的应用前景分析报告摘要（29）</p><p>这是示例正文。这是示例正文。这是示例正文。</p>','','','127.0.0.1');
INSERT INTO `dede_addonarticle` VALUES (30,3,'<p>正文 body of article 30: Release notes 5.7 #30</p><p>这是示例正文。这是示例正文。这是示例正文。</p>','','','127.0.0.1');
INSERT INTO `dede_addonarticle` VALUES (31,5,'<p>正文 body of article 31: 国内经济形势稳中向好（31）</p><p>这是示例正文。这是示例正文。这是示例正文。</p>','','','127.0.0.1');
INSERT INTO `dede_addonarticle` VALUES (32,6,'<p>正文 body of article 32: 国际市场原油价格小幅上涨（32）</p><p>这是示例正文。这是示例正文。这是示例正文。</p>','','','127.0.0.1');
INSERT INTO `dede_addonarticle` VALUES (33,7,'<p>正文 body of article 33: A very long English title, longer than thirty characters #33</p><p>这是示例正文。这是示例正文。这是示例正文。</p>','','','127.0.0.1');
INSERT INTO `dede_addonarticle` VALUES (34,8,'<p>正文 body of article 34: 新款笔记本电脑正式上市（34）</p><p>这是示例正文。这是示例正文。这是示例正文。</p>','','','127.0.0.1');
INSERT INTO `dede_addonarticle` VALUES (35,9,'<p>正文 body of article 35: 如何使用PHP快速开发网站（35）</p><p>这是示例正文。这是示例正文。这是示例正文。</p>','','','127.0.0.1');
INSERT INTO `dede_addonarticle` VALUES (36,10,'<p>正文 body of article 36: Short #36</p><p>这是示例正文。这是示例正文。这是示例正文。</p>','','','127.0.0.1');
INSERT INTO `dede_addonarticle` VALUES (37,11,'<p>正文 body of article 37: 公司荣获年度优秀企业称号（37）</p><p>这是示例正文。这是示例正文。这是示例正文。</p>','','','127.0.0.1');
INSERT INTO `dede_addonarticle` VALUES (38,12,'<p>正文 body of article 38: 春节假期安排通知（38）</p><p>这是示例正文。这是示例正文。这是示例正文。</p>','','','127.0.0.1');
INSERT INTO `dede_addonarticle` VALUES (39,1,'<p>正文 body of article 39: Using arclist with titlelen and infolen #39</p><p>这是示例正文。这是示例正文。这是示例正文。</p>','','','127.0.0.1');
INSERT INTO `dede_addonarticle` VALUES (40,3,'<p>正文 body of article 40: 织梦内容管理系统发布新版本（40）</p><p>这是示例正文。这是示例正文。这是示例正文。</p>','','','127.0.0.1');
INSERT INTO `dede_addonarticle` VALUES (41,5,'<p>正文 body of article 41: 国内经济形势稳中向好（41）</p><p>这是示例正文。这是示例正文。这是示例正文。</p>','','','127.0.0.1');
INSERT INTO `dede_addonarticle` VALUES (42,6,'<p>正文 body of article 42: C++ RAII &amp; smart pointers &lt;intro&gt; #42</p><p>这是示例正文。这是示例正文。这是示例正文。</p>','','','127.0.0.1');
INSERT INTO `dede_addonarticle` VALUES (43,7,'<p>第一页 <a href=''/x.html''>示例链接</a> 示例 BODY 示例 示例</p>#p#概述#e#<p>第二页 Body 示例</p>#p#副标题#e#<p>第三页</p>#p#A subtitle that runs well past the fifty bytes looked at#e#<p>第四页</p>#p##e#<p>第五页</p>','','','127.0.0.1');
INSERT INTO `dede_addonarticle` VALUES (44,8,'<p>正文 body of article 44: 新款笔记本电脑正式上市（44）</p><p>这是示例正文。这是示例正文。这是示例正文。</p>','','','127.0.0.1');
INSERT INTO `dede_addonarticle` VALUES (45,9,'<p>正文 body of article 45: PHP 8.2 migration tips #45</p><p>这是示例正文。这是示例正文。这是示例正文。</p>','','','127.0.0.1');
INSERT INTO `dede_addonarticle` VALUES (46,10,'<p>正文 body of article 46: 深入理解C++模板元编程技术与实践指南全集（46）</p><p>这是示例正文。这是示例正文。这是示例正文。</p>','','','127.0.0.1');
INSERT INTO `dede_addonarticle` VALUES (47,11,'<p>正文 body of article 47: 公司荣获年度优秀企业称号（47）</p><p>这是示例正文。这是示例正文。这是示例正文。</p>','','','127.0.0.1');
INSERT INTO `dede_addonarticle` VALUES (48,12,'<p>正文 body of article 48: Hello World #48</p><p>这是示例正文。这是示例正文。这是示例正文。</p>','','','127.0.0.1');
INSERT INTO `dede_addonarticle` VALUES (49,1,'<p>正文 body of article 49: 人工智能在医疗领域的应用前景分析报告摘要（49）</p><p>这是示例正文。这是示例正文。这是示例正文。</p>','','','127.0.0.1');
INSERT INTO `dede_addonarticle` VALUES (50,3,'<p>正文 body of article 50: 织梦内容管理系统发布新版本（50）</p><p>这是示例正文。这是示例正文。这是示例正文。</p>','','','127.0.0.1');
INSERT INTO `dede_addonarticle` VALUES (51,5,'<p>正文 body of article 51: DedeCMS template tags explained in depth for beginners #51</p><p>这是示例正文。这是示例正文。这是示例正文。</p>','','','127.0.0.1');
INSERT INTO `dede_addonarticle` VALUES (52,6,'<p>正文 body of article 52: 国际市场原油价格小幅上涨（52）</p><p>这是示例正文。这是示例正文。这是示例正文。</p>','','','127.0.0.1');
INSERT INTO `dede_addonarticle` VALUES (53,7,'<p>正文 body of article 53: 行业协会召开年度工作会议（53）</p><p>这是示例正文。这是示例正文。这是示例正文。</p>','','','127.0.0.1');
INSERT INTO `dede_addonarticle` VALUES (54,8,'<p>正文 body of article 54: Release notes 5.7 #54</p><p>这是示例正文。这是示例正文。这是示例正文。</p>','','','127.0.0.1');
INSERT INTO `dede_addonarticle` VALUES (55,9,'<p>正文 body of article 55: 如何使用PHP快速开发网站（55）</p><p>这是示例正文。这是示例正文。这是示例正文。</p>','','','127.0.0.1');
INSERT INTO `dede_addonarticle` VALUES (56,10,'<p>正文 body of article 56: 深入理解C++模板元编程技术与实践指南全集（56）</p><p>这是示例正文。这是示例正文。这是示例正文。</p>','','','127.0.0.1');
INSERT INTO `dede_addonarticle` VALUES (57,11,'<p>正文 body of article 57: A very long English title, longer than thirty characters #57</p><p>这是示例正文。这是示例正文。这是示例正文。</p>','','','127.0.0.1');
INSERT INTO `dede_addonarticle` VALUES (58,12,'<p>正文 body of article 58: 春节假期安排通知（58）</p><p>这是示例正文。这是示例正文。这是示例正文。</p>','','','127.0.0.1');
INSERT INTO `dede_addonarticle` VALUES (59,1,'<p>正文 body of article 59: 人工智能在医疗领域的应用前景分析报告摘要（59）</p><p>这是示例正文。这是示例正文。这是示例正文。</p>','','','127.0.0.1');
INSERT INTO `dede_addonarticle` VALUES (60,3,'<p>正文 body of article 60: Short #60</p><p>这是示例正文。这是示例正文。这是示例正文。</p>','','','127.0.0.1');
CREATE TABLE `dede_admin` (
  `id` int(10) NOT NULL,
  `usertype` float DEFAULT 0,
  `userid` char(30) NOT NULL DEFAULT '',
  `pwd` char(32) NOT NULL DEFAULT '',
  `uname` char(20) NOT NULL DEFAULT '',
  `tname` char(30) NOT NULL DEFAULT '',
  `email` char(30) NOT NULL DEFAULT '',
  `typeid` text DEFAULT NULL,
  `logintime` int(10) NOT NULL DEFAULT 0,
  `loginip` varchar(20) NOT NULL DEFAULT '',
  PRIMARY KEY (`id`)
);
INSERT INTO `dede_admin` VALUES (1,10,'admin','f297a57a5a743894a0e4','admin','','','0',1717243200,'127.0.0.1');
CREATE TABLE `dede_arcatt` (
  `sortid` smallint(6) NOT NULL DEFAULT 0,
  `att` char(10) NOT NULL DEFAULT '',
  `attname` char(30) NOT NULL DEFAULT '',
  PRIMARY KEY (`att`)
);
INSERT INTO `dede_arcatt` VALUES (4,'a','特荐');
INSERT INTO `dede_arcatt` VALUES (6,'b','加粗');
INSERT INTO `dede_arcatt` VALUES (2,'c','推荐');
INSERT INTO `dede_arcatt` VALUES (3,'f','幻灯');
INSERT INTO `dede_arcatt` VALUES (1,'h','头条');
INSERT INTO `dede_arcatt` VALUES (8,'j','跳转');
INSERT INTO `dede_arcatt` VALUES (7,'p','图片');
INSERT INTO `dede_arcatt` VALUES (5,'s','滚动');
CREATE TABLE `dede_arccache` (
  `md5hash` char(32) NOT NULL DEFAULT '',
  `uptime` int(11) NOT NULL DEFAULT 0,
  `cachedata` mediumtext DEFAULT NULL,
  PRIMARY KEY (`md5hash`)
);
INSERT INTO `dede_arccache` VALUES ('1b776b1f0f90689b154ee9738f6f8dd7',1717243200,'57,47');
INSERT INTO `dede_arccache` VALUES ('a8f69e8565e416364802466f974a5877',1717243200,'57,47,37');
CREATE TABLE `dede_archives` (
  `id` mediumint(8) NOT NULL DEFAULT 0,
  `typeid` smallint(5) NOT NULL DEFAULT 0,
  `typeid2` varchar(90) NOT NULL DEFAULT '0',
  `sortrank` int(10) NOT NULL DEFAULT 0,
  `flag` text DEFAULT NULL,
  `ismake` smallint(6) NOT NULL DEFAULT 0,
  `channel` smallint(6) NOT NULL DEFAULT 1,
  `arcrank` smallint(6) NOT NULL DEFAULT 0,
  `click` mediumint(8) NOT NULL DEFAULT 0,
  `money` smallint(6) NOT NULL DEFAULT 0,
  `title` char(60) NOT NULL DEFAULT '',
  `shorttitle` char(36) NOT NULL DEFAULT '',
  `color` char(7) NOT NULL DEFAULT '',
  `writer` char(20) NOT NULL DEFAULT '',
  `source` char(30) NOT NULL DEFAULT '',
  `litpic` char(100) NOT NULL DEFAULT '',
  `pubdate` int(10) NOT NULL DEFAULT 0,
  `senddate` int(10) NOT NULL DEFAULT 0,
  `mid` mediumint(8) NOT NULL DEFAULT 0,
  `keywords` char(30) NOT NULL DEFAULT '',
  `lastpost` int(10) NOT NULL DEFAULT 0,
  `scores` mediumint(8) NOT NULL DEFAULT 0,
  `goodpost` mediumint(8) NOT NULL DEFAULT 0,
  `badpost` mediumint(8) NOT NULL DEFAULT 0,
  `voteid` mediumint(8) NOT NULL,
  `notpost` tinyint(1) NOT NULL DEFAULT 0,
  `description` varchar(255) NOT NULL DEFAULT '',
  `filename` varchar(40) NOT NULL DEFAULT '',
  `dutyadmin` mediumint(8) NOT NULL DEFAULT 0,
  `tackid` int(10) NOT NULL DEFAULT 0,
  `mtype` mediumint(8) NOT NULL DEFAULT 0,
  `weight` int(10) NOT NULL DEFAULT 0,
  PRIMARY KEY (`id`)
);
INSERT INTO `dede_archives` VALUES (1,5,'0',1640998901,'c',1,1,0,919,0,'国内经济形势稳中向好（1）','国内经济形势稳中','','编辑部','本站','',1640998901,1640999501,1,'织梦,CMS',0,0,1,1,0,0,'第1篇示例文章的摘要 description for article 1. 内容简介内容简介','',1,0,0,1);
INSERT INTO `dede_archives` VALUES (2,6,'0',1798761600,'p',1,1,0,838,0,'国际市场原油价格小幅上涨（2）','国际市场原油价格','','admin','本站','/uploads/allimg/sample/pic2.jpg',1642039402,1642040002,1,'php,template',0,0,2,2,0,0,'第2篇示例文章的摘要 description for article 2. 内容简介内容简介内容简介','',1,0,0,2);
INSERT INTO `dede_archives` VALUES (3,7,'0',1643079903,'f',1,1,0,757,0,'DedeCMS template tags explained in depth for beginners #3','DedeCMS','','编辑部','Example News','',1643079903,1643080503,1,'织梦,CMS',0,0,3,0,0,0,'第3篇示例文章的摘要 description for article 3. 内容简介内容简介内容简介内容简介','',1,0,0,3);
INSERT INTO `dede_archives` VALUES (4,8,'0',1644120404,'s',1,1,0,676,0,'新款笔记本电脑正式上市（4）','新款笔记本电脑正','','admin','本站','/uploads/allimg/sample/pic4.jpg',1644120404,1644121004,1,'php,template',0,0,4,1,0,0,'第4篇示例文章的摘要 description for article 4. 内容简介内容简介内容简介内容简介内容简介','',1,0,0,4);
INSERT INTO `dede_archives` VALUES (5,9,'0',1645160905,'j',1,1,0,595,0,'如何使用PHP快速开发网站（5）','如何使用PHP快','','编辑部','本站','',1645160905,1645161505,1,'织梦,CMS',0,0,5,2,0,0,'第5篇示例文章的摘要 description for article 5. 内容简介','',1,0,0,5);
INSERT INTO `dede_archives` VALUES (6,10,'0',1646201406,'a',1,1,0,514,0,'Release notes 5.7 #6','Release','','admin','Example News','',1646201406,1646202006,1,'php,template',0,0,6,0,0,0,'第6篇示例文章的摘要 description for article 6. 内容简介内容简介','',1,0,0,6);
INSERT INTO `dede_archives` VALUES (7,11,'0',1647241907,'b',-1,1,0,433,0,'公司荣获年度优秀企业称号（7）','公司荣获年度优秀','','编辑部','本站','',1647241907,1647242507,1,'织梦,CMS',0,0,0,1,0,0,'第7篇示例文章的摘要 description for article 7. 内容简介内容简介内容简介','',1,0,0,7);
INSERT INTO `dede_archives` VALUES (8,12,'0',1648282408,'c,h',1,1,0,352,0,'春节假期安排通知（8）','春节假期安排通知','','admin','本站','/uploads/allimg/sample/pic8.jpg',1648282408,1648283008,1,'php,template',0,0,1,2,0,0,'第8篇示例文章的摘要 description for article 8. 内容简介内容简介内容简介内容简介','',1,0,0,8);
INSERT INTO `dede_archives` VALUES (9,1,'0',1649322909,'p,f',1,1,0,271,0,'A very long English title, longer than thirty characters #9','A very l','#FF0000','编辑部','Example News','/uploads/allimg/sample/pic9.jpg',1649322909,1649323509,1,'织梦,CMS',0,0,2,0,0,0,'第9篇示例文章的摘要 description for article 9. 内容简介内容简介内容简介内容简介内容简介','',1,0,0,9);
INSERT INTO `dede_archives` VALUES (10,3,'0',1650363410,'',1,1,0,190,0,'织梦内容管理系统发布新版本（10）','织梦内容管理系统','','admin','本站','',1650363410,1650364010,1,'php,template',0,0,3,1,0,0,'第10篇示例文章的摘要 description for article 10. 内容简介','',1,0,0,10);
INSERT INTO `dede_archives` VALUES (11,5,'0',1651403911,'h,p',1,1,0,109,0,'国内经济形势稳中向好（11）','国内经济形势稳中','','编辑部','本站','/uploads/allimg/sample/pic11.jpg',1651403911,1651404511,1,'织梦,CMS',0,0,4,2,0,0,'第11篇示例文章的摘要 description for article 11. 内容简介内容简介','',1,0,0,11);
INSERT INTO `dede_archives` VALUES (12,6,'0',1652444412,'c,p,s',1,1,0,28,0,'Short #12','Short #1','','admin','Example News','/uploads/allimg/sample/pic12.jpg',1652444412,1652445012,1,'php,template',0,0,5,0,0,0,'第12篇示例文章的摘要 description for article 12. 内容简介内容简介内容简介','custom-name',1,0,0,12);
INSERT INTO `dede_archives` VALUES (13,7,'0',1653484913,'',1,1,0,947,0,'行业协会召开年度工作会议（13）','行业协会召开年度','','编辑部','本站','',1653484913,1653485513,1,'织梦,CMS',0,0,6,1,0,0,'第13篇示例文章的摘要 description for article 13. 内容简介内容简介内容简介内容简介','',1,0,0,13);
INSERT INTO `dede_archives` VALUES (14,8,'0',1654525414,'a,b',1,1,0,866,0,'新款笔记本电脑正式上市（14）','新款笔记本电脑正','','admin','本站','',1654525414,1654526014,1,'php,template',0,0,0,2,0,0,'第14篇示例文章的摘要 description for article 14. 内容简介内容简介内容简介内容简介内容简介','',1,0,0,14);
INSERT INTO `dede_archives` VALUES (15,9,'0',1655565915,'h',1,1,0,785,0,'Using arclist with titlelen and infolen #15','Using ar','','编辑部','Example News','',1655565915,1655566515,1,'织梦,CMS',0,0,1,0,0,0,'第15篇示例文章的摘要 description for article 15. 内容简介','',1,0,0,15);
INSERT INTO `dede_archives` VALUES (16,10,'0',1656606416,'c',1,1,0,704,0,'深入理解C++模板元编程技术与实践指南全集（16）','深入理解C++模','','admin','本站','/uploads/allimg/sample/pic16.jpg',1656606416,1656607016,1,'php,template',0,0,2,1,0,0,'第16篇示例文章的摘要 description for article 16. 内容简介内容简介','',1,0,0,16);
INSERT INTO `dede_archives` VALUES (17,11,'0',1657646917,'p',-1,1,0,623,0,'公司荣获年度优秀企业称号（17）','公司荣获年度优秀','','编辑部','本站','/uploads/allimg/sample/pic17.jpg',1657646917,1657647517,1,'织梦,CMS',0,0,3,2,0,0,'第17篇示例文章的摘要 description for article 17. 内容简介内容简介内容简介','',1,0,0,17);
INSERT INTO `dede_archives` VALUES (18,12,'0',1658687418,'f',1,1,0,542,0,'C++ RAII & smart pointers <intro> #18','C++ RAII','#FF0000','admin','Example News','',1658687418,1658688018,1,'php,template',0,0,4,0,0,0,'第18篇示例文章的摘要 description for article 18. 内容简介内容简介内容简介内容简介','',1,0,0,18);
INSERT INTO `dede_archives` VALUES (19,1,'0',1659727919,'s',1,1,0,461,0,'人工智能在医疗领域的应用前景分析报告摘要（19）','人工智能在医疗领','','编辑部','本站','',1659727919,1659728519,1,'织梦,CMS',0,0,5,1,0,0,'第19篇示例文章的摘要 description for article 19. 内容简介内容简介内容简介内容简介内容简介','',1,0,0,19);
INSERT INTO `dede_archives` VALUES (20,3,'0',1660768420,'j',1,1,0,380,0,'织梦内容管理系统发布新版本（20）','织梦内容管理系统','','admin','本站','/uploads/allimg/sample/pic20.jpg',1660768420,1660769020,1,'php,template',0,0,6,2,0,0,'第20篇示例文章的摘要 description for article 20. 内容简介','',1,0,0,20);
INSERT INTO `dede_archives` VALUES (21,5,'0',1661808921,'a',1,1,0,299,0,'PHP 8.2 migration tips #21','PHP 8.2','','编辑部','Example News','',1661808921,1661809521,1,'织梦,CMS',0,0,0,0,0,0,'第21篇示例文章的摘要 description for article 21. 内容简介内容简介','',1,0,0,21);
INSERT INTO `dede_archives` VALUES (22,6,'0',1662849422,'b',1,1,0,218,0,'国际市场原油价格小幅上涨（22）','国际市场原油价格','','admin','本站','',1662849422,1662850022,1,'php,template',0,0,1,1,0,0,'第22篇示例文章的摘要 description for article 22. 内容简介内容简介内容简介','',1,0,0,22);
INSERT INTO `dede_archives` VALUES (23,7,'0',1663889923,'c,h',1,1,0,137,0,'行业协会召开年度工作会议（23）','行业协会召开年度','','编辑部','本站','',1663889923,1663890523,1,'织梦,CMS',0,0,2,2,0,0,'第23篇示例文章的摘要 description for article 23. 内容简介内容简介内容简介内容简介','',1,0,0,23);
INSERT INTO `dede_archives` VALUES (24,8,'0',1664844024,'p,f',1,1,0,56,0,'Hello World #24','Hello Wo','','admin','Example News','/uploads/allimg/sample/pic24.jpg',1664844024,1664844624,1,'php,template',0,0,3,0,0,0,'第24篇示例文章的摘要 description for article 24. 内容简介内容简介内容简介内容简介内容简介','',1,0,0,24);
INSERT INTO `dede_archives` VALUES (25,9,'0',1665884525,'',1,1,0,975,0,'如何使用PHP快速开发网站（25）','如何使用PHP快','','编辑部','本站','',1665884525,1665885125,1,'织梦,CMS',0,0,4,1,0,0,'第25篇示例文章的摘要 description for article 25. 内容简介','',1,0,0,25);
INSERT INTO `dede_archives` VALUES (26,10,'0',1666925026,'h,p',1,1,0,894,0,'深入理解C++模板元编程技术与实践指南全集（26）','深入理解C++模','','admin','本站','/uploads/allimg/sample/pic26.jpg',1666925026,1666925626,1,'php,template',0,0,5,2,0,0,'第26篇示例文章的摘要 description for article 26. 内容简介内容简介','',1,0,0,26);
INSERT INTO `dede_archives` VALUES (27,11,'0',1667965527,'c,p,s',-1,1,0,813,0,'DedeCMS template tags explained in depth for beginners #27','DedeCMS','#FF0000','编辑部','Example News','/uploads/allimg/sample/pic27.jpg',1667965527,1667966127,1,'织梦,CMS',0,0,6,0,0,0,'第27篇示例文章的摘要 description for article 27. 内容简介内容简介内容简介','',1,0,0,27);
INSERT INTO `dede_archives` VALUES (28,12,'0',1669006028,'',1,1,0,732,0,'春节假期安排通知（28）','春节假期安排通知','','admin','本站','/uploads/allimg/sample/pic28.jpg',1669006028,1669006628,1,'php,template',0,0,0,1,0,0,'第28篇示例文章的摘要 description for article 28. 内容简介内容简介内容简介内容简介','',1,0,0,28);
INSERT INTO `dede_archives` VALUES (29,1,'0',1670046529,'a,b',1,1,0,651,0,'人工智能在医疗领域的应用前景分析报告摘要（29）','人工智能在医疗领','','编辑部','本站','',1670046529,1670047129,1,'织梦,CMS',0,0,1,2,0,0,'第29篇示例文章的摘要 description for article 29. 内容简介内容简介内容简介内容简介内容简介','',1,0,0,29);
INSERT INTO `dede_archives` VALUES (30,3,'0',1671087030,'h',1,1,0,570,0,'Release notes 5.7 #30','Release','','admin','Example News','',1671087030,1671087630,1,'php,template',0,0,2,0,0,0,'第30篇示例文章的摘要 description for article 30. 内容简介','',1,0,0,30);
INSERT INTO `dede_archives` VALUES (31,5,'0',1672127531,'c',1,1,0,489,0,'国内经济形势稳中向好（31）','国内经济形势稳中','','编辑部','本站','',1672127531,1672128131,1,'织梦,CMS',0,0,3,1,0,0,'第31篇示例文章的摘要 description for article 31. 内容简介内容简介','',1,0,0,31);
INSERT INTO `dede_archives` VALUES (32,6,'0',1673168032,'p',1,1,0,408,0,'国际市场原油价格小幅上涨（32）','国际市场原油价格','','admin','本站','/uploads/allimg/sample/pic32.jpg',1673168032,1673168632,1,'php,template',0,0,4,2,0,0,'第32篇示例文章的摘要 description for article 32. 内容简介内容简介内容简介','',1,0,0,32);
INSERT INTO `dede_archives` VALUES (33,7,'0',1674208533,'f',1,1,0,327,0,'A very long English title, longer than thirty characters #33','A very l','','编辑部','Example News','',1674208533,1674209133,1,'织梦,CMS',0,0,5,0,0,0,'第33篇示例文章的摘要 description for article 33. 内容简介内容简介内容简介内容简介','',1,0,0,33);
INSERT INTO `dede_archives` VALUES (34,8,'0',1675249034,'s',1,1,0,246,0,'新款笔记本电脑正式上市（34）','新款笔记本电脑正','','admin','本站','',1675249034,1675249634,1,'php,template',0,0,6,1,0,0,'第34篇示例文章的摘要 description for article 34. 内容简介内容简介内容简介内容简介内容简介','',1,0,0,34);
INSERT INTO `dede_archives` VALUES (35,9,'0',1676289535,'j',1,1,0,165,0,'如何使用PHP快速开发网站（35）','如何使用PHP快','','编辑部','本站','',1676289535,1676290135,1,'织梦,CMS',0,0,0,2,0,0,'第35篇示例文章的摘要 description for article 35. 内容简介','',1,0,0,35);
INSERT INTO `dede_archives` VALUES (36,10,'0',1677330036,'a',1,1,0,84,0,'Short #36','Short #3','#FF0000','admin','Example News','/uploads/allimg/sample/pic36.jpg',1677330036,1677330636,1,'php,template',0,0,1,0,0,0,'第36篇示例文章的摘要 description for article 36. 内容简介内容简介','',1,0,0,36);
INSERT INTO `dede_archives` VALUES (37,11,'0',1678370537,'b',-1,1,0,3,0,'公司荣获年度优秀企业称号（37）','公司荣获年度优秀','','编辑部','本站','',1678370537,1678371137,1,'织梦,CMS',0,0,2,1,0,0,'第37篇示例文章的摘要 description for article 37. 内容简介内容简介内容简介','',1,0,0,37);
INSERT INTO `dede_archives` VALUES (38,12,'0',1679411038,'c,h',1,1,0,922,0,'春节假期安排通知（38）','春节假期安排通知','','admin','本站','',1679411038,1679411638,1,'php,template',0,0,3,2,0,0,'第38篇示例文章的摘要 description for article 38. 内容简介内容简介内容简介内容简介','',1,0,0,38);
INSERT INTO `dede_archives` VALUES (39,1,'0',1680451539,'p,f',1,1,0,841,0,'Using arclist with titlelen and infolen #39','Using ar','','编辑部','Example News','/uploads/allimg/sample/pic39.jpg',1680451539,1680452139,1,'织梦,CMS',0,0,4,0,0,0,'第39篇示例文章的摘要 description for article 39. 内容简介内容简介内容简介内容简介内容简介','',1,0,0,39);
INSERT INTO `dede_archives` VALUES (40,3,'0',1681492040,'',1,1,0,760,0,'织梦内容管理系统发布新版本（40）','织梦内容管理系统','','admin','本站','/uploads/allimg/sample/pic40.jpg',1681492040,1681492640,1,'php,template',0,0,5,1,0,0,'第40篇示例文章的摘要 description for article 40. 内容简介','',1,0,0,40);
INSERT INTO `dede_archives` VALUES (41,5,'0',1682532541,'h,p',1,1,0,679,0,'国内经济形势稳中向好（41）','国内经济形势稳中','','编辑部','本站','/uploads/allimg/sample/pic41.jpg',1682532541,1682533141,1,'织梦,CMS',0,0,6,2,0,0,'第41篇示例文章的摘要 description for article 41. 内容简介内容简介','',1,0,0,41);
INSERT INTO `dede_archives` VALUES (42,6,'0',1683573042,'c,p,s',1,1,0,598,0,'C++ RAII & smart pointers <intro> #42','C++ RAII','','admin','Example News','/uploads/allimg/sample/pic42.jpg',1683573042,1683573642,1,'php,template',0,0,0,0,0,0,'第42篇示例文章的摘要 description for article 42. 内容简介内容简介内容简介','',1,0,0,42);
INSERT INTO `dede_archives` VALUES (43,7,'0',1684613543,'',1,1,0,517,0,'行业协会召开年度工作会议（43）','行业协会召开年度','','编辑部','本站','',1684613543,1684614143,1,'织梦,CMS',0,0,1,1,0,0,'第43篇示例文章的摘要 description for article 43. 内容简介内容简介内容简介内容简介','',1,0,0,43);
INSERT INTO `dede_archives` VALUES (44,8,'0',1685654044,'a,b',1,1,0,436,0,'新款笔记本电脑正式上市（44）','新款笔记本电脑正','','admin','本站','/uploads/allimg/sample/pic44.jpg',1685654044,1685654644,1,'php,template',0,0,2,2,0,0,'第44篇示例文章的摘要 description for article 44. 内容简介内容简介内容简介内容简介内容简介','',1,0,0,44);
INSERT INTO `dede_archives` VALUES (45,9,'0',1686694545,'h',1,1,0,355,0,'PHP 8.2 migration tips #45','PHP 8.2','#FF0000','编辑部','Example News','',1686694545,1686695145,1,'织梦,CMS',0,0,3,0,0,0,'第45篇示例文章的摘要 description for article 45. 内容简介','',1,0,0,45);
INSERT INTO `dede_archives` VALUES (46,10,'0',1687735046,'c',1,1,0,274,0,'深入理解C++模板元编程技术与实践指南全集（46）','深入理解C++模','','admin','本站','',1687735046,1687735646,1,'php,template',0,0,4,1,0,0,'第46篇示例文章的摘要 description for article 46. 内容简介内容简介','',1,0,0,46);
INSERT INTO `dede_archives` VALUES (47,11,'0',1688689147,'p',-1,1,0,193,0,'公司荣获年度优秀企业称号（47）','公司荣获年度优秀','','编辑部','本站','/uploads/allimg/sample/pic47.jpg',1688689147,1688689747,1,'织梦,CMS',0,0,5,2,0,0,'第47篇示例文章的摘要 description for article 47. 内容简介内容简介内容简介','',1,0,0,47);
INSERT INTO `dede_archives` VALUES (48,12,'0',1689729648,'f',1,1,0,112,0,'Hello World #48','Hello Wo','','admin','Example News','/uploads/allimg/sample/pic48.jpg',1689729648,1689730248,1,'php,template',0,0,6,0,0,0,'第48篇示例文章的摘要 description for article 48. 内容简介内容简介内容简介内容简介','',1,0,0,48);
INSERT INTO `dede_archives` VALUES (49,1,'0',1690770149,'s',1,1,0,31,0,'人工智能在医疗领域的应用前景分析报告摘要（49）','人工智能在医疗领','','编辑部','本站','',1690770149,1690770749,1,'织梦,CMS',0,0,0,1,0,0,'第49篇示例文章的摘要 description for article 49. 内容简介内容简介内容简介内容简介内容简介','',1,0,0,49);
INSERT INTO `dede_archives` VALUES (50,3,'0',1691810650,'j',1,1,0,950,0,'织梦内容管理系统发布新版本（50）','织梦内容管理系统','','admin','本站','',1691810650,1691811250,1,'php,template',0,0,1,2,0,0,'第50篇示例文章的摘要 description for article 50. 内容简介','',1,0,0,50);
INSERT INTO `dede_archives` VALUES (51,5,'0',1692851151,'a',1,1,0,869,0,'DedeCMS template tags explained in depth for beginners #51','DedeCMS','','编辑部','Example News','',1692851151,1692851751,1,'织梦,CMS',0,0,2,0,0,0,'第51篇示例文章的摘要 description for article 51. 内容简介内容简介','',1,0,0,51);
INSERT INTO `dede_archives` VALUES (52,6,'0',1693891652,'b',1,1,0,788,0,'国际市场原油价格小幅上涨（52）','国际市场原油价格','','admin','本站','/uploads/allimg/sample/pic52.jpg',1693891652,1693892252,1,'php,template',0,0,3,1,0,0,'第52篇示例文章的摘要 description for article 52. 内容简介内容简介内容简介','',1,0,0,52);
INSERT INTO `dede_archives` VALUES (53,7,'0',1694932153,'c,h',1,1,0,707,0,'行业协会召开年度工作会议（53）','行业协会召开年度','','编辑部','本站','',1694932153,1694932753,1,'织梦,CMS',0,0,4,2,0,0,'第53篇示例文章的摘要 description for article 53. 内容简介内容简介内容简介内容简介','',1,0,0,53);
INSERT INTO `dede_archives` VALUES (54,8,'0',1695972654,'p,f',1,1,0,626,0,'Release notes 5.7 #54','Release','#FF0000','admin','Example News','/uploads/allimg/sample/pic54.jpg',1695972654,1695973254,1,'php,template',0,0,5,0,0,0,'第54篇示例文章的摘要 description for article 54. 内容简介内容简介内容简介内容简介内容简介','',1,0,0,54);
INSERT INTO `dede_archives` VALUES (55,9,'0',1697013155,'',1,1,0,545,0,'如何使用PHP快速开发网站（55）','如何使用PHP快','','编辑部','本站','',1697013155,1697013755,1,'织梦,CMS',0,0,6,1,0,0,'第55篇示例文章的摘要 description for article 55. 内容简介','',1,0,0,55);
INSERT INTO `dede_archives` VALUES (56,10,'0',1698053656,'h,p',1,1,0,464,0,'深入理解C++模板元编程技术与实践指南全集（56）','深入理解C++模','','admin','本站','/uploads/allimg/sample/pic56.jpg',1698053656,1698054256,1,'php,template',0,0,0,2,0,0,'第56篇示例文章的摘要 description for article 56. 内容简介内容简介','',1,0,0,56);
INSERT INTO `dede_archives` VALUES (57,11,'0',1699094157,'c,p,s',-1,1,0,383,0,'A very long English title, longer than thirty characters #57','A very l','','编辑部','Example News','/uploads/allimg/sample/pic57.jpg',1699094157,1699094757,1,'织梦,CMS',0,0,1,0,0,0,'第57篇示例文章的摘要 description for article 57. 内容简介内容简介内容简介','',1,0,0,57);
INSERT INTO `dede_archives` VALUES (58,12,'0',1700134658,'',1,1,0,302,0,'春节假期安排通知（58）','春节假期安排通知','','admin','本站','',1700134658,1700135258,1,'php,template',0,0,2,1,0,0,'第58篇示例文章的摘要 description for article 58. 内容简介内容简介内容简介内容简介','',1,0,0,58);
INSERT INTO `dede_archives` VALUES (59,1,'0',1701175159,'a,b',1,1,0,221,0,'人工智能在医疗领域的应用前景分析报告摘要（59）','人工智能在医疗领','','编辑部','本站','',1701175159,1701175759,1,'织梦,CMS',0,0,3,2,0,0,'第59篇示例文章的摘要 description for article 59. 内容简介内容简介内容简介内容简介内容简介','',1,0,0,59);
INSERT INTO `dede_archives` VALUES (60,3,'0',1702215660,'h',1,1,-1,140,0,'Short #60','Short #6','','admin','Example News','/uploads/allimg/sample/pic60.jpg',1702215660,1702216260,1,'php,template',0,0,4,0,0,0,'第60篇示例文章的摘要 description for article 60. 内容简介','',1,0,0,60);
CREATE TABLE `dede_arcmulti` (
  `id` mediumint(8) NOT NULL,
  `tagid` char(60) NOT NULL DEFAULT '',
  `uptime` int(11) NOT NULL DEFAULT 0,
  `innertext` varchar(255) NOT NULL DEFAULT '',
  `pagesize` int(11) NOT NULL DEFAULT 0,
  `arcids` text NOT NULL,
  `ordersql` varchar(255) DEFAULT NULL,
  `addfieldsSql` varchar(255) DEFAULT NULL,
  `addfieldsSqlJoin` varchar(255) DEFAULT NULL,
  `attstr` text DEFAULT NULL,
  PRIMARY KEY (`id`)
);
CREATE TABLE `dede_arcrank` (
  `id` smallint(5) NOT NULL,
  `rank` smallint(6) NOT NULL DEFAULT 0,
  `membername` char(20) NOT NULL DEFAULT '',
  `adminrank` smallint(6) NOT NULL DEFAULT 0,
  `money` smallint(8) NOT NULL DEFAULT 500,
  `scores` mediumint(8) NOT NULL DEFAULT 0,
  `purviews` mediumtext DEFAULT NULL,
  PRIMARY KEY (`id`)
);
INSERT INTO `dede_arcrank` VALUES (1,0,'开放浏览',5,0,0,'');
INSERT INTO `dede_arcrank` VALUES (2,-1,'待审核稿件',0,0,0,'');
INSERT INTO `dede_arcrank` VALUES (3,10,'注册会员',5,0,100,'');
INSERT INTO `dede_arcrank` VALUES (4,50,'中级会员',5,300,200,'');
INSERT INTO `dede_arcrank` VALUES (5,100,'高级会员',5,800,500,'');
INSERT INTO `dede_arcrank` VALUES (6,20,'低级会员',5,0,500,'');
INSERT INTO `dede_arcrank` VALUES (7,150,'给力会员',5,1000,500,'');
INSERT INTO `dede_arcrank` VALUES (8,180,'超能会员',5,1100,500,'');
CREATE TABLE `dede_arctiny` (
  `id` mediumint(8) NOT NULL,
  `typeid` smallint(5) NOT NULL DEFAULT 0,
  `typeid2` varchar(90) NOT NULL DEFAULT '0',
  `arcrank` smallint(6) NOT NULL DEFAULT 0,
  `channel` smallint(5) NOT NULL DEFAULT 1,
  `senddate` int(10) NOT NULL DEFAULT 0,
  `sortrank` int(10) NOT NULL DEFAULT 0,
  `mid` mediumint(8) NOT NULL,
  PRIMARY KEY (`id`)
);
INSERT INTO `dede_arctiny` VALUES (1,5,'0',0,1,1640999501,1640998901,1);
INSERT INTO `dede_arctiny` VALUES (2,6,'0',0,1,1642040002,1798761600,1);
INSERT INTO `dede_arctiny` VALUES (3,7,'0',0,1,1643080503,1643079903,1);
INSERT INTO `dede_arctiny` VALUES (4,8,'0',0,1,1644121004,1644120404,1);
INSERT INTO `dede_arctiny` VALUES (5,9,'0',0,1,1645161505,1645160905,1);
INSERT INTO `dede_arctiny` VALUES (6,10,'0',0,1,1646202006,1646201406,1);
INSERT INTO `dede_arctiny` VALUES (7,11,'0',0,1,1647242507,1647241907,1);
INSERT INTO `dede_arctiny` VALUES (8,12,'0',0,1,1648283008,1648282408,1);
INSERT INTO `dede_arctiny` VALUES (9,1,'0',0,1,1649323509,1649322909,1);
INSERT INTO `dede_arctiny` VALUES (10,3,'0',0,1,1650364010,1650363410,1);
INSERT INTO `dede_arctiny` VALUES (11,5,'0',0,1,1651404511,1651403911,1);
INSERT INTO `dede_arctiny` VALUES (12,6,'0',0,1,1652445012,1652444412,1);
INSERT INTO `dede_arctiny` VALUES (13,7,'0',0,1,1653485513,1653484913,1);
INSERT INTO `dede_arctiny` VALUES (14,8,'0',0,1,1654526014,1654525414,1);
INSERT INTO `dede_arctiny` VALUES (15,9,'0',0,1,1655566515,1655565915,1);
INSERT INTO `dede_arctiny` VALUES (16,10,'0',0,1,1656607016,1656606416,1);
INSERT INTO `dede_arctiny` VALUES (17,11,'0',0,1,1657647517,1657646917,1);
INSERT INTO `dede_arctiny` VALUES (18,12,'0',0,1,1658688018,1658687418,1);
INSERT INTO `dede_arctiny` VALUES (19,1,'0',0,1,1659728519,1659727919,1);
INSERT INTO `dede_arctiny` VALUES (20,3,'0',0,1,1660769020,1660768420,1);
INSERT INTO `dede_arctiny` VALUES (21,5,'0',0,1,1661809521,1661808921,1);
INSERT INTO `dede_arctiny` VALUES (22,6,'0',0,1,1662850022,1662849422,1);
INSERT INTO `dede_arctiny` VALUES (23,7,'0',0,1,1663890523,1663889923,1);
INSERT INTO `dede_arctiny` VALUES (24,8,'0',0,1,1664844624,1664844024,1);
INSERT INTO `dede_arctiny` VALUES (25,9,'0',0,1,1665885125,1665884525,1);
INSERT INTO `dede_arctiny` VALUES (26,10,'0',0,1,1666925626,1666925026,1);
INSERT INTO `dede_arctiny` VALUES (27,11,'0',0,1,1667966127,1667965527,1);
INSERT INTO `dede_arctiny` VALUES (28,12,'0',0,1,1669006628,1669006028,1);
INSERT INTO `dede_arctiny` VALUES (29,1,'0',0,1,1670047129,1670046529,1);
INSERT INTO `dede_arctiny` VALUES (30,3,'0',0,1,1671087630,1671087030,1);
INSERT INTO `dede_arctiny` VALUES (31,5,'0',0,1,1672128131,1672127531,1);
INSERT INTO `dede_arctiny` VALUES (32,6,'0',0,1,1673168632,1673168032,1);
INSERT INTO `dede_arctiny` VALUES (33,7,'0',0,1,1674209133,1674208533,1);
INSERT INTO `dede_arctiny` VALUES (34,8,'0',0,1,1675249634,1675249034,1);
INSERT INTO `dede_arctiny` VALUES (35,9,'0',0,1,1676290135,1676289535,1);
INSERT INTO `dede_arctiny` VALUES (36,10,'0',0,1,1677330636,1677330036,1);
INSERT INTO `dede_arctiny` VALUES (37,11,'0',0,1,1678371137,1678370537,1);
INSERT INTO `dede_arctiny` VALUES (38,12,'0',0,1,1679411638,1679411038,1);
INSERT INTO `dede_arctiny` VALUES (39,1,'0',0,1,1680452139,1680451539,1);
INSERT INTO `dede_arctiny` VALUES (40,3,'0',0,1,1681492640,1681492040,1);
INSERT INTO `dede_arctiny` VALUES (41,5,'0',0,1,1682533141,1682532541,1);
INSERT INTO `dede_arctiny` VALUES (42,6,'0',0,1,1683573642,1683573042,1);
INSERT INTO `dede_arctiny` VALUES (43,7,'0',0,1,1684614143,1684613543,1);
INSERT INTO `dede_arctiny` VALUES (44,8,'0',0,1,1685654644,1685654044,1);
INSERT INTO `dede_arctiny` VALUES (45,9,'0',0,1,1686695145,1686694545,1);
INSERT INTO `dede_arctiny` VALUES (46,10,'0',0,1,1687735646,1687735046,1);
INSERT INTO `dede_arctiny` VALUES (47,11,'0',0,1,1688689747,1688689147,1);
INSERT INTO `dede_arctiny` VALUES (48,12,'0',0,1,1689730248,1689729648,1);
INSERT INTO `dede_arctiny` VALUES (49,1,'0',0,1,1690770749,1690770149,1);
INSERT INTO `dede_arctiny` VALUES (50,3,'0',0,1,1691811250,1691810650,1);
INSERT INTO `dede_arctiny` VALUES (51,5,'0',0,1,1692851751,1692851151,1);
INSERT INTO `dede_arctiny` VALUES (52,6,'0',0,1,1693892252,1693891652,1);
INSERT INTO `dede_arctiny` VALUES (53,7,'0',0,1,1694932753,1694932153,1);
INSERT INTO `dede_arctiny` VALUES (54,8,'0',0,1,1695973254,1695972654,1);
INSERT INTO `dede_arctiny` VALUES (55,9,'0',0,1,1697013755,1697013155,1);
INSERT INTO `dede_arctiny` VALUES (56,10,'0',0,1,1698054256,1698053656,1);
INSERT INTO `dede_arctiny` VALUES (57,11,'0',0,1,1699094757,1699094157,1);
INSERT INTO `dede_arctiny` VALUES (58,12,'0',0,1,1700135258,1700134658,1);
INSERT INTO `dede_arctiny` VALUES (59,1,'0',0,1,1701175759,1701175159,1);
INSERT INTO `dede_arctiny` VALUES (60,3,'0',-1,1,1702216260,1702215660,1);
CREATE TABLE `dede_arctype` (
  `id` smallint(5) NOT NULL,
  `reid` smallint(5) NOT NULL DEFAULT 0,
  `topid` smallint(5) NOT NULL DEFAULT 0,
  `sortrank` smallint(5) NOT NULL DEFAULT 50,
  `typename` char(30) NOT NULL DEFAULT '',
  `typedir` char(60) NOT NULL DEFAULT '',
  `isdefault` smallint(6) NOT NULL DEFAULT 0,
  `defaultname` char(15) NOT NULL DEFAULT 'index.html',
  `issend` smallint(6) NOT NULL DEFAULT 0,
  `channeltype` smallint(6) DEFAULT 1,
  `maxpage` smallint(6) NOT NULL DEFAULT -1,
  `ispart` smallint(6) NOT NULL DEFAULT 0,
  `corank` smallint(6) NOT NULL DEFAULT 0,
  `tempindex` char(50) NOT NULL DEFAULT '',
  `templist` char(50) NOT NULL DEFAULT '',
  `temparticle` char(50) NOT NULL DEFAULT '',
  `namerule` char(50) NOT NULL DEFAULT '',
  `namerule2` char(50) NOT NULL DEFAULT '',
  `modname` char(20) NOT NULL DEFAULT '',
  `description` char(150) NOT NULL DEFAULT '',
  `keywords` varchar(60) NOT NULL DEFAULT '',
  `seotitle` varchar(80) NOT NULL DEFAULT '',
  `moresite` tinyint(1) NOT NULL DEFAULT 0,
  `sitepath` char(60) NOT NULL DEFAULT '',
  `siteurl` char(50) NOT NULL DEFAULT '',
  `ishidden` smallint(6) NOT NULL DEFAULT 0,
  `cross` tinyint(1) NOT NULL DEFAULT 0,
  `crossid` text DEFAULT NULL,
  `content` text DEFAULT NULL,
  `smalltypes` text DEFAULT NULL,
  PRIMARY KEY (`id`)
);
INSERT INTO `dede_arctype` VALUES (1,0,0,1,'新闻中心','{cmspath}/a/news',1,'index.html',1,1,-1,0,0,'{style}/index_article.htm','{style}/list_article.htm','{style}/article_article.htm','{typedir}/{Y}/{M}{D}/{aid}.html','{typedir}/list_{tid}_{page}.html','default','本站新闻栏目','新闻,资讯','新闻中心',0,'','',0,0,'','','');
INSERT INTO `dede_arctype` VALUES (2,0,0,2,'产品中心','{cmspath}/a/products',1,'index.html',1,1,-1,1,0,'{style}/index_article.htm','{style}/list_article.htm','{style}/article_article.htm','{typedir}/{Y}/{M}{D}/{aid}.html','{typedir}/list_{tid}_{page}.html','default','产品频道封面','产品','产品中心',0,'','',0,0,'','','');
INSERT INTO `dede_arctype` VALUES (3,0,0,3,'技术文章','{cmspath}/a/tech',0,'index.html',1,1,-1,0,0,'{style}/index_article.htm','{style}/list_article.htm','{style}/article_article.htm','{typedir}/{Y}/{M}{D}/{aid}.html','{typedir}/list_{tid}_{page}.html','default','Tech articles','tech,php','技术文章',0,'','',0,0,'','','');
INSERT INTO `dede_arctype` VALUES (4,0,0,4,'About Us','{cmspath}/a/about',-1,'index.html',1,1,-1,0,0,'{style}/index_article.htm','{style}/list_fixture.htm','{style}/article_article.htm','{typedir}/{Y}/{M}{D}/{aid}.html','{typedir}/list_{tid}_{page}.html','default','About this site','about','About Us',0,'','',0,0,'','','');
INSERT INTO `dede_arctype` VALUES (5,1,1,1,'国内新闻','{cmspath}/a/news/guonei',1,'index.html',1,1,-1,0,0,'{style}/index_article.htm','{style}/list_article.htm','{style}/article_article.htm','{typedir}/{Y}/{M}{D}/{aid}.html','{typedir}/list_{tid}_{page}.html','default','','','国内新闻',0,'','',0,0,'','','');
INSERT INTO `dede_arctype` VALUES (6,1,1,2,'国际新闻','{cmspath}/a/news/guoji',1,'index.html',1,1,-1,0,0,'{style}/index_article.htm','{style}/list_article.htm','{style}/article_article.htm','{typedir}/{Y}/{M}{D}/{aid}.html','{typedir}/list_{tid}_{page}.html','default','','','国际新闻',0,'','',0,0,'','','');
INSERT INTO `dede_arctype` VALUES (7,1,1,3,'行业动态','{cmspath}/a/news/hangye',0,'index.html',1,1,-1,0,0,'{style}/index_article.htm','{style}/list_fixture.htm','{style}/article_fixture.htm','{typedir}/{Y}/{M}{D}/{aid}.html','{typedir}/list_{tid}_{page}.html','default','','','行业动态',0,'','',0,0,'','','');
INSERT INTO `dede_arctype` VALUES (8,2,2,1,'Software','{cmspath}/a/products/software',1,'index.html',1,1,-1,0,0,'{style}/index_article.htm','{style}/list_article.htm','{style}/article_article.htm','{typedir}/{Y}/{M}{D}/{aid}.html','{typedir}/list_{tid}_{page}.html','default','','','Software',0,'','',0,0,'','','');
INSERT INTO `dede_arctype` VALUES (9,2,2,2,'Hardware','{cmspath}/a/products/hardware',1,'index.html',1,1,-1,0,0,'{style}/index_article.htm','{style}/list_article.htm','{style}/article_article.htm','{typedir}/{Y}/{M}{D}/{aid}.html','{typedir}/list_{tid}_{page}.html','default','','','Hardware',0,'','',0,0,'','','');
INSERT INTO `dede_arctype` VALUES (10,3,3,1,'PHP教程','{cmspath}/a/tech/php',1,'index.html',1,1,-1,0,0,'{style}/index_article.htm','{style}/list_article.htm','{style}/article_article.htm','{typedir}/{Y}/{M}{D}/{aid}.html','{typedir}/list_{tid}_{page}.html','default','','','PHP教程',0,'','',0,0,'','','');
INSERT INTO `dede_arctype` VALUES (11,3,3,2,'C++ Programming','{cmspath}/a/tech/cpp',1,'index.html',1,1,-1,0,0,'{style}/index_article.htm','{style}/list_article.htm','{style}/article_article.htm','{typedir}/{Y}/{M}{D}/{aid}.html','{typedir}/list_{tid}_{page}.html','default','','','C++ Programming',0,'','',0,0,'','','');
INSERT INTO `dede_arctype` VALUES (12,4,4,1,'公司简介','{cmspath}/a/about/intro',1,'index.html',1,1,-1,0,0,'{style}/index_article.htm','{style}/list_article.htm','{style}/article_article.htm','{typedir}/{Y}/{M}{D}/{aid}.html','{typedir}/list_{tid}_{page}.html','default','','','公司简介',0,'','',0,0,'','','');
CREATE TABLE `dede_channeltype` (
  `id` smallint(6) NOT NULL DEFAULT 0,
  `nid` varchar(20) NOT NULL DEFAULT '',
  `typename` varchar(30) NOT NULL DEFAULT '',
  `maintable` varchar(50) NOT NULL DEFAULT 'dede_archives',
  `addtable` varchar(50) NOT NULL DEFAULT '',
  `addcon` varchar(30) NOT NULL DEFAULT '',
  `mancon` varchar(30) NOT NULL DEFAULT '',
  `editcon` varchar(30) NOT NULL DEFAULT '',
  `useraddcon` varchar(30) NOT NULL DEFAULT '',
  `usermancon` varchar(30) NOT NULL DEFAULT '',
  `usereditcon` varchar(30) NOT NULL DEFAULT '',
  `fieldset` text DEFAULT NULL,
  `listfields` text DEFAULT NULL,
  `allfields` text DEFAULT NULL,
  `issystem` smallint(6) NOT NULL DEFAULT 0,
  `isshow` smallint(6) NOT NULL DEFAULT 1,
  `issend` smallint(6) NOT NULL DEFAULT 0,
  `arcsta` smallint(6) NOT NULL DEFAULT -1,
  `usertype` char(10) NOT NULL DEFAULT '',
  `sendrank` smallint(6) NOT NULL DEFAULT 10,
  `isdefault` smallint(6) NOT NULL DEFAULT 0,
  `needdes` tinyint(1) NOT NULL DEFAULT 1,
  `needpic` tinyint(1) NOT NULL DEFAULT 1,
  `titlename` varchar(20) NOT NULL DEFAULT '标题',
  `onlyone` smallint(6) NOT NULL DEFAULT 0,
  `dfcid` smallint(5) NOT NULL DEFAULT 0,
  PRIMARY KEY (`id`)
);
INSERT INTO `dede_channeltype` VALUES (-8,'infos','分类信息','dede_archives','dede_addoninfos','archives_sg_add.php','content_sg_list.php','archives_sg_edit.php','archives_sg_add.php','content_sg_list.php','archives_sg_edit.php','<field:channel itemname="频道id" autofield="0" notsend="0" type="int" isnull="true" islist="1" default="0"  maxlength="10" page=""></field:channel>	
<field:arcrank itemname="浏览权限" autofield="0" notsend="0" type="int" isnull="true" islist="1" default="0"  maxlength="5" page=""></field:arcrank>	
<field:mid itemname="会员id" autofield="0" notsend="0" type="int" isnull="true" islist="1" default="0"  maxlength="8" page=""></field:mid>	
<field:click itemname="点击" autofield="0" notsend="0" type="int" isnull="true" islist="1" default="0"  maxlength="10" page=""></field:click>	
<field:title itemname="标题" autofield="0" notsend="0" type="text" isnull="true" islist="1" default="0"  maxlength="60" page=""></field:title>	
<field:senddate itemname="发布时间" autofield="0" notsend="0" type="int" isnull="true" islist="1" default="0"  maxlength="10" page=""></field:senddate>	
<field:flag itemname="推荐属性" autofield="0" notsend="0" type="checkbox" isnull="true" islist="1" default="0"  maxlength="10" page=""></field:flag>	
<field:litpic itemname="缩略图" autofield="0" notsend="0" type="text" isnull="true" islist="1" default="0"  maxlength="60" page=""></field:litpic>	
<field:userip itemname="会员IP" autofield="0" notsend="0" type="text" isnull="true" islist="0" default="0"  maxlength="15" page=""></field:userip>	
<field:lastpost itemname="最后评论时间" autofield="0" notsend="0" type="int" isnull="true" islist="1" default="0"  maxlength="10" page=""></field:lastpost>	
<field:scores itemname="评论积分" autofield="0" notsend="0" type="int" isnull="true" islist="1" default="0"  maxlength="8" page=""></field:scores>	
<field:goodpost itemname="好评数" autofield="0" notsend="0" type="int" isnull="true" islist="1" default="0"  maxlength="8" page=""></field:goodpost>	
<field:badpost itemname="差评数" autofield="0" notsend="0" type="int" isnull="true" islist="1" default="0"  maxlength="8" page=""></field:badpost>	
<field:nativeplace itemname="地区" autofield="1" notsend="0" type="stepselect" isnull="true" islist="1" default="0"  maxlength="250" page="">	
</field:nativeplace>	
<field:infotype itemname="信息类型" autofield="1" notsend="0" type="stepselect" isnull="true" islist="1" default="0"  maxlength="250" page="">	
</field:infotype>	
<field:body itemname="信息内容" autofield="1" notsend="0" type="htmltext" isnull="true" islist="0" default=""  maxlength="250" page="">	
</field:body>	
<field:endtime itemname="截止日期" autofield="1" notsend="0" type="datetime" isnull="true" islist="1" default=""  maxlength="250" page="">	
</field:endtime>	
<field:linkman itemname="联系人" autofield="1" notsend="0" type="text" isnull="true" islist="0" default=""  maxlength="50" page="">	
</field:linkman>	
<field:tel itemname="联系电话" autofield="1" notsend="0" type="text" isnull="true" islist="0" default="" maxlength="50" page="">	
</field:tel>	
<field:email itemname="电子邮箱" autofield="1" notsend="0" type="text" isnull="true" islist="0" default=""  maxlength="50" page="">	
</field:email>	
<field:address itemname="地址" autofield="1" notsend="0" type="text" isnull="true" islist="0" default=""  maxlength="100" page="">	
</field:address>	
','channel,arcrank,mid,click,title,senddate,flag,litpic,lastpost,scores,goodpost,badpost,nativeplace,infotype,endtime','',-1,1,1,-1,'',0,0,0,1,'信息标题',0,0);
INSERT INTO `dede_channeltype` VALUES (-1,'spec','专题','dede_archives','dede_addonspec','spec_add.php','content_s_list.php','spec_edit.php','','','','<field:note type="specialtopic" isnull="true" default="" rename=""/>','','',1,1,0,-1,'',10,0,1,1,'标题',0,0);
INSERT INTO `dede_channeltype` VALUES (1,'article','普通文章','dede_archives','dede_addonarticle','article_add.php','content_list.php','article_edit.php','article_add.php','content_list.php','article_edit.php','<field:body itemname="文章内容" autofield="0" notsend="0" type="htmltext" isnull="true" islist="1" default=""  maxlength="" page="split">	
</field:body>	
','','',1,1,1,-1,'',10,0,1,1,'标题',0,0);
INSERT INTO `dede_channeltype` VALUES (2,'image','图片集','dede_archives','dede_addonimages','album_add.php','content_i_list.php','album_edit.php','album_add.php','content_list.php','album_edit.php','<field:pagestyle itemname="页面风格" type="number" isnull="true" default="2" rename="" notsend="1" />	
<field:imgurls itemname="图片集合" type="img" isnull="true" default="" rename="" page="split"/>	
<field:body itemname="图集内容" autofield="0" notsend="0" type="htmltext" isnull="true" islist="0" default=""  maxlength="250" page=""></field:body>','','',1,1,1,-1,'',10,0,1,1,'标题',0,0);
INSERT INTO `dede_channeltype` VALUES (3,'soft','软件','dede_archives','dede_addonsoft','soft_add.php','content_i_list.php','soft_edit.php','','','','<field:filetype islist="1" itemname="文件类型" type="text" isnull="true" default="" rename="" />	
<field:language islist="1" itemname="语言" type="text" isnull="true" default="" rename="" />	
<field:softtype islist="1" itemname="软件类型" type="text" isnull="true" default="" rename="" />	
<field:accredit islist="1" itemname="授权方式" type="text" isnull="true" default="" rename="" />	
<field:os islist="1" itemname="操作系统" type="text" isnull="true" default="" rename="" />	
<field:softrank  islist="1" itemname="软件等级" type="int" isnull="true" default="3" rename="" function="GetRankStar(@me)" notsend="1"/>	
<field:officialUrl  itemname="官方网址" type="text" isnull="true" default="" rename="" />	
<field:officialDemo itemname="演示网址" type="text" isnull="true" default="" rename="" />	
<field:softsize  itemname="软件大小" type="text" isnull="true" default="" rename="" />	
<field:softlinks  itemname="软件地址" type="softlinks" isnull="true" default="" rename="" />	
<field:introduce  itemname="详细介绍" type="htmltext" isnull="trnue" default="" rename="" />	
<field:daccess islist="1" itemname="下载级别" type="int" isnull="true" default="0" rename="" function="" notsend="1"/>	
<field:needmoney islist="1" itemname="需要金币" type="int" isnull="true" default="0" rename="" function="" notsend="1" />','filetype,language,softtype,os,accredit,softrank','',1,1,1,-1,'',10,0,1,1,'标题',0,0);
INSERT INTO `dede_channeltype` VALUES (6,'shop','商品','dede_archives','dede_addonshop','archives_add.php','content_list.php','archives_edit.php','archives_add.php','content_list.php','archives_edit.php','<field:body itemname="详细介绍" autofield="1" notsend="0" type="htmltext" isnull="true" islist="0" default=""  maxlength="" page="split">	
</field:body>	
<field:price itemname="市场价" autofield="1" notsend="0" type="float" isnull="true" islist="1" default=""  maxlength="" page="">	
</field:price>	
<field:trueprice itemname="优惠价" autofield="1" notsend="0" type="float" isnull="true" islist="1" default=""  maxlength="" page="">	
</field:trueprice>	
<field:brand itemname="品牌" autofield="1" notsend="0" type="text" isnull="true" islist="1" default=""  maxlength="250" page="">	
</field:brand>	
<field:units itemname="计量单位" autofield="1" notsend="0" type="text" isnull="true" islist="1" default=""  maxlength="250" page="">	
</field:units>	

	

<field:vocation itemname="行业" autofield="1" notsend="0"type="stepselect" isnull="true" islist="0" default=""  maxlength="250" page="">	
</field:vocation>	

<field:infotype itemname="信息类型" autofield="1" notsend="0" type="stepselect" isnull="true" islist="0" default=""  maxlength="250" page="">	
</field:infotype>	

<field:uptime itemname="上架时间" autofield="1" notsend="0" type="datetime" isnull="true" islist="0" default=""  maxlength="250" page="">	
</field:uptime>	
','price,trueprice,brand,units','',0,1,1,-1,'',10,0,1,1,'商品名称',0,0);
CREATE TABLE `dede_flink` (
  `id` smallint(5) NOT NULL,
  `sortrank` smallint(6) NOT NULL DEFAULT 0,
  `url` char(60) NOT NULL DEFAULT '',
  `webname` char(30) NOT NULL DEFAULT '',
  `msg` char(200) NOT NULL DEFAULT '',
  `email` char(50) NOT NULL DEFAULT '',
  `logo` char(60) NOT NULL DEFAULT '',
  `dtime` int(10) NOT NULL DEFAULT 0,
  `typeid` smallint(5) NOT NULL DEFAULT 0,
  `ischeck` smallint(6) NOT NULL DEFAULT 1,
  PRIMARY KEY (`id`)
);
INSERT INTO `dede_flink` VALUES (2,1,'http://www.dedecms.com','织梦CMS官方','','','',1226375403,1,2);
INSERT INTO `dede_flink` VALUES (8,3,'http://bbs.dedecms.com','织梦技术论坛','','','',1227772703,1,2);
INSERT INTO `dede_flink` VALUES (9,2,'http://docs.dedecms.com/','DedeCMS维基手册','','','',1227772717,1,2);
INSERT INTO `dede_flink` VALUES (100,4,'http://www.example.org/','示例网站','','','',1640995300,1,2);
INSERT INTO `dede_flink` VALUES (101,5,'http://www.example.net/','Example Net','','','/uploads/flink/example.gif',1640995301,1,2);
INSERT INTO `dede_flink` VALUES (102,6,'http://news.example.com/','新闻网站示例链接名称很长很长','','','',1640995302,6,2);
INSERT INTO `dede_flink` VALUES (103,7,'http://cpp.example.com/','C++ Reference','','','',1640995303,4,1);
INSERT INTO `dede_flink` VALUES (104,8,'http://php.example.com/','PHP 手册','','','',1640995304,4,1);
CREATE TABLE `dede_flinktype` (
  `id` mediumint(8) NOT NULL,
  `typename` varchar(50) NOT NULL DEFAULT '',
  PRIMARY KEY (`id`)
);
INSERT INTO `dede_flinktype` VALUES (1,'综合网站');
INSERT INTO `dede_flinktype` VALUES (2,'娱乐类');
INSERT INTO `dede_flinktype` VALUES (3,'教育类');
INSERT INTO `dede_flinktype` VALUES (4,'计算机类');
INSERT INTO `dede_flinktype` VALUES (5,'电子商务');
INSERT INTO `dede_flinktype` VALUES (6,'网上信息');
INSERT INTO `dede_flinktype` VALUES (7,'论坛类');
INSERT INTO `dede_flinktype` VALUES (8,'其它类型');
CREATE TABLE `dede_keywords` (
  `aid` mediumint(8) NOT NULL,
  `keyword` char(16) NOT NULL DEFAULT '',
  `rank` mediumint(8) NOT NULL DEFAULT 0,
  `sta` smallint(6) NOT NULL DEFAULT 1,
  `rpurl` char(60) NOT NULL DEFAULT '',
  PRIMARY KEY (`aid`)
);
INSERT INTO `dede_keywords` VALUES (1,'示例',10,1,'http://www.example.com/k/shili');
INSERT INTO `dede_keywords` VALUES (2,'body',5,1,'http://www.example.com/k/body');
INSERT INTO `dede_keywords` VALUES (3,'正文',1,0,'http://www.example.com/k/off');
CREATE TABLE `dede_myad` (
  `aid` mediumint(8) NOT NULL,
  `clsid` smallint(5) NOT NULL DEFAULT 0,
  `typeid` smallint(5) NOT NULL DEFAULT 0,
  `tagname` varchar(30) NOT NULL DEFAULT '',
  `adname` varchar(60) NOT NULL DEFAULT '',
  `timeset` smallint(6) NOT NULL DEFAULT 0,
  `starttime` int(10) NOT NULL DEFAULT 0,
  `endtime` int(10) NOT NULL DEFAULT 0,
  `normbody` text DEFAULT NULL,
  `expbody` text DEFAULT NULL,
  PRIMARY KEY (`aid`)
);
INSERT INTO `dede_myad` VALUES (1,0,0,'banner','全站横幅',0,0,0,'<a href=''http://ad.example.com/''>全站广告 banner</a>','expired banner');
INSERT INTO `dede_myad` VALUES (2,0,1,'banner','新闻横幅',0,0,0,'<a href=''http://ad.example.com/news''>新闻栏目广告</a>','');
INSERT INTO `dede_myad` VALUES (3,0,0,'timed','限时广告',1,1640995200,1672531200,'<b>限时优惠</b>','<i>活动已结束</i>');
CREATE TABLE `dede_mytag` (
  `aid` mediumint(8) NOT NULL,
  `typeid` smallint(5) NOT NULL DEFAULT 0,
  `tagname` varchar(30) NOT NULL DEFAULT '',
  `timeset` smallint(6) NOT NULL DEFAULT 0,
  `starttime` int(10) NOT NULL DEFAULT 0,
  `endtime` int(10) NOT NULL DEFAULT 0,
  `normbody` text DEFAULT NULL,
  `expbody` text DEFAULT NULL,
  PRIMARY KEY (`aid`)
);
INSERT INTO `dede_mytag` VALUES (1,0,'hello',0,0,0,'<p>站点：{dede:global.cfg_webname/}</p>','');
INSERT INTO `dede_mytag` VALUES (2,0,'latest',0,0,0,'<ul>{dede:arclist row=2 orderby=id titlelen=12}<li>[field:id/] [field:title/]</li>{/dede:arclist}</ul>','');
INSERT INTO `dede_mytag` VALUES (3,3,'latest',0,0,0,'<p>技术栏目专用 {dede:field.typename/}</p>','');
CREATE TABLE `dede_search_keywords` (
  `aid` mediumint(8) NOT NULL,
  `keyword` char(30) NOT NULL DEFAULT '',
  `spwords` char(50) NOT NULL DEFAULT '',
  `count` mediumint(8) NOT NULL DEFAULT 1,
  `result` mediumint(8) NOT NULL DEFAULT 0,
  `lasttime` int(10) NOT NULL DEFAULT 0,
  `channelid` smallint(5) NOT NULL DEFAULT 0,
  `typeid` smallint(5) NOT NULL DEFAULT 0,
  PRIMARY KEY (`aid`)
);
INSERT INTO `dede_search_keywords` VALUES (1,'织梦','织梦',50,10,1714521600,0,0);
INSERT INTO `dede_search_keywords` VALUES (2,'PHP教程','PHP 教程',80,5,1716000000,0,0);
INSERT INTO `dede_search_keywords` VALUES (3,'old word','old word',999,1,1600000000,0,0);
INSERT INTO `dede_search_keywords` VALUES (4,'模板标签','模板 标签',20,3,1710000000,0,0);
INSERT INTO `dede_search_keywords` VALUES (5,'a very long search keyword','',70,0,1716000000,0,0);
INSERT INTO `dede_search_keywords` VALUES (6,'C++ & STL','',30,0,1716000000,0,0);
CREATE TABLE `dede_softconfig` (
  `downtype` smallint(6) NOT NULL DEFAULT 0,
  `ismoresite` smallint(6) NOT NULL DEFAULT 0,
  `gotojump` smallint(6) NOT NULL DEFAULT 0,
  `islocal` smallint(5) NOT NULL DEFAULT 1,
  `sites` text DEFAULT NULL,
  `downmsg` text DEFAULT NULL,
  `moresitedo` smallint(5) NOT NULL DEFAULT 1,
  `dfrank` smallint(5) NOT NULL DEFAULT 0,
  `dfywboy` smallint(5) NOT NULL DEFAULT 0,
  `argrange` smallint(5) NOT NULL DEFAULT 0,
  PRIMARY KEY (`downtype`)
);
INSERT INTO `dede_softconfig` VALUES (0,1,1,1,'http://www.aaa.com | 镜像地址一	
http://www.bbb.com | 镜像地址二	
http://www.ccc.com | 镜像地址三	
','<p>?推荐使用第三方专业下载工具下载本站软件，使用 WinRAR v3.10 以上版本解压本站软件。<br />	
?如果这个软件总是不能下载的请点击报告错误,谢谢合作!!<br />	
?下载本站资源，如果服务器暂不能下载请过一段时间重试！<br />	
?如果遇到什么问题，请到本站论坛去咨寻，我们将在那里提供更多 、更好的资源！<br />	
?本站提供的一些商业软件是供学习研究之用，如用于商业用途，请购买正版。</p>',0,0,0,0);
CREATE TABLE `dede_sysconfig` (
  `aid` smallint(8) NOT NULL DEFAULT 0,
  `varname` varchar(20) NOT NULL DEFAULT '',
  `info` varchar(100) NOT NULL DEFAULT '',
  `groupid` smallint(6) NOT NULL DEFAULT 1,
  `type` varchar(10) NOT NULL DEFAULT 'string',
  `value` text DEFAULT NULL,
  PRIMARY KEY (`varname`)
);
INSERT INTO `dede_sysconfig` VALUES (725,'cfg_addon_domain','附件目录的二级域名',7,'string','');
INSERT INTO `dede_sysconfig` VALUES (724,'cfg_addon_domainbind','附件目录是否绑定为指定的二级域名',7,'bool','N');
INSERT INTO `dede_sysconfig` VALUES (738,'cfg_addon_savetype','附件保存形式(按data函数日期参数)',3,'string','ymd');
INSERT INTO `dede_sysconfig` VALUES (8,'cfg_adminemail','网站发信EMAIL',2,'string','admin@example.com');
INSERT INTO `dede_sysconfig` VALUES (66,'cfg_album_col','图集多行多列样式默认列数',3,'number','4');
INSERT INTO `dede_sysconfig` VALUES (69,'cfg_album_ddwidth','图集默认缩略图大小',3,'number','200');
INSERT INTO `dede_sysconfig` VALUES (746,'cfg_album_mark','图集是否使用水印(小图也会受影响)',3,'bool','N');
INSERT INTO `dede_sysconfig` VALUES (67,'cfg_album_pagesize','图集多页多图每页显示最大数',3,'number','12');
INSERT INTO `dede_sysconfig` VALUES (65,'cfg_album_row','图集多行多列样式默认行数',3,'number','3');
INSERT INTO `dede_sysconfig` VALUES (68,'cfg_album_style','图集默认样式<br />1为多页多图,2为多页单图,3为缩略图列表',3,'number','2');
INSERT INTO `dede_sysconfig` VALUES (63,'cfg_album_width','图集默认显示图片的大小',3,'number','800');
INSERT INTO `dede_sysconfig` VALUES (707,'cfg_allsearch_limit','网站全局搜索时间限制',2,'string','1');
INSERT INTO `dede_sysconfig` VALUES (30,'cfg_arcautosp','(是/否)开启长文章自动分页',6,'bool','N');
INSERT INTO `dede_sysconfig` VALUES (31,'cfg_arcautosp_size','文章自动分页大小（单位: K）',6,'number','5');
INSERT INTO `dede_sysconfig` VALUES (10,'cfg_arcdir','文档HTML默认保存路径',1,'string','/a');
INSERT INTO `dede_sysconfig` VALUES (763,'cfg_archives_log','(是/否)开启文档日志',2,'bool','N');
INSERT INTO `dede_sysconfig` VALUES (29,'cfg_arcsptitle','(是/否)开启分页标题，开启会影响HTML生成速度',6,'bool','N');
INSERT INTO `dede_sysconfig` VALUES (61,'cfg_arc_autokeyword','自动提取关键字',7,'bool','Y');
INSERT INTO `dede_sysconfig` VALUES (60,'cfg_arc_autopic','提取第一张图片作为缩略图',7,'bool','Y');
INSERT INTO `dede_sysconfig` VALUES (737,'cfg_arc_click','文档默认点击数(-1表示随机50-200)',7,'number','-1');
INSERT INTO `dede_sysconfig` VALUES (59,'cfg_arc_dellink','删除非站内链接',7,'bool','N');
INSERT INTO `dede_sysconfig` VALUES (735,'cfg_arc_dirname','是否允许用目录作为文档文件名<br />文档命名规则需改为：{typedir}/{aid}/index.html',7,'bool','Y');
INSERT INTO `dede_sysconfig` VALUES (32,'cfg_auot_description','自动摘要长度（0-250，0表示不启用）',7,'number','240');
INSERT INTO `dede_sysconfig` VALUES (5,'cfg_backup_dir','数据备份目录（在data目录内）',2,'string','backupdata');
INSERT INTO `dede_sysconfig` VALUES (95,'cfg_baidunews_limit','百度新闻xml更新新闻数量 最大100',8,'string','100');
INSERT INTO `dede_sysconfig` VALUES (1,'cfg_basehost','站点根网址',1,'string','http://www.example.com');
INSERT INTO `dede_sysconfig` VALUES (712,'cfg_beian','网站备案号',1,'string','');
INSERT INTO `dede_sysconfig` VALUES (716,'cfg_cache_type','id 文档ID，content 标签最终内容<br />(修改此变量后必须更新系统缓存)',6,'string','id');
INSERT INTO `dede_sysconfig` VALUES (89,'cfg_caicai_add','被顶扣除文章好评度',5,'number','2');
INSERT INTO `dede_sysconfig` VALUES (88,'cfg_caicai_sub','被踩扣除文章好评度',5,'number','2');
INSERT INTO `dede_sysconfig` VALUES (64,'cfg_check_title','发布文档时是否检测重复标题',7,'bool','Y');
INSERT INTO `dede_sysconfig` VALUES (47,'cfg_cli_time','服务器时区设置',2,'number','8');
INSERT INTO `dede_sysconfig` VALUES (2,'cfg_cmspath','DedeCMS安装目录',2,'string','');
INSERT INTO `dede_sysconfig` VALUES (3,'cfg_cookie_encode','cookie加密码',2,'string','OracleFixedCookieEncode0123456789');
INSERT INTO `dede_sysconfig` VALUES (759,'cfg_cross_sectypeid','支持交叉栏目显示副栏目内容',7,'bool','N');
INSERT INTO `dede_sysconfig` VALUES (743,'cfg_ddimg_bgcolor','缩略图空白背景填充颜色(0-白,1-黑)',3,'number','0');
INSERT INTO `dede_sysconfig` VALUES (742,'cfg_ddimg_full','缩略图是否使用强制大小(对背景填充)',3,'bool','N');
INSERT INTO `dede_sysconfig` VALUES (13,'cfg_ddimg_height','缩略图默认高度',3,'number','180');
INSERT INTO `dede_sysconfig` VALUES (12,'cfg_ddimg_width','缩略图默认宽度',3,'number','240');
INSERT INTO `dede_sysconfig` VALUES (27,'cfg_dede_log','(是/否)开启管理日志',2,'bool','N');
INSERT INTO `dede_sysconfig` VALUES (709,'cfg_delete','文章回收站(是/否)开启',2,'bool','Y');
INSERT INTO `dede_sysconfig` VALUES (711,'cfg_description','站点描述',1,'bstring','');
INSERT INTO `dede_sysconfig` VALUES (726,'cfg_df_dutyadmin','默认责任编辑(dutyadmin)',7,'string','admin');
INSERT INTO `dede_sysconfig` VALUES (24,'cfg_df_style','模板默认风格',1,'string','default');
INSERT INTO `dede_sysconfig` VALUES (760,'cfg_digg_update','顶踩缓存异步更新间隔（0为不缓存）',6,'number','0');
INSERT INTO `dede_sysconfig` VALUES (0,'cfg_disable_funs','模板引擎禁用PHP函数',7,'bstring','phpinfo,eval,exec,passthru,shell_exec,system,proc_open,popen,curl_exec,curl_multi_exec,parse_ini_file,show_source,file_put_contents');
INSERT INTO `dede_sysconfig` VALUES (0,'cfg_disable_tags','模板引擎禁用标签',7,'bstring','php');
INSERT INTO `dede_sysconfig` VALUES (14,'cfg_domain_cookie','跨域共享cookie的域名(例如: .dedecms.com)',2,'string','');
INSERT INTO `dede_sysconfig` VALUES (731,'cfg_face_adds','上传头像增加积分',5,'number','10');
INSERT INTO `dede_sysconfig` VALUES (23,'cfg_fck_xhtml','编辑器(是/否)使用XHTML',1,'bool','N');
INSERT INTO `dede_sysconfig` VALUES (21,'cfg_feedbackcheck','评论及留言(是/否)需审核',5,'bool','N');
INSERT INTO `dede_sysconfig` VALUES (90,'cfg_feedback_add','详细好评可获好评度',5,'number','5');
INSERT INTO `dede_sysconfig` VALUES (39,'cfg_feedback_ck','评论加验证码重确认',5,'bool','Y');
INSERT INTO `dede_sysconfig` VALUES (721,'cfg_feedback_forbid','是否禁止所有评论(将包括禁止顶踩等)',5,'bool','N');
INSERT INTO `dede_sysconfig` VALUES (761,'cfg_feedback_guest','是否允许匿名评论',5,'bool','N');
INSERT INTO `dede_sysconfig` VALUES (77,'cfg_feedback_numip','每个IP一小时内最大评论数',5,'number','30');
INSERT INTO `dede_sysconfig` VALUES (91,'cfg_feedback_sub','详细恶评扣除好评度',5,'number','5');
INSERT INTO `dede_sysconfig` VALUES (76,'cfg_feedback_time','两次评论至少间隔时间(秒钟)',5,'number','30');
INSERT INTO `dede_sysconfig` VALUES (33,'cfg_ftp_host','FTP主机',2,'string','');
INSERT INTO `dede_sysconfig` VALUES (38,'cfg_ftp_mkdir','是否强制用FTP创建目录',2,'bool','N');
INSERT INTO `dede_sysconfig` VALUES (34,'cfg_ftp_port','FTP端口',2,'number','21');
INSERT INTO `dede_sysconfig` VALUES (36,'cfg_ftp_pwd','FTP密码',2,'string','');
INSERT INTO `dede_sysconfig` VALUES (37,'cfg_ftp_root','网站根在FTP中的目录',2,'string','/');
INSERT INTO `dede_sysconfig` VALUES (35,'cfg_ftp_user','FTP用户名',2,'string','');
INSERT INTO `dede_sysconfig` VALUES (9,'cfg_html_editor','Html编辑器（ckeditor,需要fck的用户可以去官网下载）',2,'string','ckeditor');
INSERT INTO `dede_sysconfig` VALUES (15,'cfg_imgtype','图片浏览器文件类型',3,'string','jpg|gif|png');
INSERT INTO `dede_sysconfig` VALUES (6,'cfg_indexname','主页链接名',1,'string','主页');
INSERT INTO `dede_sysconfig` VALUES (4,'cfg_indexurl','网页主页链接',1,'string','/');
INSERT INTO `dede_sysconfig` VALUES (53,'cfg_index_cache','arclist标签调用缓存<br />(0 不启用，大于0值为多少秒)',6,'number','86400');
INSERT INTO `dede_sysconfig` VALUES (52,'cfg_index_max','网站主页调用函数最大索引文档数<br>不适用于经常单栏目采集过多内容的网站<br>不启用本项此值设置为0即可',6,'number','10000');
INSERT INTO `dede_sysconfig` VALUES (722,'cfg_jump_once','跳转网址是否直接跳转？（否则显示中转页）',7,'bool','Y');
INSERT INTO `dede_sysconfig` VALUES (710,'cfg_keywords','站点默认关键字',1,'string','');
INSERT INTO `dede_sysconfig` VALUES (51,'cfg_keyword_like','使用关键词关连文章',6,'bool','N');
INSERT INTO `dede_sysconfig` VALUES (22,'cfg_keyword_replace','关键字替换(是/否)使用本功能会影响HTML生成速度',2,'bool','Y');
INSERT INTO `dede_sysconfig` VALUES (40,'cfg_list_son','上级列表是否包含子类内容',6,'bool','Y');
INSERT INTO `dede_sysconfig` VALUES (19,'cfg_list_symbol','栏目位置的间隔符号',2,'string',' > ');
INSERT INTO `dede_sysconfig` VALUES (740,'cfg_login_adds','登录会员中心获积分',5,'number','2');
INSERT INTO `dede_sysconfig` VALUES (719,'cfg_makeindex','发布文章后马上更新网站主页',6,'bool','N');
INSERT INTO `dede_sysconfig` VALUES (56,'cfg_makesign_cache','发布/修改单个文档是否使用调用缓存',6,'bool','N');
INSERT INTO `dede_sysconfig` VALUES (719,'cfg_make_andcat','发表文章后马上更新相关栏目',6,'bool','N');
INSERT INTO `dede_sysconfig` VALUES (720,'cfg_make_prenext','发表文章后马上更新上下篇',6,'bool','Y');
INSERT INTO `dede_sysconfig` VALUES (717,'cfg_max_face','会员上传头像大小限制(单位：KB)',3,'number','50');
INSERT INTO `dede_sysconfig` VALUES (48,'cfg_mb_addontype','会员附件许可的类型',4,'bstring','swf|mpg|mp3|rm|rmvb|wmv|wma|wav|mid|mov|zip|rar|doc|xsl|ppt|wps');
INSERT INTO `dede_sysconfig` VALUES (729,'cfg_mb_adminlock','是否禁止访问管理员帐号的空间',4,'bool','N');
INSERT INTO `dede_sysconfig` VALUES (42,'cfg_mb_album','是否开启会员图集功能',4,'bool','Y');
INSERT INTO `dede_sysconfig` VALUES (727,'cfg_mb_allowncarc','是否允许用户空间显示未审核文章',4,'bool','Y');
INSERT INTO `dede_sysconfig` VALUES (728,'cfg_mb_allowreg','是否允许新会员注册',4,'bool','Y');
INSERT INTO `dede_sysconfig` VALUES (83,'cfg_mb_cktitle','会员投稿是否检测重复标题',5,'bool','Y');
INSERT INTO `dede_sysconfig` VALUES (84,'cfg_mb_editday','投稿多长时间后不能再修改[天]',5,'number','7');
INSERT INTO `dede_sysconfig` VALUES (747,'cfg_mb_feedcheck','会员动态是否需要审核',4,'bool','N');
INSERT INTO `dede_sysconfig` VALUES (71,'cfg_mb_idmin','用户id最小长度',4,'number','3');
INSERT INTO `dede_sysconfig` VALUES (49,'cfg_mb_max','会员附件总大小限制(MB)',4,'number','500');
INSERT INTO `dede_sysconfig` VALUES (748,'cfg_mb_msgischeck','会员状态是否需要审核',4,'bool','N');
INSERT INTO `dede_sysconfig` VALUES (70,'cfg_mb_notallow','不允许注册的会员id',4,'bstring','www,bbs,ftp,mail,user,users,admin,administrator');
INSERT INTO `dede_sysconfig` VALUES (41,'cfg_mb_open','是否开启会员功能',4,'bool','N');
INSERT INTO `dede_sysconfig` VALUES (72,'cfg_mb_pwdmin','用户密码最小长度',4,'number','3');
INSERT INTO `dede_sysconfig` VALUES (72,'cfg_mb_pwdtype','前台密码验证类型：默认32 — 32位md5，可选：<br />l16 — 前16位， r16 — 后16位， m16 — 中间16位',4,'string','32');
INSERT INTO `dede_sysconfig` VALUES (74,'cfg_mb_rank','注册会员默认级别<br>[会员权限管理中]查看级别代表的数字',4,'number','10');
INSERT INTO `dede_sysconfig` VALUES (749,'cfg_mb_reginfo','注册是否需要完成详细资料的填写',4,'bool','Y');
INSERT INTO `dede_sysconfig` VALUES (46,'cfg_mb_rmdown','是否把会员指定的远程文档下载到本地',4,'bool','Y');
INSERT INTO `dede_sysconfig` VALUES (45,'cfg_mb_sendall','是否开放会员对自定义模型投稿',4,'bool','Y');
INSERT INTO `dede_sysconfig` VALUES (730,'cfg_mb_spaceallarc','会员空间中所有文档的频道ID(不限为0)',4,'number','0');
INSERT INTO `dede_sysconfig` VALUES (79,'cfg_mb_spacesta','会员使用权限开通状态<br>(-10 邮件验证 -1 手工审核, 0 没限制)',4,'number','-10');
INSERT INTO `dede_sysconfig` VALUES (43,'cfg_mb_upload','是否允许会员上传非图片附件',4,'bool','Y');
INSERT INTO `dede_sysconfig` VALUES (44,'cfg_mb_upload_size','会员上传文件大小(K)',4,'number','1024');
INSERT INTO `dede_sysconfig` VALUES (734,'cfg_mb_wnameone','是否允许用户笔名/昵称重复',4,'bool','N');
INSERT INTO `dede_sysconfig` VALUES (73,'cfg_md_idurl','是否严格限定会员登录id<br>允许会员使用二级域名必须设置此项',4,'bool','N');
INSERT INTO `dede_sysconfig` VALUES (78,'cfg_md_mailtest','是否限制Email只能注册一个帐号',4,'bool','N');
INSERT INTO `dede_sysconfig` VALUES (11,'cfg_medias_dir','图片/上传文件默认路径',1,'string','/uploads');
INSERT INTO `dede_sysconfig` VALUES (17,'cfg_mediatype','允许的多媒体文件类型',3,'bstring','swf|mpg|mp3|rm|rmvb|wmv|wma|wav|mid|mov');
INSERT INTO `dede_sysconfig` VALUES (756,'cfg_memcache_enable','是否启用memcache缓存，如果为否(N)，默认使用文件缓存',6,'bool','N');
INSERT INTO `dede_sysconfig` VALUES (757,'cfg_memcache_mc_defa','默认memcache缓存服务器地址',6,'string','memcache://127.0.0.1:11211/default127');
INSERT INTO `dede_sysconfig` VALUES (758,'cfg_memcache_mc_oth','附加memcache缓存服务器地址',6,'string','');
INSERT INTO `dede_sysconfig` VALUES (733,'cfg_money_scores','多少积分可以兑换一个金币',5,'number','50');
INSERT INTO `dede_sysconfig` VALUES (732,'cfg_moreinfo_adds','填写详细资料增加积分',5,'number','20');
INSERT INTO `dede_sysconfig` VALUES (25,'cfg_multi_site','(是/否)支持多站点，开启此项后附件、栏目连接、arclist内容启用绝对网址',2,'bool','N');
INSERT INTO `dede_sysconfig` VALUES (752,'cfg_mysql_type','数据库类型（支持mysql和mysqli）',2,'string','mysql');
INSERT INTO `dede_sysconfig` VALUES (713,'cfg_need_typeid2','是否启用副栏目',6,'bool','Y');
INSERT INTO `dede_sysconfig` VALUES (20,'cfg_notallowstr','禁用词语（系统将直接停止用户动作）<br/>用|分开，但不要在结尾加|',5,'bstring','非典|艾滋病|阳痿');
INSERT INTO `dede_sysconfig` VALUES (227,'cfg_online_type','在线支付网关类型',2,'string','nps');
INSERT INTO `dede_sysconfig` VALUES (28,'cfg_powerby','网站版权信息',1,'bstring','Copyright &copy; 2007-2021 上海卓卓网络科技有限公司');
INSERT INTO `dede_sysconfig` VALUES (736,'cfg_puccache_time','需缓存内容全局缓存时间(秒)',6,'number','36000');
INSERT INTO `dede_sysconfig` VALUES (739,'cfg_qk_uploadlit','异步上传缩略图(空间太不稳定的用户关闭此项)',3,'bool','Y');
INSERT INTO `dede_sysconfig` VALUES (750,'cfg_remote_site','是否启用远程站点',2,'bool','N');
INSERT INTO `dede_sysconfig` VALUES (20,'cfg_replacestr','替换词语（词语会被替换成***）<br/>用|分开，但不要在结尾加|',5,'bstring','她妈|它妈|他妈|你妈|去死|贱人');
INSERT INTO `dede_sysconfig` VALUES (744,'cfg_replace_num','文档内容同一关键词替换次数(0为全部替换)',7,'number','2');
INSERT INTO `dede_sysconfig` VALUES (708,'cfg_rewrite','是否使用伪静态',2,'bool','N');
INSERT INTO `dede_sysconfig` VALUES (58,'cfg_rm_remote','远程图片本地化',7,'bool','Y');
INSERT INTO `dede_sysconfig` VALUES (92,'cfg_search_max','最大搜索检查文档数',6,'number','50000');
INSERT INTO `dede_sysconfig` VALUES (93,'cfg_search_maxrc','最大返回搜索结果数',6,'number','300');
INSERT INTO `dede_sysconfig` VALUES (94,'cfg_search_time','搜索间隔时间(秒/对网站所有用户)',6,'number','3');
INSERT INTO `dede_sysconfig` VALUES (729,'cfg_sendarc_scores','投稿可获取积分',5,'number','10');
INSERT INTO `dede_sysconfig` VALUES (730,'cfg_sendfb_scores','参与评论可获积分',5,'number','3');
INSERT INTO `dede_sysconfig` VALUES (221,'cfg_sendmail_bysmtp','是否启用smtp方式发送邮件',2,'bool','Y');
INSERT INTO `dede_sysconfig` VALUES (226,'cfg_smtp_password','SMTP服务器的用户密码',2,'string','desdev');
INSERT INTO `dede_sysconfig` VALUES (223,'cfg_smtp_port','smtp服务器端口',2,'string','25');
INSERT INTO `dede_sysconfig` VALUES (222,'cfg_smtp_server','smtp服务器',2,'string','smtp.qq.com');
INSERT INTO `dede_sysconfig` VALUES (225,'cfg_smtp_user','SMTP服务器的用户帐号',2,'string','desdev');
INSERT INTO `dede_sysconfig` VALUES (224,'cfg_smtp_usermail','SMTP服务器的用户邮箱',2,'string','desdev@vip.qq.com');
INSERT INTO `dede_sysconfig` VALUES (16,'cfg_softtype','允许上传的软件类型',3,'bstring','zip|gz|rar|iso|doc|xsl|ppt|wps');
INSERT INTO `dede_sysconfig` VALUES (18,'cfg_specnote','专题的最大节点数',2,'number','6');
INSERT INTO `dede_sysconfig` VALUES (753,'cfg_sphinx_article','是否启用文章全文检索功能（需配置sphinx服务器）',7,'bool','N');
INSERT INTO `dede_sysconfig` VALUES (754,'cfg_sphinx_host','Sphinx服务器主机地址',7,'string','localhost');
INSERT INTO `dede_sysconfig` VALUES (755,'cfg_sphinx_port','Sphinx服务器端口号',7,'number','9312');
INSERT INTO `dede_sysconfig` VALUES (723,'cfg_task_pwd','系统计划任务客户端许可密码<br/>(需要客户端，通常不会太重要)',7,'string','');
INSERT INTO `dede_sysconfig` VALUES (762,'cfg_timeout_exit','超时退出登录（秒），时间必须大于60秒，设置为0代表关闭本功能',2,'number','1800');
INSERT INTO `dede_sysconfig` VALUES (62,'cfg_title_maxlen','文档标题最大长度<br>改此参数后需要手工修改数据表',7,'number','60');
INSERT INTO `dede_sysconfig` VALUES (751,'cfg_title_site','是否发布和编辑文档时远程发布(启用远程站点的前提下)',2,'bool','N');
INSERT INTO `dede_sysconfig` VALUES (54,'cfg_tplcache','是否启用模板缓存',6,'bool','Y');
INSERT INTO `dede_sysconfig` VALUES (55,'cfg_tplcache_dir','模板缓存目录',6,'string','/data/tplcache');
INSERT INTO `dede_sysconfig` VALUES (718,'cfg_typedir_df','栏目网址使用目录名（不显示默认页，即是 /a/abc/ 形式）',2,'bool','Y');
INSERT INTO `dede_sysconfig` VALUES (96,'cfg_updateperi','百度新闻xml更新时间 （单位：分钟）',8,'string','15');
INSERT INTO `dede_sysconfig` VALUES (745,'cfg_uplitpic_cut','上传缩略图后是否马上弹出裁剪框',3,'bool','Y');
INSERT INTO `dede_sysconfig` VALUES (706,'cfg_upload_switch','删除文章文件同时删除相关附件文件',2,'bool','Y');
INSERT INTO `dede_sysconfig` VALUES (741,'cfg_userad_adds','会员推广获积分',5,'number','10');
INSERT INTO `dede_sysconfig` VALUES (81,'cfg_vdcode_member','会员投稿是否使用验证码',5,'bool','Y');
INSERT INTO `dede_sysconfig` VALUES (7,'cfg_webname','网站名称',1,'string','织梦示例站点');
CREATE TABLE `dede_tagindex` (
  `id` int(10) NOT NULL,
  `tag` char(12) NOT NULL DEFAULT '',
  `typeid` smallint(5) NOT NULL DEFAULT 0,
  `count` int(10) NOT NULL DEFAULT 0,
  `total` int(10) NOT NULL DEFAULT 0,
  `weekcc` int(10) NOT NULL DEFAULT 0,
  `monthcc` int(10) NOT NULL DEFAULT 0,
  `weekup` int(10) NOT NULL DEFAULT 0,
  `monthup` int(10) NOT NULL DEFAULT 0,
  `addtime` int(10) NOT NULL DEFAULT 0,
  PRIMARY KEY (`id`)
);
INSERT INTO `dede_tagindex` VALUES (1,'织梦',7,120,4,3,20,1716800000,1716800000,1700000000);
INSERT INTO `dede_tagindex` VALUES (2,'PHP',10,300,2,10,15,1716800000,1716800000,1700100000);
INSERT INTO `dede_tagindex` VALUES (3,'模板 & 标签',7,50,2,1,5,1716800000,1716800000,1700200000);
INSERT INTO `dede_tagindex` VALUES (4,'C++',11,80,1,2,9,1716800000,1716800000,1699900000);
CREATE TABLE `dede_taglist` (
  `tid` int(10) NOT NULL DEFAULT 0,
  `aid` int(10) NOT NULL DEFAULT 0,
  `arcrank` smallint(6) NOT NULL DEFAULT 0,
  `typeid` smallint(5) NOT NULL DEFAULT 0,
  `tag` varchar(12) NOT NULL DEFAULT '',
  PRIMARY KEY (`tid`,`aid`)
);
INSERT INTO `dede_taglist` VALUES (1,3,0,7,'织梦');
INSERT INTO `dede_taglist` VALUES (1,13,0,7,'织梦');
INSERT INTO `dede_taglist` VALUES (1,23,0,7,'织梦');
INSERT INTO `dede_taglist` VALUES (1,33,0,7,'织梦');
INSERT INTO `dede_taglist` VALUES (2,10,0,5,'PHP');
INSERT INTO `dede_taglist` VALUES (2,16,0,10,'PHP');
INSERT INTO `dede_taglist` VALUES (3,13,0,7,'模板 & 标签');
INSERT INTO `dede_taglist` VALUES (3,23,0,7,'模板 & 标签');
INSERT INTO `dede_taglist` VALUES (4,17,0,11,'C++');
CREATE TABLE `dede_vote` (
  `aid` mediumint(8) NOT NULL,
  `votename` varchar(50) NOT NULL DEFAULT '',
  `starttime` int(10) NOT NULL DEFAULT 0,
  `endtime` int(10) NOT NULL DEFAULT 0,
  `totalcount` mediumint(8) NOT NULL DEFAULT 0,
  `ismore` tinyint(6) NOT NULL DEFAULT 0,
  `isallow` tinyint(6) NOT NULL DEFAULT 0,
  `view` tinyint(6) NOT NULL DEFAULT 0,
  `spec` int(20) NOT NULL DEFAULT 0,
  `isenable` tinyint(6) NOT NULL DEFAULT 0,
  `votenote` text DEFAULT NULL,
  PRIMARY KEY (`aid`)
);
INSERT INTO `dede_vote` VALUES (1,'你是从哪儿得知本站的？',1266336000,1584547200,0,0,1,1,0,0,'<v:note id="1" count="1">朋友介绍</v:note>rn<v:note id="2" count="0">门户网站的搜索引擎</v:note>rn<v:note id="3" count="2">Google或百度搜索</v:note>rn<v:note id="4" count="2">别的网站上的链接</v:note>rn<v:note id="5" count="1">其它途径</v:note>rn');
CREATE INDEX `dede_addonarticle_typeid` ON `dede_addonarticle` (`typeid`);
CREATE INDEX `dede_archives_sortrank` ON `dede_archives` (`sortrank`);
-- No copy of MySQL's `mainindex` (arcrank, typeid, channel, flag, mid): SQLite would take the range
-- "arcrank > -1" on it as selective, when it holds every visible article, and sort them all instead of
-- reading the sortrank index until a list is full (ten times slower over 10,000 articles).
CREATE INDEX `dede_archives_lastpost` ON `dede_archives` (`lastpost`,`scores`,`goodpost`,`badpost`,`notpost`);
CREATE INDEX `dede_arctiny_sortrank` ON `dede_arctiny` (`sortrank`);
CREATE INDEX `dede_arctiny_idx_typeid_arcrank_sortrank` ON `dede_arctiny` (`typeid`,`arcrank`,`sortrank`);
CREATE INDEX `dede_arctype_reid` ON `dede_arctype` (`reid`,`isdefault`,`channeltype`,`ispart`,`corank`,`topid`,`ishidden`);
CREATE INDEX `dede_arctype_sortrank` ON `dede_arctype` (`sortrank`);
CREATE INDEX `dede_channeltype_nid` ON `dede_channeltype` (`nid`,`isshow`,`arcsta`,`sendrank`);
CREATE INDEX `dede_keywords_keyword` ON `dede_keywords` (`keyword`,`rank`,`sta`);
CREATE INDEX `dede_myad_tagname` ON `dede_myad` (`tagname`,`typeid`,`timeset`,`endtime`,`starttime`);
CREATE INDEX `dede_mytag_tagname` ON `dede_mytag` (`tagname`,`typeid`,`timeset`,`endtime`,`starttime`);
COMMIT;
