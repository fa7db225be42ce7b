// A host counts as having a graphics processor by its device nodes.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/sdl2/render_choice.h"
#include "support/temp_dir.h"

namespace qln {
namespace {

TEST(RenderChoice, AGpuIsARenderNodeOrTheNvidiaControlNode) {
    test::TempDir dev;
    EXPECT_FALSE(gpu_device_present(dev.str()));
    std::filesystem::create_directory(dev.str() + "/dri");
    std::ofstream(dev.str() + "/dri/card0") << "";
    EXPECT_FALSE(gpu_device_present(dev.str())) << "a display node alone renders nothing";
    std::ofstream(dev.str() + "/dri/renderD128") << "";
    EXPECT_TRUE(gpu_device_present(dev.str()));

    test::TempDir nvidia;
    std::ofstream(nvidia.str() + "/nvidiactl") << "";
    EXPECT_TRUE(gpu_device_present(nvidia.str()));
}

}  // namespace
}  // namespace qln
