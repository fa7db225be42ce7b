#pragma once
// Conversion between the UTF-8 of scenario sources and the code page 932 bytes
// that scenarios store. One object holds its own converters; it is not shared
// between threads.

#include <iconv.h>

#include <string>

#include <string_view>
#include "base/sjis.h"

namespace qln {

class Cp932 {
  public:
    Cp932() = default;
    ~Cp932();
    Cp932(const Cp932&) = delete;
    Cp932& operator=(const Cp932&) = delete;

    // False when the system has no code page 932 converter.
    bool ready();

    // Appends the CP932 bytes of UTF-8 text to out. On failure (text that is
    // not UTF-8, or a character CP932 lacks) returns false with bad_at the
    // byte offset in text where conversion stopped.
    bool encode(std::string_view utf8, std::string& out, size_t& bad_at);

    // Appends the UTF-8 text of CP932 bytes to out; false when they are not
    // valid CP932.
    bool decode(std::string_view cp932, std::string& out);

  private:
    // The converters are opened on first use: most images need none.
    bool open();

    bool opened_ = false;
    iconv_t to_cp932_ = reinterpret_cast<iconv_t>(-1);
    iconv_t to_utf8_ = reinterpret_cast<iconv_t>(-1);
};

// The byte length of the CP932 character that starts with lead: 2 for a lead
// byte of a double-byte character, else 1.
inline size_t cp932_char_length(unsigned char lead) {
    return sjis_is_lead_byte(lead) ? 2 : 1;
}

}  // namespace qln
