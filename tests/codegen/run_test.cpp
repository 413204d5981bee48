// Emitted routines and helpers run in Unicorn against a stand-in for the kernel's services.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstring>

#include "image/kernel_abi.h"
#include "tests/codegen/harness.h"

namespace brindle::codegen {
namespace {

using harness::Harness;
using image::ConstantPool;

constexpr uint32_t kMainWindow = 0x52010001;
constexpr Control kWindowElement{kMainWindow, 0x06010000};
constexpr Control kA{kMainWindow, 0x16010001};
constexpr Control kB{kMainWindow, 0x16010002};
constexpr Control kC{kMainWindow, 0x16010003};
constexpr Control kOut{kMainWindow, 0x16010009};
constexpr MenuRef kMenu{kMainWindow, 0x2601014D};

// One program, one routine; the harness over it.
struct Emulated {
    explicit Emulated(const std::function<void(Routine&)>& body, uint32_t argument_count = 0)
        : Emulated([&](Routine& r, const IntVar&) { body(r); }, argument_count) {}
    Emulated(const std::function<void(Routine&, const IntVar& global)>& body, uint32_t argument_count) {
        Program p(pool, kMainWindow);
        IntVar global = p.global_int();
        routine = p.add_routine("under test", [&](Routine& r) { body(r, global); }, argument_count);
        auto emitted = p.finish();
        EXPECT_TRUE(emitted) << emitted.error().describe();
        if (emitted) code = *emitted;
        harness = std::make_unique<Harness>(code, pool);
    }
    bool go(const std::vector<uint32_t>& args = {}) { return harness->run(routine, args); }
    Harness& h() { return *harness; }

