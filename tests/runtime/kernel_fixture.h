#pragma once
// A kernel with a recording UI and a hand-assembled program, for tests.
#include <gtest/gtest.h>

#include <memory>

#include "runtime/headless/recording_ui.h"
#include "runtime/kernel.h"
#include "tests/runtime/test_program.h"

namespace brindle::runtime::testing {

using headless::RecordingUi;

inline constexpr uint32_t kWindow = 0x52010001;
inline constexpr uint32_t kWindowElement = 0x06010000;
inline constexpr uint32_t kEdit = 0x16000010;
inline constexpr uint32_t kOutput = 0x16000011;

class KernelTest : public ::testing::Test {
protected:
    // Loads `program` (entry routine at entry_offset) at `layout`.
    void load(uint32_t entry_offset = 0, const LoadLayout& layout = {}) {
        auto k = Kernel::create(ui);
        ASSERT_TRUE(k.has_value()) << k.error().describe();
        kernel = std::move(*k);
        parts = program.parts(entry_offset);
        auto r = kernel->load(parts, layout);
        ASSERT_TRUE(r.has_value()) << r.error().describe();
    }
    // Runs the routine at a code offset; returns eax.
    Result<uint32_t> call(uint32_t offset, std::vector<uint32_t> args = {}) {
        return kernel->call_routine(kernel->program().code_address(offset), args);
    }
    std::string text_at(uint32_t address) {
        auto t = kernel->machine().read_text(address);
        return t ? std::string(*t) : "<" + t.error().describe() + ">";
    }

    RecordingUi ui;
    TestProgram program;
    ProgramParts parts;
    std::unique_ptr<Kernel> kernel;
};

}  // namespace brindle::runtime::testing
