#include "handlers/string_commands.h"

#include <cstring>

#include "engine/engine.h"
#include "tables/tables.h"
#include "tables/text_expand.h"

namespace qln {

namespace {

// Builds a text in a fixed buffer, dropping what does not fit.
struct Builder {
    char* out;
    size_t room;
    size_t length = 0;

    void append(const char* text, size_t n) {
        if (n > room - length) n = room - length;
        std::memcpy(out + length, text, n);
        length += n;
    }
    void append(const char* text) { append(text, strnlen(text, room - length)); }
    const char* finish() {
        out[length] = 0;
        return out;
    }
};

}  // namespace

int32_t cmd_str_let(Engine& engine, const Args& args) {
    const str_let_operands op(args);
    str_set(engine, op.str_no(), op.text());
    return 0;
}

int32_t cmd_str_cat(Engine& engine, const Args& args) {
    const str_cat_operands op(args);
    const int32_t n = op.str_no();
    const char* head = str_get(engine, n);
    if (!head) return 0;  // nothing could be stored there
    // Both texts may lie in the string pool: they are copied out before the
    // store, which may move the pool.
    char joined[kShortStringMax + 1];
    Builder b{joined, kShortStringMax};
    b.append(head);
    b.append(op.text());
    str_set(engine, n, b.finish());
    return 0;
}

int32_t cmd_str_cmp(Engine& engine, const Args& args) {
    const str_cmp_operands op(args);
    // Bytes compared unsigned: the user's collation of the original platform
    // cannot be reproduced, and byte order keeps the outcome the same on
    // every host.
    const int c = std::strcmp(op.a(), op.b());
    result_set(engine, 1, c < 0 ? -1 : (c > 0 ? 1 : 0));
    return 0;
}

int32_t cmd_str_len(Engine& engine, const Args& args) {
    const str_len_operands op(args);
    const int32_t n = op.str_no();
    const char* text = str_get(engine, n);
    if (!text) return err_report(engine, -114, "str_no = %d", n);
    result_set(engine, 1, static_cast<int32_t>(std::strlen(text)));
    return 0;
}

int32_t cmd_str_expand(Engine& engine, const Args& args) {
    const str_expand_operands op(args);
    char expanded[kExpandBufferSize];
    text_expand(engine, op.text(), expanded, sizeof expanded);
    str_set(engine, op.str_no(), expanded);
    return 0;
}

int32_t cmd_str_to_num(Engine& engine, const Args& args) {
    const str_to_num_operands op(args);
    // A '-' anywhere among the digits flips the sign; arithmetic wraps at 32
    // bits like the original's.
    uint32_t value = 0;
    bool negative = false;
    for (const char* p = op.text();; ++p) {
        if (*p == '-')
            negative = !negative;
        else if (*p >= '0' && *p <= '9')
            value = value * 10 + uint32_t(*p - '0');
        else
            break;
    }
    result_set(engine, 1, static_cast<int32_t>(negative ? 0u - value : value));
    return 0;
}

int32_t cmd_str_find(Engine& engine, const Args& args) {
    const str_find_operands op(args);
    const char* text = op.a();
    const char* found = std::strstr(text, op.b());
    result_set(engine, 1, found ? static_cast<int32_t>(found - text) : -1);
    return 0;
}

int32_t cmd_str_mid(Engine& engine, const Args& args) {
    const str_mid_operands op(args);
    const char* text = op.text();
    const int32_t start = op.start();
    const int32_t count = op.count();
    const size_t length = std::strlen(text);
    // A negative start compares as a huge unsigned offset: past the end.
    if (start < 0 || length <= size_t(start)) return err_report(engine, -107, nullptr);
    char part[kExpandBufferSize];
    Builder b{part, sizeof part - 1};
    if (count > 0) {
        size_t take = length - size_t(start);
        if (size_t(count) < take) take = size_t(count);
        b.append(text + start, take);
    }
    str_set(engine, 0, b.finish());
    return 0;
}

int32_t cmd_str_splice(Engine& engine, const Args& args) {
    const str_splice_operands op(args);
    const int32_t n = op.str_no();
    const char* reg = str_get(engine, n);
    if (!reg) return 0;
    // A negative position counts as 0; a negative delete is kept and takes
    // the rest from before the position, as long as that stays inside the
    // register.
    const int64_t length = int64_t(std::strlen(reg));
    const int64_t position = op.position() < 0 ? 0 : op.position();
    int64_t rest = position + op.delete_count();
    if (rest < 0) rest = 0;
    char spliced[kShortStringMax + 1];
    Builder b{spliced, kShortStringMax};
    b.append(reg, size_t(position < length ? position : length));
    b.append(op.text());
    if (length > rest) b.append(reg + rest, size_t(length - rest));
    str_set(engine, n, b.finish());
    return 0;
}

int32_t cmd_str_to_buf(Engine& engine, const Args& args) {
    const str_to_buf_operands op(args);
    const char* text = op.text();
    const int32_t buf_no = op.buf_no();
    const int32_t offset = op.offset();
    uint8_t* raw = buf_get_raw(engine, buf_no);
    const size_t length = std::strlen(text);
    // A text that would not fit whole, with its terminator, is refused rather
    // than cut: a cut text would silently lose bytes the scenario counts on.
    if (!raw || offset < 0 || size_t(offset) > buf_size(engine, buf_no) ||
        length + 1 > buf_size(engine, buf_no) - size_t(offset)) {
        return err_report(engine, -109, "buf_no = %d", buf_no);
    }
    std::memmove(raw + offset, text, length + 1);
    result_set(engine, 1, static_cast<int32_t>(length));
    result_set(engine, 2, static_cast<int32_t>(offset + length));
    return 0;
}

}  // namespace qln
