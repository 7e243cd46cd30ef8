#include "png/inflate/inflate.h"

#include <new>

#include "png/inflate/inflate_run.h"
#include "platform/run_time_error.h"

namespace zorv::png {
namespace {

// The expected size comes from a picture's header: an output beyond this is
// refused before anything is allocated.
constexpr std::int64_t kLargestOutput = std::int64_t{1} << 30;

ByteBuffer AllocateOutput(std::int32_t expectedSize) {
  const std::int64_t size = std::int64_t{expectedSize} + 101;  // indices 0 .. expectedSize + 100
  if (size <= 0) throw RunTimeError(ErrorCode::SubscriptOutOfRange);
  if (size > kLargestOutput) throw RunTimeError(ErrorCode::OutOfMemory);
  try {
    return ByteBuffer(static_cast<std::size_t>(size));
  } catch (const std::bad_alloc&) {
    throw RunTimeError(ErrorCode::OutOfMemory);
  }
}

}  // namespace

int Inflater::Inflate(std::span<const std::uint8_t> stream, ByteBuffer& output, std::int32_t expectedSize,
                      bool largeLength) {
  output = AllocateOutput(expectedSize);
  InflateRun run(stream, output, largeLength, path_ == InflatePath::kCarefulOnly, fixedCodes_);
  const InflateOutcome outcome = run.Run();
  if (!outcome.tableFailure.empty()) {
    messages_->Show(outcome.tableFailure);
    output.assign(stream.begin(), stream.end());
    return outcome.result;
  }
  output.resize(outcome.outputSize);
  return outcome.result;
}

int Inflater::Inflate(ByteBuffer& data, std::int32_t expectedSize, bool largeLength) {
  ByteBuffer output;
  const int result = Inflate(data, output, expectedSize, largeLength);
  data = std::move(output);
  return result;
}

int Inflater::Inflate(std::vector<std::uint8_t>& data, std::int32_t expectedSize, bool largeLength) {
  ByteBuffer buffer(data.begin(), data.end());
  const int result = Inflate(buffer, expectedSize, largeLength);
  data.assign(buffer.begin(), buffer.end());
  return result;
}

}  // namespace zorv::png
