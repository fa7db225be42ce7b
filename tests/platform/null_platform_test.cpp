#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "engine/engine.h"
#include "platform/host_libraries.h"
#include "platform/null/null_platform.h"

namespace qln {
namespace {

TEST(NullPlatform, ClockRunsTimedActionsInOrderAsItReachesThem) {
    NullPlatform p;
    std::vector<int> order;
    p.at(5, [&] { order.push_back(5); });
    p.at(2, [&] {
        order.push_back(2);
        p.at(3, [&] { order.push_back(3); });  // queued from an action
    });
    p.sleep_ms(1);
    EXPECT_TRUE(order.empty());
    p.sleep_ms(1);
    EXPECT_EQ(order, (std::vector<int>{2}));
    p.idle_pass();
    p.idle_wait(40);
    EXPECT_EQ(p.now, 4u);
    EXPECT_EQ(p.idle_waits, (std::vector<uint32_t>{40}));
    p.sleep_ms(10);
    EXPECT_EQ(order, (std::vector<int>{2, 3, 5}));
}

TEST(NullPlatform, QuitAfterBoundsTheChecks) {
    NullPlatform p;
    p.quit_after = 3;
    int allowed = 0;
    while (!p.quit_requested() && allowed < 10) ++allowed;
    EXPECT_EQ(allowed, 3);
    EXPECT_TRUE(p.quit_requested());  // and stays so
}

TEST(NullPlatform, AnEngineStartsOnItsOwnNullBackend) {
    Engine engine;
    ASSERT_NE(engine.platform.clock, nullptr);
    ASSERT_NE(engine.platform.audio, nullptr);
    engine.platform.clock->sleep_ms(7);
    EXPECT_EQ(engine.null_platform.now, 7u);
    EXPECT_FALSE(engine.platform.audio->audio_open(AudioFormat{}, nullptr, nullptr));
    std::string error;
    EXPECT_EQ(engine.platform.libraries->library_open("libm.so.6", error), nullptr);
    EXPECT_FALSE(error.empty());
}

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
