#include "tests/support/closing_image.h"

#include <stdexcept>

#include "codegen/program.h"
#include "image/form_writer.h"
#include "image/image_writer.h"

namespace brindle::test {

image::LibraryRecord kernel_library_record() {
    return {"rtcore", "6b1e0c4f2a9d4e5b8c3f7a0d1e2b3c4d", "4", "6", "kernel"};
}

Bytes closing_image() {
    constexpr uint32_t kWindow = 0x52010001, kWindowElement = 0x06010000, kUnit = 0x19010002;
    image::ConstantPool pool;
    codegen::Program program(pool, kWindow);
    uint32_t on_created = program.add_routine("close at once", [](codegen::Routine& r) {
        r.close_window({kWindow, kWindowElement});
    });
    auto code = program.finish();
    if (!code) throw std::runtime_error(code.error().describe());

    image::FormBuilder form;
    form.add_window(kWindow, kWindowElement, kUnit, {40, 40, 200, 120}, "closing");
    if (auto bound = form.bind(kWindow, kWindowElement, 0, on_created); !bound)
        throw std::runtime_error(bound.error().describe());
    auto model = form.finish();
    if (!model) throw std::runtime_error(model.error().describe());

    image::ImageParts parts = codegen::image_parts(std::move(*code), pool);
    parts.libraries = {kernel_library_record()};
    parts.form = std::move(*model);
    parts.var_size = std::max<uint32_t>(parts.var_size, 4);
    auto bytes = image::write_image(parts);
    if (!bytes) throw std::runtime_error(bytes.error().describe());
    return std::move(*bytes);
}

}  // namespace brindle::test
