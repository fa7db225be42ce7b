#pragma once
// Engine settings: table sizes and file names, filled with defaults before the
// start-up scenario is chosen; its settings records may replace them. Every
// table is allocated from the final values and never resized.

#include <cstdint>

namespace qln {

inline constexpr int kPathMax = 260;

// A file named by a setting: a file reference with directory 0.
struct FileSetting {
    char name[kPathMax] = {};
    uint16_t entry = 0;
    bool compressed = false;
};

struct Settings {
    char title[kPathMax] = {};  // main window title and message-box caption
    uint16_t view_width = 640;
    uint16_t view_height = 480;
    uint16_t screen_width = 640;
    uint16_t screen_height = 480;
    uint16_t window_count = 16;
    uint16_t animation_count = 0;
    uint16_t colour_count = 256;
    uint16_t font_count = 36;
    uint16_t picture_font_count = 36;
    uint16_t max_call_depth = 16;
    uint16_t buffer_count = 256;
    uint16_t system_string_count = 32;
    uint16_t string_register_count = 512;
    uint16_t byte_array_size = 1024;
    uint16_t word_array1_size = 512;
    uint16_t word_array2_size = 512;
    uint16_t dword_array_size = 256;
    uint16_t result_register_count = 64;
    uint16_t local_variable_count = 256;
    FileSetting cursor_file;
    FileSetting command_names_file;
    FileSetting error_messages_file;
    FileSetting startup;  // the chosen start-up scenario (always compressed)
};

// Fills every setting with its default.
void settings_default(Settings& settings);

// Copies text into a fixed field, cutting it so the terminator always fits.
void settings_copy_text(char* field, int field_size, const char* text);

}  // namespace qln
