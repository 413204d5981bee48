// The emitted bytes, read back with Capstone: where relocated and listed operands lie, the thunks,
// the entry routine, constants, and the exact form of a command call.
#include <capstone/capstone.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <set>
#include <string>

#include "codegen/program.h"
#include "image/kernel_abi.h"

namespace brindle::codegen {
namespace {

using image::ConstantPool;
using image::ReferenceList;
using image::Relocation;
using image::RelocKind;

constexpr uint32_t kMainWindow = 0x52010001;
constexpr Control kWindowElement{kMainWindow, 0x06010000};
constexpr Control kInput{kMainWindow, 0x16010010};
constexpr Control kOutput{kMainWindow, 0x16010011};
constexpr Control kCombo{kMainWindow, 0x16010012};
constexpr MenuRef kMenu{kMainWindow, 0x2601014D};

// Capstone's way of writing a number: decimal up to 9, hexadecimal above.
std::string hex(uint32_t v) {
    char buf[16];
    std::snprintf(buf, sizeof buf, v > 9 ? "0x%x" : "%u", v);
    return buf;
}

struct Insn {
    uint32_t address, size;
    std::string mnemonic, operands;
    uint32_t four_byte_operand;  // where its 4-byte immediate or displacement starts; 0 for none
};

std::map<uint32_t, Insn> disassemble(const Bytes& code) {
    csh h;
    EXPECT_EQ(cs_open(CS_ARCH_X86, CS_MODE_32, &h), CS_ERR_OK);
    cs_option(h, CS_OPT_DETAIL, CS_OPT_ON);
    cs_insn* insn = nullptr;
    size_t n = cs_disasm(h, code.data(), code.size(), 0, 0, &insn);
    std::map<uint32_t, Insn> out;
    uint32_t covered = 0;
    for (size_t i = 0; i < n; ++i) {
        const cs_x86_encoding& e = insn[i].detail->x86.encoding;
        uint32_t at = uint32_t(insn[i].address);
        uint32_t operand = e.imm_size == 4 ? at + e.imm_offset : e.disp_size == 4 ? at + e.disp_offset : 0;
        out[at] = {at, insn[i].size, insn[i].mnemonic, insn[i].op_str, operand};
        covered += insn[i].size;
    }
    EXPECT_EQ(covered, code.size()) << "the code disassembles end to end";
    cs_free(insn, n);
    cs_close(&h);
    return out;
}

// The instruction whose 4-byte immediate or displacement starts at `offset`.
const Insn* owner(const std::map<uint32_t, Insn>& insns, uint32_t offset) {
    auto it = insns.upper_bound(offset);
    if (it == insns.begin()) return nullptr;
    --it;
    return it->second.four_byte_operand == offset ? &it->second : nullptr;
}

// A program that uses every operation the builder offers.
EmittedCode build_everything(ConstantPool& pool, std::map<std::string, uint32_t>* offsets = nullptr) {
    Program p(pool, kMainWindow);
    IntVar flag = p.global_int();
    uint32_t build = p.add_routine("build", [&](Routine& r) {
        TextVar piece = r.text_var();
        FloatVar len = r.float_var();
        DoubleVar twice = r.double_var();
        RecordVar rec = r.record_var({FieldType::Text, FieldType::Int});
        r.set(piece, r.read_text(kInput));
        r.set(len, r.narrow(r.to_number(piece)));
        r.set(twice, r.widen(len) * 2.0);
        r.set(r.text_field(rec, 0), r.to_text(twice));
        r.set(r.int_field(rec, 1), r.truncate(twice));
        r.if_(r.is_empty(piece) && r.read_selection(kCombo) == 2,
              [&] { r.message_box("请选择样式。", abi::style::kPlain); },
              [&] { r.message_box("x", abi::style::kWarning, "标题"); });
        r.if_(flag == 0, [&] { r.set(flag, 1); });
        r.write_text(kOutput, r.concat({"{dede:list row='", piece, "' titlelen='", r.to_text(r.to_int(r.read_text(kInput))), "'}"}));
        r.set_clipboard(r.to_text(len));
        r.write_int(kCombo, abi::property::kSelection, r.to_int(r.to_text(piece)));
    });
    uint32_t tray = p.add_routine("tray", [&](Routine& r) {
        r.if_(r.argument(0) == 1, [&] { r.set_visible(kWindowElement, true); },
              [&] { r.if_(r.argument(0) == 3, [&] { r.pop_up_menu(kWindowElement, kMenu); }); });
    }, 1);
    uint32_t created = p.add_routine("created", [&](Routine& r) {
        static const uint8_t icon[] = {0, 0, 1, 0};
        r.place_tray_icon(kWindowElement, icon, "Brindle");
        r.close_window(kWindowElement);
        r.open_web_address("http://bbs.example/");
    });
    if (offsets) *offsets = {{"build", build}, {"tray", tray}, {"created", created}};
    auto code = p.finish();
    EXPECT_TRUE(code.has_value()) << (code ? "" : code.error().describe());
    return code ? *code : EmittedCode{};
}

TEST(EmitCode, EveryRelocatedOrListedOperandEndsAPushMovOrFloatingPointInstruction) {
    ConstantPool pool;
    EmittedCode code = build_everything(pool);
    auto insns = disassemble(code.code);
    auto operand = [&](uint32_t at) { return load_u32le(code.code.data() + at); };

    std::map<RelocKind, int> kinds;
    for (const auto& r : code.relocations) {
        const Insn* insn = owner(insns, r.offset);
        ASSERT_NE(insn, nullptr) << "relocation at " << r.offset << " is not an instruction's 4-byte operand";
        ++kinds[r.kind];
        const std::string& m = insn->mnemonic;
        switch (r.kind) {
        case RelocKind::Service:
            EXPECT_EQ(m + " " + insn->operands, "jmp dword ptr [" + hex(operand(r.offset)) + "]");
            EXPECT_EQ(operand(r.offset) % 4, 0u);
            EXPECT_LT(operand(r.offset), abi::service::kTableSize);
            break;
        case RelocKind::Const:
            EXPECT_TRUE(m == "push" || m == "mov" || m[0] == 'f') << m;
            EXPECT_LT(operand(r.offset), pool.data().size());
            break;
        case RelocKind::Var:
            EXPECT_TRUE(m == "push" || m == "mov") << m;
            EXPECT_EQ(operand(r.offset), 0u);
            break;
        case RelocKind::Code:
            EXPECT_EQ(m, "push");
            EXPECT_EQ(operand(r.offset), code.empty_routine_offset);
            break;
        }
    }
    EXPECT_EQ(kinds[RelocKind::Code], 1);
    EXPECT_GT(kinds[RelocKind::Var], 0);
    EXPECT_GT(kinds[RelocKind::Const], 0);

    for (size_t list = 0; list < 4; ++list) {
        EXPECT_TRUE(std::is_sorted(code.references[list].begin(), code.references[list].end()));
        for (uint32_t at : code.references[list]) {
            const Insn* insn = owner(insns, at);
            ASSERT_NE(insn, nullptr) << "list " << list + 1 << " entry at " << at;
            EXPECT_TRUE(insn->mnemonic == "push" || insn->mnemonic == "mov") << insn->mnemonic;
        }
    }
    std::set<uint32_t> tops, libraries, kind_codes;
    for (uint32_t at : code.references[0]) tops.insert(operand(at) >> 24);
    for (uint32_t at : code.references[2]) libraries.insert(operand(at));
    for (uint32_t at : code.references[3]) kind_codes.insert(operand(at));
    EXPECT_EQ(tops, (std::set<uint32_t>{0x06, 0x16, 0x26, 0x52}));
    EXPECT_TRUE(code.references[1].empty());
    EXPECT_EQ(libraries, std::set<uint32_t>{abi::kBrowserLibrary});
    EXPECT_EQ(kind_codes, (std::set<uint32_t>{abi::tag::kWindowRef, abi::tag::kMenuRef}));
    EXPECT_EQ(code.var_size, 4u);
}

TEST(EmitCode, ThunksCloseTheSectionOnePerServiceUsedAndTheEntryRoutineCallsThemInOrder) {
    ConstantPool pool;
    EmittedCode code = build_everything(pool);
    auto insns = disassemble(code.code);

    // The tail: one 6-byte `jmp [entry]` per service, ascending, nothing after.
    std::map<uint32_t, uint32_t> thunk_entry;  // thunk offset -> service entry
    for (const auto& r : code.relocations)
        if (r.kind == RelocKind::Service) thunk_entry[r.offset - 2] = load_u32le(code.code.data() + r.offset);
    const uint32_t used[] = {0x0C, 0x08, 0x10, 0x14, 0x18, 0x20, 0x24, 0x28, 0x2C, 0x30};
    ASSERT_EQ(thunk_entry.size(), std::size(used));
    uint32_t first_thunk = thunk_entry.begin()->first;
    EXPECT_EQ(first_thunk + 6 * thunk_entry.size(), code.code.size());
    uint32_t previous = 0;
    for (auto [at, entry] : thunk_entry) {
        EXPECT_EQ((at - first_thunk) % 6, 0u);
        if (at != first_thunk) {
            EXPECT_GT(entry, previous);
        }
        previous = entry;
    }

    // init and the empty routine are lone returns; the entry routine runs up to the thunks.
    EXPECT_EQ(code.code[code.init_offset], 0xC3);
    EXPECT_EQ(code.empty_routine_offset, code.init_offset + 1);
    EXPECT_EQ(code.code[code.empty_routine_offset], 0xC3);
    EXPECT_EQ(code.entry_offset, code.empty_routine_offset + 1);
    std::string listing;
    for (auto it = insns.find(code.entry_offset); it != insns.end() && it->first < first_thunk; ++it) {
        std::string line = it->second.mnemonic;
        if (line == "call") {
            uint32_t target = std::stoul(it->second.operands, nullptr, 16);
            line += target == code.init_offset ? " init" : " service " + hex(thunk_entry.at(target));
        } else if (!it->second.operands.empty()) {
            line += " " + it->second.operands;
        }
        listing += line + "\n";
    }
    EXPECT_EQ(listing, "cld\nfninit\ncall init\nmov eax, 3\npush " + hex(code.empty_routine_offset) +
                           "\ncall service 0x30\nadd esp, 4\npush 0x52010001\ncall service 0x2c\nadd esp, 4\n"
                           "push 0\ncall service 0x28\ncall service 0x24\n");
}

// Bytes with holes: -1 stands for a byte of a call's displacement.
using Pattern = std::vector<int>;
Pattern operator+(Pattern a, const Pattern& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}
Pattern le(uint32_t v) { return {int(v & 0xFF), int(v >> 8 & 0xFF), int(v >> 16 & 0xFF), int(v >> 24)}; }
const Pattern kCall = {0xE8, -1, -1, -1, -1};
const Pattern kEpilogue = {0x89, 0xEC, 0x5D, 0xC3};  // mov esp, ebp; pop ebp; ret
// The frame, then a jump to the block that zeroes the variables (it follows the epilogue).
Pattern prologue(uint32_t locals) { return Pattern{0x55, 0x89, 0xE5, 0x81, 0xEC} + le(locals) + Pattern{0xE9, -1, -1, -1, -1}; }
const Pattern kZeroing = {0x31, 0xC0};  // xor eax, eax: the start of that block

std::string mismatch(const Bytes& code, uint32_t at, const Pattern& pattern) {
    if (code.size() < at + pattern.size()) return "code too short";
    for (size_t i = 0; i < pattern.size(); ++i)
        if (pattern[i] >= 0 && code[at + i] != pattern[i])
            return "byte " + std::to_string(i) + " is " + hex(code[at + i]) + ", not " + hex(pattern[i]);
    return "";
}

TEST(EmitCode, CommandCallsAndPropertyAccessAreEmittedExactly) {
    ConstantPool pool;
    pool.add_text("first");
    Program p(pool, kMainWindow);
    uint32_t command = p.add_routine("copy", [](Routine& r) { r.command(abi::command::kSetClipboardText, {"x", 7}); });
    uint32_t copy = p.add_routine("store", [](Routine& r) { r.write_text(kOutput, r.read_text(kInput)); });
    auto code = p.finish();
    ASSERT_TRUE(code) << code.error().describe();

    Pattern command_bytes = prologue(0) +
        Pattern{0x68, 0x01, 0x03, 0x00, 0x80, 0x6A, 0x00, 0x6A, 0x07} +          // integer 7: tag, high, value
        Pattern{0x68, 0x04, 0x00, 0x00, 0x80, 0x6A, 0x00, 0x68, 6, 0, 0, 0} +  // text "x" at constant offset 6
        Pattern{0x6A, 0x02} +                                                  // two arguments
        Pattern{0xBB, 0xC8, 0x02, 0x00, 0x00} + kCall +                        // command number, thunk 0x0C
        Pattern{0x83, 0xC4, 0x1C} + kEpilogue + kZeroing;                      // 4 × (1 + 3 × 2)
    EXPECT_EQ(mismatch(code->code, command, command_bytes), "");
    EXPECT_EQ(code->relocations.front(), (Relocation{RelocKind::Const, command + 31}));
    EXPECT_EQ(pool.data(), (Bytes{'f', 'i', 'r', 's', 't', 0, 'x', 0}));

    Pattern ids = Pattern{0x68} + le(kInput.element_id) + Pattern{0x68} + le(kMainWindow);
    Pattern out_ids = Pattern{0x68} + le(kOutput.element_id) + Pattern{0x68} + le(kMainWindow);
    Pattern copy_bytes = prologue(4) +
        Pattern{0x6A, 0xFF, 0x6A, 0x08} + ids + kCall + Pattern{0x83, 0xC4, 0x10, 0x89, 0x45, 0xFC} +  // read into [ebp-4]
        Pattern{0x6A, 0x00, 0xFF, 0x75, 0xFC, 0x6A, 0xFF, 0x6A, 0x08} + out_ids + kCall + Pattern{0x83, 0xC4, 0x18} +
        Pattern{0x8B, 0x45, 0xFC, 0x85, 0xC0, 0x0F, 0x84} + le(9) + Pattern{0x50} + kCall +  // released unless null
        Pattern{0x83, 0xC4, 0x04} + kEpilogue + kZeroing;
    EXPECT_EQ(mismatch(code->code, copy, copy_bytes), "");
    std::vector<uint32_t> expected_ids = {copy + 19, copy + 24, copy + 49, copy + 54};
    std::vector<uint32_t> listed(code->references[0].begin(), code->references[0].end() - 1);  // the last: the entry routine's
    EXPECT_EQ(listed, expected_ids);
}

TEST(EmitCode, ConstantsAreStoredOnceInTheOrderTheCodeFirstPushesThem) {
    ConstantPool pool;
    Program p(pool, kMainWindow);
    p.add_routine("a", [](Routine& r) {
        r.message_box("B", 0, "A");  // pushed last argument first: "A" before "B"
        r.write_text(kOutput, r.concat({"C", "", "A"}));
        r.write_text(kOutput, "");
        r.set_clipboard(r.read_text(kInput));  // null replaced by the one empty text
    });
    ASSERT_TRUE(p.finish());
    EXPECT_EQ(pool.data(), (Bytes{'A', 0, 'B', 0, 0, 'C', 0}));
}

TEST(EmitCode, MisuseIsReportedByFinish) {
    auto error_of = [](const std::function<void(Routine&)>& body) {
        ConstantPool pool;
        Program p(pool, kMainWindow);
        p.add_routine("r", body);
        auto code = p.finish();
        return code ? std::string() : code.error().message;
    };
    // A text lives until its scope ends: reused, unused, read in an inner branch, or left by a return.
    EXPECT_EQ(error_of([](Routine& r) {
                  Text t = r.read_text(kInput);
                  r.read_text(kOutput);
                  r.if_(r.read_checked(kCombo) != 0, [&] { r.write_text(kOutput, t); });
                  r.if_(r.is_empty(t), [&] { r.return_(); });
                  r.write_text(kOutput, t);
                  TextVar late = r.text_var();  // declared where it is first needed
                  r.set(late, t);
              }),
              "");
    EXPECT_NE(error_of([](Routine& r) {
                  Text t = r.read_text(kInput);
                  TextVar v = r.text_var();
                  r.set(v, t);
                  r.write_text(kOutput, t);
              }).find("handed to a variable is used again"), std::string::npos);
    EXPECT_NE(error_of([](Routine& r) {
                  Text t;
                  r.if_(r.read_checked(kCombo) != 0, [&] { t = r.read_text(kInput); });
                  r.write_text(kOutput, t);
              }).find("used after the branch ended"), std::string::npos);
    EXPECT_NE(error_of([](Routine& r) { r.write_text(kOutput, "\xF0\x9F\x98\x80"); }).find("GBK"), std::string::npos);

    ConstantPool pool;
    Program p(pool, kMainWindow);
    Int kept;
    p.add_routine("a", [&](Routine& r) { kept = r.read_selection(kCombo); });
    p.add_routine("b", [&](Routine& r) { r.write_int(kCombo, abi::property::kSelection, kept); });
    auto code = p.finish();
    ASSERT_FALSE(code);
    EXPECT_EQ(code.error().message, "routine b: a value of another routine is used here");
}

}  // namespace
}  // namespace brindle::codegen
