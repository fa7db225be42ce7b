#include "base/sjis_format.h"

#include <cstring>

namespace qln {

namespace {

// Appends to a bounded buffer; bytes beyond the room are dropped.
struct Sink {
    char* out;
    size_t room;  // bytes that may still be written before the terminator
    size_t length = 0;

    void put(char c) {
        if (length < room) out[length++] = c;
    }
    void put(const char* s, size_t n) {
        size_t take = n < room - length ? n : room - length;
        std::memcpy(out + length, s, take);
        length += take;
    }
    void repeat(char c, size_t n) {
        size_t take = n < room - length ? n : room - length;
        std::memset(out + length, c, take);
        length += take;
    }
    bool full() const { return length >= room; }
};

struct Field {
    bool left = false;
    bool zero = false;
    bool prefix = false;
    size_t width = 0;
    bool has_precision = false;
    size_t precision = 0;
};

// Widths beyond the output limit cannot show; clamping keeps the sums small.
size_t read_count(const char* format, size_t length, size_t& i) {
    size_t n = 0;
    while (i < length && format[i] >= '0' && format[i] <= '9') {
        n = n * 10 + size_t(format[i] - '0');
        if (n > kFormatLimit) n = kFormatLimit;
        ++i;
    }
    return n;
}

void pad_before(Sink& sink, const Field& f, size_t body) {
    if (!f.left && f.width > body) sink.repeat(' ', f.width - body);
}
void pad_after(Sink& sink, const Field& f, size_t body) {
    if (f.left && f.width > body) sink.repeat(' ', f.width - body);
}

void write_text(Sink& sink, const Field& f, const char* text) {
    size_t limit = f.has_precision ? f.precision : kFormatLimit;
    size_t n = strnlen(text, limit);
    pad_before(sink, f, n);
    sink.put(text, n);
    pad_after(sink, f, n);
}

void write_number(Sink& sink, const Field& f, char type, int32_t value) {
    char digits[16];
    size_t n = 0;
    bool negative = false;
    uint32_t magnitude = static_cast<uint32_t>(value);
    if ((type == 'd' || type == 'i') && value < 0) {
        negative = true;
        magnitude = 0u - magnitude;
    }
    if (type == 'x' || type == 'X') {
        const char* hex = type == 'x' ? "0123456789abcdef" : "0123456789ABCDEF";
        do {
            digits[n++] = hex[magnitude & 15];
            magnitude >>= 4;
        } while (magnitude);
    } else {
        do {
            digits[n++] = char('0' + magnitude % 10);
            magnitude /= 10;
        } while (magnitude);
    }
    size_t sign = negative ? 1 : 0;
    size_t prefix = (f.prefix && (type == 'x' || type == 'X')) ? 2 : 0;
    size_t zeros = f.precision > n ? f.precision - n : 0;
    size_t body = sign + prefix + zeros + n;
    if (f.zero && !f.left && f.width > body) {
        zeros += f.width - body;
        body = f.width;
    }
    pad_before(sink, f, body);
    if (negative) sink.put('-');
    if (prefix) {
        sink.put('0');
        sink.put(type);
    }
    sink.repeat('0', zeros);
    while (n) sink.put(digits[--n]);
    pad_after(sink, f, body);
}

void write_char(Sink& sink, const Field& f, char c) {
    if (c == 0) {
        write_text(sink, f, "");
        return;
    }
    char text[2] = {c, 0};
    Field whole = f;
    whole.has_precision = false;
    write_text(sink, whole, text);
}

void write_field(Sink& sink, const Field& f, char type, const FormatArg& arg) {
    using Kind = FormatArg::Kind;
    switch (type) {
        case 'c':
        case 'C':
            if (arg.kind == Kind::Number)
                write_char(sink, f, static_cast<char>(arg.number));
            else
                write_char(sink, f, arg.text[0]);
            return;
        case 's':
        case 'S':
            if (arg.kind == Kind::Number)
                write_number(sink, f, 'd', arg.number);
            else
                write_text(sink, f, arg.text);
            return;
        default:  // d i u x X
            if (arg.kind == Kind::Text)
                write_text(sink, f, arg.text);
            else
                write_number(sink, f, type, arg.number);
            return;
    }
}

bool is_type(char c) {
    return c == 'd' || c == 'i' || c == 'u' || c == 'x' || c == 'X' || c == 'c' || c == 'C' ||
           c == 's' || c == 'S';
}

}  // namespace

size_t sjis_format(char* out, size_t out_size, const char* format, size_t format_length,
                   const FormatArg& arg) {
    if (out_size == 0) return 0;
    size_t capacity = out_size < kFormatLimit ? out_size : kFormatLimit;
    Sink sink{out, capacity - 1};
    FormatArg current = arg;
    size_t i = 0;
    // A trail byte of code page 932 is never below 0x40, so a '%' is always
    // a format character and the text around it can be copied byte by byte.
    while (i < format_length && format[i] != 0 && !sink.full()) {
        char c = format[i++];
        if (c != '%') {
            sink.put(c);
            continue;
        }
        if (i < format_length && format[i] == '%') {
            sink.put('%');
            ++i;
            continue;
        }
        Field f;
        for (; i < format_length; ++i) {
            if (format[i] == '-')
                f.left = true;
            else if (format[i] == '0')
                f.zero = true;
            else if (format[i] == '#')
                f.prefix = true;
            else
                break;
        }
        f.width = read_count(format, format_length, i);
        if (i < format_length && format[i] == '.') {
            ++i;
            f.has_precision = true;
            f.precision = read_count(format, format_length, i);
        }
        if (i + 2 < format_length && format[i] == 'I' && format[i + 1] == '6' &&
            format[i + 2] == '4') {
            i += 3;
        } else if (i < format_length &&
                   (format[i] == 'l' || format[i] == 'h' || format[i] == 'w')) {
            ++i;
        }
        if (i >= format_length || !is_type(format[i])) continue;  // copied as plain text
        write_field(sink, f, format[i++], current);
        current = FormatArg{};
    }
    out[sink.length] = 0;
    return sink.length;
}

}  // namespace qln
