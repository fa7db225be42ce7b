#pragma once
// Which of SDL's renderers presents the screen. Where no graphics processor
// is reachable, OpenGL would run on the processor as well (Mesa's llvmpipe):
// loading it costs about 80 ms before the first frame and a pool of threads,
// so SDL's own software renderer and window framebuffer present instead.

#include <string>

namespace qln {

// True when the host has a GPU device node (/dev/dri/renderD*, /dev/nvidiactl)
// under dev_dir.
bool gpu_device_present(const std::string& dev_dir = "/dev");

// Sets SDL's render-driver hints for this host. Environment variables the
// player set (SDL_RENDER_DRIVER, SDL_FRAMEBUFFER_ACCELERATION) still win.
void render_choice_apply();

}  // namespace qln
