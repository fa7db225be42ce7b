#include "tables/buffer_commands.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <cstring>
#include <string>

#include <unistd.h>

#include "engine/engine.h"
#include "graphics/picture.h"
#include "support/machine.h"
#include "tables/tables.h"
#include "windows/command_args.h"

namespace qln {
namespace {

using test::args_of;

class BufferCommands : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(tables_init(engine)); }

    int32_t r(uint32_t n) { return result_get(engine, n); }
    uint8_t* raw_with(int32_t buf_no, const std::string& bytes) {
        EXPECT_TRUE(buf_new_raw(engine, buf_no, uint32_t(bytes.size())));
        uint8_t* raw = buf_get_raw(engine, buf_no);
        if (raw) std::memcpy(raw, bytes.data(), bytes.size());
        return raw;
    }

    Engine engine;
};

TEST_F(BufferCommands, PluginAndScenarioBuffersHaveTheirOwnKinds) {
    EXPECT_EQ(kind_of_buffer(BufType::Plugin), 4);
    EXPECT_EQ(kind_of_buffer(BufType::Scenario), 99);
}

TEST_F(BufferCommands, InfoReportsKindAndSize) {
    EXPECT_EQ(cmd_buf_info(engine, args_of(3)), 0);  // never used
    EXPECT_EQ(r(1), 0);
    EXPECT_EQ(r(2), 0);
    EXPECT_EQ(cmd_buf_alloc(engine, args_of(3, 16)), 0);
    EXPECT_EQ(cmd_buf_info(engine, args_of(3)), 0);
    EXPECT_EQ(r(1), 3);
    EXPECT_EQ(r(2), 16);
    EXPECT_EQ(buf_get_raw(engine, 3)[15], 0);  // zero-filled
    EXPECT_EQ(cmd_buf_release(engine, args_of(3)), 0);
    EXPECT_EQ(cmd_buf_info(engine, args_of(3)), 0);
    EXPECT_EQ(r(1), 0);
    EXPECT_EQ(r(2), 16);  // the size word as the slot left it
    EXPECT_EQ(cmd_buf_regions(engine, args_of(4, 3)), 0);
    EXPECT_EQ(cmd_buf_info(engine, args_of(4)), 0);
    EXPECT_EQ(r(1), 2);
    EXPECT_EQ(r(2), 1);
    ASSERT_TRUE(buf_get_regions(engine, 4));
    EXPECT_EQ(buf_get_regions(engine, 4)->entries.size(), 3u);
    ASSERT_TRUE(buf_new_picture(engine, 5, 7, 9));
    EXPECT_EQ(cmd_buf_info(engine, args_of(5)), 0);
    EXPECT_EQ(r(1), 1);
    EXPECT_EQ(r(2), 1);
    EXPECT_EQ(r(3), 7);
    EXPECT_EQ(r(4), 9);
}

TEST_F(BufferCommands, InfoRefusesNumbersOutsideTheTable) {
    EXPECT_EQ(cmd_buf_info(engine, args_of(256)), -117);
    EXPECT_STREQ(engine.interp.error.detail, "buf_no = 256");
    EXPECT_EQ(cmd_buf_info(engine, args_of(-1)), -117);
    EXPECT_EQ(cmd_buf_info(engine, args_of(255)), 0);
}

TEST_F(BufferCommands, FailedCreationsReport107AndLeaveTheSlotEmpty) {
    ASSERT_TRUE(buf_new_raw(engine, 6, 4));
    EXPECT_EQ(cmd_buf_alloc(engine, args_of(6, -1)), -107);
    EXPECT_STREQ(engine.interp.error.detail, "buf_no = 6");
    EXPECT_EQ(cmd_buf_alloc(engine, args_of(256, 4)), -107);
    EXPECT_EQ(cmd_buf_regions(engine, args_of(6, -1)), -107);
    EXPECT_EQ(cmd_buf_regions(engine, args_of(300, 1)), -107);
    EXPECT_EQ(cmd_buf_release(engine, args_of(300)), 0);  // never fails
    EXPECT_EQ(cmd_buf_release(engine, args_of(-1)), 0);
}

