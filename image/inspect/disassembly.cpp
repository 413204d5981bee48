#include "image/inspect/disassembly.h"

#include <capstone/capstone.h>

#include <cstdio>
#include <map>
#include <string>

namespace brindle::inspect {

void print_disassembly(const image::Image& image, std::ostream& out) {
    const ByteView code = image.code();
    if (code.empty()) return;
    // Operand offset -> note, from the records and the lists.
    static constexpr const char* kKinds[] = {"service entry", "constant", "variable", "code"};
    static constexpr const char* kLists[] = {"identifier", "list 2", "library number", "kind code"};
    std::multimap<uint32_t, std::string> notes;
    if (const image::Section* s = image.code_section())
        for (const image::Relocation& r : s->relocations) notes.emplace(r.offset, kKinds[static_cast<int>(r.kind)]);
    for (size_t list = 0; list < image.reference_lists.size(); ++list)
        for (uint32_t offset : image.reference_lists[list]) notes.emplace(offset, kLists[list]);

    csh handle;
    if (cs_open(CS_ARCH_X86, CS_MODE_32, &handle) != CS_ERR_OK) {
        out << "code: disassembler unavailable\n";
        return;
    }
    cs_option(handle, CS_OPT_SKIPDATA, CS_OPT_ON);
    out << "code (" << code.size() << " bytes, entry at " << image.entry_code_offset() << "):\n";
    cs_insn* insn = cs_malloc(handle);
    const uint8_t* at = code.data();
    size_t left = code.size();
    uint64_t address = 0;
    while (cs_disasm_iter(handle, &at, &left, &address, insn)) {
        char where[16];
        std::snprintf(where, sizeof where, "  %06llX  ", static_cast<unsigned long long>(insn->address));
        out << where << insn->mnemonic << (insn->op_str[0] ? " " : "") << insn->op_str;
        const uint32_t begin = static_cast<uint32_t>(insn->address);
        for (auto it = notes.lower_bound(begin); it != notes.end() && it->first < begin + insn->size; ++it)
            out << "  ; " << it->second;
        out << "\n";
    }
    cs_free(insn, 1);
    cs_close(&handle);
}

}  // namespace brindle::inspect
