#include "sound/mci.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <memory>

#include "engine/engine.h"
#include "files/file_read.h"
#include "run/run_loop.h"
#include "sound/sound_graph.h"
#include "sound/wav_decode.h"

namespace qln {
namespace {

constexpr size_t kMaxCommand = 1024;
using Mode = MediaDevice::Mode;
using TimeFormat = MediaDevice::TimeFormat;

std::string lower(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = char(std::tolower(uint8_t(c)));
    return out;
}

std::string extension_of(const std::string& name) {
    const size_t dot = name.find_last_of('.');
    const size_t sep = name.find_last_of("\\/");
    if (dot == std::string::npos || (sep != std::string::npos && dot < sep)) return "";
    return lower(name.substr(dot + 1));
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

bool is_simple_device(const std::string& name) {
    return name == "cdaudio" || name == "waveaudio" || name == "sequencer";
}

MediaDevice* device_find(Engine& engine, const std::string& name) {
    for (MediaDevice& d : engine.sound.media)
        if (d.alias == name) return &d;
    return nullptr;
}

uint64_t length_frames(const MediaDevice& d) {
    return d.pcm ? d.pcm->frames() : 0;
}

// Where the device is now, in frames.
uint64_t position_now(Engine& engine, MediaDevice& d) {
    if (d.mode != Mode::Playing) return d.position;
    sound_catch_up(engine);  // what has played up to this tick
    const WaveVoice* v = sound_voice_find(engine, d.voice);
    if (v && !v->done) return v->frame;
    // The voice has ended: the device stopped at its end.
    d.mode = Mode::Stopped;
    d.position = v ? std::min(v->frame, length_frames(d)) : length_frames(d);
    return d.position;
}

std::string format_position(const MediaDevice& d, uint64_t frames) {
    const uint64_t ms = frames * 1000 / kSoundRate;
    char text[32];
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
uint32_t parse_position(const MediaDevice& d, const std::string& word, uint64_t& frames) {
    uint64_t value = 0;
    if (!parse_number(word, value)) return kMciBadInteger;
    frames = d.time_format == TimeFormat::Samples ? value : value * kSoundRate / 1000;
    return frames > length_frames(d) ? kMciOutOfRange : kMciOk;
}

void device_stop(Engine& engine, MediaDevice& d, Mode mode) {
    d.position = position_now(engine, d);
    sound_voices_stop(engine, d.id);
    if (d.mode != Mode::NotReady) d.mode = mode;
}

struct Request {
    std::vector<std::string> words;  // after the verb and the device name
    size_t at = 0;
    bool take(const char* word) {
        if (at < words.size() && lower(words[at]) == word) {
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

MciReply open_device(Engine& engine, const std::string& name, Request& r) {
    std::string type, alias;
    bool wait = false, notify = false;
    while (r.more()) {
        take_common(r, wait, notify);
        if (!r.more()) break;
        if (r.take("type")) {
            const std::string* t = r.next();
            if (!t) return reply(kMciMissingStringArgument);
            type = lower(*t);
        } else if (r.take("alias")) {
            const std::string* a = r.next();
            if (!a) return reply(kMciMissingStringArgument);
            alias = lower(*a);
        } else if (r.take("shareable")) {
        } else {
            return reply(kMciUnrecognizedKeyword);
        }
    }
    const std::string lname = lower(name);
    const bool is_type =
        lname == "cdaudio" || lname == "waveaudio" || lname == "sequencer" || lname == "mpegvideo";
    std::string element;
    if (!is_type) {
        element = name;
        if (type.empty()) {
            const std::string ext = extension_of(name);
            if (ext == "wav")
                type = "waveaudio";
            else if (ext == "mid" || ext == "midi" || ext == "rmi")
                type = "sequencer";
            else if (ext == "mp3" || ext == "ogg" || ext == "flac")
                type = "mpegvideo";
            else
                return reply(kMciExtensionNotFound);
        }
    } else {
        type = lname;
    }
    if (alias.empty()) alias = is_type ? lname : lower(name);
    if (device_find(engine, alias)) return reply(is_type ? kMciDeviceOpen : kMciDuplicateAlias);
    MediaDevice d;
    d.type = type;
    d.alias = alias;
    if (type == "cdaudio") {
        // No track files: a drive without a disc.
        d.mode = Mode::NotReady;
    } else if (!element.empty()) {
        std::vector<uint8_t> bytes;
        if (!file_read_path(element.c_str(), 0, false, bytes)) return reply(kMciFileNotFound);
        if (type != "waveaudio") return reply(kMciCannotLoadDriver);
        auto pcm = std::make_shared<Pcm>();
        if (wav_decode(bytes.data(), bytes.size(), *pcm) != WavError::None) {
            return reply(kMciInvalidFile);
        }
        d.pcm = std::move(pcm);
    } else if (type != "waveaudio") {
        return reply(kMciCannotLoadDriver);
    }
    d.id = engine.sound.next_media_id++;
    const uint32_t id = d.id;
    engine.sound.media.push_back(std::move(d));
    return reply(kMciOk, std::to_string(id));
}

MciReply play_device(Engine& engine, MediaDevice& d, Request& r) {
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
                if (const uint32_t e = parse_position(d, *w, frames)) return reply(e);
            }
            (is_from ? from : to) = frames;
        } else if (r.take("repeat")) {
            repeat = true;
        } else {
            return reply(kMciUnrecognizedKeyword);
        }
    }
    if (d.mode == Mode::NotReady) return reply(kMciHardware);
    if (!d.pcm) return reply(kMciUnsupportedFunction);
    const uint64_t start = from != UINT64_MAX ? from : position_now(engine, d);
    const uint64_t end = to != UINT64_MAX ? to : length_frames(d);
    if (start > end) return reply(kMciOutOfRange);
    sound_voices_stop(engine, d.id);
    d.voice = sound_voice_start(engine, d.pcm, start, end, repeat, d.id);
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
        out.text = no_disc ? "" : format_position(d, position_now(engine, d));
        if (no_disc) out.error = kMciHardware;
    } else if (r.take("length")) {
        if (r.take("track")) {
            uint64_t n = 0;
            const std::string* w = r.next();
            if (!w || !parse_number(*w, n)) return reply(kMciBadInteger);
            return reply(no_disc ? kMciHardware : kMciUnsupportedFunction);
        }
        if (no_disc) return reply(kMciHardware);
        out.text = format_position(d, length_frames(d));
    } else if (r.take("number")) {
        if (!r.take("of") || !r.take("tracks")) return reply(kMciUnrecognizedKeyword);
        if (no_disc) return reply(kMciHardware);
        out.text = "1";
    } else if (r.take("current")) {
        if (!r.take("track")) return reply(kMciUnrecognizedKeyword);
        if (no_disc) return reply(kMciHardware);
        out.text = "1";
    } else if (r.take("ready")) {
        out.text = no_disc ? "false" : "true";
    } else if (r.take("media")) {
        if (!r.take("present")) return reply(kMciUnrecognizedKeyword);
        out.text = no_disc ? "false" : "true";
    } else if (r.take("time")) {
        if (!r.take("format")) return reply(kMciUnrecognizedKeyword);
        out.text = d.time_format == TimeFormat::Samples ? "samples" : "milliseconds";
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
        const std::string v = lower(*f);
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
        sound_voices_stop(engine, it->id);
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

MciReply mci_send(Engine& engine, std::string_view command) {
    std::vector<std::string> words;
    if (const uint32_t e = mci_split(command, words)) return reply(e);
    if (words.empty()) return reply(kMciMissingCommandString);
    const std::string verb = lower(words[0]);
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
        if (lower(name) == "all") return reply(kMciCannotUseAll);
        return open_device(engine, name, r);
    }
    if (verb == "close" && lower(name) == "all") {
        mci_close_all(engine);
        return reply(kMciOk);
    }
    MediaDevice* d = device_find(engine, lower(name));
    if (!d && verb != "close" && is_simple_device(lower(name))) {
        // A simple device named by its type opens itself, as games expect.
        Request none;
        if (open_device(engine, name, none).error == kMciOk) d = device_find(engine, lower(name));
    }
    if (!d) return reply(lower(name) == "all" ? kMciCannotUseAll : kMciInvalidDeviceName);
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
        return play_device(engine, *d, none);
    }
    if (verb == "seek") {
        take_common(r, wait, notify);
        if (!r.take("to")) return reply(kMciMissingParameter);
        if (d->mode == Mode::NotReady) return reply(kMciHardware);
        uint64_t frames = 0;
        if (r.take("start")) {
            frames = 0;
        } else if (r.take("end")) {
            frames = length_frames(*d);
        } else {
            const std::string* w = r.next();
            if (!w) return reply(kMciMissingParameter);
            if (const uint32_t e = parse_position(*d, *w, frames)) return reply(e);
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
        const std::string w = lower(*what);
        const bool yes = w == "play" || (w == "eject" && d->type == "cdaudio");
        if (w != "play" && w != "eject" && w != "record" && w != "save")
            return reply(kMciUnrecognizedKeyword);
        return reply(kMciOk, yes ? "true" : "false");
    }
    if (r.take("has")) {
        const std::string* what = r.next();
        if (!what) return reply(kMciMissingParameter);
        const std::string w = lower(*what);
        if (w != "audio" && w != "video") return reply(kMciUnrecognizedKeyword);
        return reply(kMciOk, w == "audio" ? "true" : "false");
    }
    return reply(r.more() ? kMciUnrecognizedKeyword : kMciMissingParameter);
}

void mci_close_all(Engine& engine) {
    for (const MediaDevice& d : engine.sound.media) sound_voices_stop(engine, d.id);
    engine.sound.media.clear();
}

}  // namespace qln
