#include "files/dialog_filter.h"

#include <vector>

#include "base/sjis.h"

namespace qln {

std::string dialog_filter_pairs(std::string_view filter) {
    std::vector<std::string_view> parts;
    size_t start = 0;
    for (size_t i = 0; i <= filter.size();) {
        if (i == filter.size() || filter[i] == '|') {
            parts.push_back(filter.substr(start, i - start));
            start = ++i;
            continue;
        }
        i += sjis_is_lead_byte(uint8_t(filter[i])) ? 2 : 1;
        if (i > filter.size()) i = filter.size();  // a lead byte cut off at the end
    }
    while (!parts.empty() && parts.back().empty()) parts.pop_back();
    std::string out;
    for (size_t k = 0; k + 1 < parts.size(); k += 2) {
        out.append(parts[k]).append("|").append(parts[k + 1]).append("|");
    }
    return out;
}

}  // namespace qln
