// The command table: every command byte with its name and operand signature.
// The dispatcher, the assembler and the disassembler all read these rows, so
// a signature written here is the one true byte layout of that command.

#include <cstring>

#include "scenario/command_spec.h"

namespace qln {
namespace {

struct NamedSpec {
    uint8_t byte;
    const char* name;
    const char* signature;
};

// Assigned commands only; every other slot stays unassigned.
constexpr NamedSpec kAssigned[] = {
    // Control flow and scenarios.
    {0x00, "eval", "n"},
    {0x01, "jump", "w"},
    {0x02, "jump_if", "nw"},
    {0x03, "call_if", "nwnnnn"},
    {0x04, "call", "w"},
    {0x05, "call_args", "nnnnw"},
    {0x06, "scn_call_buf", "nnnnn"},
    {0x07, "return", "n"},
    {0x08, "scn_call_file", "snn"},
    {0x09, "scn_jump_file", "snn"},
    {0x0A, "win_confirm", "swwn"},
    {0x0B, "win_select", "nwnwwnnC"},
    {0x0C, "scn_return", "n"},
    {0x0D, "jump_table", "nnJ"},
    {0x0E, "sys_restart", ""},
    // Files and directories.
    {0x10, "file_info", "sn"},
    {0x11, "file_write", "snnnn"},  // the last number is read and ignored
    {0x12, "file_copy", "snnnnn"},
    {0x13, "path_set", "ns"},
    {0x14, "dir_get", ""},
    {0x15, "dir_set", "s"},
    {0x16, "file_delete", "snnnn"},
    {0x17, "dir_remove", "sn"},
    {0x18, "disk_free", "n"},
    {0x19, "file_exists", "s"},
    {0x1C, "file_dialog", "ssssn"},
    {0x1D, "path_split", "s"},
    {0x1E, "pic_save_bmp", "snn"},
    // System and configuration.
    {0x20, "ini_file", "s"},
    {0x21, "ini_read", "ss"},
    {0x22, "ini_write", "sss"},
    {0x23, "sys_metrics", ""},
    {0x24, "sys_time", ""},
    {0x25, "win_notice", "sn"},
    {0x26, "sys_message", "s"},
    {0x27, "sys_display", "n"},
    {0x28, "eval_alt", "n"},
    {0x29, "sys_exec", "sn"},
    {0x2B, "hook_set", "nnn"},
    {0x2C, "hook_set_alt", "nnn"},
    // Colours, fonts and pictures.
    {0x30, "col_set", "nnnn"},
    {0x31, "col_get", "n"},
    {0x32, "font_make", "nsnnnn"},
    {0x33, "font_pic", "nnnnnnnnn"},
    {0x34, "win_load", "snnnnnnnnn"},
    {0x35, "text_put", "snnnnnnnnnnnn"},
    {0x36, "pic_invert", "nnnnnn"},
    {0x37, "pic_fill", "nnnnnnnn"},
    {0x38, "buf_grab", "nnnnnn"},
    {0x39, "win_draw_buf", "nnnnnnnn"},
    {0x3A, "buf_cells", "nnnn"},
    {0x3B, "win_draw_cell", "nnnnnnnn"},
    {0x3C, "win_pixel", "nnn"},
    {0x3D, "pic_draw", "nnnnnnnnnnnnnnn"},
    {0x3E, "alpha_key", "nnn"},
    {0x3F, "alpha_load", "nsnnn"},
    {0x40, "alpha_copy", "nnn"},
    {0x41, "pause_pic", "n"},
    // Waits and timing.
    {0x50, "wait", "nn"},
    {0x51, "btn_wait", "nnnP"},
    {0x52, "clock_get", ""},
    {0x53, "clock_reset", ""},
    {0x54, "clock_wait", "nn"},
    // Strings.
    {0x60, "str_let", "ns"},
    {0x61, "str_cat", "ns"},
    {0x62, "str_cmp", "ss"},
    {0x63, "str_len", "n"},
    {0x64, "str_expand", "sn"},
    {0x65, "str_to_num", "s"},
    {0x66, "str_find", "ss"},
    {0x67, "str_mid", "snn"},
    {0x68, "str_splice", "nnns"},
    {0x69, "str_to_buf", "snn"},
    // Data buffers and variable mapping.
    {0x70, "buf_read", "snnnn"},
    {0x71, "buf_release", "n"},
    {0x72, "buf_regions", "nn"},
    {0x73, "buf_alloc", "nn"},
    {0x74, "var_bind", "nnn"},
    {0x75, "buf_info", "n"},
    {0x76, "str_clear", "n"},
    {0x77, "var_bound", "n"},
    {0x78, "buf_eval", "nn"},
    {0x79, "buf_copy", "nn"},
    {0x7A, "buf_move_bytes", "nnnnn"},
    // Mouse and cursor.
    {0x80, "mouse_set_pos", "nn"},
    {0x81, "cursor_set", "n"},
    {0x82, "btn_cursor", "nn"},
    {0x83, "cursor_clip", "nnnn"},
    {0x84, "mouse_get", ""},
    // Windows.
    {0x90, "win_hide", "n"},
    {0x91, "win_repaint", "nn"},  // the second number is read and ignored
    {0x92, "win_info", "n"},
    {0x93, "win_move", "nnn"},
    {0x94, "win_open", "nnK"},
    {0x95, "win_close", "n"},
    {0x96, "btn_def", "nnnnnnnnn"},
    {0x97, "win_show", "n"},
    {0x98, "win_resize", "nnn"},
    {0x99, "win_btn_num", "nn"},
    {0x9A, "win_message", "nnswwnnnn"},
    {0x9B, "win_list_layout", "nnnnnnnn"},
    {0x9C, "win_set", "nK"},
    {0x9D, "win_pin", "n"},
    {0x9E, "win_unpin", "n"},
    {0x9F, "btn_enable", "nnn"},
    {0xA0, "win_transp", "nn"},
    {0xA1, "win_tile", "nn"},
    // Sound.
    {0xB0, "mci_send", "s"},
    {0xB1, "wave_play", "snnnn"},
    {0xB2, "wave_play_buf", "nnnn"},
    {0xB3, "wave_stop", ""},
    {0xB4, "vol_get", "n"},
    {0xB5, "vol_set", "nnn"},
    {0xB6, "vol_fade", "nnnn"},
    {0xB7, "vol_fade_end", "n"},
    // Callbacks, keyboard, plug-ins and animation.
    {0xC0, "tick_set", "nnn"},
    {0xC1, "tick_on", ""},
    {0xC2, "tick_off", ""},
    {0xC3, "key_wait", ""},
    {0xC4, "key_state", ""},
    {0xC5, "plugin_load", "snn"},
    {0xC6, "plugin_call", "nnT"},
    {0xC7, "anim_def", "nnnnnnn"},
    {0xC8, "anim_start", "n"},
    {0xC9, "anim_stop", "n"},
    {0xCA, "anim_play", "nnn"},
    {0xCB, "key_read", ""},
    {0xCC, "key_clear", ""},
    // Transition effects.
    {0xD0, "fx_mosaic", "nnnnnn"},
    {0xD1, "fx_wave", "nnnnnnnn"},
    {0xD2, "fx_jitter", "nnnnnn"},  // the sixth number is read and not used
    {0xD3, "fx_dissolve", "nnnnnnn"},
    {0xD4, "fx_pattern", "nnnnnnn"},
    {0xD5, "fx_scatter", "nnnnnnnnn"},
    {0xD6, "fx_zoom", "nnnnnn"},
    {0xD7, "fx_glow", "nnnnnnn"},
    {0xD8, "fx_scale", "nnnnnn"},  // the sixth number is read and not used
    // End.
    {0xFF, "end", ""},
};

constexpr std::array<CommandSpec, 256> make_specs() {
    std::array<CommandSpec, 256> specs{};
    for (int i = 0; i < 256; ++i) specs[i] = CommandSpec{uint8_t(i), nullptr, ""};
    for (const NamedSpec& s : kAssigned) specs[s.byte] = CommandSpec{s.byte, s.name, s.signature};
    return specs;
}

}  // namespace

const std::array<CommandSpec, 256> command_specs = make_specs();

ListKind signature_list_kind(const char* signature) {
    if (signature == nullptr || *signature == '\0') return ListKind::None;
    switch (signature[std::strlen(signature) - 1]) {
        case 'J':
            return ListKind::JumpTargets;
        case 'C':
            return ListKind::Choices;
        case 'K':
            return ListKind::KeyValues;
        case 'P':
            return ListKind::WindowPairs;
        case 'T':
            return ListKind::TypedArgs;
        default:
            return ListKind::None;
    }
}

}  // namespace qln
