// The skin engine's shared resources, made once per test exe before the first test runs.
#pragma once

#include <gtest/gtest.h>

#include "skin/resources.h"

namespace test {

class SkinEnvironment : public ::testing::Environment {
public:
    void SetUp() override { skin::SkinModuleStartup(); }
};
inline const auto* const kSkinEnvironment = ::testing::AddGlobalTestEnvironment(new SkinEnvironment);

}  // namespace test
