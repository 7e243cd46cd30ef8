#pragma once
// The memory the games of an export may take at once for their pictures,
// whatever the number of jobs. A game reserves what its largest picture needs
// before its pictures are loaded and gives it back when its file is written. A
// game that needs more than is left waits until it can have all of it; one
// that needs more than the whole budget waits until it is alone. A game holds
// one reservation at a time, so no two games ever wait for each other.
#include <condition_variable>
#include <cstdint>
#include <mutex>

namespace zorv {

class MemoryBudget {
 public:
  explicit MemoryBudget(std::uint64_t bytes) : available_(bytes), capacity_(bytes) {}
  MemoryBudget(const MemoryBudget&) = delete;
  MemoryBudget& operator=(const MemoryBudget&) = delete;

  class Reservation {
   public:
    Reservation() = default;
    Reservation(Reservation&& other) noexcept;
    Reservation& operator=(Reservation&& other) noexcept;
    ~Reservation();

    std::uint64_t Bytes() const { return bytes_; }

   private:
    friend class MemoryBudget;
    Reservation(MemoryBudget* budget, std::uint64_t bytes) : budget_(budget), bytes_(bytes) {}
    MemoryBudget* budget_ = nullptr;
    std::uint64_t bytes_ = 0;
  };

  // Waits until `bytes` (at most the whole budget) are free and takes them.
  Reservation Reserve(std::uint64_t bytes);

  std::uint64_t Capacity() const { return capacity_; }

 private:
  void Release(std::uint64_t bytes);

  std::mutex mutex_;
  std::condition_variable freed_;
  std::uint64_t available_;
  const std::uint64_t capacity_;
};

}  // namespace zorv
