#include "asm/asm_names.h"

namespace qln {

const BinaryOp kBinaryOps[16] = {
    {"*", 0x50, kPrecMultiplicative}, {"/", 0x51, kPrecMultiplicative},
    {"%", 0x52, kPrecMultiplicative}, {"+", 0x53, kPrecAdditive},
    {"-", 0x54, kPrecAdditive},       {">", 0x55, kPrecRelational},
    {"<", 0x56, kPrecRelational},     {">=", 0x57, kPrecRelational},
    {"<=", 0x58, kPrecRelational},    {"==", 0x59, kPrecEquality},
    {"!=", 0x5A, kPrecEquality},      {"&", 0x5B, kPrecBitAnd},
    {"^", 0x5C, kPrecBitXor},         {"|", 0x5D, kPrecBitOr},
    {"&&", 0x5E, kPrecLogAnd},        {"||", 0x5F, kPrecLogOr},
};

const BinaryOp kAssignOps[9] = {
    {"=", 0x70, kPrecAssign},  {"+=", 0x71, kPrecAssign}, {"-=", 0x72, kPrecAssign},
    {"*=", 0x73, kPrecAssign}, {"/=", 0x74, kPrecAssign}, {"%=", 0x75, kPrecAssign},
    {"&=", 0x76, kPrecAssign}, {"|=", 0x77, kPrecAssign}, {"^=", 0x78, kPrecAssign},
};

const std::string_view kUnaryFunctions[9] = {"rnd", "abs", "sgn", "sqrt", "sin",
                                             "cos", "tan", "exp", "log"};

const BinaryOp* binary_op_by_token(uint8_t token) {
    return token >= 0x50 && token <= 0x5F ? &kBinaryOps[token - 0x50] : nullptr;
}

const BinaryOp* assign_op_by_token(uint8_t token) {
    return token >= 0x70 && token <= 0x78 ? &kAssignOps[token - 0x70] : nullptr;
}

namespace {

// Index = key byte; 23 and 0 have no field.
constexpr std::string_view kWindowKeys[27] = {
    "",         "px",      "py",      "width",   "height",   "type",  "pic_buf", "fwidth", "transp",
    "call_buf", "entryl",  "bt_num",  "bt_buff", "bt_bpos",  "tx_px", "tx_py",   "tx_ex",  "tx_ey",
    "tx_vt",    "tx_ccol", "tx_bcol", "tx_font", "tx_ftype", "",      "tx_scol", "tx_ssx", "tx_ssy",
};

}  // namespace

std::string_view window_key_name(uint8_t key) {
    return key < 27 ? kWindowKeys[key] : "";
}

int window_key_by_name(std::string_view name) {
    if (name.empty()) return -1;
    for (int k = 0; k < 27; ++k)
        if (kWindowKeys[k] == name) return k;
    return -1;
}

const RecordName kRecordNames[16] = {
    {'B', "buffers", RecordPayload::Number},     {'C', "cmdnames", RecordPayload::FileSetting},
    {'D', "sysstrings", RecordPayload::Number},  {'E', "errmsgs", RecordPayload::FileSetting},
    {'F', "byte_array", RecordPayload::Number},  {'I', "word_array", RecordPayload::Number},
    {'L', "dword_array", RecordPayload::Number}, {'M', "cursor", RecordPayload::FileSetting},
    {'N', "screen", RecordPayload::TwoNumbers},  {'P', "view", RecordPayload::TwoNumbers},
    {'Q', "locals", RecordPayload::Number},      {'S', "strings", RecordPayload::Number},
    {'T', "title", RecordPayload::Text},         {'V', "results", RecordPayload::Number},
    {'W', "word_array2", RecordPayload::Number}, {'X', "end", RecordPayload::None},
};

const RecordName* record_by_tag(uint8_t tag) {
    for (const RecordName& r : kRecordNames)
        if (static_cast<uint8_t>(r.tag) == tag) return &r;
    return nullptr;
}

const RecordName* record_by_keyword(std::string_view keyword) {
    for (const RecordName& r : kRecordNames)
        if (r.keyword == keyword) return &r;
    return nullptr;
}

bool file_setting_text(std::string_view name, int64_t entry, const int64_t* flag,
                       std::string& out) {
    const bool quoted = name.find(',') != name.npos || (!name.empty() && name[0] == '"');
    if (quoted && name.find('"') != name.npos) return false;
    out.clear();
    if (quoted) out += '"';
    out += name;
    if (quoted) out += '"';
    out += "," + std::to_string(entry);
    if (flag) out += "," + std::to_string(*flag);
    return true;
}

}  // namespace qln
