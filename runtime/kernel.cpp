#include "runtime/kernel.h"

#include <cstdlib>

#include "common/hex.h"
#include "common/try.h"
#include "image/kernel_abi.h"
#include "runtime/memory_map.h"
#include "runtime/service_trace.h"
#include "runtime/trace.h"

namespace brindle::runtime {
namespace mm = memory_map;
namespace {

constexpr uint8_t kRet = 0xC3;
constexpr uint8_t kHlt = 0xF4;
constexpr uint32_t kStackSlack = 16;  // left free above each stack's first push
constexpr size_t kMaxRoutineArguments = 16;

std::string duration_text(std::chrono::milliseconds d) {
    return d.count() % 1000 == 0 ? std::to_string(d.count() / 1000) + " s" : std::to_string(d.count()) + " ms";
}

}  // namespace

Result<std::unique_ptr<Kernel>> Kernel::create(Ui& ui) {
    BRINDLE_TRY(auto machine, Machine::create());
    std::unique_ptr<Kernel> kernel(new Kernel(std::move(machine), ui));
    BRINDLE_CHECK(kernel->map_kernel_memory());
    BRINDLE_TRY(kernel->time_limit_, routine_time_limit(std::getenv(kTimeScaleVariable)));
    return kernel;
}

Kernel::Kernel(std::unique_ptr<Machine> machine, Ui& ui)
    : machine_(std::move(machine)),
      ui_(ui),
      heap_(*machine_, mm::kHeapBase, mm::kHeapSize, mm::kHeapLimit),
      commands_(*machine_, heap_, ui_),
      services_(*machine_, heap_, commands_, ui_, *this),
      dispatcher_([this](const Event& e) { run_event(e); }) {
    ui_.set_event_sink(&dispatcher_);
}

Kernel::~Kernel() { ui_.set_event_sink(nullptr); }

Result<void> Kernel::map_kernel_memory() {
    Machine& m = *machine_;
    if (auto r = m.map(mm::kKernelPagesBase, mm::kKernelPagesSize, "service table"); !r) return r;
    if (auto r = m.map_growable(mm::kHeapBase, mm::kHeapSize, mm::kHeapLimit, "heap"); !r) return r;
    if (auto r = m.map(mm::kEntryStackBase, mm::kStackSize, "entry stack"); !r) return r;
    if (auto r = m.map(mm::kEventStackBase, mm::kStackSize, "event stack"); !r) return r;
    // Each table entry points at its own stub, a lone `ret` that runs after the hook has done the work.
    for (uint32_t entry = 0; entry < abi::service::kTableSize; entry += abi::service::kEntrySize) {
        const uint32_t stub_address = mm::kStubBase + abi::service::index(entry) * mm::kStubStride;
        (void)m.write_u32(mm::kServiceTableBase + entry, stub_address);
        const uint8_t stub[mm::kStubStride] = {kRet, kHlt, kHlt, kHlt};
        (void)m.write(stub_address, stub);
    }
    const uint8_t sentinel[] = {kHlt};
    (void)m.write(mm::kSentinel, sentinel);
    return m.hook_code(mm::kStubBase, mm::kStubBase + abi::service::kEntryCount * mm::kStubStride,
                       [this](uint32_t address) {
                           uint32_t slot = address - mm::kStubBase;
                           if (slot % mm::kStubStride != 0) return;
                           const uint32_t entry = slot / mm::kStubStride * abi::service::kEntrySize;
                           if (trace::on(trace::kServices)) trace::write(service_call_line(*machine_, entry));
                           services_.call(entry);
                       });
}

Result<void> Kernel::load(const ProgramParts& parts, const LoadLayout& layout) {
    if (loaded_) return fail("a program is already loaded");
    BRINDLE_TRY(auto program, place_program(*machine_, parts, layout));
    program_ = std::move(program);
    loaded_ = true;
    heap_.ignore_range(program_.const_base, program_.const_base + program_.const_size);
    return relocate_program(*machine_, program_, parts.relocations, mm::kServiceTableBase);
}

Result<void> Kernel::emulate(uint32_t address) {
    heap_.begin_owner();
    stopped_.reset();
    auto r = machine_->run(address, mm::kSentinel, time_limit_);
    if (!r) {
        if (!ended_) fatal(r.error().message);
        return std::unexpected(r.error());
    }
    if (*r == Machine::RunEnd::TimeSpent)
        stopped_ = "ran for " + duration_text(time_limit_) + " of processor time without finishing (stopped at " +
                   hex(machine_->reg(Reg::Eip)) + ")";
    if (*r == Machine::RunEnd::Halted) stopped_ = "halted the processor (at " + hex(machine_->reg(Reg::Eip)) + ")";
    if (!stopped_ || ended_) return {};
    // What the stopped routine obtained can never be released by it.
    heap_.release_owned();
    if (!in_event_) {
        std::string message = "The program was stopped: its entry routine " + *stopped_ + ".";
        fatal(message);
        return fail(message);
    }
    std::string message = "This action was stopped: its routine " + *stopped_ + ".";
    report(message + " The program goes on, and what you typed is kept.");
    return fail(message);
}

void Kernel::stop_routine(std::string reason) {
    stopped_ = std::move(reason);
    machine_->stop();
}

void Kernel::out_of_memory(uint32_t size) {
    stop_routine("needs a block of " + std::to_string(size) + " bytes, and the " +
                 std::to_string(mm::kHeapLimit >> 20) + " MiB that texts may take are full");
}

Result<void> Kernel::run() {
    if (!loaded_ || !program_.relocated) return fail("no program is loaded");
    if (ended_) return fail("the program has already ended");
    uint32_t esp = mm::kEntryStackBase + mm::kStackSize - kStackSlack - 4;
    (void)machine_->write_u32(esp, mm::kSentinel);
    machine_->set_reg(Reg::Esp, esp);
    uint32_t start = program_.entry_address();
    while (!ended_) {
        dispatcher_.set_busy(true);
        (void)emulate(start);
        dispatcher_.set_busy(false);
        if (ended_ || !parked_) break;  // an entry routine that simply returns ends the program too
        parked_ = false;
        // Events raised while the entry routine ran (a window's creation) run first, in order.
        dispatcher_.drain();
        if (!ended_) ui_.run_event_loop();
        if (ended_) break;
        machine_->set_reg(Reg::Esp, resume_esp_);
        machine_->set_reg(Reg::Ebx, resume_ebx_);
        machine_->set_reg(Reg::Esi, resume_esi_);
        machine_->set_reg(Reg::Edi, resume_edi_);
        machine_->set_reg(Reg::Ebp, resume_ebp_);
        machine_->set_reg(Reg::Eax, 0);
        start = resume_eip_;
    }
    ended_ = true;
    dispatcher_.stop();
    if (fatal_fault_) return fail(*fatal_fault_);
    return {};
}

Result<uint32_t> Kernel::call_routine(uint32_t address, std::span<const uint32_t> arguments) {
    if (!loaded_ || !program_.relocated) return fail("no program is loaded");
    if (ended_) return fail("the program has ended");
    if (arguments.size() > kMaxRoutineArguments)
        return fail("a routine takes at most " + std::to_string(kMaxRoutineArguments) + " arguments, not " +
                    std::to_string(arguments.size()));
    uint32_t esp = mm::kEventStackBase + mm::kStackSize - kStackSlack - 4 * uint32_t(arguments.size() + 1);
    for (size_t i = 0; i < arguments.size(); ++i) (void)machine_->write_u32(esp + 4 + 4 * uint32_t(i), arguments[i]);
    (void)machine_->write_u32(esp, mm::kSentinel);
    machine_->set_reg(Reg::Esp, esp);
    in_event_ = true;
    auto r = emulate(address);
    in_event_ = false;
    if (fatal_fault_) return fail(*fatal_fault_);
    if (!r) return std::unexpected(r.error());
    return machine_->reg(Reg::Eax);
}

void Kernel::run_event(const Event& event) {
    if (ended_) return;
    stopped_.reset();
    if (event.routine_offset >= program_.code_size) {
        fatal("event routine at code offset " + std::to_string(event.routine_offset) + " lies outside the code");
        return;
    }
    if (trace::on(trace::kEvents)) trace::write(trace::event_line(event));
    auto r = call_routine(program_.code_address(event.routine_offset), event.arguments);
    if (!r && !ended_ && !stopped_) report("event not run: " + r.error().message);
}

void Kernel::end_program() {
    ended_ = true;
    dispatcher_.stop();
    ui_.quit_event_loop();
    machine_->stop();
}

void Kernel::fatal(std::string message) {
    if (ended_) return;
    report(message);
    fatal_fault_ = std::move(message);
    end_program();
}

void Kernel::report(std::string message) {
    faults_.push_back(message);
    ui_.report_fault(message);
}

void Kernel::park_for_event_loop(uint32_t resume_eip, uint32_t resume_esp) {
    if (in_event_) return fatal("the event loop was asked for by an event routine");
    if (parked_) return fatal("the event loop is already running");
    parked_ = true;
    resume_eip_ = resume_eip;
    resume_esp_ = resume_esp;
    resume_ebx_ = machine_->reg(Reg::Ebx);
    resume_esi_ = machine_->reg(Reg::Esi);
    resume_edi_ = machine_->reg(Reg::Edi);
    resume_ebp_ = machine_->reg(Reg::Ebp);
    machine_->stop();
}

void Kernel::accept_routine(uint32_t selector, uint32_t address) {
    if (selector != abi::kAcceptRoutineSelector)
        return report("accept routine: unknown selector " + std::to_string(selector) + " (ignored)");
    accepted_routine_ = address;
}

}  // namespace brindle::runtime
