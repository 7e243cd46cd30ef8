#pragma once
// Compares a text with a file under tests/data/golden byte for byte. To write
// the files afresh from what the program gives, run the test program with
// ZORV_REGENERATE_GOLDEN=1 and review the change with git diff.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

namespace zorv::testing {

inline void ExpectGolden(const std::string& name, const std::string& actual) {
  const std::string path = std::string(ZORV_TEST_DATA_DIR) + "/golden/" + name;
  if (std::getenv("ZORV_REGENERATE_GOLDEN") != nullptr) std::ofstream(path, std::ios::binary) << actual;
  std::ifstream in(path, std::ios::binary);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), actual) << "differs from " << path;
}

}  // namespace zorv::testing
