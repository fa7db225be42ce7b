#pragma once
// Builds a handler's decoded operands by hand: numbers and strings in order,
// as the dispatcher would have read them.

#include <cstdint>
#include <type_traits>

#include "scenario/interp.h"

namespace qln::test {

inline void args_push(Args& a, const char* text) {
    a.push_str(text);
}
inline void args_push(Args& a, std::nullptr_t) {
    a.push_str(nullptr);
}
template <typename T, typename = std::enable_if_t<std::is_integral_v<T>>>
void args_push(Args& a, T value) {
    a.push_num(static_cast<int32_t>(value));
}

template <typename... Ts>
Args args_of(Ts... operands) {
    Args a;
    (args_push(a, operands), ...);
    return a;
}

}  // namespace qln::test
