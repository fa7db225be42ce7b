// The assembler's driver: sections, directives, labels and the final layout
// (header words, string pool, label and string fixups).

#include "asm/assembler.h"

#include "asm/asm_context.h"
#include "asm/text_literal.h"
#include "files/pack.h"

namespace qln {

std::string AsmError::format(std::string_view file) const {
    std::string s(file);
    if (line > 0) {
        s += ":" + std::to_string(line);
        if (col > 0) s += ":" + std::to_string(col);
    }
    return s + ": " + message;
}

bool AsmState::fail(int col, std::string message) {
    err_.line = line_no_;
    err_.col = col;
    err_.message = std::move(message);
    return false;
}

bool AsmState::fail_expected(const char* what) {
    const Token& t = lx_.peek();
    if (t.kind == TokKind::End && !lx_.error().empty()) return fail(lx_.error_col(), lx_.error());
    const std::string got = t.kind == TokKind::End      ? "end of line"
                            : t.kind == TokKind::String ? "a string"
                                                        : "'" + std::string(t.text) + "'";
    return fail(t.col, std::string("expected ") + what + ", found " + got);
}

bool AsmState::expect(std::string_view punct) {
    if (lx_.accept(punct)) return true;
    const std::string what = "'" + std::string(punct) + "'";
    return fail_expected(what.c_str());
}

bool AsmState::signed_number(int64_t lo, int64_t hi, int64_t& value, const char* what) {
    const Token start = lx_.peek();
    const bool negative = lx_.accept("-");
    if (lx_.peek().kind != TokKind::Number) return fail_expected(what);
    const int64_t v = static_cast<int64_t>(lx_.next().value);
    value = negative ? -v : v;
    if (value < lo || value > hi) {
        return fail_at(start, std::string(what) + " out of range (" + std::to_string(lo) + " to " +
                                  std::to_string(hi) + ")");
    }
    return true;
}

bool AsmState::string_literal(std::string& bytes, bool allow_nul) {
    const Token t = lx_.peek();
    if (t.kind != TokKind::String) return fail_expected("a string");
    lx_.next();
    bytes.clear();
    size_t bad_at = 0;
    std::string why;
    if (!literal_decode(t.text, codec_, bytes, bad_at, why))
        return fail(t.col + 1 + static_cast<int>(bad_at), why);
    if (!allow_nul && bytes.find('\0') != std::string::npos)
        return fail_at(t, "a stored string cannot hold the byte 0 (it ends the string)");
    return true;
}

void AsmState::start() {
    if (started_) return;
    started_ = true;
    if (!raw_) image_ = {'Q', 'L', 'N', 0, 0};
}

bool AsmState::begin_code() {
    start();
    if (section_ == Section::Code || section_ == Section::Strtab) return true;
    if (!raw_) {
        header_h_ = image_.size();
        if (header_h_ > 0xFFFF) return fail(0, "start-up settings records exceed 65,535 bytes");
        image_[3] = static_cast<uint8_t>(header_h_);
        image_[4] = static_cast<uint8_t>(header_h_ >> 8);
        put_word(0);  // T, filled in by finish()
    }
    section_ = Section::Code;
    return true;
}

bool AsmState::define_label(const Token& t) {
    if (section_ == Section::Settings || section_ == Section::Strtab)
        return fail_at(t, "labels belong in the code");
    if (!begin_code()) return false;
    const auto [it, inserted] = labels_.emplace(std::string(t.text), uint32_t(image_.size()));
    if (!inserted) return fail_at(t, "label '" + std::string(t.text) + "' is already defined");
    return true;
}

bool AsmState::bytes_items() {
    for (;;) {
        if (lx_.at_end()) return true;
        if (lx_.accept(",")) continue;
        if (lx_.peek().kind == TokKind::String) {
            std::string bytes;
            if (!string_literal(bytes, true)) return false;
            image_.insert(image_.end(), bytes.begin(), bytes.end());
            continue;
        }
        int64_t v = 0;
        if (!signed_number(-128, 255, v, "a byte")) return false;
        image_.push_back(static_cast<uint8_t>(v));
    }
}

bool AsmState::directive(const Token& t) {
    lx_.next();
    const std::string_view d = t.text;
    if (d == ".raw") {
        if (started_ || section_ != Section::Start || t_explicit_)
            return fail_at(t, ".raw must come before anything else");
        raw_ = true;
        start();
        section_ = Section::Code;
    } else if (d == ".settings") {
        if (raw_) return fail_at(t, "a .raw image has no start-up settings");
        if (section_ != Section::Start) return fail_at(t, ".settings must come before the code");
        start();
        section_ = Section::Settings;
    } else if (d == ".code") {
        if (section_ == Section::Strtab) return fail_at(t, ".code cannot follow .strtab");
        if (!begin_code()) return false;
    } else if (d == ".strtab") {
        if (raw_) return fail_at(t, "a .raw image has no string table");
        if (section_ == Section::Strtab) return fail_at(t, ".strtab given twice");
        if (!begin_code()) return false;
        strtab_start_ = image_.size();
        section_ = Section::Strtab;
    } else if (d == ".strtab_offset") {
        if (raw_) return fail_at(t, "a .raw image has no string table");
        if (t_explicit_) return fail_at(t, ".strtab_offset given twice");
        int64_t v = 0;
        if (!signed_number(0, 0xFFFF, v, "a string table offset")) return false;
        t_explicit_ = static_cast<uint32_t>(v);
    } else if (d == ".strings") {
        const Token mode = lx_.peek();
        if (mode.is_ident("shared")) {
            separate_strings_ = false;
        } else if (mode.is_ident("separate")) {
            separate_strings_ = true;
        } else {
            return fail_expected("'shared' or 'separate'");
        }
        lx_.next();
    } else if (d == ".bytes") {
        if (section_ == Section::Start && !begin_code()) return false;
        if (!bytes_items()) return false;
    } else {
        return fail_at(t, "unknown directive '" + std::string(d) + "'");
    }
    if (!lx_.at_end()) return fail_expected("end of line");
    return true;
}

bool AsmState::line(std::string_view text, int line_no) {
    line_no_ = line_no;
    lx_.reset(text);
    if (!lx_.error().empty()) return fail(lx_.error_col(), lx_.error());
    if (lx_.at_end()) return true;
    if (lx_.peek().kind == TokKind::Ident && lx_.peek(1).is(":")) {
        const Token label = lx_.next();
        lx_.next();
        if (!define_label(label)) return false;
        if (lx_.at_end()) return true;
    }
    const Token t = lx_.peek();
    if (t.kind == TokKind::Directive) return directive(t);
    switch (section_) {
        case Section::Settings:
            if (t.kind != TokKind::Ident) return fail_expected("a settings record");
            return settings_line(t);
        case Section::Strtab: {
            if (t.kind != TokKind::String) return fail_expected("a string or .bytes");
            std::string bytes;
            if (!string_literal(bytes, false)) return false;
            image_.insert(image_.end(), bytes.begin(), bytes.end());
            image_.push_back(0);
            if (!lx_.at_end()) return fail_expected("end of line");
            return true;
        }
        case Section::Start:
        case Section::Code:
            if (!begin_code()) return false;
            if (t.kind != TokKind::Ident) return fail_expected("a command");
            return command(t);
    }
    return true;
}

bool AsmState::finish(std::vector<uint8_t>& image) {
    line_no_ = 0;
    if (!begin_code()) return false;
    const size_t code_end = strtab_start_ != SIZE_MAX ? strtab_start_ : image_.size();

    // The string pool: literals in the order they were used, after the code
    // and any explicit table.
    std::map<std::string, size_t, std::less<>> pooled;
    std::vector<size_t> literal_at(literals_.size());
    for (size_t i = 0; i < literals_.size(); ++i) {
        const std::string& s = literals_[i].bytes;
        if (!separate_strings_) {
            const auto it = pooled.find(s);
            if (it != pooled.end()) {
                literal_at[i] = it->second;
                continue;
            }
            pooled.emplace(s, image_.size());
        }
        literal_at[i] = image_.size();
        image_.insert(image_.end(), s.begin(), s.end());
        image_.push_back(0);
    }

    const size_t t_offset = t_explicit_ ? *t_explicit_ : code_end;
    if (!raw_) {
        if (t_offset > 0xFFFF) {
            err_ = AsmError{0, 0, "the string table starts past offset 65,535"};
            return false;
        }
        image_[header_h_] = static_cast<uint8_t>(t_offset);
        image_[header_h_ + 1] = static_cast<uint8_t>(t_offset >> 8);
    }
    for (size_t i = 0; i < literals_.size(); ++i) {
        const LiteralUse& use = literals_[i];
        if (literal_at[i] < t_offset || literal_at[i] - t_offset >= 0xFFFF) {
            err_ = AsmError{use.line, use.col, "string lies outside the reach of the string table"};
            return false;
        }
        const size_t w = literal_at[i] - t_offset;
        image_[use.pos] = static_cast<uint8_t>(w);
        image_[use.pos + 1] = static_cast<uint8_t>(w >> 8);
    }
    for (const LabelUse& use : label_uses_) {
        const auto it = labels_.find(use.name);
        if (it == labels_.end()) {
            err_ = AsmError{use.line, use.col, "undefined label '" + use.name + "'"};
            return false;
        }
        if (it->second > 0xFFFF) {
            err_ = AsmError{use.line, use.col, "label '" + use.name + "' lies past offset 65,535"};
            return false;
        }
        image_[use.pos] = static_cast<uint8_t>(it->second);
        image_[use.pos + 1] = static_cast<uint8_t>(it->second >> 8);
    }
    image = std::move(image_);
    return true;
}

bool assemble(std::string_view source, std::vector<uint8_t>& image, AsmError& error) {
    image.clear();
    error = AsmError{};
    AsmState state(error);
    if (source.substr(0, 3) == "\xEF\xBB\xBF") source.remove_prefix(3);  // UTF-8 mark
    int line_no = 0;
    size_t at = 0;
    while (at <= source.size()) {
        size_t end = source.find('\n', at);
        if (end == std::string_view::npos) end = source.size();
        ++line_no;
        if (!state.line(source.substr(at, end - at), line_no)) return false;
        at = end + 1;
    }
    return state.finish(image);
}

bool assemble_packed(std::string_view source, std::vector<uint8_t>& file, AsmError& error) {
    file.clear();
    std::vector<uint8_t> image;
    if (!assemble(source, image, error)) return false;
    if (!pack_layout(image.data(), image.size(), file)) {
        error = AsmError{0, 0,
                         "the image is " + std::to_string(image.size()) +
                             " bytes; a packed scenario holds at most 65,535"};
        return false;
    }
    return true;
}

}  // namespace qln
