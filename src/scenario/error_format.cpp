#include "scenario/error_format.h"

#include <cstdint>

#include "base/sjis.h"

namespace qln {
namespace {

class Writer {
  public:
    Writer(char* out, size_t size) : out_(out), size_(size) {}
    void put(char c) {
        if (size_ && used_ + 1 < size_) out_[used_++] = c;
    }
    void put(const char* text) {
        for (; *text; ++text) put(*text);
    }
    void finish() {
        if (size_) out_[used_] = '\0';
    }

  private:
    char* out_;
    size_t size_;
    size_t used_ = 0;
};

void put_decimal(Writer& w, int32_t value) {
    char digits[12];
    int n = 0;
    // Work on the magnitude as unsigned so the most negative value prints too.
    uint32_t magnitude =
        value < 0 ? 0u - static_cast<uint32_t>(value) : static_cast<uint32_t>(value);
    do {
        digits[n++] = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude);
    if (value < 0) w.put('-');
    while (n) w.put(digits[--n]);
}

}  // namespace

void error_format(char* out, size_t out_size, const char* format, va_list args) {
    Writer w(out, out_size);
    if (format) {
        for (const unsigned char* p = reinterpret_cast<const unsigned char*>(format); *p; ++p) {
            if (sjis_is_lead_byte(*p) && p[1]) {
                w.put(static_cast<char>(p[0]));
                w.put(static_cast<char>(p[1]));
                ++p;
                continue;
            }
            if (*p != '%') {
                w.put(static_cast<char>(*p));
                continue;
            }
            const unsigned char conversion = *++p;
            if (conversion == 'd') {
                put_decimal(w, va_arg(args, int32_t));
            } else if (conversion == 's') {
                const char* text = va_arg(args, const char*);
                w.put(text ? text : "");
            } else if (conversion == 'c') {
                w.put(static_cast<char>(va_arg(args, int)));
            } else if (conversion == '%') {
                w.put('%');
            } else if (conversion == '\0') {
                break;
            }
        }
    }
    w.finish();
}

}  // namespace qln
