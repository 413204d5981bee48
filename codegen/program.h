#pragma once
// The whole code section: the application's routines first, then the helpers they use, the
// image's initialisation routine, the empty routine handed to the kernel, the entry routine, and
// one thunk per kernel service used.
//
//   ConstantPool pool;
//   Program program(pool, kMainWindowId);
//   uint32_t on_click = program.add_routine("按钮4 click", [](Routine& r) {
//       r.write_text(output, r.concat({"{dede:list row='", r.read_text(rows), "'}"}));
//   });
//   Result<EmittedCode> code = program.finish();  // with pool.data(): the image writer's input
#include <cstdint>
#include <functional>
#include <memory>
#include <string_view>
#include <vector>

#include "common/result.h"
#include "image/constant_pool.h"
#include "codegen/routine.h"
#include "image/image_writer.h"
#include "image/relocation.h"

namespace brindle::codegen {

struct EmittedCode {
    Bytes code;
    std::vector<image::Relocation> relocations;
    image::ReferenceLists references;  // each list sorted
    uint32_t entry_offset = 0;  // the entry routine, in the code
    uint32_t init_offset = 0;
    uint32_t empty_routine_offset = 0;
    uint32_t var_size = 0;  // bytes of global variables the code uses
};

// The parts of an image that a finished code section fills: its constants, code, relocation records,
// reference lists, entry routine and var memory. The libraries and the form are the caller's.
image::ImageParts image_parts(EmittedCode code, const image::ConstantPool& pool);

class Program {
public:
    // Literals go into `pool`; the entry routine shows `startup_window` before the event loop.
    Program(image::ConstantPool& pool, uint32_t startup_window);
    ~Program();
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    // Emits one routine and returns its code offset, for the form's event bindings. A routine that
    // an event calls with arguments takes them as 4-byte stack arguments and removes them.
    uint32_t add_routine(std::string_view name, const std::function<void(Routine&)>& body,
                         uint32_t argument_count = 0);

    // A 4-byte global integer in the var memory, zero at load.
    IntVar global_int();

    // Completes the section. The first fault met while emitting (a literal GBK cannot hold, a text
    // never released or used twice, ...) is reported here.
    Result<EmittedCode> finish();

private:
    std::unique_ptr<EmitContext> ctx_;
    uint32_t startup_window_;
    uint32_t var_size_ = 0;
    bool in_routine_ = false;
    bool finished_ = false;
};

}  // namespace brindle::codegen
