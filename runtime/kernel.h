#pragma once
// The runtime kernel: an emulated machine holding the program, the service table and its stubs, the
// heap, the commands and the event dispatch, tied together.
#include <chrono>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "common/result.h"
#include "runtime/commands.h"
#include "runtime/event_dispatch.h"
#include "runtime/heap.h"
#include "runtime/loader.h"
#include "runtime/machine.h"
#include "runtime/routine_budget.h"
#include "runtime/services.h"
#include "runtime/ui.h"

namespace brindle::runtime {

class Kernel : private ProgramControl {
public:
    // Maps the service table, its stubs, the sentinel, the heap and the stacks.
    static Result<std::unique_ptr<Kernel>> create(Ui& ui);
    ~Kernel() override;

    // Places the program and applies its relocation records.
    Result<void> load(const ProgramParts& parts, const LoadLayout& layout = {});

    // Runs the entry routine; when it asks for the event loop, runs the UI's loop (events run their
    // routines meanwhile), then lets the entry routine finish. Returns when the program has ended; an
    // error when a fault ended it.
    Result<void> run();

    // Runs one routine as an event does: arguments pushed first (the first nearest), a fresh stack, to
    // completion. Returns eax.
    Result<uint32_t> call_routine(uint32_t address, std::span<const uint32_t> arguments = {});
    void set_routine_time_limit(std::chrono::milliseconds limit) { time_limit_ = limit; }

    // edx of the last routine run (the high half of a 64-bit result).
    uint32_t last_edx() { return machine_->reg(Reg::Edx); }

    Machine& machine() { return *machine_; }
    Heap& heap() { return heap_; }
    EventDispatcher& dispatcher() { return dispatcher_; }
    const LoadedProgram& program() const { return program_; }
    bool ended() const { return ended_; }
    const std::vector<std::string>& faults() const { return faults_; }
    std::optional<uint32_t> accepted_routine() const { return accepted_routine_; }

private:
    Kernel(std::unique_ptr<Machine> machine, Ui& ui);
    Result<void> map_kernel_memory();
    void run_event(const Event& event);
    // Starts emulation at address with the stack at esp (already holding the sentinel return address).
    // A routine stopped for its time or for want of memory is reported and its blocks released; an
    // event routine's stop leaves the program running, the entry routine's ends it.
    Result<void> emulate(uint32_t address);
    void stop_routine(std::string reason);

    void end_program() override;
    void fatal(std::string message) override;
    void report(std::string message) override;
    void out_of_memory(uint32_t size) override;
    void park_for_event_loop(uint32_t resume_eip, uint32_t resume_esp) override;
    void accept_routine(uint32_t selector, uint32_t address) override;

    std::unique_ptr<Machine> machine_;
    Ui& ui_;
    Heap heap_;
    Commands commands_;
    Services services_;
    EventDispatcher dispatcher_;
    LoadedProgram program_;
    bool loaded_ = false;

    bool ended_ = false;
    bool in_event_ = false;
    bool parked_ = false;
    std::chrono::milliseconds time_limit_ = kRoutineTimeLimit;  // scaled by create()
    std::optional<std::string> stopped_;  // why the running routine was stopped
    uint32_t resume_eip_ = 0, resume_esp_ = 0;
    // The entry routine's callee-saved registers, which event routines reuse while it is parked.
    uint32_t resume_ebx_ = 0, resume_esi_ = 0, resume_edi_ = 0, resume_ebp_ = 0;
    std::optional<uint32_t> accepted_routine_;
    std::vector<std::string> faults_;
    std::optional<std::string> fatal_fault_;
};

}  // namespace brindle::runtime
