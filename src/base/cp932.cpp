#include "base/cp932.h"

#include <cerrno>

namespace qln {

namespace {

const iconv_t kNone = reinterpret_cast<iconv_t>(-1);

}  // namespace

bool Cp932::open() {
    if (!opened_) {
        opened_ = true;
        to_cp932_ = iconv_open("CP932", "UTF-8");
        to_utf8_ = iconv_open("UTF-8", "CP932");
    }
    return to_cp932_ != kNone && to_utf8_ != kNone;
}

bool Cp932::ready() {
    return open();
}

Cp932::~Cp932() {
    if (to_cp932_ != kNone) iconv_close(to_cp932_);
    if (to_utf8_ != kNone) iconv_close(to_utf8_);
}

namespace {

// Runs one complete conversion; returns false at the first byte that cannot
// be converted, with consumed set to the input bytes converted before it.
bool convert(iconv_t cd, std::string_view in, std::string& out, size_t& consumed) {
    iconv(cd, nullptr, nullptr, nullptr, nullptr);  // back to the initial state
    char* src = const_cast<char*>(in.data());
    size_t src_left = in.size();
    char buffer[256];
    while (src_left > 0) {
        char* dst = buffer;
        size_t dst_left = sizeof buffer;
        const size_t r = iconv(cd, &src, &src_left, &dst, &dst_left);
        out.append(buffer, static_cast<size_t>(dst - buffer));
        if (r == static_cast<size_t>(-1) && errno != E2BIG) {
            consumed = in.size() - src_left;
            return false;
        }
    }
    char* dst = buffer;
    size_t dst_left = sizeof buffer;
    iconv(cd, nullptr, nullptr, &dst, &dst_left);
    out.append(buffer, static_cast<size_t>(dst - buffer));
    consumed = in.size();
    return true;
}

}  // namespace

bool Cp932::encode(std::string_view utf8, std::string& out, size_t& bad_at) {
    if (utf8.empty()) return true;
    if (!open()) {
        bad_at = 0;
        return false;
    }
    return convert(to_cp932_, utf8, out, bad_at);
}

bool Cp932::decode(std::string_view cp932, std::string& out) {
    if (cp932.empty()) return true;
    if (!open()) return false;
    size_t consumed = 0;
    return convert(to_utf8_, cp932, out, consumed);
}

}  // namespace qln
