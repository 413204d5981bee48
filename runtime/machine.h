#pragma once
// One emulated 32-bit x86 processor (Unicorn) with host-backed memory regions, so the kernel reads and
// writes guest memory directly, always bounds-checked against the region an address falls in.
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <string_view>
#include <vector>

#include "common/bytes.h"
#include "common/result.h"
#include "runtime/watchdog.h"

struct uc_struct;

namespace brindle::runtime {

enum class Reg { Eax, Ebx, Ecx, Edx, Esp, Ebp, Esi, Edi, Eip };

class Machine {
public:
    // Called before the instruction at a hooked address runs.
    using CodeHook = std::function<void(uint32_t address)>;

    static Result<std::unique_ptr<Machine>> create();
    ~Machine();
    Machine(const Machine&) = delete;
    Machine& operator=(const Machine&) = delete;

    // Maps zeroed, readable, writable and executable memory; base and size page aligned.
    Result<void> map(uint32_t base, uint32_t size, std::string_view what);
    // Maps `size` bytes at base and keeps [base, base + limit) free for grow(): the host memory is
    // reserved in one piece, so a region that grows stays contiguous for host().
    Result<void> map_growable(uint32_t base, uint32_t size, uint32_t limit, std::string_view what);
    // Extends the growable region at base to `size` bytes (page aligned, within its limit).
    Result<void> grow(uint32_t base, uint32_t size);

    // Host view of [address, address + length) when it lies wholly inside one mapped region.
    uint8_t* host(uint32_t address, uint32_t length);
    bool contains(uint32_t address, uint32_t length) { return host(address, length) != nullptr; }

    Result<uint32_t> read_u32(uint32_t address);
    Result<void> write_u32(uint32_t address, uint32_t value);
    Result<void> write(uint32_t address, ByteView bytes);
    // The bytes of the NUL-terminated text at address (NUL excluded); the NUL must lie in the same region.
    Result<std::string_view> read_text(uint32_t address);

    uint32_t reg(Reg r);
    void set_reg(Reg r, uint32_t value);

    // Calls hook before any instruction in [begin, end) runs.
    Result<void> hook_code(uint32_t begin, uint32_t end, CodeHook hook);

    // How a run ended: at `until`, by stop(), with its processor time spent, or at a halt instruction.
    enum class RunEnd { Reached, Stopped, TimeSpent, Halted };
    // Runs from start until execution reaches until, stop() is called or the run has used `time_limit`
    // of processor time (zero: no limit). A processor fault is an error naming the fault and the
    // instruction address.
    Result<RunEnd> run(uint32_t start, uint32_t until, std::chrono::nanoseconds time_limit = {});
    // Asks the running emulation to stop after the current instruction; callable from a hook.
    void stop();

private:
    struct Region {
        uint32_t base;
        uint32_t size;     // mapped
        uint32_t limit;    // reserved, in the guest and on the host
        uint8_t* host;
    };
    struct HookSlot {
        CodeHook hook;
    };
    Machine() = default;
    static void on_code(uc_struct* uc, uint64_t address, uint32_t size, void* user);

    uc_struct* uc_ = nullptr;
    std::vector<Region> regions_;
    std::vector<std::unique_ptr<HookSlot>> hooks_;
    const Region* last_ = nullptr;
    std::set<uint32_t> exits_;  // return addresses with a stopping hook
    bool stop_requested_ = false;
    bool reached_ = false;
    // Made at the first run with a limit; counting instructions in Unicorn would slow every one of them.
    std::unique_ptr<Watchdog> watchdog_;
};

}  // namespace brindle::runtime
