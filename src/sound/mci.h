#pragma once
// The media command strings games send: a parser and the device models that
// answer them, with the replies, error numbers and error texts the host
// platform's media interface gives, so scripts that parse replies go on
// working. Devices play through the mixer graph on the engine's clock.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qln {

struct Engine;

// Error numbers of the media interface (0: success).
enum MciError : uint32_t {
    kMciOk = 0,
    kMciInvalidDeviceId = 257,
    kMciUnrecognizedKeyword = 259,
    kMciUnrecognizedCommand = 261,
    kMciHardware = 262,
    kMciInvalidDeviceName = 263,
    kMciDeviceOpen = 265,
    kMciCannotLoadDriver = 266,
    kMciMissingCommandString = 267,
    kMciParamOverflow = 268,
    kMciMissingStringArgument = 269,
    kMciBadInteger = 270,
    kMciMissingParameter = 273,
    kMciUnsupportedFunction = 274,
    kMciFileNotFound = 275,
    kMciCannotUseAll = 279,
    kMciExtensionNotFound = 281,
    kMciOutOfRange = 282,
    kMciDuplicateAlias = 289,
    kMciBadConstant = 290,
    kMciMissingDeviceName = 292,
    kMciBadTimeFormat = 293,
    kMciNoClosingQuote = 294,
    kMciDuplicateFlags = 295,
    kMciInvalidFile = 296,
    kMciExtraCharacters = 305,
};

// How a play that was to notify ended, besides kNotifySuccessful,
// kNotifySuperseded and kNotifyAborted: its file could not be read.
inline constexpr uint16_t kNotifyFailure = 8;

// The interface's text for an error number ("" for 0).
const char* mci_error_text(uint32_t error);

// Splits a command string into words: blanks separate them, double quotes
// group a word with blanks. Fails with kMciNoClosingQuote or
// kMciExtraCharacters; longer than 1024 bytes: kMciParamOverflow.
uint32_t mci_split(std::string_view command, std::vector<std::string>& words);

struct MciReply {
    uint32_t error = kMciOk;
    std::string text;  // the reply string (empty for most commands)
};

// Sends one command string. Never fails otherwise: every problem is an error
// number with its text.
MciReply mci_send(Engine& engine, std::string_view command);

// Closes every device (the exit's "close all").
void mci_close_all(Engine& engine);

// Called by the sound ticker: a device whose play has ended stops, and a
// play that asked for it posts its notification to the main window.
void mci_poll(Engine& engine);

}  // namespace qln
