// mci_send: a media command string, its reply in string register 0 and its
// error number in R1; a failure's text follows the reply in parentheses.

#include <string>

#include "commands/command_table.h"
#include "engine/engine.h"
#include "sound/mci.h"
#include "tables/tables.h"

namespace qln {
namespace {

constexpr size_t kReplyMax = 1023;     // the reply buffer's 1024 bytes
constexpr size_t kErrorTextMax = 512;  // the error text's 513 bytes

}  // namespace

int32_t cmd_mci_send(Engine& engine, const Args& args) {
    const mci_send_operands op(args);
    const MciReply answer = mci_send(engine, op.command());
    std::string text = answer.text.substr(0, kReplyMax);
    if (answer.error != kMciOk) {
        text += "(" + std::string(mci_error_text(answer.error)).substr(0, kErrorTextMax) + ")";
    }
    result_set(engine, 1, int32_t(answer.error));
    str_set(engine, 0, text.c_str());
    return 0;
}

}  // namespace qln
