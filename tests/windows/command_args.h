#pragma once
// Builds a handler's decoded operands by hand: numbers and strings in order,
// as the dispatcher would have read them.

#include <cstdint>
#include <type_traits>

#include "scenario/interp.h"

namespace qln::test {

template <typename... Ts>
Args args_of(Ts... operands) {
    Args a;
    [[maybe_unused]] const auto push = [&a](auto operand) {
        if constexpr (std::is_integral_v<decltype(operand)>) {
            a.push_num(static_cast<int32_t>(operand));
        } else {
            a.push_str(operand);
        }
    };
    (push(operands), ...);
    return a;
}

}  // namespace qln::test
