#include "runtime/machine.h"

#include <sys/mman.h>
#include <unicorn/unicorn.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "common/hex.h"
#include "runtime/host_pages.h"
#include "runtime/memory_map.h"

namespace brindle::runtime {

namespace {

int uc_reg_id(Reg r) {
    switch (r) {
        case Reg::Eax: return UC_X86_REG_EAX;
        case Reg::Ebx: return UC_X86_REG_EBX;
        case Reg::Ecx: return UC_X86_REG_ECX;
        case Reg::Edx: return UC_X86_REG_EDX;
        case Reg::Esp: return UC_X86_REG_ESP;
        case Reg::Ebp: return UC_X86_REG_EBP;
        case Reg::Esi: return UC_X86_REG_ESI;
        case Reg::Edi: return UC_X86_REG_EDI;
        case Reg::Eip: return UC_X86_REG_EIP;
    }
    return UC_X86_REG_INVALID;
}

// Outside every region: a run never gets there.
constexpr uint32_t kNoExit = 0xFFFFFFFF;

}  // namespace

Result<std::unique_ptr<Machine>> Machine::create() {
    std::unique_ptr<Machine> m(new Machine());
    uc_err err = uc_open(UC_ARCH_X86, UC_MODE_32, &m->uc_);
    if (err != UC_ERR_OK) return fail(std::string("cannot start the x86 emulator: ") + uc_strerror(err));
    // Exits on, and none set: after every run Unicorn 2.0.1 drops the code translated at each exit
    // and leaks 48 bytes doing so (about 5 MB per 100,000 clicks). A hook at the return address
    // stops the run instead (run()).
    err = uc_ctl_exits_enable(m->uc_);
    if (err != UC_ERR_OK) return fail(std::string("cannot set the emulator's exits: ") + uc_strerror(err));
    return m;
}

Machine::~Machine() {
    watchdog_.reset();  // it may stop the emulator, which must still be there
    if (uc_) uc_close(uc_);
    for (const Region& r : regions_) munmap(r.host, r.limit);
}

Result<void> Machine::map(uint32_t base, uint32_t size, std::string_view what) {
    return map_growable(base, size, size, what);
}

Result<void> Machine::map_growable(uint32_t base, uint32_t size, uint32_t limit, std::string_view what) {
    using memory_map::kPageSize;
    if (size == 0 || size > limit || base % kPageSize != 0 || size % kPageSize != 0 || limit % kPageSize != 0 ||
        uint64_t(base) + limit > 0x100000000ull)
        return fail("region is not page aligned or leaves the address space", std::string(what), base);
    for (const Region& r : regions_)
        if (base < uint64_t(r.base) + r.limit && r.base < uint64_t(base) + limit)
            return fail("region overlaps another", std::string(what), base);
    // Only the mapped part is accessible; the rest is address space kept for growth.
    void* host = mmap(nullptr, limit, PROT_NONE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
    if (host == MAP_FAILED) return fail("out of host memory for region", std::string(what), base);
    if (mprotect(host, size, PROT_READ | PROT_WRITE) != 0) {
        munmap(host, limit);
        return fail("out of host memory for region", std::string(what), base);
    }
    uc_err err = uc_mem_map_ptr(uc_, base, size, UC_PROT_ALL, host);
    if (err != UC_ERR_OK) {
        munmap(host, limit);
        return fail(std::string("cannot map region: ") + uc_strerror(err), std::string(what), base);
    }
    regions_.push_back({base, size, limit, static_cast<uint8_t*>(host)});
    last_ = nullptr;
    return {};
}

Result<void> Machine::grow(uint32_t base, uint32_t size) {
    auto it = std::find_if(regions_.begin(), regions_.end(), [&](const Region& r) { return r.base == base; });
    if (it == regions_.end()) return fail("no region starts here", "grow", base);
    if (size <= it->size) return {};
    if (size > it->limit || size % memory_map::kPageSize != 0)
        return fail("region cannot grow to " + std::to_string(size) + " bytes", "grow", base);
    uint32_t extra = size - it->size;
    // mprotect takes whole host pages, which may be larger than the guest's: the first may be in use.
    std::span<uint8_t> added{it->host + it->size, extra};
    std::span<uint8_t> opened = pages_holding(added, host_page_size());
    if (mprotect(opened.data(), opened.size(), PROT_READ | PROT_WRITE) != 0)
        return fail("out of host memory for region", "grow", base);
    uc_err err = uc_mem_map_ptr(uc_, uint64_t(base) + it->size, extra, UC_PROT_ALL, added.data());
    if (err != UC_ERR_OK) {
        std::span<uint8_t> unused = whole_pages_inside({added.data(), opened.data() + opened.size()}, host_page_size());
        if (!unused.empty()) mprotect(unused.data(), unused.size(), PROT_NONE);
        return fail(std::string("cannot map region: ") + uc_strerror(err), "grow", base);
    }
    it->size = size;
    return {};
}

uint8_t* Machine::host(uint32_t address, uint32_t length) {
    auto inside = [&](const Region& r) {
        return address >= r.base && uint64_t(address) - r.base + length <= r.size;
    };
    if (last_ && inside(*last_)) return last_->host + (address - last_->base);
    for (const Region& r : regions_) {
        if (inside(r)) {
            last_ = &r;
            return r.host + (address - r.base);
        }
    }
    return nullptr;
}

Result<uint32_t> Machine::read_u32(uint32_t address) {
    const uint8_t* p = host(address, 4);
    if (!p) return fail("read outside emulated memory", "address", address);
    return load_u32le(p);
}

Result<void> Machine::write_u32(uint32_t address, uint32_t value) {
    uint8_t* p = host(address, 4);
    if (!p) return fail("write outside emulated memory", "address", address);
    store_u32le(p, value);
    return {};
}

Result<void> Machine::write(uint32_t address, ByteView bytes) {
    if (bytes.empty()) return {};
    uint8_t* p = bytes.size() > UINT32_MAX ? nullptr : host(address, static_cast<uint32_t>(bytes.size()));
    if (!p) return fail("write outside emulated memory", "address", address);
    std::memcpy(p, bytes.data(), bytes.size());
    return {};
}

Result<std::string_view> Machine::read_text(uint32_t address) {
    const uint8_t* start = host(address, 1);
    if (!start) return fail("text lies outside emulated memory", "text", address);
    const Region& r = *last_;
    size_t room = r.size - (address - r.base);
    const void* nul = std::memchr(start, 0, room);
    if (!nul) return fail("text has no terminating NUL inside its memory", "text", address);
    return std::string_view(reinterpret_cast<const char*>(start), static_cast<const uint8_t*>(nul) - start);
}

uint32_t Machine::reg(Reg r) {
    uint32_t value = 0;
    uc_reg_read(uc_, uc_reg_id(r), &value);
    return value;
}

void Machine::set_reg(Reg r, uint32_t value) { uc_reg_write(uc_, uc_reg_id(r), &value); }

void Machine::on_code(uc_struct*, uint64_t address, uint32_t, void* user) {
    static_cast<HookSlot*>(user)->hook(static_cast<uint32_t>(address));
}

Result<void> Machine::hook_code(uint32_t begin, uint32_t end, CodeHook hook) {
    auto slot = std::make_unique<HookSlot>(HookSlot{std::move(hook)});
    uc_hook handle;
    uc_err err = uc_hook_add(uc_, &handle, UC_HOOK_CODE, reinterpret_cast<void*>(&Machine::on_code), slot.get(),
                             begin, end - 1);
    if (err != UC_ERR_OK) return fail(std::string("cannot hook code: ") + uc_strerror(err), "address", begin);
    hooks_.push_back(std::move(slot));
    return {};
}

Result<Machine::RunEnd> Machine::run(uint32_t start, uint32_t until, std::chrono::nanoseconds time_limit) {
    if (!exits_.contains(until)) {
        auto hooked = hook_code(until, until + 1, [this](uint32_t) {
            reached_ = true;
            uc_emu_stop(uc_);
        });
        if (!hooked) return std::unexpected(hooked.error());
        exits_.insert(until);
    }
    stop_requested_ = false;
    reached_ = false;
    const bool limited = time_limit.count() > 0;
    if (limited) {
        if (!watchdog_) watchdog_ = std::make_unique<Watchdog>([this] { uc_emu_stop(uc_); });
        watchdog_->arm(time_limit);
    }
    // The hook, not Unicorn's exit, ends the run: hand it an address no routine runs.
    uc_err err = uc_emu_start(uc_, start, kNoExit, 0, 0);
    const bool expired = limited && watchdog_->disarm();
    if (err != UC_ERR_OK)
        return fail(std::string("processor fault: ") + uc_strerror(err) + " at instruction " + hex(reg(Reg::Eip)));
    if (reached_) return RunEnd::Reached;
    if (stop_requested_) return RunEnd::Stopped;
    return expired ? RunEnd::TimeSpent : RunEnd::Halted;
}

void Machine::stop() {
    stop_requested_ = true;
    uc_emu_stop(uc_);
}

}  // namespace brindle::runtime
