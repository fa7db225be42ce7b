#include "scenario/error_hint.h"

namespace qln {

const char* error_description(uint32_t error_number) {
    switch (error_number) {
        case 100:
            return "no such command";
        case 101:
            return "call stack full or call failed";
        case 102:
            return "not a scenario";
        case 103:
            return "scenario already active";
        case 104:
            return "return without a call";
        case 105:
            return "file cannot be read";
        case 106:
            return "no such window, or its picture cannot be made";
        case 107:
            return "command failed";
        case 108:
            return "callback failed";
        case 109:
            return "not a raw data buffer";
        case 110:
            return "data buffer cannot be written";
        case 111:
            return "file cannot be written";
        case 112:
            return "not a picture";
        case 113:
            return "picture cell out of range";
        case 114:
            return "no such string register";
        case 115:
            return "not a region list";
        case 116:
            return "bad parameter";
        case 117:
            return "number out of range";
        case 118:
            return "no alpha plane";
        case 119:
            return "mask map missing or too small";
        case 120:
            return "plug-in cannot be loaded";
        case 121:
            return "plug-in function failed";
        default:
            return "";
    }
}

}  // namespace qln
