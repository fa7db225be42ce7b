#pragma once
// The SDL2 audio device the mixer renders into: 44,100 Hz stereo 16-bit in
// blocks of 512 frames (about 12 ms), SDL converting when the hardware
// wants another format.

#include <SDL.h>

#include "platform/platform.h"

namespace qln {

class SdlAudioDevice final : public AudioService {
  public:
    ~SdlAudioDevice() override { audio_close(); }
    bool audio_open(const AudioFormat& format, AudioRender render, void* context) override;
    void audio_close() override;
    void audio_lock() override;
    void audio_unlock() override;

  private:
    static void callback(void* self, Uint8* stream, int len);
    SDL_AudioDeviceID device_ = 0;
    AudioRender render_ = nullptr;
    void* context_ = nullptr;
};

}  // namespace qln
