#include "shell/runner_options.h"

#include <charconv>
#include <cstring>
#include <string_view>

#include "platform/host_files.h"

// The build passes the project's version (CMakeLists.txt) to this file only.
#ifndef QUILLON_VERSION
#error "QUILLON_VERSION is not defined"
#endif

namespace qln {
namespace {

bool parse_u32(std::string_view text, uint32_t& value) {
    if (text.empty()) return false;
    auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value, 10);
    return ec == std::errc() && ptr == text.data() + text.size();
}

std::string absolute(const std::string& path) {
    if (path.empty() || path[0] == '/') return path;
    std::string cwd;
    if (!host_cwd(cwd)) return path;
    return cwd + "/" + path;
}

bool is_directory(const std::string& path) {
    return host_path_kind(path) == HostPathKind::Directory;
}

bool is_readable_file(const std::string& path) {
    return host_file_readable(path);
}

std::string parent_of(const std::string& path) {
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// An output file option: its absolute path, or an error when the value names
// no file in an existing directory.
std::string output_file(const char* option, const std::string& value, std::string& error) {
    const std::string path = absolute(value);
    if (value.empty() || value.back() == '/') {
        error = std::string(option) + ": \"" + value + "\" is not a file name";
    } else if (!is_directory(parent_of(path))) {
        error = std::string(option) + ": no directory for \"" + value + "\"";
    }
    return path;
}

}  // namespace

RunnerParse runner_options_parse(int argc, const char* const* argv, RunnerOptions& o,
                                 std::string& error) {
    error.clear();
    bool virtual_given = false, real_given = false;
    bool options_ended = false;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (options_ended || arg.empty() || arg[0] != '-' || arg == "-") {
            if (o.startup_file) {
                error =
                    "more than one start-up file (\"" + *o.startup_file + "\" and \"" + arg + "\")";
                return RunnerParse::UsageError;
            }
            o.startup_file = arg;
            continue;
        }
        if (arg == "--") {
            options_ended = true;
            continue;
        }
        std::string value;
        bool has_value = false;
        const size_t eq = arg.find('=');
        if (arg.rfind("--", 0) == 0 && eq != std::string::npos) {
            value = arg.substr(eq + 1);
            arg.resize(eq);
            has_value = true;
        }
        auto flag = [&](const char* name) {
            if (arg != name) return false;
            if (has_value) error = std::string(name) + " takes no value";
            return true;
        };
        auto take = [&](const char* name) {
            if (arg != name) return false;
            if (!has_value) {
                if (i + 1 >= argc) {
                    error = std::string(name) + " needs a value";
                    return true;
                }
                value = argv[++i];
            }
            return true;
        };

        if (flag("--help") || flag("-h")) {
            if (!error.empty()) return RunnerParse::UsageError;
            return RunnerParse::Help;
        }
        if (flag("--version")) {
            if (!error.empty()) return RunnerParse::UsageError;
            return RunnerParse::Version;
        }
        if (flag("--headless")) {
            o.headless = true;
        } else if (flag("--smooth")) {
            o.smooth = true;
        } else if (take("--scale")) {
            uint32_t scale = 0;
            if (error.empty()) {
                if (parse_u32(value, scale) && scale >= 1 && scale <= 16)
                    o.scale = static_cast<int>(scale);
                else
                    error = "--scale: \"" + value + "\" is not a whole scale (1 to 16)";
            }
        } else if (flag("--virtual-clock")) {
            virtual_given = true;
        } else if (flag("--real-clock")) {
            real_given = true;
        } else if (take("--game")) {
            if (error.empty()) {
                o.game_dir = absolute(value);
                if (!is_directory(o.game_dir)) error = "--game: no directory \"" + value + "\"";
            }
        } else if (take("--clock-start")) {
            if (error.empty() && !parse_u32(value, o.clock_start)) {
                error = "--clock-start: \"" + value + "\" is not a tick count (0 to 4294967295)";
            }
        } else if (take("--input")) {
            if (error.empty()) {
                o.input_file = absolute(value);
                if (!is_readable_file(o.input_file)) {
                    error = "--input: cannot read the file \"" + value + "\"";
                }
            }
        } else if (take("--on-error")) {
            if (error.empty()) {
                if (value == "stop")
                    o.stop_on_error = true;
                else if (value == "continue")
                    o.stop_on_error = false;
                else
                    error = "--on-error: \"" + value + "\" is neither stop nor continue";
            }
        } else if (take("--answer")) {
            if (error.empty()) {
                if (value == "yes")
                    o.answer_yes = true;
                else if (value == "no")
                    o.answer_yes = false;
                else
                    error = "--answer: \"" + value + "\" is neither yes nor no";
            }
        } else if (take("--file-dialog")) {
            if (error.empty()) {
                if (value.empty())
                    error = "--file-dialog: empty path (use cancel for Cancel)";
                else if (value == "cancel")
                    o.file_dialog_path.reset();
                else
                    o.file_dialog_path = absolute(value);
            }
        } else if (take("--dump-screen")) {
            if (error.empty()) o.dump_screen = output_file("--dump-screen", value, error);
        } else if (take("--cd")) {
            if (error.empty()) {
                o.cd_dir = absolute(value);
                const bool cue = o.cd_dir.size() > 4 && is_readable_file(o.cd_dir) &&
                                 o.cd_dir.compare(o.cd_dir.size() - 4, 4, ".cue") == 0;
                if (!cue && !is_directory(o.cd_dir))
                    error = "--cd: no directory or .cue sheet \"" + value + "\"";
            }
        } else if (take("--soundfont")) {
            if (error.empty()) {
                // A missing SoundFont is said when MIDI first plays, not here:
                // the run goes on without MIDI.
                o.soundfont = absolute(value);
            }
        } else if (take("--save-dir")) {
            if (error.empty()) {
                o.save_dir = absolute(value);
                const HostPathKind kind = host_path_kind(o.save_dir);
                if (value.empty()) {
                    error = "--save-dir: empty path";
                } else if (kind != HostPathKind::Directory && kind != HostPathKind::Missing) {
                    error = "--save-dir: \"" + value + "\" is not a directory";
                }
            }
        } else if (flag("--sandbox")) {
            o.sandbox = true;
        } else if (take("--dump-audio")) {
            if (error.empty()) o.dump_audio = output_file("--dump-audio", value, error);
        } else if (take("--max-ms")) {
            uint32_t ms = 0;
            if (error.empty()) {
                if (parse_u32(value, ms))
                    o.max_ms = ms;
                else
                    error = "--max-ms: \"" + value + "\" is not a tick count (0 to 4294967295)";
            }
        } else if (take("--max-commands") || take("--max-errors")) {
            uint32_t count = 0;
            if (error.empty()) {
                if (!parse_u32(value, count) || count == 0)
                    error = arg + ": \"" + value + "\" is not a count (1 to 4294967295)";
                else
                    (arg == "--max-commands" ? o.max_commands : o.max_errors) = count;
            }
        } else if (take("--display-bpp")) {
            if (error.empty()) {
                if (value == "8")
                    o.display_bpp = 8;
                else if (value == "24")
                    o.display_bpp = 24;
                else
                    error = "--display-bpp: \"" + value + "\" is neither 8 nor 24";
            }
        } else if (take("--display-size")) {
            if (error.empty()) {
                const size_t x = value.find('x');
                uint32_t w = 0, h = 0;
                if (x == std::string::npos || !parse_u32(std::string_view(value).substr(0, x), w) ||
                    !parse_u32(std::string_view(value).substr(x + 1), h) || w == 0 || h == 0 ||
                    w > 65535 || h > 65535) {
                    error = "--display-size: \"" + value + "\" is not WIDTHxHEIGHT (1 to 65535)";
                } else {
                    o.display_width = static_cast<int>(w);
                    o.display_height = static_cast<int>(h);
                }
            }
        } else {
            error = "unknown option \"" + std::string(argv[i]) + "\"";
        }
        if (!error.empty()) return RunnerParse::UsageError;
    }
    if (virtual_given && real_given) {
        error = "--virtual-clock and --real-clock exclude each other";
        return RunnerParse::UsageError;
    }
    o.virtual_clock = real_given ? false : (virtual_given || o.headless);
    return RunnerParse::Run;
}

