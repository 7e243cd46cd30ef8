#include "memory_budget.h"

#include <algorithm>
#include <utility>

namespace zorv {

MemoryBudget::Reservation::Reservation(Reservation&& other) noexcept
    : budget_(std::exchange(other.budget_, nullptr)), bytes_(std::exchange(other.bytes_, 0)) {}

MemoryBudget::Reservation& MemoryBudget::Reservation::operator=(Reservation&& other) noexcept {
  if (this != &other) {
    if (budget_ != nullptr) budget_->Release(bytes_);
    budget_ = std::exchange(other.budget_, nullptr);
    bytes_ = std::exchange(other.bytes_, 0);
  }
  return *this;
}

MemoryBudget::Reservation::~Reservation() {
  if (budget_ != nullptr) budget_->Release(bytes_);
}

MemoryBudget::Reservation MemoryBudget::Reserve(std::uint64_t bytes) {
  bytes = std::min(bytes, capacity_);
  std::unique_lock lock(mutex_);
  freed_.wait(lock, [&] { return available_ >= bytes; });
  available_ -= bytes;
  return Reservation(this, bytes);
}

void MemoryBudget::Release(std::uint64_t bytes) {
  {
    std::lock_guard lock(mutex_);
    available_ += bytes;
  }
  freed_.notify_all();
}

}  // namespace zorv