TEST_F(BufferCommands, ReadLoadsAFileAndReportsAMissingOne) {
    char path[] = "/tmp/quillon_buf_read_XXXXXX";
    const int fd = mkstemp(path);
    ASSERT_GE(fd, 0);
    const char payload[] = "plain bytes, no picture";
    ASSERT_EQ(write(fd, payload, sizeof payload - 1), ssize_t(sizeof payload - 1));
    close(fd);
    // Directory -1 names the file as it stands.
    EXPECT_EQ(cmd_buf_read(engine, args_of(path, 0, 10, 0, -1)), 0);
    EXPECT_EQ(buf_entry(engine, 10)->type, BufType::Raw);
    EXPECT_EQ(buf_size(engine, 10), sizeof payload - 1);
    EXPECT_EQ(std::memcmp(buf_get_raw(engine, 10), payload, sizeof payload - 1), 0);
    std::remove(path);
    EXPECT_EQ(cmd_buf_read(engine, args_of(path, 3, 10, 0, 2)), -105);
    EXPECT_EQ(engine.interp.error.detail, std::string("File:") + path + "(3) Dir:2");
    EXPECT_EQ(buf_entry(engine, 10)->type, BufType::Raw);  // left as it was
}

TEST_F(BufferCommands, BindMapsTheSpaceOfTheCode) {
    uint8_t* raw = raw_with(12, std::string(8, '\0'));
    ASSERT_TRUE(raw);
    EXPECT_EQ(cmd_var_bind(engine, args_of(5, 12, 2)), 0);  // code 5 is space 4
    EXPECT_EQ(r(1), 2);
    var_set(engine, 4, 0, 0x1234);
    EXPECT_EQ(raw[2], 0x34);
    EXPECT_EQ(raw[3], 0x12);
    EXPECT_EQ(cmd_var_bind(engine, args_of(0, 12, 0)), 0);  // code 0 is space 0
    var_set(engine, 0, 7, 0xAB);
    EXPECT_EQ(raw[7], 0xAB);
    EXPECT_EQ(cmd_var_bind(engine, args_of(77, 12, 0)), 0);  // others are space 9
    EXPECT_EQ(engine.tables.views[9].mapped, 12);
    EXPECT_EQ(engine.tables.views[3].mapped, 0xFFFF);
    // R1 holds only the low 16 bits of the offset.
    ASSERT_TRUE(buf_new_raw(engine, 12, 0x10010));
    EXPECT_EQ(cmd_var_bind(engine, args_of(0, 12, 0x10005)), 0);
    EXPECT_EQ(r(1), 5);
}

TEST_F(BufferCommands, BindWithCode4PicksAString) {
    ASSERT_TRUE(raw_with(13, std::string("ab\0cde\0fgh\0", 11)));
    EXPECT_EQ(cmd_var_bind(engine, args_of(4, 13, 2)), 0);
    EXPECT_STREQ(str_get(engine, 0), "fgh");
    EXPECT_EQ(r(1), 7);
    EXPECT_EQ(cmd_var_bind(engine, args_of(4, 13, 0)), 0);
    EXPECT_STREQ(str_get(engine, 0), "ab");
    EXPECT_EQ(r(1), 0);
}

TEST_F(BufferCommands, BindFailures) {
    EXPECT_EQ(cmd_var_bind(engine, args_of(0, 14, 0)), -107);  // empty slot
    EXPECT_STREQ(engine.interp.error.detail, "buf_no = 14");
    ASSERT_TRUE(buf_new_regions(engine, 14, 1));
    EXPECT_EQ(cmd_var_bind(engine, args_of(1, 14, 0)), -107);
    EXPECT_EQ(cmd_var_bind(engine, args_of(1, 999, 0)), -107);
    EXPECT_EQ(engine.tables.views[1].mapped, 0xFFFF);
}

TEST_F(BufferCommands, BoundFollowsBindAndRestore) {
    ASSERT_TRUE(buf_new_raw(engine, 12, 32));
    EXPECT_EQ(cmd_var_bound(engine, args_of(6)), 0);
    EXPECT_EQ(r(1), -1);
    EXPECT_EQ(cmd_var_bind(engine, args_of(6, 12, 0)), 0);
    EXPECT_EQ(cmd_var_bound(engine, args_of(6)), 0);
    EXPECT_EQ(r(1), 12);
    EXPECT_EQ(cmd_var_bound(engine, args_of(7)), 0);  // space 6 is not space 5
    EXPECT_EQ(r(1), -1);
    EXPECT_EQ(cmd_var_bind(engine, args_of(6, -1, 0)), 0);
    EXPECT_EQ(cmd_var_bound(engine, args_of(6)), 0);
    EXPECT_EQ(r(1), -1);
    EXPECT_EQ(cmd_var_bound(engine, args_of(4)), 0);
    EXPECT_EQ(r(1), 1);
    EXPECT_EQ(cmd_var_bind(engine, args_of(-8, 12, 0)), 0);
    EXPECT_EQ(cmd_var_bound(engine, args_of(10)), 0);
    EXPECT_EQ(r(1), 12);
}

