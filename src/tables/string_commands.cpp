#include "tables/string_commands.h"

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
    str_set(engine, args.num(0), args.str(1));
    return 0;
}

int32_t cmd_str_cat(Engine& engine, const Args& args) {
    const int32_t n = args.num(0);
    const char* head = str_get(engine, n);
    if (!head) return 0;  // nothing could be stored there
    // Both texts may lie in the string pool: they are copied out before the
    // store, which may move the pool.
    char joined[kShortStringMax + 1];
    Builder b{joined, kShortStringMax};
    b.append(head);
    b.append(args.str(1));
    str_set(engine, n, b.finish());
    return 0;
}

int32_t cmd_str_cmp(Engine& engine, const Args& args) {
    // Bytes compared unsigned: the user's collation of the original platform
    // cannot be reproduced, and byte order keeps the outcome the same on
    // every host.
    const int c = std::strcmp(args.str(0), args.str(1));
    result_set(engine, 1, c < 0 ? -1 : (c > 0 ? 1 : 0));
    return 0;
}

int32_t cmd_str_len(Engine& engine, const Args& args) {
    const int32_t n = args.num(0);
    const char* text = str_get(engine, n);
    if (!text) return err_report(engine, -114, "str_no = %d", n);
    result_set(engine, 1, static_cast<int32_t>(std::strlen(text)));
    return 0;
}

int32_t cmd_str_expand(Engine& engine, const Args& args) {
    char expanded[kExpandBufferSize];
    text_expand(engine, args.str(0), expanded, sizeof expanded);
    str_set(engine, args.num(1), expanded);
    return 0;
}

int32_t cmd_str_to_num(Engine& engine, const Args& args) {
    // A '-' anywhere among the digits flips the sign; arithmetic wraps at 32
    // bits like the original's.
    uint32_t value = 0;
    bool negative = false;
    for (const char* p = args.str(0);; ++p) {
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
    const char* text = args.str(0);
    const char* found = std::strstr(text, args.str(1));
    result_set(engine, 1, found ? static_cast<int32_t>(found - text) : -1);
    return 0;
}

int32_t cmd_str_mid(Engine& engine, const Args& args) {
    const char* text = args.str(0);
    const int32_t start = args.num(1);
    const int32_t count = args.num(2);
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
    const int32_t n = args.num(0);
    const char* reg = str_get(engine, n);
    if (!reg) return 0;
    // A negative position counts as 0; a negative delete is kept and takes
    // the rest from before the position, as long as that stays inside the
    // register.
    const int64_t length = int64_t(std::strlen(reg));
    const int64_t position = args.num(1) < 0 ? 0 : args.num(1);
    int64_t rest = position + args.num(2);
    if (rest < 0) rest = 0;
    char spliced[kShortStringMax + 1];
    Builder b{spliced, kShortStringMax};
    b.append(reg, size_t(position < length ? position : length));
    b.append(args.str(3));
    if (length > rest) b.append(reg + rest, size_t(length - rest));
    str_set(engine, n, b.finish());
    return 0;
}

int32_t cmd_str_to_buf(Engine& engine, const Args& args) {
    const char* text = args.str(0);
    const int32_t buf_no = args.num(1);
    const int32_t offset = args.num(2);
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
