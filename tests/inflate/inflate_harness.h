#pragma once
// Runs the inflater and reports what it did in the reference's terms, so that
// both can be compared outcome for outcome.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "inflate/reference_inflate.h"
#include "platform/message_box.h"
#include "platform/run_time_error.h"
#include "png/inflate.h"

namespace zorv::png::testing {

class RecordingMessageBox final : public MessageBox {
 public:
  void Show(std::string_view message) override { shown.emplace_back(message); }
  std::vector<std::string> shown;
};

inline ReferenceOutcome RunInflater(Inflater& inflater, RecordingMessageBox& box, std::vector<std::uint8_t> data,
                                    std::int32_t expectedSize, bool largeLength = false) {
  const std::vector<std::uint8_t> original = data;
  const std::size_t messagesBefore = box.shown.size();
  ReferenceOutcome outcome;
  try {
    outcome.result = inflater.Inflate(data, expectedSize, largeLength);
  } catch (const RunTimeError& failure) {
    EXPECT_EQ(failure.Number(), static_cast<int>(ErrorCode::SubscriptOutOfRange));
    outcome.kind = ReferenceOutcome::Kind::kDecodingFailure;
    return outcome;
  }
  if (box.shown.size() > messagesBefore) {
    EXPECT_EQ(box.shown.size(), messagesBefore + 1);
    EXPECT_EQ(data, original) << "the compressed stream stays in place";
    outcome.kind = ReferenceOutcome::Kind::kTableFailure;
    outcome.message = box.shown.back();
    return outcome;
  }
  outcome.output = std::move(data);
  return outcome;
}

inline std::string Describe(const ReferenceOutcome& outcome) {
  switch (outcome.kind) {
    case ReferenceOutcome::Kind::kReturned:
      return "returned " + std::to_string(outcome.result) + " with " + std::to_string(outcome.output.size()) + " bytes";
    case ReferenceOutcome::Kind::kTableFailure:
      return "table failure '" + outcome.message + "' result " + std::to_string(outcome.result);
    case ReferenceOutcome::Kind::kDecodingFailure:
      return "decoding failure";
  }
  return {};
}

}  // namespace zorv::png::testing