std::vector<std::string> runner_restart_arguments(const RunnerOptions& o) {
    std::vector<std::string> args;
    if (!o.game_dir.empty()) args.insert(args.end(), {"--game", o.game_dir});
    if (o.headless) args.push_back("--headless");
    args.push_back(o.virtual_clock ? "--virtual-clock" : "--real-clock");
    args.insert(args.end(), {"--clock-start", std::to_string(o.clock_start)});
    if (!o.input_file.empty()) args.insert(args.end(), {"--input", o.input_file});
    args.insert(args.end(), {"--on-error", o.stop_on_error ? "stop" : "continue"});
    args.insert(args.end(), {"--answer", o.answer_yes ? "yes" : "no"});
    args.insert(args.end(), {"--file-dialog", o.file_dialog_path ? *o.file_dialog_path : "cancel"});
    if (!o.dump_screen.empty()) args.insert(args.end(), {"--dump-screen", o.dump_screen});
    if (!o.cd_dir.empty()) args.insert(args.end(), {"--cd", o.cd_dir});
    if (!o.soundfont.empty()) args.insert(args.end(), {"--soundfont", o.soundfont});
    if (!o.dump_audio.empty()) args.insert(args.end(), {"--dump-audio", o.dump_audio});
    if (!o.save_dir.empty()) args.insert(args.end(), {"--save-dir", o.save_dir});
    if (o.sandbox) args.push_back("--sandbox");
    if (o.max_ms) args.insert(args.end(), {"--max-ms", std::to_string(*o.max_ms)});
    if (o.max_commands)
        args.insert(args.end(), {"--max-commands", std::to_string(*o.max_commands)});
    if (o.max_errors) args.insert(args.end(), {"--max-errors", std::to_string(*o.max_errors)});
    args.insert(args.end(), {"--display-bpp", std::to_string(o.display_bpp)});
    args.insert(args.end(), {"--display-size", std::to_string(o.display_width) + "x" +
                                                   std::to_string(o.display_height)});
    if (o.scale > 0) args.insert(args.end(), {"--scale", std::to_string(o.scale)});
    if (o.smooth) args.push_back("--smooth");
    return args;
}

