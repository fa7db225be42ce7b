#pragma once
// The sound records: the five mixer lines with their fades, and the mixer
// graph the output device renders (waves, streamed tracks and the sequencer).

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace qln {

inline constexpr uint32_t kMixerLines = 5;
// Line numbers of the scenario commands.
inline constexpr uint32_t kLineMaster = 0, kLineWave = 1, kLineSynth = 2, kLineCd = 3, kLineIn = 4;
inline constexpr uint32_t kVolumeScale = 1000;  // the engine's volume scale, 0 to 1000
inline constexpr uint32_t kRawVolumeMax = 65535;
inline constexpr int32_t kSoundRate = 44100;  // the mixer's output: stereo, 16 bits

// One mixer line: a volume control of one or two channels on a 0..maximum
// raw scale, applied as a software gain, and its fade on the 0-1000 scale.
struct MixerLine {
    bool available = false;
    uint32_t maximum = kRawVolumeMax;
    uint8_t channels = 2;  // 2: left and right; any other count reads raw[0]
    uint32_t raw[2] = {kRawVolumeMax, kRawVolumeMax};
    bool fading = false;
    uint16_t target[2] = {};
    uint16_t start[2] = {};
    uint32_t start_time = 0;
    uint32_t duration = 0;  // 0 to 65535 ms
};

// Decoded sound: interleaved stereo 16-bit frames at kSoundRate. Shared by
// the voices that play it, so replacing or freeing its source never frees
// what a voice still reads.
struct Pcm {
    std::vector<int16_t> samples;
    uint64_t frames() const { return samples.size() / 2; }
};

// Sound decoded ahead of the renderer: the engine writes frames in, the
// renderer reads them out, each side moving only its own count, so neither
// waits for the other. Allocated once, when the stream opens.
struct StreamRing {
    explicit StreamRing(uint32_t capacity) : samples(size_t(capacity) * 2), frames(capacity) {}
    std::vector<int16_t> samples;  // interleaved stereo
    const uint64_t frames;
    std::atomic<uint64_t> written{0}, read{0};
    std::atomic<bool> finished{false};  // everything has been written
};

struct TrackStream;  // the decoder that fills a ring (sound/track_stream.h)
struct MidiSynth;    // the SoundFont synthesizer (sound/midi_synth.h)
struct MidiSong;     // one MIDI file on its player

struct WaveVoice {
    std::shared_ptr<const Pcm> pcm;
    std::shared_ptr<StreamRing> ring;  // instead of pcm: a stream
    bool midi = false;                 // instead of pcm: the synthesizer's output
    uint64_t frame = 0;                // next frame to play
    bool loop = false;
    bool done = false;  // set by the renderer; the voice is dropped by the engine
    uint32_t id = 0;
    uint64_t end_frame = UINT64_MAX;  // plays up to here (a media device's "to")
    uint32_t owner = 0;               // 0: the wave commands; else a media device's id
    uint32_t line = kLineWave;        // the mixer line whose gain it plays through
};

// A CD track found as a file; track 1 is the data track.
struct CdTrack {
    uint32_t number = 0;
    std::string host_path;
    uint64_t frames = 0;  // at the mixer's rate
    uint64_t offset = 0;  // where it starts in its file (a cue sheet's image)
    bool raw = false;     // a raw CD image: 16-bit little-endian stereo at 44,100 Hz
};

// A play's end as the media interface reports it to the main window.
inline constexpr uint16_t kNotifySuccessful = 1, kNotifySuperseded = 2, kNotifyAborted = 4;
struct MediaNotification {
    uint32_t device = 0;
    uint16_t code = 0;
};

// A device opened with a media command string.
struct MediaDevice {
    uint32_t id = 0;
    std::string alias;                    // lower case; the device type when opened without one
    std::string type;                     // cdaudio, waveaudio, sequencer, mpegvideo
    std::shared_ptr<const Pcm> pcm;       // the opened element's samples, if any
    std::string host_path;                // a streamed element (generic media device)
    uint64_t frames = 0;                  // its length
    std::shared_ptr<TrackStream> stream;  // decoding while it plays
    std::shared_ptr<MidiSong> song;       // a sequencer's file
    bool notify = false;                  // a play asked to be told when it ends
    enum class Mode : uint8_t { NotReady, Stopped, Playing, Paused } mode = Mode::Stopped;
    uint64_t position = 0;     // frames, while not playing
    uint64_t origin = 0;       // where the playing voice's frame 0 lies
    uint64_t play_frames = 0;  // where the voice ends, counted from origin
    uint32_t voice = 0;        // the playing voice
    enum class TimeFormat : uint8_t {
        Milliseconds,
        Tmsf,
        Msf,
        Samples
    } time_format = TimeFormat::Milliseconds;
};

struct SoundState {
    bool mixer_open = false;
    bool device_open = false;
    MixerLine lines[kMixerLines];
    // Voices the renderer reads under the device's lock. The renderer only
    // marks ended voices; the engine drops them, so the audio thread never
    // frees memory.
    std::vector<WaveVoice> waves;
    uint32_t next_voice_id = 1;
    std::vector<MediaDevice> media;
    // Where CD track files are looked for, in order, and what was found
    // there (looked for once, when a CD device first opens).
    std::vector<std::string> cd_folders = {"cd", "bgm", ""};
    bool cd_scanned = false;
    std::vector<CdTrack> cd_tracks;
    uint32_t next_media_id = 1;
    // Notifications posted to the main window, oldest first (a few kept).
    std::vector<MediaNotification> notifications;
    uint32_t notifications_posted = 0;
    // The SoundFont of the sequencer, loaded when one first opens.
    std::string soundfont = "/usr/share/sounds/sf2/default-GM.sf2";
    bool synth_tried = false;
    std::shared_ptr<MidiSynth> synth;
    // Without a device the engine renders the graph itself on the virtual
    // clock, up to each tick it sees, and keeps the samples when asked to.
    bool capture = false;
    std::vector<int16_t> captured;  // interleaved stereo
    uint64_t rendered_frames = 0;
    uint64_t elapsed_ms = 0;  // since the mixer opened
    uint32_t last_tick = 0;
    // Where the volumes persist between runs (host path); empty: nowhere.
    std::string volume_path;
    bool volumes_changed = false;
};

}  // namespace qln
