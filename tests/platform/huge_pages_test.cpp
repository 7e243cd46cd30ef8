// A picture-sized buffer asked for in huge pages gets them where the system
// gives them to a program that asks (transparent huge pages "madvise" or
// "always"); its contents stay as written.
#include <gtest/gtest.h>
#include <sys/mman.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>

#include "platform/huge_pages.h"

namespace zorv {
namespace {

constexpr std::size_t kMiB = std::size_t{1} << 20;

std::string HugePageMode() {
  std::ifstream file("/sys/kernel/mm/transparent_hugepage/enabled");
  std::string modes;
  std::getline(file, modes);
  const auto open = modes.find('['), close = modes.find(']');
  return open == std::string::npos || close == std::string::npos ? "" : modes.substr(open + 1, close - open - 1);
}

// Kilobytes of the mapping that holds `address` that are backed by huge pages.
long HugeKilobytesAround(const void* address) {
  std::ifstream smaps("/proc/self/smaps");
  const auto wanted = reinterpret_cast<std::uintptr_t>(address);
  bool inside = false;
  for (std::string line; std::getline(smaps, line);) {
    std::uintptr_t begin = 0, end = 0;
    char dash = 0;
    std::istringstream range(line);
    if (range >> std::hex >> begin >> dash >> end && dash == '-') {
      inside = begin <= wanted && wanted < end;
    } else if (inside && line.rfind("AnonHugePages:", 0) == 0) {
      return std::stol(line.substr(14));
    }
  }
  return -1;
}

TEST(HugePages, AFreshBufferAskedForThemIsMappedWithThem) {
  if (HugePageMode() != "madvise" && HugePageMode() != "always") {
    GTEST_SKIP() << "this system gives no huge pages to programs";
  }
  if (std::getenv("ZORV_EMULATED") != nullptr) GTEST_SKIP() << "an emulator takes no advice on memory";
  const std::size_t bytes = 16 * kMiB;
  void* memory = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  ASSERT_NE(memory, MAP_FAILED);
  auto* buffer = static_cast<std::uint8_t*>(memory);
  AskForHugePages(buffer + 1, bytes - 2);  // an unaligned range: only its whole huge pages
  for (std::size_t i = 0; i < bytes; ++i) buffer[i] = static_cast<std::uint8_t>(i * 7);
  // (The advised part is a mapping of its own.)
  EXPECT_GT(HugeKilobytesAround(buffer + bytes / 2), 0);
  bool same = true;
  for (std::size_t i = 0; i < bytes; ++i) same = same && buffer[i] == static_cast<std::uint8_t>(i * 7);
  EXPECT_TRUE(same);
  munmap(memory, bytes);
}

TEST(HugePages, RangesWithoutAWholeHugePageAreLeftAlone) {
  alignas(64) static std::uint8_t small[64 * 1024];
  AskForHugePages(small, sizeof small);
  AskForHugePages(small, 0);
  AskForHugePages(nullptr, 0);
  small[0] = 1;
  EXPECT_EQ(small[0], 1);
}

}  // namespace
}  // namespace zorv
