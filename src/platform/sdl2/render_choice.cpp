#include "platform/sdl2/render_choice.h"

#include <SDL.h>
#include <dirent.h>
#include <sys/stat.h>

#include <cstring>

namespace qln {

bool gpu_device_present(const std::string& dev_dir) {
    struct stat st {};
    if (stat((dev_dir + "/nvidiactl").c_str(), &st) == 0) return true;
    DIR* dri = opendir((dev_dir + "/dri").c_str());
    if (!dri) return false;
    bool found = false;
    while (const dirent* entry = readdir(dri)) {
        if (std::strncmp(entry->d_name, "renderD", 7) == 0) {
            found = true;
            break;
        }
    }
    closedir(dri);
    return found;
}

void render_choice_apply() {
    if (gpu_device_present()) return;
    // Normal priority: an environment variable of the same name overrides it.
    SDL_SetHintWithPriority(SDL_HINT_RENDER_DRIVER, "software", SDL_HINT_NORMAL);
    SDL_SetHintWithPriority(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0", SDL_HINT_NORMAL);
}

}  // namespace qln
