#pragma once
// The 13 entries of the kernel service table, as routines reach them through their thunks: arguments
// on the stack above the return address, results in eax (and edx).
#include <cstdint>
#include <string>

#include "runtime/commands.h"
#include "runtime/heap.h"
#include "runtime/machine.h"
#include "runtime/ui.h"

namespace brindle::runtime {

// What a service can ask of the program as a whole.
class ProgramControl {
public:
    virtual ~ProgramControl() = default;
    virtual void end_program() = 0;
    // Reports a fault that the program cannot continue from, then ends it.
    virtual void fatal(std::string message) = 0;
    // Reports a fault and lets the routine go on.
    virtual void report(std::string message) = 0;
    // The heap had no room for a block of `size` bytes: the running routine ends, the program goes on.
    virtual void out_of_memory(uint32_t size) = 0;
    // The entry routine asked for the event loop; it resumes at eip with esp when the loop ends.
    virtual void park_for_event_loop(uint32_t resume_eip, uint32_t resume_esp) = 0;
    virtual void accept_routine(uint32_t selector, uint32_t address) = 0;
};

class Services {
public:
    Services(Machine& machine, Heap& heap, Commands& commands, Ui& ui, ProgramControl& control)
        : machine_(machine), heap_(heap), commands_(commands), ui_(ui), control_(control) {}

    // Carries out the service whose table entry (byte offset) was jumped through. The return address
    // is on top of the stack; the stub's own `ret` returns to the caller afterwards.
    void call(uint32_t entry);

private:
    // The i-th 4-byte stack argument (0 = nearest the return address).
    Result<uint32_t> argument(uint32_t i);
    void command(uint32_t entry);
    void read_property();
    void write_property();
    void set_result(uint32_t eax, uint32_t edx = 0);
    // A service failed: for want of heap room only the routine ends, for anything else the program.
    void failed(std::string message);

    Machine& machine_;
    Heap& heap_;
    Commands& commands_;
    Ui& ui_;
    ProgramControl& control_;
};

}  // namespace brindle::runtime
