#pragma once
// An engine with its tables allocated from the default settings.

#include <gtest/gtest.h>

#include "engine/engine.h"

namespace qln {

class TablesTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(tables_init(engine)); }

    Engine engine;
};

}  // namespace qln
