#include "platform/sdl2/sdl_audio.h"

#include <cstdio>

namespace qln {

bool SdlAudioDevice::audio_open(const AudioFormat& format, AudioRender render, void* context) {
    if (device_ != 0 || !render) return false;
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        std::fprintf(stderr, "quillon: no audio (%s); running silent\n", SDL_GetError());
        return false;
    }
    render_ = render;
    context_ = context;
    SDL_AudioSpec want{};
    want.freq = format.rate;
    want.format = AUDIO_S16SYS;
    want.channels = Uint8(format.channels);
    want.samples = 512;
    want.callback = callback;
    want.userdata = this;
    SDL_AudioSpec have{};
    device_ = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
    if (device_ == 0) {
        std::fprintf(stderr, "quillon: no audio device (%s); running silent\n", SDL_GetError());
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    SDL_PauseAudioDevice(device_, 0);
    return true;
}

void SdlAudioDevice::audio_close() {
    if (device_ == 0) return;
    SDL_CloseAudioDevice(device_);
    device_ = 0;
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

void SdlAudioDevice::audio_lock() {
    if (device_ != 0) SDL_LockAudioDevice(device_);
}

void SdlAudioDevice::audio_unlock() {
    if (device_ != 0) SDL_UnlockAudioDevice(device_);
}

void SdlAudioDevice::callback(void* self, Uint8* stream, int len) {
    auto* device = static_cast<SdlAudioDevice*>(self);
    // Stereo 16-bit: four bytes a frame.
    device->render_(device->context_, reinterpret_cast<int16_t*>(stream), uint32_t(len) / 4);
}

}  // namespace qln
