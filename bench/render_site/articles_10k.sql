-- 10,000 articles more (ids 1001-11000) over the sample site's categories, for the rendering
-- benchmark. One text for SQLite and MariaDB alike: the rows come from four tables of digits.
INSERT INTO dede_archives (id, typeid, sortrank, flag, ismake, channel, arcrank, click, title, writer, litpic, pubdate,
                           senddate, mid, voteid, description)
SELECT n + 1001, 1 + n % 12, 1640995200 + n * 3000,
       CASE n % 7 WHEN 0 THEN 'h' WHEN 1 THEN 'c,p' WHEN 2 THEN 'f' ELSE NULL END, 1, 1, 0, n % 500,
       CONCAT('基准文章 benchmark article number ', n), 'admin',
       CASE WHEN n % 5 = 0 THEN '/uploads/allimg/bench.jpg' ELSE '' END, 1640995200 + n * 3000,
       1640995200 + n * 3000, 1, 0, CONCAT('第 ', n, ' 篇基准文章的摘要 summary of article ', n)
FROM (SELECT a.d + 10 * b.d + 100 * c.d + 1000 * e.d AS n
      FROM (SELECT 0 AS d UNION ALL SELECT 1 UNION ALL SELECT 2 UNION ALL SELECT 3 UNION ALL SELECT 4 UNION ALL
            SELECT 5 UNION ALL SELECT 6 UNION ALL SELECT 7 UNION ALL SELECT 8 UNION ALL SELECT 9) AS a,
           (SELECT 0 AS d UNION ALL SELECT 1 UNION ALL SELECT 2 UNION ALL SELECT 3 UNION ALL SELECT 4 UNION ALL
            SELECT 5 UNION ALL SELECT 6 UNION ALL SELECT 7 UNION ALL SELECT 8 UNION ALL SELECT 9) AS b,
           (SELECT 0 AS d UNION ALL SELECT 1 UNION ALL SELECT 2 UNION ALL SELECT 3 UNION ALL SELECT 4 UNION ALL
            SELECT 5 UNION ALL SELECT 6 UNION ALL SELECT 7 UNION ALL SELECT 8 UNION ALL SELECT 9) AS c,
           (SELECT 0 AS d UNION ALL SELECT 1 UNION ALL SELECT 2 UNION ALL SELECT 3 UNION ALL SELECT 4 UNION ALL
            SELECT 5 UNION ALL SELECT 6 UNION ALL SELECT 7 UNION ALL SELECT 8 UNION ALL SELECT 9) AS e) AS seq;
INSERT INTO dede_arctiny (id, typeid, arcrank, channel, senddate, sortrank, mid)
SELECT id, typeid, arcrank, channel, senddate, sortrank, mid FROM dede_archives WHERE id > 1000;
INSERT INTO dede_addonarticle (aid, typeid, body) SELECT id, typeid, CONCAT('<p>', description, '</p>') FROM dede_archives WHERE id > 1000;