TEST_F(BufferCommands, StrClearEmptiesARegister) {
    str_set(engine, 3, "text");
    EXPECT_EQ(cmd_str_clear(engine, args_of(3)), 0);
    EXPECT_STREQ(str_get(engine, 3), "");
    EXPECT_EQ(cmd_str_clear(engine, args_of(512)), 0);
}

TEST_F(BufferCommands, EvalReadsAnExpressionFromTheBuffer) {
    // 4660 as a word, a byte with no effect, the end: bytes 4 to 8.
    ASSERT_TRUE(raw_with(15, std::string("\x7f\x7f\x7f\x7f\x02\x34\x12\x0f\x7f\x00\x09\x7f", 12)));
    result_set(engine, 1, 5);
    EXPECT_EQ(cmd_buf_eval(engine, args_of(15, 4)), 0);
    EXPECT_EQ(r(1), 0);
    EXPECT_EQ(r(2), 4660);
    EXPECT_EQ(r(3), 9);
    EXPECT_EQ(cmd_buf_eval(engine, args_of(15, 9)), 0);
    EXPECT_EQ(r(2), 9);
    EXPECT_EQ(r(3), 12);
}

TEST_F(BufferCommands, EvalAssignsVariablesLikeScenarioCode) {
    // variable 5 of space 3 := 1
    ASSERT_TRUE(raw_with(15, std::string("\x00\x05\x13\x00\x01\x70\x7f", 7)));
    EXPECT_EQ(cmd_buf_eval(engine, args_of(15, 0)), 0);
    EXPECT_EQ(r(2), 1);
    EXPECT_EQ(var_get(engine, 3, 5), 1);
}

TEST_F(BufferCommands, EvalStopsAtTheEndOfTheBuffer) {
    ASSERT_TRUE(raw_with(15, std::string("\x00\x2a", 2)));
    EXPECT_EQ(cmd_buf_eval(engine, args_of(15, 0)), 0);
    EXPECT_EQ(r(2), 42);
    EXPECT_EQ(r(3), 2);  // the first byte that is missing
    // A token cut by the end reads nothing either.
    ASSERT_TRUE(raw_with(15, std::string("\x00\x07\x02\x01", 4)));
    EXPECT_EQ(cmd_buf_eval(engine, args_of(15, 0)), 0);
    EXPECT_EQ(r(2), 7);
    EXPECT_EQ(r(3), 4);
}

TEST_F(BufferCommands, EvalRefusesWhatIsNoExpressionStart) {
    ASSERT_TRUE(buf_new_raw(engine, 15, 0x10010));
    buf_get_raw(engine, 15)[0x10000] = 0x7F;
    EXPECT_EQ(cmd_buf_eval(engine, args_of(15, 0x10000)), -109);
    EXPECT_STREQ(engine.interp.error.detail, "buf_no = 15");
    EXPECT_EQ(cmd_buf_eval(engine, args_of(15, -1)), -109);
    ASSERT_TRUE(buf_new_raw(engine, 16, 3));
    EXPECT_EQ(cmd_buf_eval(engine, args_of(16, 3)), -109);
    EXPECT_EQ(cmd_buf_eval(engine, args_of(17, 0)), -109);  // empty
    ASSERT_TRUE(buf_new_regions(engine, 17, 1));
    EXPECT_EQ(cmd_buf_eval(engine, args_of(17, 0)), -109);
    EXPECT_EQ(cmd_buf_eval(engine, args_of(256, 0)), -109);
}

