#include "app/image_compiler.h"

#include <algorithm>
#include <string>

#include "app/app_build.h"
#include "app/catalogue.h"
#include "app/features.h"
#include "app/form_from_catalogue.h"
#include "codegen/program.h"
#include "common/gbk.h"
#include "common/input_file.h"
#include "common/try.h"
#include "image/constant_pool.h"
#include "image/image_writer.h"

namespace brindle::app {
namespace {

// The kernel's variable memory is never empty, even when no routine uses a global.
constexpr uint32_t kMinimumVarSize = 4;

struct LibraryText {
    const char* name;
    const char* id;
    const char* major;
    const char* minor;
    const char* description;  // UTF-8; stored as GBK
};

// The kernel first: its table position is the library number the code addresses.
constexpr LibraryText kLibraries[] = {
    {"rtcore", "b7e4c1d09a3f4e52a8d61c0f3e9b2a47", "4", "6", "Brindle 系统核心库"},
    {"uikit2", "5D2A9C41E07B4F38B6A1D3C8E94F0B26", "1", "2", "Brindle 扩展界面控件库二"},
    {"osbridge", "A13F6E8B2C9D4A07B5E1F0c3D7A62E94", "1", "1", "Brindle 应用与系统接口库"},
    {"webpane", "3E8F1B6D4A2C4907B1D5E9A0C6F37B28", "1", "1", "Brindle 超文本浏览框控件库"},
};

Result<std::vector<image::LibraryRecord>> library_records() {
    std::vector<image::LibraryRecord> records;
    for (const LibraryText& l : kLibraries) {
        auto description = utf8_to_gbk(l.description);
        if (!description) return fail("library description cannot be written in GBK", l.name);
        records.push_back({l.name, l.id, l.major, l.minor, std::move(*description)});
    }
    return records;
}

Result<Bytes> read_picture(const std::filesystem::path& path) {
    auto read = read_input_file(path.string());  // a directory in a picture's place is an error, not an abort
    if (!read) return fail("cannot read picture " + path.string() + ": " + read.error().message, path.filename().string());
    Bytes bytes = std::move(*read);
    static constexpr std::string_view kGifMagic = "GIF89a";
    if (bytes.size() < kGifMagic.size() || !std::equal(kGifMagic.begin(), kGifMagic.end(), bytes.begin()))
        return fail("picture " + path.string() + " is not a GIF89a file", path.filename().string());
    return bytes;
}

Result<Pictures> load_pictures(const std::filesystem::path& dir) {
    Pictures pictures;
    for (int i = 0; i < 5; ++i) {
        BRINDLE_TRY(auto layout, read_picture(dir / ("layout" + std::to_string(i + 1) + ".gif")));
        pictures.layouts[i] = std::move(layout);
    }
    BRINDLE_TRY(auto forum, read_picture(dir / "forum_button.gif"));
    pictures.forum_button = std::move(forum);
    return pictures;
}

void add_all_routines(AppBuild& app) {
    for (auto add : kFeatures) add(app);
}

}  // namespace

Result<Bytes> compile_application(const std::filesystem::path& pictures_dir) {
    BRINDLE_TRY(auto pictures, load_pictures(pictures_dir));

    image::FormBuilder form;
    BRINDLE_CHECK(add_catalogue(form, pictures));

    image::ConstantPool pool;
    codegen::Program program(pool, main_window().id);
    AppBuild app(program, form);
    add_all_routines(app);
    BRINDLE_CHECK(app.status());
    BRINDLE_TRY(auto code, program.finish());
    BRINDLE_TRY(auto model, form.finish());
    BRINDLE_TRY(auto libraries, library_records());

    image::ImageParts parts = codegen::image_parts(std::move(code), pool);
    parts.libraries = std::move(libraries);
    parts.form = std::move(model);
    parts.var_size = std::max(parts.var_size, kMinimumVarSize);
    return image::write_image(parts);
}

}  // namespace brindle::app
