#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "common/bytes.h"
#include "sample_image.h"

using namespace brindle;
using namespace brindle::image::testing;

namespace {

struct ToolRun {
    int status;
    std::string out, err;
};

std::string slurp(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

class InspectTool : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = std::filesystem::temp_directory_path() /
               ("brindle-inspect-" + std::to_string(::getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(dir_);
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }

    std::filesystem::path file(const std::string& name, const Bytes& bytes) {
        auto p = dir_ / name;
        std::ofstream(p, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
        return p;
    }

    ToolRun run(const std::string& args) {
        const auto out = dir_ / "out", err = dir_ / "err";
        const std::string command = std::string(BRINDLE_IMAGE_TOOL) + " " + args + " >" + out.string() + " 2>" + err.string();
        const int status = std::system(command.c_str());
        return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, slurp(out), slurp(err)};
    }

    std::filesystem::path dir_;
};

}  // namespace

TEST_F(InspectTool, JsonOfTheHandBuiltImage) {
    const ToolRun r = run("dump --json " + file("hand.img", hand_built_image()).string());
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    const std::string& j = r.out;
    EXPECT_NE(j.find(R"("header":{"image_magic":19031,"first_section_offset":)"), std::string::npos) << j;
    EXPECT_NE(j.find(R"("highest_serial":65870,)"), std::string::npos);
    EXPECT_NE(j.find(R"("0x28":1,"0x2C":3,"0x30":0,"0x38":0,"0x54":)"), std::string::npos);
    EXPECT_NE(j.find(R"("libraries":[{"number":0,"name":"rtcore","id":"0123456789abcdef0123456789abcdef","major":4,"minor":6,"description":"核心"},{"number":1,"name":"uikit2","id":"0123456789ABCDEF0123456789ABCDEf","major":1,"minor":2,"description":"ui"}])"),
              std::string::npos);
    EXPECT_NE(j.find(R"({"name":"var","header_offset":)"), std::string::npos);
    EXPECT_NE(j.find(R"("flags":19,"memory_size":4,"stored_size":0,"data_offset":4294967295,"reloc_count":0})"),
              std::string::npos);
    EXPECT_NE(j.find(R"("relocations":[{"kind":1,"offset":1},{"kind":1,"offset":6},{"kind":1,"offset":12},{"kind":2,"offset":17},{"kind":3,"offset":37},{"kind":0,"offset":43}])"),
              std::string::npos);
    EXPECT_NE(j.find(R"("reference_lists":[[22],[],[27],[32]])"), std::string::npos);
    EXPECT_NE(j.find(R"("windows":[{"id":1375797249,"unit_id":419496001,"elements":[{"id":100728832,"kind":65537,"name":"","left":100,"top":50,"width":640,"height":480,"parent":0,"page":null,)"),
              std::string::npos);
    EXPECT_NE(j.find(R"("events":[{"index":0,"code_offset":36},{"index":9,"code_offset":47}],"properties":{"version":5,"icon":{"format":"ICO","bytes":70},"background":{"format":"unknown","bytes":0},"caption":"Brindle"}})"),
              std::string::npos);
    EXPECT_NE(j.find(R"("name":"选择夹1",)"), std::string::npos);
    EXPECT_NE(j.find(R"("pages":["P0","P1"])"), std::string::npos);
    EXPECT_NE(j.find(R"("name":"edit","left":-72,"top":10,"width":100,"height":20,"parent":369164290,"page":0,"children":[],"flags":4,"visible":false,"events":[],"properties":{"version":2,"text":"a\r\nb","multiline":true,"background_colour":16777215}})"),
              std::string::npos);
    EXPECT_NE(j.find(R"("name":"radio",)"), std::string::npos);
    EXPECT_NE(j.find(R"("page":1,"children":[],"flags":5,"visible":true,"events":[{"index":0,"code_offset":36}],"properties":{"version":1,"caption":"R","checked":true}})"),
              std::string::npos);
    EXPECT_NE(j.find(R"({"id":637600077,"kind":65539,"name":"","level":0,"caption":"menu","click_offset":4294967295})"),
              std::string::npos);
    EXPECT_NE(j.find(R"({"id":637600078,"kind":65539,"name":"","level":1,"caption":"close","click_offset":47})"),
              std::string::npos);
    EXPECT_EQ(j.back(), '\n');
}

TEST_F(InspectTool, JsonOfAWrittenImageDecodesEveryKind) {
    const ToolRun r = run("dump --json " + file("sample.img", sample_image()).string());
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string& j = r.out;
    EXPECT_NE(j.find(R"("pages":["首页","empty","third"])"), std::string::npos);
    EXPECT_NE(j.find(R"("items":["a","","c"])"), std::string::npos);
    EXPECT_NE(j.find(R"("caption":"label","text_colour":255)"), std::string::npos);
    EXPECT_NE(j.find(R"("caption":"forum","url":"http://bbs.example.com/")"), std::string::npos);
    EXPECT_NE(j.find(R"("name":"pic",)"), std::string::npos);
    EXPECT_NE(j.find(R"("picture":{"format":"GIF","bytes":35})"), std::string::npos);
    EXPECT_NE(j.find(R"("picture":{"format":"GIF","bytes":35},"caption":"go")"), std::string::npos);
    EXPECT_NE(j.find(R"("url":"about:blank")"), std::string::npos);
    EXPECT_NE(j.find(R"("caption":"复 制")"), std::string::npos);
    EXPECT_NE(j.find(R"("name":"empty_pic",)"), std::string::npos);
    EXPECT_NE(j.find(R"("properties":{}})"), std::string::npos);
    EXPECT_NE(j.find(R"("caption":"显示","click_offset":47)"), std::string::npos);
    EXPECT_NE(j.find(R"("highest_serial":66387,)"), std::string::npos);
}

TEST_F(InspectTool, ListingOfAnImage) {
    const ToolRun r = run("dump " + file("hand.img", hand_built_image()).string());
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("sections:\n  const  header "), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("0x16010010 edit box edit  (-72, 10) 100x20 flags 4 parent 0x16010002 page 0"), std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find("0x2601014E menu item  level 1 \"close\" click 0x2F"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("  00000A  fld qword ptr [0x19]  ; constant\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("  000015  push 0x52010001  ; identifier\n"), std::string::npos) << r.out;
}

TEST_F(InspectTool, RefusesWhatIsNotAnImage) {
    Bytes junk(200, 0x41);
    const auto path = file("junk.img", junk);
    const ToolRun bad = run("dump --json " + path.string());
    EXPECT_EQ(bad.status, 1);
    EXPECT_EQ(bad.out, "");
    EXPECT_EQ(bad.err, "brindle-image: " + path.string() +
                           ": not a valid image: image_magic at 0x0: not a program image: magic 0x41414141, expected 0x4A57\n");

    Bytes truncated = hand_built_image();
    truncated.resize(truncated.size() - 1);
    const ToolRun short_image = run("dump " + file("short.img", truncated).string());
    EXPECT_EQ(short_image.status, 1);
    EXPECT_NE(short_image.err.find("reference list count"), std::string::npos) << short_image.err;

    // A path that cannot be read: one line and status 2, as for every tool (a directory used to abort).
    const ToolRun missing = run("dump " + (dir_ / "nothing.img").string());
    EXPECT_EQ(missing.status, 2);
    EXPECT_EQ(missing.err, "brindle-image: " + (dir_ / "nothing.img").string() + ": No such file or directory\n");
    const ToolRun directory = run("dump --json " + dir_.string());
    EXPECT_EQ(directory.status, 2);
    EXPECT_EQ(directory.err, "brindle-image: " + dir_.string() + ": Is a directory\n");

    const ToolRun usage = run("show");
    EXPECT_EQ(usage.status, 2);
    EXPECT_EQ(usage.err, "usage: brindle-image dump [--json] FILE\n");
}
