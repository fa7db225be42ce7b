#include "tables/text_expand.h"

#include <cstdint>

#include "base/full_width.h"
#include "base/sjis_format.h"
#include "engine/engine.h"
#include "tables/tables.h"

namespace qln {

namespace {

struct Out {
    char* base;
    size_t room;  // bytes before the terminator's place
    size_t length = 0;
    bool cut = false;

    // All or nothing, so a double-byte pair is never split by the cut; once
    // something did not fit, nothing after it is written either.
    bool put(const char* bytes, size_t n) {
        if (cut || n > room - length) {
            cut = true;
            return false;
        }
        for (size_t i = 0; i < n; ++i) base[length++] = bytes[i];
        return true;
    }
    bool put(char c) { return put(&c, 1); }
    bool full() const { return cut || length >= room; }
};

// One character of text at p: 2 for a double-byte pair, else 1 (a lead byte
// right before the NUL stands alone).
size_t char_size(const uint8_t* p) {
    return (sjis_is_lead_byte(p[0]) && p[1] != 0) ? 2 : 1;
}

bool is_quote(uint8_t c) {
    return c == '"' || c == '`';
}

// The variable space a letter names; -2 for the string registers, -3 for none.
int32_t space_of_letter(uint8_t c) {
    switch (c | 0x20) {
        case 'f':
            return 0;
        case 'i':
            return 1;
        case 'w':
            return 2;
        case 'l':
            return 3;
        case 't':
            return 4;
        case 'b':
            return 5;
        case 'c':
            return 6;
        case 'd':
            return 7;
        case 'n':
            return 8;
        case 'p':
            return 9;
        case 'v':
            return 10;
        case 'q':
            return 11;
        case 's':
            return -2;
        default:
            return -3;
    }
}

// One forward search for a byte class, stepping over double-byte characters
// whole. The text's character boundaries are the same from wherever a search
// starts (every start is a boundary), so a search that starts between the
// previous start and the byte it found finds that byte again: the answer is
// kept, and a text full of unfinished "@%" is scanned once, not once per "@%".
template <bool (*Accept)(uint8_t)>
class Search {
  public:
    // The first accepted byte at or after p, or nullptr when the text ends.
    const uint8_t* from(const uint8_t* p) {
        if (from_ && p >= from_ && p <= stop_) return found_;
        from_ = p;
        while (*p != 0 && !Accept(*p)) p += char_size(p);
        stop_ = p;
        found_ = *p != 0 ? p : nullptr;
        return found_;
    }

  private:
    const uint8_t* from_ = nullptr;
    const uint8_t* stop_ = nullptr;  // the found byte, or the NUL
    const uint8_t* found_ = nullptr;
};

bool is_comma(uint8_t c) {
    return c == ',' || c == ';';
}

struct Tail {
    bool valid = false;
    int32_t space = 0;
    int32_t index = 0;
    const uint8_t* end = nullptr;  // after the closing '@'
};

// Letter, decimal index and closing '@' after the comma at p.
Tail parse_tail(const uint8_t* p) {
    Tail t;
    t.space = space_of_letter(*++p);
    if (*p == 0 || t.space == -3) return t;
    int64_t index = 0;
    while (*++p >= '0' && *p <= '9') {
        index = index * 10 + (*p - '0');
        if (index > INT32_MAX) index = INT32_MAX;  // names nothing, reads 0
    }
    if (*p != '@') return t;
    t.valid = true;
    t.index = static_cast<int32_t>(index);
    t.end = p + 1;
    return t;
}

struct Substitution {
    const uint8_t* format = nullptr;
    size_t format_length = 0;
    Tail tail;
};

// Parses substitutions. Its calls come in text order, so each search and the
// tail after a comma are worked out once however many "@%" share them.
class SubstitutionParser {
  public:
    // The part after "@%" or "@#" at p; false when it is not a substitution.
    bool parse(const uint8_t* p, Substitution& s) {
        const uint8_t* open = opening_.from(p);
        if (!open) return false;
        const uint8_t* close = closing_.from(open + 1);
        if (!close) return false;
        const uint8_t* comma = comma_.from(close + 1);
        if (!comma) return false;
        if (comma != tail_comma_) {
            tail_comma_ = comma;
            tail_ = parse_tail(comma);
        }
        s.format = open + 1;
        s.format_length = size_t(close - s.format);
        s.tail = tail_;
        return tail_.valid;
    }

  private:
    Search<is_quote> opening_;
    Search<is_quote> closing_;
    Search<is_comma> comma_;
    const uint8_t* tail_comma_ = nullptr;
    Tail tail_;
};

// Copies formatted text character by character, so a cut never splits a
// double-byte character; with widen, single-byte characters that have a
// full-width form take it.
void put_formatted(Out& out, const char* text, size_t length, bool widen) {
    const auto* p = reinterpret_cast<const uint8_t*>(text);
    const uint8_t* end = p + length;
    while (p < end) {
        if (sjis_is_lead_byte(*p) && p + 1 < end) {
            if (!out.put(reinterpret_cast<const char*>(p), 2)) return;
            p += 2;
            continue;
        }
        const uint16_t wide = widen ? full_width_of(*p) : 0;
        const char pair[2] = {char(wide >> 8), char(wide & 0xFF)};
        if (!(wide ? out.put(pair, 2) : out.put(char(*p)))) return;
        ++p;
    }
}

}  // namespace

size_t text_expand(Engine& engine, const char* source, char* destination, size_t destination_size) {
    if (destination_size == 0) return 0;
    Out out{destination, destination_size - 1};
    const auto* p = reinterpret_cast<const uint8_t*>(source ? source : "");
    char formatted[kFormatLimit];
    SubstitutionParser parser;
    while (*p != 0 && !out.full()) {
        if (*p != '@') {
            size_t n = char_size(p);
            out.put(reinterpret_cast<const char*>(p), n);
            p += n;
            continue;
        }
        uint8_t next = p[1];
        if (next == '@') {
            out.put('@');
            p += 2;
            continue;
        }
        Substitution s;
        if ((next == '%' || next == '#') && parser.parse(p + 2, s)) {
            const Tail& t = s.tail;
            FormatArg arg = t.space == -2 ? FormatArg::of_text(str_get(engine, t.index))
                                          : FormatArg::of_number(var_get(engine, t.space, t.index));
            size_t n = sjis_format(formatted, sizeof formatted,
                                   reinterpret_cast<const char*>(s.format), s.format_length, arg);
            put_formatted(out, formatted, n, next == '#');
            p = t.end;
            continue;
        }
        // Not a sequence of its own: the '@' is copied and whatever follows
        // is read as ordinary text (a double-byte character stays whole).
        out.put('@');
        ++p;
        if (next == '%' || next == '#') {
            out.put(char(next));
            ++p;
        }
    }
    destination[out.length] = 0;
    return out.length;
}

}  // namespace qln
