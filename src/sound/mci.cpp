#include "sound/mci.h"

#include <algorithm>
#include <cstdio>
#include <memory>

#include "base/ascii.h"
#include "engine/engine.h"
#include "files/file_paths.h"
#include "platform/host_files.h"
#include "run/run_loop.h"
#include "sound/audio_file.h"
#include "sound/cd_tracks.h"
#include "sound/midi_synth.h"
#include "sound/sound_graph.h"
#include "sound/track_stream.h"
#include "sound/wav_decode.h"

namespace qln {
namespace {

constexpr size_t kMaxCommand = 1024;
// A wave or MIDI file is read whole: an hour of the mixer's frames at most.
constexpr uint64_t kMaxElementBytes = uint64_t(kSoundRate) * 3600 * 4;
using Mode = MediaDevice::Mode;
using TimeFormat = MediaDevice::TimeFormat;

std::string extension_of(const std::string& name) {
    const size_t dot = name.find_last_of('.');
    const size_t sep = name.find_last_of("\\/");
    if (dot == std::string::npos || (sep != std::string::npos && dot < sep)) return "";
    return ascii_lower(name.substr(dot + 1));
}

bool parse_number(const std::string& word, uint64_t& value) {
    if (word.empty() || word.size() > 10) return false;
    value = 0;
    for (char c : word) {
        if (c < '0' || c > '9') return false;
        value = value * 10 + uint64_t(c - '0');
    }
    return value <= UINT32_MAX;
}

// A file a device type belongs to by its extension.
bool is_media_file(const std::string& name) {
    const std::string ext = extension_of(name);
    return ext == "wav" || ext == "mid" || ext == "midi" || ext == "rmi" || ext == "mp3" ||
           ext == "ogg" || ext == "flac";
}

bool is_simple_device(const std::string& name) {
    return name == "cdaudio" || name == "waveaudio" || name == "sequencer";
}

constexpr uint64_t kDataTrackFrames = uint64_t(kSoundRate) * 2;  // without a file for track 1
constexpr uint64_t kCdFramesPerSecond = 75;

struct DiscTrack {
    uint64_t start = 0, frames = 0;
    const CdTrack* file = nullptr;
};

// The disc: tracks 1 to the highest found, each after the one before.
std::vector<DiscTrack> disc_layout(Engine& engine) {
    SoundState& s = engine.sound;
    if (!s.cd_scanned) {
        s.cd_tracks = cd_tracks_find(engine, s.cd_folders);
        s.cd_scanned = true;
    }
    const uint32_t count = s.cd_tracks.empty() ? 0 : s.cd_tracks.back().number;
    std::vector<DiscTrack> disc(count);
    for (const CdTrack& t : s.cd_tracks) disc[t.number - 1].file = &t;
    uint64_t at = 0;
    for (uint32_t n = 0; n < count; ++n) {
        disc[n].start = at;
        disc[n].frames = disc[n].file ? disc[n].file->frames : n == 0 ? kDataTrackFrames : 0;
        at += disc[n].frames;
    }
    return disc;
}

bool is_cd(const MediaDevice& d) {
    return d.type == "cdaudio";
}

// "mm:ss:ff" of a frame count, in CD frames of 1/75 s.
std::string msf_text(uint64_t frames) {
    const uint64_t f = frames * kCdFramesPerSecond / kSoundRate;
    char text[32];
    std::snprintf(
        text, sizeof text, "%02llu:%02llu:%02llu", static_cast<unsigned long long>(f / (75 * 60)),
        static_cast<unsigned long long>(f / 75 % 60), static_cast<unsigned long long>(f % 75));
    return text;
}

// "a:b:c..." into up to parts numbers; false for anything else.
bool parse_colon_numbers(const std::string& word, uint64_t* parts, int max_parts, int& count) {
    count = 0;
    size_t at = 0;
    while (count < max_parts) {
        const size_t colon = std::min(word.find(':', at), word.size());
        uint64_t v = 0;
        const std::string piece = word.substr(at, colon - at);
        if (piece.empty()) {
            v = 0;
        } else {
            for (char c : piece) {
                if (c < '0' || c > '9' || v > 1000000) return false;
                v = v * 10 + uint64_t(c - '0');
            }
        }
        parts[count++] = v;
        if (colon == word.size()) return true;
        at = colon + 1;
    }
    return false;
}

uint64_t msf_frames(uint64_t m, uint64_t s, uint64_t f) {
    return (m * 60 * 75 + s * 75 + f) * kSoundRate / kCdFramesPerSecond;
}

MediaDevice* device_find(Engine& engine, const std::string& name) {
    for (MediaDevice& d : engine.sound.media)
        if (d.alias == name) return &d;
    return nullptr;
}

uint64_t length_frames(Engine& engine, const MediaDevice& d) {
    if (is_cd(d)) {
        const std::vector<DiscTrack> disc = disc_layout(engine);
        return disc.empty() ? 0 : disc.back().start + disc.back().frames;
    }
    if (d.pcm) return d.pcm->frames();
    return d.song ? midi_song_frames(*d.song) : d.frames;
}

// Where the device is now, in frames.
uint64_t position_now(Engine& engine, MediaDevice& d) {
    if (d.mode != Mode::Playing) return d.position;
    sound_catch_up(engine);  // what has played up to this tick
    SoundGraphHold hold(engine);
    const WaveVoice* v = sound_voice_find(engine, d.voice);
    if (v && !v->done) return d.origin + v->frame;
    // The voice has ended: the device stopped at its end.
    d.mode = Mode::Stopped;
    d.position = d.origin + (v ? std::min(v->frame, v->end_frame) : d.play_frames);
    return d.position;
}

std::string format_position(Engine& engine, const MediaDevice& d, uint64_t frames) {
    const uint64_t ms = frames * 1000 / kSoundRate;
    char text[32];
    if (is_cd(d) && d.time_format == TimeFormat::Msf) return msf_text(frames);
    if (is_cd(d) && d.time_format == TimeFormat::Tmsf) {
        const std::vector<DiscTrack> disc = disc_layout(engine);
        size_t n = 0;
        while (n + 1 < disc.size() && disc[n + 1].start <= frames) ++n;
        const uint64_t in_track = disc.empty() ? 0 : frames - disc[n].start;
        std::snprintf(text, sizeof text, "%02u:", unsigned(n + 1));
        return text + msf_text(in_track);
    }
    switch (d.time_format) {
        case TimeFormat::Samples:
            std::snprintf(text, sizeof text, "%llu", static_cast<unsigned long long>(frames));
            break;
        case TimeFormat::Milliseconds:
        default:
            std::snprintf(text, sizeof text, "%llu", static_cast<unsigned long long>(ms));
            break;
    }
    return text;
}

// A position word in the device's time format, to frames.
uint32_t parse_position(Engine& engine, const MediaDevice& d, const std::string& word,
                        uint64_t& frames) {
    uint64_t value = 0;
    if (is_cd(d) && d.time_format != TimeFormat::Milliseconds) {
        uint64_t p[4] = {};
        int count = 0;
        if (!parse_colon_numbers(word, p, 4, count)) return kMciBadInteger;
        if (d.time_format == TimeFormat::Msf) {
            if (count > 3) return kMciBadInteger;
            frames = msf_frames(p[0], p[1], p[2]);
        } else {
            const std::vector<DiscTrack> disc = disc_layout(engine);
            if (p[0] < 1 || p[0] > disc.size()) return kMciOutOfRange;
            frames = disc[p[0] - 1].start + msf_frames(p[1], p[2], p[3]);
        }
    } else {
        if (!parse_number(word, value)) return kMciBadInteger;
        frames = d.time_format == TimeFormat::Samples ? value : value * kSoundRate / 1000;
    }
    return frames > length_frames(engine, d) ? kMciOutOfRange : kMciOk;
}

// The disc's sound from from to to: the pieces of the track files it spans.
std::vector<TrackPiece> disc_pieces(Engine& engine, uint64_t from, uint64_t to) {
    std::vector<TrackPiece> pieces;
    for (const DiscTrack& t : disc_layout(engine)) {
        const uint64_t begin = std::max(from, t.start), end = std::min(to, t.start + t.frames);
        if (begin >= end) continue;
        TrackPiece p;
        if (t.file) {
            p.host_path = t.file->host_path;
            p.raw = t.file->raw;
            p.from = t.file->offset + (begin - t.start);
        }
        p.frames = end - begin;
        pieces.push_back(std::move(p));
    }
    return pieces;
}

void notify_post(Engine& engine, MediaDevice& d, uint16_t code) {
    if (!d.notify) return;
    d.notify = false;
    std::vector<MediaNotification>& posted = engine.sound.notifications;
    if (posted.size() >= 16) posted.erase(posted.begin());
    posted.push_back(MediaNotification{d.id, code});
    ++engine.sound.notifications_posted;
}

// Ends what the device plays: its voice, its decoder and its MIDI player.
void device_silence(Engine& engine, MediaDevice& d) {
    sound_voices_stop(engine, d.id);
    d.voice = 0;
    if (d.song) {
        SoundGraphHold hold(engine);
        midi_song_stop(*d.song);
    }
    d.stream.reset();
}

// A play that has ended (seen here, in a status or in a play's wait) frees
// its decoder and says how it ended: at its end, or early because a file of
// it could not be read.
void device_end_check(Engine& engine, MediaDevice& d) {
    if (d.mode != Mode::Stopped || d.voice == 0) return;
    const bool failed = d.stream && track_stream_failed(*d.stream);
    device_silence(engine, d);
    notify_post(engine, d, failed ? kNotifyFailure : kNotifySuccessful);
}

// A stop or a seek keeps a play from its end; a pause does not (a resume
// goes on to it), so its notification stays due.
void device_stop(Engine& engine, MediaDevice& d, Mode mode) {
    d.position = position_now(engine, d);
    device_end_check(engine, d);
    device_silence(engine, d);
    if (d.mode != Mode::NotReady) d.mode = mode;
    if (mode != Mode::Paused) notify_post(engine, d, kNotifyAborted);
}

struct Request {
    std::vector<std::string> words;  // after the verb and the device name
    size_t at = 0;
    bool take(const char* word) {
        if (at < words.size() && ascii_lower(words[at]) == word) {
            ++at;
            return true;
        }
        return false;
    }
    bool more() const { return at < words.size(); }
    const std::string* next() { return at < words.size() ? &words[at++] : nullptr; }
};

MciReply reply(uint32_t error, std::string text = "") {
    return MciReply{error, std::move(text)};
}

// The wait and notify flags any command may carry.
void take_common(Request& r, bool& wait, bool& notify) {
    for (bool again = true; again;) {
        again = false;
        if (r.take("wait")) wait = again = true;
        if (r.take("notify")) notify = again = true;
    }
}

// The file a device opens: a wave decoded whole (they are short), a MIDI
// file for the sequencer, a track file streamed while it plays. The save
// folder comes first, and a sandbox keeps the read inside the game's folders.
uint32_t element_open(Engine& engine, const std::string& element, MediaDevice& d) {
    std::string host;
    if (!file_host_path(engine, element.c_str(), FileUse::Read, host) ||
        host_path_kind(host) != HostPathKind::File) {
        return kMciFileNotFound;
    }
    if (d.type == "mpegvideo") {
        uint64_t frames = 0;
        if (!audio_file_length(host, frames)) return kMciInvalidFile;
        d.host_path = host;
        d.frames = frames;
        return kMciOk;
    }
    std::vector<uint8_t> bytes;
    if (!host_file_read_all(host, bytes, kMaxElementBytes)) return kMciInvalidFile;
    if (d.type == "sequencer") {
        MidiError error = MidiError::None;
        d.song = midi_song_open(std::move(bytes), error);
        return d.song ? kMciOk : kMciInvalidFile;
    }
    if (d.type != "waveaudio") return kMciCannotLoadDriver;
    auto pcm = std::make_shared<Pcm>();
    if (wav_decode(bytes.data(), bytes.size(), *pcm) != WavError::None) return kMciInvalidFile;
    d.pcm = std::move(pcm);
    return kMciOk;
}

MciReply open_device(Engine& engine, const std::string& name, Request& r) {
    std::string type, alias;
    bool wait = false, notify = false;
    while (r.more()) {
        take_common(r, wait, notify);
        if (!r.more()) break;
        if (r.take("type")) {
            const std::string* t = r.next();
            if (!t) return reply(kMciMissingStringArgument);
            type = ascii_lower(*t);
        } else if (r.take("alias")) {
            const std::string* a = r.next();
            if (!a) return reply(kMciMissingStringArgument);
            alias = ascii_lower(*a);
        } else if (r.take("shareable")) {
        } else {
            return reply(kMciUnrecognizedKeyword);
        }
    }
    const std::string lname = ascii_lower(name);
    const bool is_type =
        lname == "cdaudio" || lname == "waveaudio" || lname == "sequencer" || lname == "mpegvideo";
    std::string element;
    if (!is_type) {
        element = name;
        if (type.empty()) {
            const std::string ext = extension_of(name);
            if (!is_media_file(name)) return reply(kMciExtensionNotFound);
            type = ext == "wav"                                    ? "waveaudio"
                   : ext == "mid" || ext == "midi" || ext == "rmi" ? "sequencer"
                                                                   : "mpegvideo";
        }
    } else {
        type = lname;
    }
    if (alias.empty()) alias = is_type ? lname : ascii_lower(name);
    if (device_find(engine, alias)) return reply(is_type ? kMciDeviceOpen : kMciDuplicateAlias);
    MediaDevice d;
    d.type = type;
    d.alias = alias;
    if (type == "cdaudio") {
        // No track files: a drive without a disc.
        d.mode = disc_layout(engine).empty() ? Mode::NotReady : Mode::Stopped;
        d.time_format = TimeFormat::Msf;
    } else if (!element.empty()) {
        if (const uint32_t e = element_open(engine, element, d)) return reply(e);
    } else if (type != "waveaudio" && type != "sequencer") {
        return reply(kMciCannotLoadDriver);
    }
    d.id = engine.sound.next_media_id++;
    const uint32_t id = d.id;
    engine.sound.media.push_back(std::move(d));
    return reply(kMciOk, std::to_string(id));
}

// resume: a paused play goes on to the end it had.
MciReply play_device(Engine& engine, MediaDevice& d, Request& r, bool resume = false) {
    bool wait = false, notify = false, repeat = false;
    uint64_t from = UINT64_MAX, to = UINT64_MAX;
    while (r.more()) {
        take_common(r, wait, notify);
        if (!r.more()) break;
        const bool is_from = r.take("from");
        if (is_from || r.take("to")) {
            const std::string* w = r.next();
            if (!w) return reply(kMciMissingParameter);
            uint64_t frames = 0;
            if (d.mode != Mode::NotReady) {
                if (const uint32_t e = parse_position(engine, d, *w, frames)) return reply(e);
            }
            (is_from ? from : to) = frames;
        } else if (r.take("repeat")) {
            repeat = true;
        } else {
            return reply(kMciUnrecognizedKeyword);
        }
    }
    if (d.mode == Mode::NotReady) return reply(kMciHardware);
    if (!d.pcm && !d.song && d.host_path.empty() && !is_cd(d)) {
        return reply(kMciUnsupportedFunction);
    }
    const uint64_t start = from != UINT64_MAX ? from : position_now(engine, d);
    const uint64_t end = to != UINT64_MAX ? to
                         : resume         ? d.origin + d.play_frames
                                          : length_frames(engine, d);
    if (start > end) return reply(kMciOutOfRange);
    position_now(engine, d);
    device_end_check(engine, d);
    // A play that moves the end keeps the one before from reaching its end;
    // one that keeps it leaves that notification due, or supersedes it when
    // it asks for its own.
    if (d.notify && end != d.origin + d.play_frames) {
        notify_post(engine, d, kNotifyAborted);
    } else if (notify) {
        notify_post(engine, d, kNotifySuperseded);
    }
    const bool still_due = d.notify;
    device_silence(engine, d);
    WaveVoice voice;
    voice.owner = d.id;
    voice.loop = repeat;
    if (d.pcm || d.song) {
        // The voice counts the file's own frames.
        d.origin = 0;
        d.play_frames = end;
        voice.frame = start;
        voice.end_frame = end;
        voice.pcm = d.pcm;
        voice.midi = d.song != nullptr;
        voice.line = d.song ? kLineSynth : kLineWave;
    } else {
        // A stream counts from where it starts.
        d.origin = start;
        d.play_frames = end - start;
        voice.end_frame = end - start;
        d.stream = track_stream_open(
            is_cd(d) ? disc_pieces(engine, start, end)
                     : std::vector<TrackPiece>{TrackPiece{d.host_path, false, start, end - start}},
            repeat);
        voice.ring = track_stream_ring(*d.stream);
        voice.line = is_cd(d) ? kLineCd : kLineWave;
    }
    if (d.song) {
        std::shared_ptr<MidiSynth> synth = midi_synth_get(engine);
        sound_catch_up(engine);
        SoundGraphHold hold(engine);
        midi_song_play(*d.song, std::move(synth), start, repeat);
    }
    d.voice = sound_voice_add(engine, std::move(voice));
    d.notify = notify || still_due;
    d.mode = Mode::Playing;
    if (wait && !repeat) {
        InputState snap;
        while (position_now(engine, d), d.mode == Mode::Playing) {
            idle_until_due(engine);
            if (!poll(engine, snap)) break;
        }
    }
    return reply(kMciOk);
}

MciReply status_device(Engine& engine, MediaDevice& d, Request& r) {
    bool wait = false, notify = false;
    take_common(r, wait, notify);
    const bool no_disc = d.mode == Mode::NotReady;
    MciReply out;
    if (r.take("mode")) {
        const Mode m = (position_now(engine, d), d.mode);
        out.text = m == Mode::Playing    ? "playing"
                   : m == Mode::Paused   ? "paused"
                   : m == Mode::NotReady ? "not ready"
                                         : "stopped";
    } else if (r.take("position")) {
        out.text = no_disc ? "" : format_position(engine, d, position_now(engine, d));
        if (no_disc) out.error = kMciHardware;
    } else if (r.take("length")) {
        if (r.take("track")) {
            uint64_t n = 0;
            const std::string* w = r.next();
            if (!w || !parse_number(*w, n)) return reply(kMciBadInteger);
            if (no_disc) return reply(kMciHardware);
            if (!is_cd(d)) return reply(kMciUnsupportedFunction);
            const std::vector<DiscTrack> disc = disc_layout(engine);
            if (n < 1 || n > disc.size()) return reply(kMciOutOfRange);
            const uint64_t frames = disc[n - 1].frames;
            return reply(kMciOk, d.time_format == TimeFormat::Milliseconds
                                     ? std::to_string(frames * 1000 / kSoundRate)
                                     : msf_text(frames));
        }
        if (no_disc) return reply(kMciHardware);
        out.text = format_position(engine, d, length_frames(engine, d));
    } else if (r.take("number")) {
        if (!r.take("of") || !r.take("tracks")) return reply(kMciUnrecognizedKeyword);
        if (no_disc) return reply(kMciHardware);
        out.text = is_cd(d) ? std::to_string(disc_layout(engine).size()) : "1";
    } else if (r.take("current")) {
        if (!r.take("track")) return reply(kMciUnrecognizedKeyword);
        if (no_disc) return reply(kMciHardware);
        const std::vector<DiscTrack> disc = disc_layout(engine);
        const uint64_t at = position_now(engine, d);
        size_t n = 0;
        while (n + 1 < disc.size() && disc[n + 1].start <= at) ++n;
        out.text = std::to_string(n + 1);
    } else if (r.take("ready")) {
        out.text = no_disc ? "false" : "true";
    } else if (r.take("media")) {
        if (!r.take("present")) return reply(kMciUnrecognizedKeyword);
        out.text = no_disc ? "false" : "true";
    } else if (r.take("time")) {
        if (!r.take("format")) return reply(kMciUnrecognizedKeyword);
        out.text = d.time_format == TimeFormat::Samples ? "samples"
                   : d.time_format == TimeFormat::Msf   ? "msf"
                   : d.time_format == TimeFormat::Tmsf  ? "tmsf"
                                                        : "milliseconds";
    } else {
        return reply(r.more() ? kMciUnrecognizedKeyword : kMciMissingParameter);
    }
    take_common(r, wait, notify);
    if (r.more()) return reply(kMciUnrecognizedKeyword);
    return out;
}

MciReply set_device(MediaDevice& d, Request& r) {
    bool wait = false, notify = false;
    take_common(r, wait, notify);
    if (r.take("time")) {
        if (!r.take("format")) return reply(kMciUnrecognizedKeyword);
        const std::string* f = r.next();
        if (!f) return reply(kMciMissingParameter);
        const std::string v = ascii_lower(*f);
        if (v == "ms" || v == "milliseconds") {
            d.time_format = TimeFormat::Milliseconds;
        } else if (v == "samples" && d.type == "waveaudio") {
            d.time_format = TimeFormat::Samples;
        } else if ((v == "tmsf" || v == "msf") && d.type == "cdaudio") {
            d.time_format = v == "tmsf" ? TimeFormat::Tmsf : TimeFormat::Msf;
        } else {
            return reply(kMciBadTimeFormat);
        }
    } else if (r.take("door")) {
        if (!r.take("open") && !r.take("closed")) return reply(kMciMissingParameter);
    } else if (r.take("audio")) {
        if (!r.take("all") && !r.take("left") && !r.take("right"))
            return reply(kMciMissingParameter);
        if (!r.take("on") && !r.take("off")) return reply(kMciMissingParameter);
    } else {
        return reply(r.more() ? kMciUnrecognizedKeyword : kMciMissingParameter);
    }
    take_common(r, wait, notify);
    return reply(r.more() ? kMciUnrecognizedKeyword : kMciOk);
}

void device_close(Engine& engine, const std::string& alias) {
    std::vector<MediaDevice>& media = engine.sound.media;
    for (auto it = media.begin(); it != media.end(); ++it) {
        if (it->alias != alias) continue;
        device_silence(engine, *it);
        notify_post(engine, *it, kNotifyAborted);
        media.erase(it);
        return;
    }
}

}  // namespace

const char* mci_error_text(uint32_t error) {
    switch (error) {
        case kMciOk:
            return "";
        case kMciInvalidDeviceId:
            return "Invalid device ID. Use the ID given to the device when the device was opened.";
        case kMciUnrecognizedKeyword:
            return "An unknown command parameter was specified.";
        case kMciUnrecognizedCommand:
            return "The specified command is not recognized.";
        case kMciHardware:
            return "The specified device has a problem. Check that the device is working "
                   "correctly, or that a disc is in the drive.";
        case kMciInvalidDeviceName:
            return "The specified device is not open or is not recognized.";
        case kMciDeviceOpen:
            return "The device name is already used as an alias by this application. Use a unique "
                   "alias.";
        case kMciCannotLoadDriver:
            return "The specified device driver will not load properly.";
        case kMciMissingCommandString:
            return "No command was specified.";
        case kMciParamOverflow:
            return "The output string was not long enough.";
        case kMciMissingStringArgument:
            return "A string value was missing from the command.";
        case kMciBadInteger:
            return "An integer in the command was invalid or missing.";
        case kMciMissingParameter:
            return "The specified command requires a parameter. Supply one.";
        case kMciUnsupportedFunction:
            return "The device does not support the specified command.";
        case kMciFileNotFound:
            return "The requested file was not found. Check that the path and file name are "
                   "correct.";
        case kMciCannotUseAll:
            return "The device name \"all\" is not allowed for this command.";
        case kMciExtensionNotFound:
            return "The specified extension has no device type associated with it. Specify a "
                   "device type.";
        case kMciOutOfRange:
            return "The specified parameter value is out of range for the specified command.";
        case kMciDuplicateAlias:
            return "The specified alias is already used in this application. Use a unique alias.";
        case kMciBadConstant:
            return "The value specified for a parameter is unknown.";
        case kMciMissingDeviceName:
            return "No device name was specified.";
        case kMciBadTimeFormat:
            return "The specified value for the time format is invalid.";
        case kMciNoClosingQuote:
            return "A closing quotation mark is missing.";
        case kMciDuplicateFlags:
            return "A flag or value was specified twice.";
        case kMciInvalidFile:
            return "The specified file cannot be played on the specified device. The file may be "
                   "corrupt or in an incorrect format.";
        case kMciExtraCharacters:
            return "A string must be enclosed in quotation marks; characters after a closing "
                   "quotation mark are not valid.";
    }
    return "An unknown error occurred.";
}

uint32_t mci_split(std::string_view command, std::vector<std::string>& words) {
    words.clear();
    if (command.size() > kMaxCommand) return kMciParamOverflow;
    size_t at = 0;
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (at < command.size()) {
        if (blank(command[at])) {
            ++at;
            continue;
        }
        std::string word;
        if (command[at] == '"') {
            const size_t close = command.find('"', at + 1);
            if (close == std::string_view::npos) return kMciNoClosingQuote;
            word.assign(command.substr(at + 1, close - at - 1));
            at = close + 1;
            if (at < command.size() && !blank(command[at])) return kMciExtraCharacters;
        } else {
            const size_t start = at;
            while (at < command.size() && !blank(command[at])) ++at;
            word.assign(command.substr(start, at - start));
        }
        words.push_back(std::move(word));
    }
    return kMciOk;
}

namespace {

MciReply send_words(Engine& engine, const std::vector<std::string>& words);

// Whether a command asks to be told when it is done.
bool wants_notify(const std::vector<std::string>& words) {
    for (size_t i = 2; i < words.size(); ++i)
        if (ascii_lower(words[i]) == "notify") return true;
    return false;
}

}  // namespace

MciReply mci_send(Engine& engine, std::string_view command) {
    std::vector<std::string> words;
    if (const uint32_t e = mci_split(command, words)) return reply(e);
    if (words.empty()) return reply(kMciMissingCommandString);
    MciReply answer = send_words(engine, words);
    // A play is done when it ends (the sound ticker tells); anything else
    // is done now.
    if (answer.error == kMciOk && wants_notify(words) && ascii_lower(words[0]) != "play") {
        if (MediaDevice* d = device_find(engine, ascii_lower(words[1]))) {
            notify_post(engine, *d, kNotifySuperseded);  // a play's that is still due
            d->notify = true;
            notify_post(engine, *d, kNotifySuccessful);
        }
    }
    return answer;
}

namespace {

MciReply send_words(Engine& engine, const std::vector<std::string>& words) {
    const std::string verb = ascii_lower(words[0]);
    static constexpr const char* kVerbs[] = {"open",  "close",  "play",      "stop",
                                             "pause", "resume", "seek",      "status",
                                             "set",   "info",   "capability"};
    if (std::find_if(std::begin(kVerbs), std::end(kVerbs),
                     [&](const char* v) { return verb == v; }) == std::end(kVerbs)) {
        return reply(kMciUnrecognizedCommand);
    }
    if (words.size() < 2) return reply(kMciMissingDeviceName);
    const std::string& name = words[1];
    Request r;
    r.words.assign(words.begin() + 2, words.end());
    if (verb == "open") {
        if (ascii_lower(name) == "all") return reply(kMciCannotUseAll);
        return open_device(engine, name, r);
    }
    if (verb == "close" && ascii_lower(name) == "all") {
        mci_close_all(engine);
        return reply(kMciOk);
    }
    MediaDevice* d = device_find(engine, ascii_lower(name));
    if (!d && verb != "close" && (is_simple_device(ascii_lower(name)) || is_media_file(name))) {
        // A simple device named by its type, or a file named by itself,
        // opens itself, as games expect.
        Request none;
        const MciReply opened = open_device(engine, name, none);
        if (opened.error != kMciOk && !is_simple_device(ascii_lower(name))) return opened;
        d = device_find(engine, ascii_lower(name));
    }
    if (!d) return reply(ascii_lower(name) == "all" ? kMciCannotUseAll : kMciInvalidDeviceName);
    bool wait = false, notify = false;
    if (verb == "close") {
        take_common(r, wait, notify);
        if (r.more()) return reply(kMciUnrecognizedKeyword);
        device_close(engine, d->alias);
        return reply(kMciOk);
    }
    if (verb == "play") return play_device(engine, *d, r);
    if (verb == "status") return status_device(engine, *d, r);
    if (verb == "set") return set_device(*d, r);
    if (verb == "stop" || verb == "pause") {
        take_common(r, wait, notify);
        if (r.more()) return reply(kMciUnrecognizedKeyword);
        if (d->mode == Mode::NotReady) return reply(kMciHardware);
        device_stop(engine, *d, verb == "stop" ? Mode::Stopped : Mode::Paused);
        return reply(kMciOk);
    }
    if (verb == "resume") {
        take_common(r, wait, notify);
        if (r.more()) return reply(kMciUnrecognizedKeyword);
        if (d->mode == Mode::NotReady) return reply(kMciHardware);
        if (d->mode != Mode::Paused) return reply(kMciOk);
        Request none;
        return play_device(engine, *d, none, true);
    }
    if (verb == "seek") {
        take_common(r, wait, notify);
        if (!r.take("to")) return reply(kMciMissingParameter);
        if (d->mode == Mode::NotReady) return reply(kMciHardware);
        uint64_t frames = 0;
        if (r.take("start")) {
            frames = 0;
        } else if (r.take("end")) {
            frames = length_frames(engine, *d);
        } else {
            const std::string* w = r.next();
            if (!w) return reply(kMciMissingParameter);
            if (const uint32_t e = parse_position(engine, *d, *w, frames)) return reply(e);
        }
        take_common(r, wait, notify);
        if (r.more()) return reply(kMciUnrecognizedKeyword);
        device_stop(engine, *d, Mode::Stopped);
        d->position = frames;
        return reply(kMciOk);
    }
    if (verb == "info") {
        if (r.take("product")) return reply(kMciOk, "Quillon " + d->type);
        return reply(r.more() ? kMciUnrecognizedKeyword : kMciMissingParameter);
    }
    // capability
    if (r.take("device")) {
        if (!r.take("type")) return reply(kMciUnrecognizedKeyword);
        return reply(kMciOk, d->type);
    }
    if (r.take("can")) {
        const std::string* what = r.next();
        if (!what) return reply(kMciMissingParameter);
        const std::string w = ascii_lower(*what);
        const bool yes = w == "play" || (w == "eject" && d->type == "cdaudio");
        if (w != "play" && w != "eject" && w != "record" && w != "save")
            return reply(kMciUnrecognizedKeyword);
        return reply(kMciOk, yes ? "true" : "false");
    }
    if (r.take("has")) {
        const std::string* what = r.next();
        if (!what) return reply(kMciMissingParameter);
        const std::string w = ascii_lower(*what);
        if (w != "audio" && w != "video") return reply(kMciUnrecognizedKeyword);
        return reply(kMciOk, w == "audio" ? "true" : "false");
    }
    return reply(r.more() ? kMciUnrecognizedKeyword : kMciMissingParameter);
}

}  // namespace

void mci_close_all(Engine& engine) {
    for (MediaDevice& d : engine.sound.media) {
        device_silence(engine, d);
        notify_post(engine, d, kNotifyAborted);
    }
    engine.sound.media.clear();
}

void mci_poll(Engine& engine) {
    for (MediaDevice& d : engine.sound.media) {
        if (d.mode == Mode::Playing) position_now(engine, d);
        device_end_check(engine, d);
    }
}

}  // namespace qln
