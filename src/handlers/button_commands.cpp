// The button commands: entries of region lists (a window's buttons).

#include "engine/engine.h"
#include "handlers/window_commands.h"
#include "scenario/interp.h"
#include "tables/tables.h"

namespace qln {
namespace {

// The entry index of region list buf_no, or nullptr after error -115
// "buf_no = %d" (no region list) or -117 "buf_no = %d, pos = %d".
Region* region_entry(Engine& engine, int32_t buf_no, int32_t index, int32_t& code) {
    RegionList* list = buf_get_regions(engine, buf_no);
    if (!list) {
        code = err_report(engine, -115, "buf_no = %d", buf_no);
        return nullptr;
    }
    if (index < 0 || size_t(index) >= list->entries.size()) {
        code = err_report(engine, -117, "buf_no = %d, pos = %d", buf_no, index);
        return nullptr;
    }
    return &list->entries[size_t(index)];
}

}  // namespace

int32_t cmd_btn_def(Engine& engine, const Args& args) {
    const btn_def_operands op(args);
    const int32_t buf_no = op.buf_no(), index = op.index(), id = op.id();
    const int32_t x = op.x(), y = op.y(), width = op.width(), height = op.height();
    const int32_t flags = op.flags(), value = op.value();
    int32_t code = 0;
    Region* entry = region_entry(engine, buf_no, index, code);
    if (!entry) return code;
    entry->id = id;
    entry->flags = static_cast<uint16_t>(flags);
    entry->left = x;
    entry->top = y;
    // The right and bottom edges wrap as 32-bit sums, as they always have.
    entry->right = int32_t(uint32_t(x) + uint32_t(width));
    entry->bottom = int32_t(uint32_t(y) + uint32_t(height));
    entry->highlight = value;
    return 0;
}

int32_t cmd_btn_enable(Engine& engine, const Args& args) {
    const btn_enable_operands op(args);
    const int32_t buf_no = op.buf_no(), index = op.index(), disable = op.disable();
    int32_t code = 0;
    Region* entry = region_entry(engine, buf_no, index, code);
    if (!entry) return code;
    // Flags of exactly 0xFFFF (hit-testable, never highlighted) stay as they are.
    if (entry->flags == 0xFFFF) return 0;
    if (disable != 0) {
        entry->flags = static_cast<uint16_t>(entry->flags | 0x100);
    } else {
        entry->flags = static_cast<uint16_t>(entry->flags & ~0x100);
    }
    return 0;
}

}  // namespace qln
