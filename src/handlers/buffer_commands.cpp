#include "handlers/buffer_commands.h"

#include "engine/engine.h"
#include "files/file_read.h"
#include "graphics/picture.h"
#include "scenario/buffer_load.h"
#include "scenario/expr.h"
#include "tables/tables.h"

namespace qln {

namespace {

constexpr int32_t kStringPicking = 12;

// The buffer number a failed two-buffer command names: the first one that
// does not exist, else the destination.
int32_t failing_buffer(Engine& engine, int32_t src, int32_t dst) {
    return buf_entry(engine, src) ? dst : src;
}

}  // namespace

int32_t space_of_bind_code(int32_t code) {
    if (code >= 0 && code <= 3) return code;
    if (code == 4) return kStringPicking;
    if (code >= 5 && code <= 9) return code - 1;
    return 9;
}

int32_t kind_of_buffer(BufType type) {
    switch (type) {
        case BufType::Empty:
            return 0;
        case BufType::Picture:
            return 1;
        case BufType::Regions:
            return 2;
        case BufType::Raw:
            return 3;
        case BufType::Plugin:
            return 4;
        default:
            return 99;
    }
}

int32_t cmd_buf_read(Engine& engine, const Args& args) {
    const buf_read_operands op(args);
    const char* name = op.name();
    const int32_t entry = op.entry();
    const int32_t buf_no = op.buf_no();
    const int32_t compressed = op.compressed();
    const int32_t dir = op.dir();
    const FileRef ref = file_ref_of(name, entry, dir, compressed != 0);
    if (!buf_load(engine, buf_no, ref)) {
        return err_report(engine, -105, "File:%s(%d) Dir:%d", name, entry, dir);
    }
    return 0;
}

int32_t cmd_buf_release(Engine& engine, const Args& args) {
    const buf_release_operands op(args);
    (void)buf_free(engine, op.buf_no());
    return 0;
}

int32_t cmd_buf_regions(Engine& engine, const Args& args) {
    const buf_regions_operands op(args);
    const int32_t buf_no = op.buf_no();
    const int32_t count = op.count();
    // A negative count is no size at all; refused before it becomes a huge
    // unsigned one.
    if (count < 0 || !buf_new_regions(engine, buf_no, uint32_t(count))) {
        return err_report(engine, -107, "buf_no = %d", buf_no);
    }
    return 0;
}

int32_t cmd_buf_alloc(Engine& engine, const Args& args) {
    const buf_alloc_operands op(args);
    const int32_t buf_no = op.buf_no();
    const int32_t size = op.size();
    if (size < 0 || !buf_new_raw(engine, buf_no, uint32_t(size))) {
        return err_report(engine, -107, "buf_no = %d", buf_no);
    }
    return 0;
}

int32_t cmd_var_bind(Engine& engine, const Args& args) {
    const var_bind_operands op(args);
    const int32_t code = op.code();
    const int32_t buf_no = op.buf_no();
    int32_t offset = op.offset();
    if (!var_map(engine, buf_no, space_of_bind_code(code), offset)) {
        return err_report(engine, -107, "buf_no = %d", buf_no);
    }
    result_set(engine, 1, offset & 0xFFFF);
    return 0;
}

int32_t cmd_buf_info(Engine& engine, const Args& args) {
    const buf_info_operands op(args);
    const int32_t buf_no = op.buf_no();
    const DataBuffer* slot = buf_entry(engine, buf_no);
    if (!slot) return err_report(engine, -117, "buf_no = %d", buf_no);
    result_set(engine, 1, kind_of_buffer(slot->type));
    result_set(engine, 2, static_cast<int32_t>(slot->size));
    if (slot->type == BufType::Picture && slot->picture) {
        result_set(engine, 3, slot->picture->width);
        result_set(engine, 4, slot->picture->height);
    }
    return 0;
}

int32_t cmd_str_clear(Engine& engine, const Args& args) {
    const str_clear_operands op(args);
    str_set(engine, op.str_no(), "");
    return 0;
}

int32_t cmd_var_bound(Engine& engine, const Args& args) {
    const var_bound_operands op(args);
    const int32_t space = space_of_bind_code(op.code());
    int32_t bound = 1;  // string picking maps nothing; it always answers 1
    if (space != kStringPicking) {
        const uint16_t mapped = engine.tables.views[space].mapped;
        bound = mapped == 0xFFFF ? -1 : mapped;
    }
    result_set(engine, 1, bound);
    return 0;
}

int32_t cmd_buf_eval(Engine& engine, const Args& args) {
    const buf_eval_operands op(args);
    const int32_t buf_no = op.buf_no();
    const int32_t offset = op.offset();
    const uint8_t* raw = buf_get_raw(engine, buf_no);
    const uint32_t size = buf_size(engine, buf_no);
    // The expression's position is a 16-bit counter like a scenario's pc, and
    // it must start on a byte of the buffer.
    if (!raw || offset < 0 || offset > 0xFFFF || uint32_t(offset) >= size) {
        return err_report(engine, -109, "buf_no = %d", buf_no);
    }
    // The evaluator reads the buffer's own bytes, bounded by its size, so the
    // running scenario's position is never touched.
    uint16_t pc = static_cast<uint16_t>(offset);
    const int32_t value = expr_eval(engine, raw, size, pc);
    result_set(engine, 1, 0);
    result_set(engine, 2, value);
    result_set(engine, 3, pc);
    return 0;
}

int32_t cmd_buf_copy(Engine& engine, const Args& args) {
    const buf_copy_operands op(args);
    const int32_t src = op.src();
    const int32_t dst = op.dst();
    if (!buf_dup(engine, src, dst)) {
        return err_report(engine, -107, "buf_no = %d", failing_buffer(engine, src, dst));
    }
    return 0;
}

int32_t cmd_buf_move_bytes(Engine& engine, const Args& args) {
    const buf_move_bytes_operands op(args);
    const int32_t src = op.src();
    const int32_t dst = op.dst();
    const int32_t dst_offset = op.dst_offset();
    const int32_t src_offset = op.src_offset();
    const int32_t length = op.length();
    if (!buf_copy_bytes(engine, src, dst, dst_offset, src_offset, length)) {
        return err_report(engine, -107, "buf_no = %d", failing_buffer(engine, src, dst));
    }
    return 0;
}

}  // namespace qln
