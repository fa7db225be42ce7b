// The null backend: a virtual clock running timed actions, a bounded quit,
// and the backend every engine starts on.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/engine.h"
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

    p.quit_after = 3;  // three more checks answer no, then yes for good
    for (int i = 0; i < 3; ++i) {
        EXPECT_FALSE(p.quit_requested());
    }
    EXPECT_TRUE(p.quit_requested());
    EXPECT_TRUE(p.quit_requested());
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

}  // namespace
}  // namespace qln
