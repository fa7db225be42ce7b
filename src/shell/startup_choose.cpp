// Choosing the start-up scenario.

#include <cstdio>
#include <string>

#include "engine/engine.h"
#include "platform/platform.h"
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

// A name that does not fit the start-up setting could never be loaded again
// as chosen, so it does not count as valid.
bool check(Engine& engine, const std::string& name, uint16_t entry) {
    if (name.size() >= static_cast<size_t>(kPathMax)) return false;
    return startup_check(engine, name.c_str(), entry);
}

}  // namespace

bool startup_choose(Engine& engine, const char* command_line) {
    DisplayService* platform = engine.platform.display;
    const std::string line = command_line ? command_line : "";
    if (!line.empty()) {
        if (check(engine, std::string(engine.shell.start_dir) + "\\" + line, 0)) return true;
        if (check(engine, line, 0)) return true;
        const int size = std::snprintf(nullptr, 0, kMsgIgnoreCommandLine, line.c_str());
        std::string question(static_cast<size_t>(size) + 1, '\0');
        std::snprintf(question.data(), question.size(), kMsgIgnoreCommandLine, line.c_str());
        if (!platform->question_yes_no(question.c_str(), kAppCaption)) return false;
    }
    for (const Candidate& c : kCandidates) {
        if (check(engine, c.name, c.entry)) return true;
    }
    platform->message_box(kMsgNoCandidate, kAppCaption);
    return false;
}

}  // namespace qln
