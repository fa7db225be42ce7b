#include "handlers/buffer_commands.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "engine/engine.h"
#include "graphics/picture.h"
#include "support/machine.h"
#include "support/temp_dir.h"
#include "tables/tables.h"
#include "tables/tables_fixture.h"
#include "windows/command_args.h"

namespace qln {
namespace {

using test::args_of;

class BufferCommands : public TablesTest {
  protected:
    int32_t r(uint32_t n) { return result_get(engine, n); }
    std::vector<int32_t> results(int n) {
        std::vector<int32_t> out;
        for (int i = 1; i <= n; ++i) out.push_back(r(i));
        return out;
    }
    uint8_t* raw_with(int32_t buf_no, const std::string& bytes) {
        EXPECT_TRUE(buf_new_raw(engine, buf_no, uint32_t(bytes.size())));
        uint8_t* raw = buf_get_raw(engine, buf_no);
        if (raw) std::memcpy(raw, bytes.data(), bytes.size());
        return raw;
    }
    std::string raw_text(int32_t buf_no) {
        return std::string(reinterpret_cast<char*>(buf_get_raw(engine, buf_no)),
                           buf_size(engine, buf_no));
    }
    std::string detail() const { return engine.interp.error.detail; }
};

TEST_F(BufferCommands, InfoAllocReleaseAndTheirFailures) {
    using V = std::vector<int32_t>;
    EXPECT_EQ(cmd_buf_alloc(engine, args_of(3, 16)), 0);
    EXPECT_EQ(cmd_buf_info(engine, args_of(3)), 0);
    EXPECT_EQ(results(2), (V{3, 16}));
    EXPECT_EQ(cmd_buf_release(engine, args_of(3)), 0);
    EXPECT_EQ(cmd_buf_info(engine, args_of(3)), 0);
    EXPECT_EQ(results(2), (V{0, 16}));  // the size word as the slot left it
    EXPECT_EQ(cmd_buf_regions(engine, args_of(4, 3)), 0);
    EXPECT_EQ(cmd_buf_info(engine, args_of(4)), 0);
    EXPECT_EQ(results(2), (V{2, 1}));
    ASSERT_TRUE(buf_new_picture(engine, 5, 7, 9));
    EXPECT_EQ(cmd_buf_info(engine, args_of(5)), 0);
    EXPECT_EQ(results(4), (V{1, 1, 7, 9}));
    EXPECT_EQ(cmd_buf_info(engine, args_of(255)), 0);
    EXPECT_EQ(cmd_buf_info(engine, args_of(256)), -117);
    EXPECT_EQ(detail(), "buf_no = 256");
    EXPECT_EQ(cmd_buf_info(engine, args_of(-1)), -117);

    ASSERT_TRUE(buf_new_raw(engine, 6, 4));
    EXPECT_EQ(cmd_buf_alloc(engine, args_of(6, -1)), -107);
    EXPECT_EQ(detail(), "buf_no = 6");
    EXPECT_EQ(cmd_buf_alloc(engine, args_of(256, 4)), -107);
    EXPECT_EQ(cmd_buf_regions(engine, args_of(6, -1)), -107);
    EXPECT_EQ(cmd_buf_release(engine, args_of(300)), 0);  // never fails
}

TEST_F(BufferCommands, ReadLoadsAFileAndReportsAMissingOne) {
    test::TempDir dir;
    const std::string path = dir.write("plain.bin", {'p', 'l', 'a', 'i', 'n'});
    // Directory -1: the name as it stands.
    EXPECT_EQ(cmd_buf_read(engine, args_of(path.c_str(), 0, 10, 0, -1)), 0);
    EXPECT_EQ(raw_text(10), "plain");
    const std::string missing = dir.str() + "/missing.bin";
    EXPECT_EQ(cmd_buf_read(engine, args_of(missing.c_str(), 3, 10, 0, 2)), -105);
    EXPECT_EQ(detail(), "File:" + missing + "(3) Dir:2");
    EXPECT_EQ(buf_entry(engine, 10)->type, BufType::Raw);  // left as it was
}

TEST_F(BufferCommands, BindMapsTheSpaceOfTheCodeOrPicksAString) {
    uint8_t* raw = raw_with(12, std::string(8, '\0'));
    ASSERT_TRUE(raw);
    EXPECT_EQ(cmd_var_bind(engine, args_of(5, 12, 2)), 0);  // code 5 is space 4
    EXPECT_EQ(r(1), 2);
    var_set(engine, 4, 0, 0x1234);
    EXPECT_EQ(raw[2], 0x34);
    EXPECT_EQ(raw[3], 0x12);
    EXPECT_EQ(cmd_var_bind(engine, args_of(77, 12, 0)), 0);  // unknown codes are space 9
    EXPECT_EQ(engine.tables.views[9].mapped, 12);
    EXPECT_EQ(engine.tables.views[3].mapped, 0xFFFF);
    ASSERT_TRUE(buf_new_raw(engine, 12, 0x10010));
    EXPECT_EQ(cmd_var_bind(engine, args_of(0, 12, 0x10005)), 0);
    EXPECT_EQ(r(1), 5);  // only the low 16 bits of the offset

    ASSERT_TRUE(raw_with(13, std::string("ab\0cde\0fgh\0", 11)));
    EXPECT_EQ(cmd_var_bind(engine, args_of(4, 13, 2)), 0);
    EXPECT_STREQ(str_get(engine, 0), "fgh");
    EXPECT_EQ(r(1), 7);
}

TEST_F(BufferCommands, BindFailuresAndBound) {
    EXPECT_EQ(cmd_var_bind(engine, args_of(0, 14, 0)), -107);  // empty slot
    EXPECT_EQ(detail(), "buf_no = 14");
    ASSERT_TRUE(buf_new_regions(engine, 14, 1));
    EXPECT_EQ(cmd_var_bind(engine, args_of(1, 14, 0)), -107);
    EXPECT_EQ(engine.tables.views[1].mapped, 0xFFFF);

    ASSERT_TRUE(buf_new_raw(engine, 12, 32));
    EXPECT_EQ(cmd_var_bind(engine, args_of(6, 12, 0)), 0);
    const struct {
        int32_t code, bound;
    } cases[] = {{6, 12}, {7, -1}, {4, 1}};  // code 7 is another space; 4 picks strings
    for (const auto& c : cases) {
        SCOPED_TRACE(c.code);
        EXPECT_EQ(cmd_var_bound(engine, args_of(c.code)), 0);
        EXPECT_EQ(r(1), c.bound);
    }
    EXPECT_EQ(cmd_var_bind(engine, args_of(6, -1, 0)), 0);
    EXPECT_EQ(cmd_var_bound(engine, args_of(6)), 0);
    EXPECT_EQ(r(1), -1);
}

TEST_F(BufferCommands, EvalReadsAnExpressionFromTheBufferOrRefuses) {
    // 4660 as a word, a byte with no effect, the end: bytes 4 to 8.
    ASSERT_TRUE(raw_with(15, std::string("\x7f\x7f\x7f\x7f\x02\x34\x12\x0f\x7f\x00\x09\x7f", 12)));
    result_set(engine, 1, 5);
    EXPECT_EQ(cmd_buf_eval(engine, args_of(15, 4)), 0);
    EXPECT_EQ(results(3), (std::vector{0, 4660, 9}));
    // Running off the end, even inside a token, stops at the first missing byte.
    ASSERT_TRUE(raw_with(15, std::string("\x00\x07\x02\x01", 4)));
    EXPECT_EQ(cmd_buf_eval(engine, args_of(15, 0)), 0);
    EXPECT_EQ((std::pair{r(2), r(3)}), (std::pair{7, 4}));

    ASSERT_TRUE(buf_new_raw(engine, 15, 0x10010));
    buf_get_raw(engine, 15)[0x10000] = 0x7F;
    EXPECT_EQ(cmd_buf_eval(engine, args_of(15, 0x10000)), -109);
    EXPECT_EQ(detail(), "buf_no = 15");
    EXPECT_EQ(cmd_buf_eval(engine, args_of(15, -1)), -109);
    ASSERT_TRUE(buf_new_raw(engine, 16, 3));
    EXPECT_EQ(cmd_buf_eval(engine, args_of(16, 3)), -109);
    ASSERT_TRUE(buf_new_regions(engine, 17, 1));
    EXPECT_EQ(cmd_buf_eval(engine, args_of(17, 0)), -109);
}

TEST_F(BufferCommands, CopyAndMoveBytes) {
    ASSERT_TRUE(raw_with(20, "abcd"));
    EXPECT_EQ(cmd_buf_copy(engine, args_of(20, 21)), 0);
    EXPECT_EQ(raw_text(21), "abcd");
    EXPECT_EQ(cmd_buf_copy(engine, args_of(20, 20)), 0);  // onto itself empties
    EXPECT_EQ(buf_entry(engine, 20)->type, BufType::Empty);
    EXPECT_EQ(cmd_buf_copy(engine, args_of(-4, 21)), -107);
    EXPECT_EQ(detail(), "buf_no = -4");

    ASSERT_TRUE(raw_with(22, "0123456789"));
    ASSERT_TRUE(raw_with(23, "abcdef"));
    EXPECT_EQ(cmd_buf_move_bytes(engine, args_of(22, 23, 1, 7, 3)), 0);
    EXPECT_EQ(raw_text(23), "a789ef");
    EXPECT_EQ(cmd_buf_move_bytes(engine, args_of(22, 24, 0, 0, 1)), -107);
    EXPECT_EQ(detail(), "buf_no = 24");
}

TEST(BufferScenario, EvalLeavesTheScenarioWhereItWas) {
    test::Machine m;
    ASSERT_TRUE(m.start(R"(
        buf_alloc 1, 16
        var_bind 0, 1, 0
        eval v0[4] = 2
        eval v0[5] = 0x34
        eval v0[6] = 0x12
        eval v0[7] = 0x7F
        buf_eval 1, 4
        eval v3[0] = r[2]
        eval v3[1] = r[3]
        end
    )"));
    EXPECT_EQ(m.run(), kResultEndAll);
    EXPECT_TRUE(m.platform.errors.empty());
    EXPECT_EQ(m.var(3, 0), 4660);
    EXPECT_EQ(m.var(3, 1), 8);
}

}  // namespace
}  // namespace qln