TEST_F(BufferCommands, CopyDuplicatesAndOntoItselfEmpties) {
    ASSERT_TRUE(raw_with(20, "abcd"));
    EXPECT_EQ(cmd_buf_copy(engine, args_of(20, 21)), 0);
    ASSERT_EQ(buf_size(engine, 21), 4u);
    EXPECT_EQ(std::memcmp(buf_get_raw(engine, 21), "abcd", 4), 0);
    EXPECT_NE(buf_get_raw(engine, 21), buf_get_raw(engine, 20));
    EXPECT_EQ(cmd_buf_copy(engine, args_of(20, 20)), 0);
    EXPECT_EQ(buf_entry(engine, 20)->type, BufType::Empty);
    EXPECT_EQ(cmd_buf_copy(engine, args_of(21, 256)), -107);
    EXPECT_STREQ(engine.interp.error.detail, "buf_no = 256");
    EXPECT_EQ(cmd_buf_copy(engine, args_of(-4, 21)), -107);
    EXPECT_STREQ(engine.interp.error.detail, "buf_no = -4");
}

TEST_F(BufferCommands, MoveBytesCopiesInsideBothBuffers) {
    ASSERT_TRUE(raw_with(22, "0123456789"));
    ASSERT_TRUE(raw_with(23, "abcdef"));
    EXPECT_EQ(cmd_buf_move_bytes(engine, args_of(22, 23, 1, 7, 3)), 0);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(buf_get_raw(engine, 23)), 6), "a789ef");
    // One past the source's end, or the destination's, copies nothing.
    EXPECT_EQ(cmd_buf_move_bytes(engine, args_of(22, 23, 0, 8, 3)), -107);
    EXPECT_EQ(cmd_buf_move_bytes(engine, args_of(22, 23, 4, 0, 3)), -107);
    EXPECT_EQ(cmd_buf_move_bytes(engine, args_of(22, 23, 0, 0, -1)), -107);
    EXPECT_EQ(cmd_buf_move_bytes(engine, args_of(22, 23, -1, 0, 1)), -107);
    EXPECT_EQ(cmd_buf_move_bytes(engine, args_of(22, 24, 0, 0, 1)), -107);
    EXPECT_STREQ(engine.interp.error.detail, "buf_no = 24");
    EXPECT_EQ(std::string(reinterpret_cast<char*>(buf_get_raw(engine, 23)), 6), "a789ef");
}

class BufferScenario : public ::testing::Test {
  protected:
    int32_t run(std::string_view source) { return m.start(source) ? m.run() : 0; }

    test::Machine m;
    Engine& engine = m.engine;
    NullPlatform& platform = m.platform;
};

TEST_F(BufferScenario, EvalLeavesTheScenarioWhereItWas) {
    // The expression 0x02 0x34 0x12 0x0F 0x7F (4660) at bytes 4 to 8 of
    // buffer 1, written through space 0 mapped onto it.
    EXPECT_EQ(run(R"(
        buf_alloc 1, 16
        var_bind 0, 1, 0
        eval v0[4] = 2
        eval v0[5] = 0x34
        eval v0[6] = 0x12
        eval v0[7] = 0x0F
        eval v0[8] = 0x7F
        buf_eval 1, 4
        eval v3[0] = r[2]
        eval v3[1] = r[3]
        var_bound 0
        eval v3[2] = r[1]
        var_bind 0, -1, 0
        var_bound 0
        eval v3[3] = r[1]
        end
    )"),
              kResultEndAll);
    EXPECT_TRUE(platform.errors.empty());
    EXPECT_EQ(var_get(engine, 3, 0), 4660);
    EXPECT_EQ(var_get(engine, 3, 1), 9);
    EXPECT_EQ(var_get(engine, 3, 2), 1);
    EXPECT_EQ(var_get(engine, 3, 3), -1);
}

TEST_F(BufferScenario, StringsThroughABuffer) {
    EXPECT_EQ(run(R"(
        buf_alloc 2, 32
        str_to_buf "one", 2, 0
        str_to_buf "two", 2, r[2] + 1
        var_bind 4, 2, 1
        eval v3[0] = r[1]
        buf_info 2
        eval v3[1] = r[1]
        eval v3[2] = r[2]
        buf_copy 2, 3
        str_clear 0
        var_bind 4, 3, 0
        buf_release 3
        buf_info 3
        eval v3[3] = r[1] * 1000 + r[2]
        end
    )"),
              kResultEndAll);
    EXPECT_TRUE(platform.errors.empty());
    EXPECT_EQ(var_get(engine, 3, 0), 4);
    EXPECT_EQ(var_get(engine, 3, 1), 3);
    EXPECT_EQ(var_get(engine, 3, 2), 32);
    EXPECT_STREQ(str_get(engine, 0), "one");
    EXPECT_EQ(var_get(engine, 3, 3), 32);  // empty, size word kept
}

}  // namespace
}  // namespace qln
