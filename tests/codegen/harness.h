#pragma once
// Runs emitted code in Unicorn with a small stand-in for the kernel's services, enough to watch
// what the code hands over: argument blocks, property reads and writes, allocations and releases.
#include <unicorn/unicorn.h>

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "image/constant_pool.h"
#include "codegen/program.h"

namespace brindle::codegen::harness {

using image::ConstantPool;

inline constexpr uint32_t kCodeBase = 0x00400000;
inline constexpr uint32_t kConstBase = 0x00600000;
inline constexpr uint32_t kVarBase = 0x00700000;
inline constexpr uint32_t kTableBase = 0x00800000;
inline constexpr uint32_t kStubBase = 0x00801000;
inline constexpr uint32_t kHeapBase = 0x01000000;
inline constexpr uint32_t kStackTop = 0x02100000;
inline constexpr uint32_t kSentinel = 0x03000000;

struct Triple {
    uint32_t value, high, tag;
    std::optional<std::string> text;  // the bytes a text argument points at; none for null
};

struct CommandCall {
    std::optional<uint32_t> library;  // eax, for extension commands
    uint32_t number;                  // ebx
    std::vector<Triple> args;
};

struct PropertyWrite {
    uint32_t window, control, property, minus_one, value, high;
    std::optional<std::string> text;  // for property 8
};

struct CommandResult {
    uint64_t value = 0;               // eax, edx
    std::optional<std::string> text;  // a new block is made for it
};

class Harness {
public:
    Harness(const EmittedCode& code, const ConstantPool& pool);
    ~Harness();

    // Calls the routine at `code_offset` with 4-byte arguments; returns false on an emulation fault.
    bool run(uint32_t code_offset, const std::vector<uint32_t>& args = {});

    // Property 8 of a control reads as a new block holding this text, or as null when unset.
    void set_text(uint32_t window, uint32_t control, std::optional<std::string> text) {
        texts[{window, control}] = std::move(text);
    }
    std::map<std::pair<uint32_t, uint32_t>, std::optional<std::string>> texts;
    std::map<std::tuple<uint32_t, uint32_t, uint32_t>, uint32_t> ints;
    std::function<CommandResult(const CommandCall&)> on_command;

    std::vector<CommandCall> commands;
    std::vector<PropertyWrite> writes;
    std::vector<std::pair<uint32_t, std::vector<uint32_t>>> services;  // entry, first stack words
    std::set<uint32_t> live;   // blocks handed out and not yet released
    int constant_releases = 0;
    int bad_releases = 0;
    uint32_t esp_after = 0;

    uc_engine* uc() { return uc_; }
    std::string read_text(uint32_t address);
    uint32_t read_u32(uint32_t address);
    uint32_t new_block(const std::string& bytes);

private:
    static void on_stub(uc_engine* uc, uint64_t address, uint32_t size, void* self);
    void service(uint32_t entry);

    uc_engine* uc_ = nullptr;
    uc_hook hook_{};
    uint32_t const_size_ = 0;
    uint32_t heap_next_ = kHeapBase;
};

}  // namespace brindle::codegen::harness
