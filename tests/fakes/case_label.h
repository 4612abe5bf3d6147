// Names each case of a parameterised test after its Label, for case tables
// shared by several tests.
#pragma once

#include <gtest/gtest.h>

#include <string>

namespace pellox::testing {

struct CaseLabel {
  template <typename Case>
  std::string operator()(const ::testing::TestParamInfo<Case>& tested) const {
    return tested.param.Label;
  }
};

}  // namespace pellox::testing
