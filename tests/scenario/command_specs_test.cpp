#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>

#include "scenario/command_spec.h"

namespace qln {
namespace {

TEST(CommandSpecs, RowIHoldsByteI) {
    for (int i = 0; i < 256; ++i) EXPECT_EQ(command_specs[i].byte, i) << "row " << i;
}

TEST(CommandSpecs, EveryNamedCommandSitsInItsSlot) {
    struct Row {
        int byte;
        const char* name;
    };
    const Row rows[] = {
        {0x00, "eval"},
        {0x01, "jump"},
        {0x02, "jump_if"},
        {0x03, "call_if"},
        {0x04, "call"},
        {0x05, "call_args"},
        {0x06, "scn_call_buf"},
        {0x07, "return"},
        {0x08, "scn_call_file"},
        {0x09, "scn_jump_file"},
        {0x0A, "win_confirm"},
        {0x0B, "win_select"},
        {0x0C, "scn_return"},
        {0x0D, "jump_table"},
        {0x0E, "sys_restart"},
        {0x10, "file_info"},
        {0x11, "file_write"},
        {0x12, "file_copy"},
        {0x13, "path_set"},
        {0x14, "dir_get"},
        {0x15, "dir_set"},
        {0x16, "file_delete"},
        {0x17, "dir_remove"},
        {0x18, "disk_free"},
        {0x19, "file_exists"},
        {0x1C, "file_dialog"},
        {0x1D, "path_split"},
        {0x1E, "pic_save_bmp"},
        {0x20, "ini_file"},
        {0x21, "ini_read"},
        {0x22, "ini_write"},
        {0x23, "sys_metrics"},
        {0x24, "sys_time"},
        {0x25, "win_notice"},
        {0x26, "sys_message"},
        {0x27, "sys_display"},
        {0x28, "eval_alt"},
        {0x29, "sys_exec"},
        {0x2B, "hook_set"},
        {0x2C, "hook_set_alt"},
        {0x30, "col_set"},
        {0x31, "col_get"},
        {0x32, "font_make"},
        {0x33, "font_pic"},
        {0x34, "win_load"},
        {0x35, "text_put"},
        {0x36, "pic_invert"},
        {0x37, "pic_fill"},
        {0x38, "buf_grab"},
        {0x39, "win_draw_buf"},
        {0x3A, "buf_cells"},
        {0x3B, "win_draw_cell"},
        {0x3C, "win_pixel"},
        {0x3D, "pic_draw"},
        {0x3E, "alpha_key"},
        {0x3F, "alpha_load"},
        {0x40, "alpha_copy"},
        {0x41, "pause_pic"},
        {0x50, "wait"},
        {0x51, "btn_wait"},
        {0x52, "clock_get"},
        {0x53, "clock_reset"},
        {0x54, "clock_wait"},
        {0x60, "str_let"},
        {0x61, "str_cat"},
        {0x62, "str_cmp"},
        {0x63, "str_len"},
        {0x64, "str_expand"},
        {0x65, "str_to_num"},
        {0x66, "str_find"},
        {0x67, "str_mid"},
        {0x68, "str_splice"},
        {0x69, "str_to_buf"},
        {0x70, "buf_read"},
        {0x71, "buf_release"},
        {0x72, "buf_regions"},
        {0x73, "buf_alloc"},
        {0x74, "var_bind"},
        {0x75, "buf_info"},
        {0x76, "str_clear"},
        {0x77, "var_bound"},
        {0x78, "buf_eval"},
        {0x79, "buf_copy"},
        {0x7A, "buf_move_bytes"},
        {0x80, "mouse_set_pos"},
        {0x81, "cursor_set"},
        {0x82, "btn_cursor"},
        {0x83, "cursor_clip"},
        {0x84, "mouse_get"},
        {0x90, "win_hide"},
        {0x91, "win_repaint"},
        {0x92, "win_info"},
        {0x93, "win_move"},
        {0x94, "win_open"},
        {0x95, "win_close"},
        {0x96, "btn_def"},
        {0x97, "win_show"},
        {0x98, "win_resize"},
        {0x99, "win_btn_num"},
        {0x9A, "win_message"},
        {0x9B, "win_list_layout"},
        {0x9C, "win_set"},
        {0x9D, "win_pin"},
        {0x9E, "win_unpin"},
        {0x9F, "btn_enable"},
        {0xA0, "win_transp"},
        {0xA1, "win_tile"},
        {0xB0, "mci_send"},
        {0xB1, "wave_play"},
        {0xB2, "wave_play_buf"},
        {0xB3, "wave_stop"},
        {0xB4, "vol_get"},
        {0xB5, "vol_set"},
        {0xB6, "vol_fade"},
        {0xB7, "vol_fade_end"},
        {0xC0, "tick_set"},
        {0xC1, "tick_on"},
        {0xC2, "tick_off"},
        {0xC3, "key_wait"},
        {0xC4, "key_state"},
        {0xC5, "plugin_load"},
        {0xC6, "plugin_call"},
        {0xC7, "anim_def"},
        {0xC8, "anim_start"},
        {0xC9, "anim_stop"},
        {0xCA, "anim_play"},
        {0xCB, "key_read"},
        {0xCC, "key_clear"},
        {0xD0, "fx_mosaic"},
        {0xD1, "fx_wave"},
        {0xD2, "fx_jitter"},
        {0xD3, "fx_dissolve"},
        {0xD4, "fx_pattern"},
        {0xD5, "fx_scatter"},
        {0xD6, "fx_zoom"},
        {0xD7, "fx_glow"},
        {0xD8, "fx_scale"},
        {0xFF, "end"},
    };
    std::set<int> named;
    for (const Row& row : rows) {
        ASSERT_NE(command_specs[row.byte].name, nullptr) << std::hex << row.byte;
        EXPECT_STREQ(command_specs[row.byte].name, row.name);
        named.insert(row.byte);
    }
    // Everything else is unassigned, 0x1A and 0x1B included.
    int unassigned = 0;
    for (int i = 0; i < 256; ++i) {
        if (named.count(i)) continue;
        EXPECT_EQ(command_specs[i].name, nullptr) << "byte 0x" << std::hex << i;
        EXPECT_STREQ(command_specs[i].signature, "") << "byte 0x" << std::hex << i;
        ++unassigned;
    }
    // 0x0F, 0x1A, 0x1B, 0x1F, 0x2A, 0x2D-0x2F, 0x42-0x4F, 0x55-0x5F, 0x6A-0x6F,
    // 0x7B-0x7F, 0x85-0x8F, 0xA2-0xAF, 0xB8-0xBF, 0xCD-0xCF, 0xD9-0xFE.
    EXPECT_EQ(unassigned, 1 + 2 + 1 + 1 + 3 + 14 + 11 + 6 + 5 + 11 + 14 + 8 + 3 + 38);
}

TEST(CommandSpecs, NamesAreUnique) {
    std::set<std::string> names;
    for (const CommandSpec& row : command_specs)
        if (row.name) {
            EXPECT_TRUE(names.insert(row.name).second) << row.name;
        }
}

TEST(CommandSpecs, SignaturesUseOnlyOperandLettersAndOneClosingList) {
    for (const CommandSpec& row : command_specs) {
        const size_t len = std::strlen(row.signature);
        EXPECT_LE(len, 16u) << row.name;
        for (size_t i = 0; i < len; ++i) {
            const char c = row.signature[i];
            const bool operand = c == 'w' || c == 'n' || c == 's';
            const bool list = std::strchr("JCKPT", c) != nullptr;
            EXPECT_TRUE(operand || (list && i + 1 == len)) << row.name << " at " << i;
        }
    }
}

TEST(CommandSpecs, SignaturesFollowTheOperandColumns) {
    struct Row {
        int byte;
        const char* signature;
    };
    const Row rows[] = {
        {0x02, "nw"},               // condition, target
        {0x03, "nwnnnn"},           // condition, target, four arguments
        {0x05, "nnnnw"},            // four arguments, then the target
        {0x0A, "swwn"},             // text, yes, no, win_no
        {0x0B, "nwnwwnnC"},         // win_select with its choice list
        {0x0D, "nnJ"},              // jump_table
        {0x11, "snnnn"},            // file_write reads a fifth operand
        {0x1C, "ssssn"},            // file_dialog: four strings and the flags
        {0x32, "nsnnnn"},           // font_make: the face is the second operand
        {0x34, "snnnnnnnnn"},       // win_load: name and nine numbers
        {0x35, "snnnnnnnnnnnn"},    // text_put: text and twelve numbers
        {0x3D, "nnnnnnnnnnnnnnn"},  // pic_draw: fifteen numbers
        {0x3F, "nsnnn"},            // alpha_load: target before the name
        {0x51, "nnnP"},             // btn_wait
        {0x68, "nnns"},             // str_splice: the text comes last
        {0x91, "nn"},               // win_repaint reads a second operand
        {0x94, "nnK"},              // win_open
        {0x9A, "nnswwnnnn"},        // win_message: two word targets
        {0x9C, "nK"},               // win_set
        {0xC6, "nnT"},              // plugin_call
        {0xD2, "nnnnnn"},           // fx_jitter reads a sixth operand
        {0xD5, "nnnnnnnnn"},        // fx_scatter
        {0xFF, ""},                 // end
    };
    for (const Row& row : rows)
        EXPECT_STREQ(command_specs[row.byte].signature, row.signature)
            << command_specs[row.byte].name;
}

TEST(CommandSpecs, ListKindIsTheLastLetter) {
    EXPECT_EQ(signature_list_kind(""), ListKind::None);
    EXPECT_EQ(signature_list_kind(nullptr), ListKind::None);
    EXPECT_EQ(signature_list_kind("nnn"), ListKind::None);
    EXPECT_EQ(signature_list_kind(command_specs[0x0D].signature), ListKind::JumpTargets);
    EXPECT_EQ(signature_list_kind(command_specs[0x0B].signature), ListKind::Choices);
    EXPECT_EQ(signature_list_kind(command_specs[0x94].signature), ListKind::KeyValues);
    EXPECT_EQ(signature_list_kind(command_specs[0x9C].signature), ListKind::KeyValues);
    EXPECT_EQ(signature_list_kind(command_specs[0x51].signature), ListKind::WindowPairs);
    EXPECT_EQ(signature_list_kind(command_specs[0xC6].signature), ListKind::TypedArgs);
    // The dispatcher hands over a pointer to the list letter itself.
    EXPECT_EQ(signature_list_kind("T"), ListKind::TypedArgs);
    int with_list = 0;
    for (const CommandSpec& row : command_specs)
        if (signature_list_kind(row.signature) != ListKind::None) ++with_list;
    EXPECT_EQ(with_list, 6);
}

}  // namespace
}  // namespace qln