    ConstantPool pool;
    EmittedCode code;
    uint32_t routine = 0;
    std::unique_ptr<Harness> harness;
};

int32_t last_int(Harness& h) { return static_cast<int32_t>(h.writes.back().value); }

TEST(EmitRun, TextCompareTreatsNullAsEmptyAndBytesAsUnsigned) {
    Emulated run([](Routine& r) { r.write_int(kOut, 99, r.compare(r.read_text(kA), r.read_text(kB))); });
    struct Case {
        std::optional<std::string> a, b;
        int32_t expected;
    };
    const Case cases[] = {
        {std::nullopt, std::nullopt, 0}, {std::nullopt, "", 0}, {"", std::nullopt, 0},
        {std::nullopt, "a", -1},         {"a", std::nullopt, 1}, {"", "", 0},
        {"abc", "abc", 0},               {"ab", "abc", -1},      {"abc", "ab", 1},
        {"\xB0\xA1", "z", 1},            {"z", "\xB0\xA1", -1},  {"\x7F", "\x80", -1},
    };
    for (const auto& c : cases) {
        run.h().set_text(kA.window_id, kA.element_id, c.a);
        run.h().set_text(kB.window_id, kB.element_id, c.b);
        ASSERT_TRUE(run.go());
        EXPECT_EQ(last_int(run.h()), c.expected) << c.a.value_or("<null>") << " vs " << c.b.value_or("<null>");
        EXPECT_TRUE(run.h().live.empty());
        EXPECT_EQ(run.h().bad_releases, 0);
    }
}

TEST(EmitRun, ConcatenationSkipsNullPartsAndEveryObtainedTextIsReleased) {
    Emulated run([](Routine& r) { r.write_text(kOut, r.concat({r.read_text(kA), r.read_text(kB), "-", r.read_text(kC)})); });
    run.h().set_text(kA.window_id, kA.element_id, std::nullopt);
    run.h().set_text(kB.window_id, kB.element_id, "\xCE\xC4\xD5\xC2");
    run.h().set_text(kC.window_id, kC.element_id, std::nullopt);
    ASSERT_TRUE(run.go());
    ASSERT_EQ(run.h().writes.size(), 1u);
    const auto& w = run.h().writes[0];
    EXPECT_EQ(std::tie(w.window, w.control, w.property, w.minus_one, w.high),
              std::tie(kOut.window_id, kOut.element_id, abi::property::kText, static_cast<const uint32_t&>(0xFFFFFFFFu), static_cast<const uint32_t&>(0u)));
    EXPECT_EQ(w.text, "\xCE\xC4\xD5\xC2-");
    EXPECT_TRUE(run.h().live.empty()) << "the read text and the joined text are both released";
    EXPECT_EQ(run.h().bad_releases, 0);
    EXPECT_EQ(run.h().esp_after, harness::kStackTop - 0x100);
}

// The parts are copied in words with a byte tail: every length 0..9 at every source and destination
// alignment (the constants lie packed at all offsets, the read text shifts what follows), against
// plain string joining, and not a byte written past the terminator.
TEST(EmitRun, ConcatenationCopiesEveryLengthAtEveryAlignment) {
    const std::string digits = "0123456789";
    std::vector<std::string> constants;
    for (size_t n = 0; n <= 9; ++n) constants.push_back(digits.substr(0, n));
    Emulated run([&](Routine& r) {
        TextVar a = r.text_var();
        r.set(a, r.read_text(kA));
        std::vector<TextArg> parts;
        for (const std::string& c : constants) {
            parts.emplace_back(a);
            parts.emplace_back(c);
            parts.emplace_back(r.read_text(kB));  // null: counts as empty
        }
        r.write_text(kOut, r.concat(parts));
    });
    for (size_t length = 0; length <= 9; ++length) {
        const std::string typed = std::string("abcdefghi").substr(0, length);
        run.h().set_text(kA.window_id, kA.element_id, typed);
        run.h().set_text(kB.window_id, kB.element_id, std::nullopt);
        ASSERT_TRUE(run.go()) << length;
        std::string expected;
        for (const std::string& c : constants) expected += typed + c;
        const auto& w = run.h().writes.back();
        EXPECT_EQ(w.text, expected) << "typed length " << length;
        const uint32_t past = w.value + static_cast<uint32_t>(expected.size()) + 1;
        for (uint32_t at = past; at < ((past + 7) & ~7u); ++at)
            EXPECT_EQ(run.h().read_u32(at) & 0xFF, 0u) << "a byte written past the block at typed length " << length;
        EXPECT_TRUE(run.h().live.empty());
    }
}

TEST(EmitRun, TextsLiveUntilTheirScopeEndsAndAreReleasedOnceOnEveryPath) {
    Emulated run([](Routine& r) {
        Text a = r.read_text(kA);
        r.if_(r.is_empty(a), [&] {
            r.write_text(kOut, r.concat({"empty ", r.read_text(kB)}));
            r.return_();
        });
        TextVar kept = r.text_var();
        r.if_(r.compare(a, "x") == 0, [&] { r.set(kept, a); });  // an outer text: the variable copies it
        r.set(kept, r.concat({kept, a, r.read_text(kC)}));
        r.write_text(kOut, kept);
    });
    run.h().set_text(kB.window_id, kB.element_id, "b");
    run.h().set_text(kC.window_id, kC.element_id, "c");
    const std::pair<std::optional<std::string>, std::string> cases[] = {{std::nullopt, "empty b"}, {"x", "xxc"}, {"y", "yc"}};
    for (const auto& [input, expected] : cases) {
        run.h().set_text(kA.window_id, kA.element_id, input);
        ASSERT_TRUE(run.go());
        EXPECT_EQ(run.h().writes.back().text, expected);
        EXPECT_TRUE(run.h().live.empty()) << input.value_or("<null>");
        EXPECT_EQ(run.h().bad_releases, 0);
    }
}

TEST(EmitRun, FloatToIntegerTruncatesTowardZeroAndRestoresTheRoundingMode) {
    Emulated run([](Routine& r) {
        Double d = r.to_number(r.read_text(kA));
        r.write_int(kOut, 99, r.truncate(d));
        r.write_int(kOut, 98, r.truncate(r.narrow(d)));
    });
    run.h().on_command = [](const harness::CommandCall& call) {
        return harness::CommandResult{std::bit_cast<uint64_t>(std::stod(call.args.at(0).text.value())), {}};
    };
    const std::pair<const char*, int32_t> cases[] = {{"-2.7", -2}, {"2.7", 2}, {"-0.5", 0}, {"-3", -3}, {"1e9", 1000000000}};
    for (auto [text, expected] : cases) {
        run.h().set_text(kA.window_id, kA.element_id, text);
        uint32_t nearest_even = 0x037F;
        uc_reg_write(run.h().uc(), UC_X86_REG_FPCW, &nearest_even);
        ASSERT_TRUE(run.go());
        uint32_t cw = 0;
        uc_reg_read(run.h().uc(), UC_X86_REG_FPCW, &cw);
        EXPECT_EQ(cw & 0xFFFF, 0x037Fu);
        ASSERT_GE(run.h().writes.size(), 2u);
        EXPECT_EQ(static_cast<int32_t>(run.h().writes[run.h().writes.size() - 2].value), expected) << text;
        EXPECT_EQ(last_int(run.h()), expected) << text << " as a float";
    }
}

TEST(EmitRun, CommandsGetTheirArgumentBlocksWithNullTextsReplacedAndResultsKept) {
    static const uint8_t icon[] = {1, 2, 3};
    Emulated run([](Routine& r) {
        r.message_box(r.read_text(kA), abi::style::kInformation);
        r.place_tray_icon(kWindowElement, icon, "Brindle");
        r.pop_up_menu(kWindowElement, kMenu);
        r.open_web_address("http://x/");
        Double n = r.to_number("15");
        r.set_clipboard(r.to_text(n * 2.0));
    });
    run.h().on_command = [](const harness::CommandCall& call) {
        return harness::CommandResult{call.number == abi::command::kToNumber ? std::bit_cast<uint64_t>(15.0) : 0, {}};
    };
    ASSERT_TRUE(run.go());
    auto& calls = run.h().commands;
    ASSERT_EQ(calls.size(), 7u);
    using harness::Triple;
    auto triples = [](const harness::CommandCall& c) {
        std::vector<std::tuple<uint32_t, uint32_t, uint32_t>> out;
        for (const Triple& t : c.args) out.emplace_back(t.value, t.high, t.tag);
        return out;
    };
    uint32_t empty = harness::kConstBase + run.pool.add_text("");
    EXPECT_EQ(calls[0].number, abi::command::kMessageBox);
    EXPECT_EQ(triples(calls[0]), (std::vector<std::tuple<uint32_t, uint32_t, uint32_t>>{
                                     {empty, 0, abi::tag::kText}, {0x40, 0, abi::tag::kInteger}, {0, 0, 0}}));
    EXPECT_EQ(calls[1].number, abi::command::kPlaceTrayIcon);
    EXPECT_EQ(std::get<0>(triples(calls[1])[0]), kMainWindow);
    EXPECT_EQ(std::get<1>(triples(calls[1])[0]), kWindowElement.element_id);
    EXPECT_EQ(std::get<2>(triples(calls[1])[0]), abi::tag::kWindowRef);
    EXPECT_EQ(std::get<2>(triples(calls[1])[1]), abi::tag::kBytes);
    uint32_t block = calls[1].args[1].value;
    EXPECT_EQ(run.h().read_u32(block), 1u);
    EXPECT_EQ(run.h().read_u32(block + 4), 3u);
    EXPECT_EQ(calls[1].args[2].text, "Brindle");
    EXPECT_EQ(triples(calls[2])[1], std::make_tuple(kMainWindow, kMenu.menu_id, abi::tag::kMenuRef));
    EXPECT_EQ(calls[3].library, abi::kBrowserLibrary);
    EXPECT_EQ(calls[3].number, abi::kOpenWebAddress);
    EXPECT_EQ(calls[3].args[0].text, "http://x/");
    EXPECT_FALSE(calls[0].library);
    uint64_t thirty = std::bit_cast<uint64_t>(30.0);
    EXPECT_EQ(triples(calls[5]), (std::vector<std::tuple<uint32_t, uint32_t, uint32_t>>{
                                     {uint32_t(thirty), uint32_t(thirty >> 32), abi::tag::kDouble}}));
    EXPECT_EQ(calls[5].number, abi::command::kToText);
    EXPECT_EQ(calls[6].number, abi::command::kSetClipboardText);
    EXPECT_TRUE(run.h().live.empty());
}

TEST(EmitRun, TextVariablesReleaseTheOldValueBeforeAStoreAndEverythingAtTheEnd) {
    Emulated run([](Routine& r) {
        TextVar keep = r.text_var();
        TextVar copy = r.text_var();
        TextVar fixed = r.text_var();
        RecordVar rec = r.record_var({FieldType::Int, FieldType::Text});
        r.set(keep, r.read_text(kA));
        r.set(copy, keep);  // a copy of its own
        r.set(keep, r.concat({keep, "!"}));
        r.set(r.text_field(rec, 1), r.read_text(kA));
        r.set(r.int_field(rec, 0), 5);
        r.set(fixed, "constant");
        r.write_text(kOut, r.concat({keep, copy, r.text_field(rec, 1)}));
        r.write_int(kOut, 99, r.int_field(rec, 0));
    });
    run.h().set_text(kA.window_id, kA.element_id, "t");
    ASSERT_TRUE(run.go());
    EXPECT_EQ(run.h().writes.at(0).text, "t!tt");
    EXPECT_EQ(run.h().writes.at(1).value, 5u);
    EXPECT_TRUE(run.h().live.empty()) << run.h().live.size() << " blocks left";
    EXPECT_EQ(run.h().bad_releases, 0);
    EXPECT_EQ(run.h().constant_releases, 1) << "the constant held by a variable is handed to release too";
}

TEST(EmitRun, BranchesArgumentsAndTheGlobalVariable) {
    Emulated run([](Routine& r, const IntVar& global) {
        Int code = r.argument(0);
        r.if_(code == 1, [&] { r.set_visible(kWindowElement, true); },
              [&] { r.if_(code == 3 || code == 4, [&] { r.write_int(kOut, 98, code); }); });
        r.if_(!(code != 7) && global == 0, [&] { r.set(global, 1); });
        r.if_(global > 0, [&] { r.write_int(kOut, 97, global); });
    }, 1);
    auto visible_writes = [&] {
        int n = 0;
        for (const auto& w : run.h().writes) n += w.property == abi::property::kVisible && w.value == 1 && w.control == kWindowElement.element_id;
        return n;
    };
    ASSERT_TRUE(run.go({1}));
    EXPECT_EQ(visible_writes(), 1);
    EXPECT_EQ(run.h().esp_after, harness::kStackTop - 0x100) << "ret 4 removes the argument";
    ASSERT_TRUE(run.go({2}));
    EXPECT_EQ(run.h().writes.size(), 1u);
    ASSERT_TRUE(run.go({4}));
    EXPECT_EQ(run.h().writes.back().property, 98u);
    EXPECT_EQ(run.h().writes.back().value, 4u);
    ASSERT_TRUE(run.go({7}));
    EXPECT_EQ(run.h().writes.back().property, 97u);
    EXPECT_EQ(run.h().read_u32(harness::kVarBase), 1u);
}

TEST(EmitRun, TheEntryRoutineHandsOverTheEmptyRoutineShowsTheWindowAndRunsTheLoop) {
    Emulated run([](Routine& r) { r.write_text(kOut, "x"); });
    ASSERT_TRUE(run.h().run(run.code.entry_offset));
    std::vector<std::pair<uint32_t, uint32_t>> seen;
    for (const auto& [entry, stack] : run.h().services) seen.emplace_back(entry, stack[0]);
    EXPECT_EQ(seen, (std::vector<std::pair<uint32_t, uint32_t>>{
                        {abi::service::kAcceptRoutine, harness::kCodeBase + run.code.empty_routine_offset},
                        {abi::service::kShowWindow, kMainWindow},
                        {abi::service::kEventLoop, 0},
                        {abi::service::kEndProgram, 0}}));
}

}  // namespace
}  // namespace brindle::codegen