const char* runner_help_text() {
    return R"(Usage: quillon [OPTIONS] [STARTUP_FILE]

Runs a game: a start-up scenario (STARTUP_FILE, looked up in the game
directory first; without it start_up.qln, start_up.gpc entry 1 and
start_up.qsc entry 1 are tried) and everything it starts.

Without --headless the game opens a window when a display is available
(else it runs headless with the real clock and says so). In the window:
Alt+Enter switches between the window and full screen, Alt+F4 ends the
program, Alt+Print Screen puts the program's picture on the clipboard
(with xclip).

Options:
  --game DIR             change to DIR first; it becomes the start directory
  --scale N              whole window scale, 1 to 16 (default: the largest
                         that fits the desktop); the window may be resized
                         freely, the picture stays in proportion
  --smooth               linear filtering of the scaled picture (default:
                         nearest neighbour, sharp pixels)
  --headless             no window and no audio; implies --virtual-clock
                         unless --real-clock is given
  --virtual-clock        ticks start at --clock-start and move only when the
                         engine sleeps (by the time slept, without sleeping)
                         or makes an idle pass of a waiting loop (1 ms):
                         every run is the same (headless runs only)
  --clock-start T        the first tick count (default 0)
  --real-clock           ticks count host milliseconds from --clock-start
  --input FILE           scripted input, one event a line: TIME EVENT ARGS
                         (move X Y, down|up left|right|middle,
                         click left|right|middle X Y, char CODE, key VK,
                         keydown VK, keyup VK, focus lost|gained, minimize,
                         restore, close; # starts a comment)
  --on-error stop|continue
                         answer to scenario error dialogs (default stop)
  --answer yes|no        answer to yes/no questions (default no)
  --file-dialog PATH|cancel
                         answer to open-file dialogs (default cancel)
  --dump-screen FILE     at exit, the screen picture as a 24-bit BMP (written
                         when the last scenario has ended, also after a stop
                         at an error or --max-ms)
  --cd DIR|FILE.cue      CD track files (trackNN.ogg, ...) are looked for in
                         DIR first, then in cd/, bgm/ and the game directory;
                         or the tracks of a cue sheet's one image
  --soundfont FILE       the General MIDI SoundFont of the sequencer (default
                         /usr/share/sounds/sf2/default-GM.sf2)
  --save-dir DIR         every file the game writes (its settings file, its
                         saves) goes to DIR, created if missing; reads look
                         in DIR first, then in the game directory, and no
                         file of the game directory is ever deleted.
                         Without it a writable game directory is used as it
                         is, and a read-only one saves to
                         $XDG_DATA_HOME/quillon/NAME-HASH (by default
                         ~/.local/share/quillon/NAME-HASH)
  --sandbox              writes and deletes only in the save folder, reads
                         and directory changes only in the game and save
                         folders, no programs started; each refusal is the
                         command's failure and one line on standard error
  --dump-audio FILE      what the mixer played from start to exit, as a
                         44,100 Hz stereo 16-bit WAV (headless runs)
  --max-ms N             end the run when the tick counter passes N
  --max-commands N       end the run after N commands, whatever the clock
                         does (nested runs and callbacks count too)
  --max-errors N         end the run after N scenario errors answered with
                         Continue (default: no limit, as for --max-commands)
  --display-bpp 8|24     the display's depth (default 24)
  --display-size WxH     the display's size (default 1920x1080)
  -h, --help             show this text
  --version              show the version

--virtual-clock, --input, --on-error, --answer, --file-dialog,
--display-bpp and --display-size belong to headless runs; a window ignores
them (its player answers, and the display is the real one).

Relative paths of options are taken from the directory quillon is started
in; STARTUP_FILE is the game's and is looked for as the engine always did.

Each event of a headless run is one line of UTF-8 on standard error:
  scenario error: command=0x0a error=106 name="NAME" text="TEXT" detail="DETAIL" answer=stop
  message box: TEXT
  question: TEXT answer=no
  file dialog: filter="FILTER" answer="PATH"   (or answer=cancel)
  display mode: full_screen=1 size=640x480 answer=ok
A scenario error whose command or error the game's names files lack ends
with hint="..." (the engine's command name and what the error means).
Backslashes, quotes (inside quotes) and control characters are escaped
(\\, \", \n, \xNN).

Exit status:
  0  the last scenario ended (or the window was closed)
  1  start-up failed
  2  usage error
  3  --max-ms, --max-commands or --max-errors reached
  4  the run ended at a scenario error (answer stop) or a failed interval
     callback
)";
}

const char* runner_version_text() {
    return "quillon " QUILLON_VERSION "\n";
}

}  // namespace qln
