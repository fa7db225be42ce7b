#pragma once
// The limits of a batch run: a run ends once it has executed a number of
// commands or continued after a number of scenario errors, whatever the clock
// does (a broken scenario that fails at every command never moves a virtual
// clock). Zero means no limit.

#include <cstdint>

namespace qln {

enum class RunLimitHit : uint8_t { None, Commands, Errors };

struct RunLimits {
    uint64_t max_commands = 0;
    uint64_t max_errors = 0;
    uint64_t commands = 0;  // executed so far, nested runs included
    uint64_t errors = 0;    // scenario errors answered with Continue
    RunLimitHit hit = RunLimitHit::None;

    void count_command() {
        if (max_commands != 0 && ++commands >= max_commands && hit == RunLimitHit::None)
            hit = RunLimitHit::Commands;
    }
    void count_continued_error() {
        if (max_errors != 0 && ++errors >= max_errors && hit == RunLimitHit::None)
            hit = RunLimitHit::Errors;
    }
    bool reached() const { return hit != RunLimitHit::None; }
};

}  // namespace qln
