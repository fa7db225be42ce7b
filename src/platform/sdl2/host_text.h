#pragma once
// Text between the host (UTF-8) and the engine (code page 932) for the window
// backend: typed text becomes the bytes of character messages, engine texts
// become what dialogs show.

#include <string>
#include <string_view>

#include "base/cp932.h"

namespace qln {

struct ScenarioErrorRecord;

// Main thread only; keeps its converters open between calls.
class HostText {
  public:
    // Typed text (committed input-method text too) as code page 932 bytes,
    // replacing out: a double-byte character gives its lead, then its trail
    // byte; a character that code page 932 lacks, and bytes that are no
    // UTF-8, are dropped.
    void typed_to_cp932(std::string_view utf8, std::string& out);

    // Engine text for display, replacing out: every character that converts
    // does; a byte that is no code page 932 character becomes U+FFFD, so a
    // broken title or message still shows the rest.
    void engine_to_utf8(std::string_view cp932, std::string& out);

    // The scenario error dialog's body: the command byte ("0x%02x") and
    // name, the error number (unsigned) and text, and the detail, one field
    // a line.
    std::string error_dialog_body(const ScenarioErrorRecord& record);

  private:
    Cp932 cp932_;
    std::string one_;
};

// The error dialog's title and buttons.
inline constexpr char kErrorDialogTitle[] = "シナリオ実行エラー";
inline constexpr char kErrorDialogStop[] = "停止";
inline constexpr char kErrorDialogContinue[] = "続行";

}  // namespace qln
