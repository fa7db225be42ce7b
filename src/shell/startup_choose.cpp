// Choosing the start-up scenario.

#include <cstdio>
#include <string>

#include "engine/engine.h"
#include "platform/host_files.h"
#include "run/dialogs.h"
#include "scenario/scenario.h"
#include "shell/app_main.h"
#include "shell/startup_messages.h"

namespace qln {
namespace {

struct Candidate {
    const char* name;
    uint16_t entry;
};

constexpr Candidate kCandidates[] = {
    {"start_up.qln", 0},
    {"start_up.gpc", 1},
    {"start_up.qsc", 1},
};

// What was tried and why each was refused, for the author: the message box
// says only that nothing was valid.
class Tried {
  public:
    // A name that does not fit the start-up setting could never be loaded
    // again as chosen, so it does not count as valid.
    bool check(Engine& engine, const std::string& name, uint16_t entry) {
        std::string why = "the name is longer than a start-up file name may be";
        if (name.size() < static_cast<size_t>(kPathMax) &&
            startup_check_why(engine, name.c_str(), entry, why))
            return true;
        std::string shown;
        if (!sjis_to_utf8(name.data(), name.size(), shown)) shown = "(a name not in Shift-JIS)";
        lines_ += "quillon: start-up candidate " + shown;
        if (entry != 0) lines_ += " (entry " + std::to_string(entry) + ")";
        lines_ += ": " + why + "\n";
        return false;
    }
    // Written once the choice has failed (or the command line was refused).
    void report() {
        std::fputs(lines_.c_str(), stderr);
        lines_.clear();
    }

  private:
    std::string lines_;
};

// The demo game beside this program: build/games/demo in a build tree,
// PREFIX/share/quillon/demo when installed; empty when neither is there.
std::string demo_dir(const Engine& engine) {
    std::string exe;
    if (!host_path_map(engine.shell.program_path, exe)) return {};
    const size_t slash = exe.rfind('/');
    if (slash == std::string::npos) return {};
    const std::string bin = exe.substr(0, slash);
    const size_t up = bin.rfind('/');
    for (const std::string& dir :
         {bin + "/games/demo",
          bin.substr(0, up == std::string::npos ? 0 : up) + "/share/quillon/demo"}) {
        if (host_path_kind(dir + "/start_up.qln") == HostPathKind::File) return dir;
    }
    return {};
}

// The last line of a start without a scenario: what the author can do.
void say_what_to_do(const Engine& engine) {
    std::string here;
    if (!host_cwd(here)) here = ".";
    std::string demo = demo_dir(engine);
    demo = demo.empty() ? "build/games/demo once built" : demo;
    std::fprintf(stderr,
                 "quillon: no start-up scenario in %s: pass a game folder with --game DIR (the "
                 "demo game: --game %s), or assemble one there with qlnasm -o start_up.qln "
                 "start_up.qasm\n",
                 here.c_str(), demo.c_str());
}

}  // namespace

bool startup_choose(Engine& engine, const char* command_line) {
    const std::string line = command_line ? command_line : "";
    Tried tried;
    if (!line.empty()) {
        if (tried.check(engine, std::string(engine.shell.start_dir) + "\\" + line, 0)) return true;
        if (tried.check(engine, line, 0)) return true;
        tried.report();
        const int size = std::snprintf(nullptr, 0, kMsgIgnoreCommandLine, line.c_str());
        std::string question(static_cast<size_t>(size) + 1, '\0');
        std::snprintf(question.data(), question.size(), kMsgIgnoreCommandLine, line.c_str());
        // Before the screen exists: a question the host cannot show is No.
        if (!dialog_question(engine, question.c_str(), kAppCaption)) return false;
    }
    for (const Candidate& c : kCandidates) {
        if (tried.check(engine, c.name, c.entry)) return true;
    }
    tried.report();
    dialog_message(engine, kMsgNoCandidate, kAppCaption);
    say_what_to_do(engine);
    return false;
}

}  // namespace qln
