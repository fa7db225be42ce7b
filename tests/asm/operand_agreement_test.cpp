// The interpreter reads what the assembler writes, operand for operand.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "asm/asm_test_util.h"
#include "engine/command_row.h"
#include "engine/engine.h"
#include "scenario/interp.h"
#include "scenario/scenario.h"
#include "tables/tables.h"

namespace qln {
namespace {

// Positional reads, for comparing the decoder with the assembler.
struct Raw : OperandView {
    explicit Raw(const Args& a) : OperandView(a) {}
    using OperandView::num_at;
    using OperandView::str_at;
    using OperandView::word_at;
};

class OperandAgreement : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(tables_init(engine)); }
    void TearDown() override { scn_end_all(engine, true); }

    void load(const std::string& source) {
        image = test::assemble_ok(source);
        Scenario* s = scn_create(engine, image.data(), uint32_t(image.size()), "t", 0);
        ASSERT_NE(s, nullptr);
        ASSERT_TRUE(scn_start(engine, s, true, true));
    }

    // Reads the next command's operands the way the dispatcher does.
    uint8_t read_command() {
        Scenario& s = *engine.interp.current;
        const uint8_t byte = s.code[s.pc++];
        args_read(engine, command_table[byte].signature, args, list);
        return byte;
    }

    uint16_t pc() const { return engine.interp.current->pc; }

    Engine engine;
    test::Bytes image;
    Args args;
    std::vector<ListItem> list;
};

// Each command's list, item by item: "tag word num num2 str".
TEST_F(OperandAgreement, ListsReadBackItemForItem) {
    load(R"(    str_let 2, "reg"
    win_select 1, 0xFFFF, 0x80, 0x1234, 0xFFFF, -1, 0, ["x", 0x10, 1], [5: s[2], 0x20, 0]
    win_open 2, 1, px: 10, tx_ssy: 5, 200: -1
    btn_wait -1, 3, 0, [1, 2], [9: 3, 4]
    plugin_call 1, 2, 5, "str", [1: 7, 9], [9:], [0: -4]
    jump_table 7, 0, 0x10, 0x20
    end
)");
    ASSERT_EQ(read_command(), 0x60);
    str_set(engine, Raw(args).num_at(0), Raw(args).str_at(1));
    const struct {
        uint8_t byte;
        const char* items;
    } expected[] = {
        {0x0B, "0 16 1 0 x; 5 32 0 0 reg; "},
        {0x94, "1 0 10 0 -; 26 0 5 0 -; 200 0 -1 0 -; "},
        {0x51, "0 0 1 2 -; 0 0 3 4 -; "},  // the byte after a pair's marker is not used
        {0xC6, "0 0 5 0 -; 2 0 0 0 str; 1 0 7 0 -; 9 0 0 0 -; 0 0 -4 0 -; "},
        {0x0D, "0 16 0 0 -; 0 32 0 0 -; "},
    };
    for (const auto& e : expected) {
        ASSERT_EQ(read_command(), e.byte);
        std::string items;
        for (const ListItem& i : list) {
            items += std::to_string(i.tag) + " " + std::to_string(i.word) + " " +
                     std::to_string(i.num) + " " + std::to_string(i.num2) + " " +
                     (i.str ? i.str : "-") + "; ";
        }
        EXPECT_EQ(items, e.items);
        if (e.byte == 0x0B) {
            EXPECT_EQ(Raw(args).word_at(3), 0x1234);
            EXPECT_EQ(Raw(args).num_at(5), -1);
        }
    }
    // Every operand consumed: the last command is next.
    EXPECT_EQ(engine.interp.current->code[pc()], 0xFF);
    EXPECT_EQ(pc() + 1u, size_t(image[5] | image[6] << 8));
}

// Every command of the table leaves the decoder exactly on the next command.
TEST_F(OperandAgreement, EveryCommandConsumesWhatTheAssemblerWrote) {
    std::string source = test::every_command_source();
    source += "    .bytes 0xFE\n";
    load(source);
    int commands = 0;
    for (const CommandRow& row : command_table) {
        if (!row.name) continue;
        ASSERT_EQ(read_command(), row.byte);
        ++commands;
    }
    EXPECT_EQ(commands, 138);
    EXPECT_EQ(engine.interp.current->code[pc()], 0xFE);
}

}  // namespace
}  // namespace qln
