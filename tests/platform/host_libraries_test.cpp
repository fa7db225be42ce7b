// Libraries of the host opened at run time.

#include "platform/host_libraries.h"

#include <gtest/gtest.h>

#include <string>

namespace qln {
namespace {

TEST(DynamicLibraries, LoadsALibraryAndFindsItsSymbols) {
    DynamicLibraries libraries;
    std::string error;
    void* libm = libraries.library_open("libm.so.6", error);
    ASSERT_NE(libm, nullptr) << error;
    using Cos = double (*)(double);
    auto cosine = reinterpret_cast<Cos>(libraries.library_symbol(libm, "cos"));
    ASSERT_NE(cosine, nullptr);
    EXPECT_DOUBLE_EQ(cosine(0.0), 1.0);
    EXPECT_EQ(libraries.library_symbol(libm, "no_such_symbol_here"), nullptr);
    libraries.library_close(libm);

    for (const char* bad : {"", "/no/such/library.so"}) {
        SCOPED_TRACE(bad);
        error.clear();
        EXPECT_EQ(libraries.library_open(bad, error), nullptr);
        EXPECT_FALSE(error.empty());
    }
    EXPECT_EQ(libraries.library_symbol(nullptr, "cos"), nullptr);
    libraries.library_close(nullptr);  // harmless
}

}  // namespace
}  // namespace qln
