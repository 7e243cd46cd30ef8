#pragma once
// Picture-sized buffers are written from start to end right after they are
// allocated. The system maps fresh memory a 4 KiB page at a time, each page
// on its first write; a 1920 x 1080 picture is two thousand such faults, and
// on a virtual machine each one can cost more than the work done on the page.
// Memory asked for in 2 MiB pages takes one fault per 2 MiB.
#include <cstddef>

namespace zorv {

// Asks that the whole 2 MiB pages within [data, data + bytes) be mapped as
// huge pages when they are first written. Only a hint: where the system has
// none to give (or declines, or the range holds none), small pages are used.
// Call it before the memory is first written; the contents are not changed.
void AskForHugePages(void* data, std::size_t bytes) noexcept;

}  // namespace zorv
