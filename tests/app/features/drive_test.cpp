// The features end to end: the built image in brindle-drive, with the Qt windows the tool shows.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace {

struct DriveRun {
    std::string out, err;
    int status = -1;
};

DriveRun drive(const std::string& script) {
    const auto dir = std::filesystem::temp_directory_path();
    const auto script_path = dir / ("feature_drive_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                                    "_" + ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".txt");
    const auto err_path = std::filesystem::path(script_path).replace_extension(".err");
    std::ofstream(script_path) << script;
    const std::string command = std::string("'") + BRINDLE_DRIVE + "' '" + BRINDLE_IMAGE + "' < '" +
                                script_path.string() + "' 2> '" + err_path.string() + "'";
    DriveRun run;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[4096];
        for (size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) run.out.append(buffer, n);
        run.status = pclose(pipe);
    }
    std::stringstream err;
    err << std::ifstream(err_path).rdbuf();
    run.err = err.str();
    std::filesystem::remove(script_path);
    std::filesystem::remove(err_path);
    return run;
}

TEST(DriveFeatures, BuildersPaletteAndCopyThroughTheWindow) {
    const DriveRun run = drive(
        "click 生成_标签\n"
        "get 编辑框_标签输出1\n"
        "click 单选框_网站名称\n"
        "get 标签1\n"
        "click 按钮_头尾复制\n"
        "clipboard\n"
        "messages\n"
        "set 编辑框_导航栏目ID \"5\"\n"
        "set 编辑框_导航上级栏目 \"3\"\n"
        "click 按钮_生成导航\n"
        "messages\n"
        "get 编辑框_标签输出1\n"
        "select 组合框_自定义字段排序 2\n"
        "set 编辑框_字段名1 \"a\"\n"
        "click 按钮_自定义生成\n"
        "messages\n"
        "get 编辑框_自定义字段\n"
        "click 单选框_4\n"
        "click 生成_标签\n"
        "messages\n"
        "get 编辑框_摘要字数\n"
        "click 按钮4\n"
        "click 按钮5\n"
        "messages\n"
        "click 按钮_清空\n"
        "get 编辑框_栏目ID\n"
        "get 组合框_排列方式\n"
        "get 编辑框_标签输出1\n"
        "live-blocks\n");
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out,
              "\"{dede:arclist typeid=1 row=5 titlelen=20 orderby='pubdate' }\\r\\n\\r\\n"
              "<a href='[field:arcurl/]'>[field:title/]</a>  <br/>\\r\\n\\r\\n{/dede:arclist}\"\n"
              "\"←点击复制\"\n"
              "\"{dede:global.cfg_webname/}\"\n"
              "[{\"text\": \"复制成功！\", \"style\": 64, \"title\": null}]\n"
              "[{\"text\": \"搞混了！上级栏目和本级栏目请不要一次出现，只能填一个空。\", \"style\": 48, "
              "\"title\": \"导航栏目调用野心太大，失败\"}]\n"
              "\"{dede:arclist typeid=1 row=5 titlelen=20 orderby='pubdate' }\\r\\n\\r\\n"
              "<a href='[field:arcurl/]'>[field:title/]</a>  <br/>\\r\\n\\r\\n{/dede:arclist}\"\n"
              "[{\"text\": \"请到 内容模型管理 查看该频道的ID \", \"style\": 16, \"title\": \"频道类型ID(channelid)没有填\"}]\n"
              "\"{dede:arclist addfields='a' row='10' channelid='' orderway='asc'}\\r\\n\\r\\n"
              "字段名1 调用：  [field:a /]\\r\\n\\r\\n\\r\\n\\r\\n\\r\\n\\r\\n\\r\\n\\r\\n\\r\\n\\r\\n{/dede:arclist}\"\n"
              "[{\"text\": \"记得写上摘要字数哦，不然是默认的250.\", \"style\": 0, \"title\": null}]\n"
              "\"40\"\n"
              "[{\"text\": \"复制成功！\", \"style\": 0, \"title\": \"复制\"}]\n"
              "\"\"\n"
              "0\n"
              "\"\"\n"
              "0\n");
}

}  // namespace
