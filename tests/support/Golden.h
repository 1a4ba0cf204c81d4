#pragma once

// Exact comparison of a surface with a golden PNG. On a mismatch the actual image and a diff
// image (differing pixels red, others a dimmed grey of the golden) are written to
// <build>/golden-failures/<golden name>.actual.png and .diff.png. With QEL_UPDATE_GOLDENS=1 in
// the environment the golden file is (re)written from the actual image instead.

#include "platform/gfx/Surface.h"

#include <gtest/gtest.h>
#include <string>

namespace qel::test {

::testing::AssertionResult matchesGolden(const platform::gfx::Surface& actual, const std::string& goldenPath);

// Where mismatch images go (created on demand).
std::string goldenFailureDir();

} // namespace qel::test
