#include "engine/settings.h"

#include <cstring>

namespace qln {

void settings_copy_text(char* field, int field_size, const char* text) {
    if (field_size <= 0) return;
    size_t n = text ? std::strlen(text) : 0;
    if (n >= static_cast<size_t>(field_size)) n = static_cast<size_t>(field_size) - 1;
    if (n) std::memcpy(field, text, n);
    field[n] = '\0';
}

static void file_setting_default(FileSetting& setting, const char* name) {
    settings_copy_text(setting.name, kPathMax, name);
    setting.entry = 0;
    setting.compressed = false;
}

void settings_default(Settings& settings) {
    settings = Settings{};
    settings_copy_text(settings.title, kPathMax, "Quillon");
    file_setting_default(settings.cursor_file, "DEFAULT.AMP");
    file_setting_default(settings.command_names_file, "QLN_CMDN.TXT");
    file_setting_default(settings.error_messages_file, "QLN_ERRM.TXT");
}

}  // namespace qln
