// The calls of the benchmarks into wuffs' single-file release, each as its own
// documentation describes the whole-buffer use: one decoder on the stack, the
// output allocated for the call, the work buffer kept from call to call as a
// program decoding one picture after another keeps its scratch memory.
#include "wuffs_reference.h"

#include <stdlib.h>
#include <sys/mman.h>

#define WUFFS_IMPLEMENTATION
#define WUFFS_CONFIG__MODULES
#define WUFFS_CONFIG__MODULE__BASE
#define WUFFS_CONFIG__MODULE__ADLER32
#define WUFFS_CONFIG__MODULE__CRC32
#define WUFFS_CONFIG__MODULE__DEFLATE
#define WUFFS_CONFIG__MODULE__ZLIB
#define WUFFS_CONFIG__MODULE__PNG
#include "wuffs-v0.4.c"

// Freed after each call, the work buffer and the picture (8 MB each for a
// 1920x1080 RGBA picture) together passed glibc's trim threshold at the top of
// the heap: the memory went back to the system and each call faulted 16 MB in
// again, several times the decoding itself. The kept buffer is mapped outside
// the heap that every decoder shares, so keeping it changes no other decoder's
// heap.
static uint8_t* KeptWorkBuffer(size_t bytes) {
  static void* kept = NULL;
  static size_t capacity = 0;
  if (bytes > capacity) {
    if (kept != NULL) munmap(kept, capacity);
    kept = mmap(NULL, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (kept == MAP_FAILED) kept = NULL;
    capacity = kept != NULL ? bytes : 0;
  }
  return (uint8_t*)kept;
}

size_t zorv_bench_wuffs_decode_png(const uint8_t* file, size_t size) {
  wuffs_png__decoder decoder;
  if (wuffs_png__decoder__initialize(&decoder, sizeof decoder, WUFFS_VERSION,
                                     WUFFS_INITIALIZE__LEAVE_INTERNAL_BUFFERS_UNINITIALIZED)
          .repr != NULL) {
    return 0;
  }
  wuffs_png__decoder__set_quirk(&decoder, WUFFS_BASE__QUIRK_IGNORE_CHECKSUM, 1);
  wuffs_base__io_buffer source = wuffs_base__ptr_u8__reader((uint8_t*)file, size, true);
  wuffs_base__image_config config;
  if (wuffs_png__decoder__decode_image_config(&decoder, &config, &source).repr != NULL) return 0;
  const uint32_t width = wuffs_base__pixel_config__width(&config.pixcfg);
  const uint32_t height = wuffs_base__pixel_config__height(&config.pixcfg);
  const size_t pixelBytes = (size_t)width * height * 4;
  const size_t workBytes = (size_t)wuffs_png__decoder__workbuf_len(&decoder).max_incl;
  uint8_t* pixels = malloc(pixelBytes ? pixelBytes : 1);
  uint8_t* work = KeptWorkBuffer(workBytes ? workBytes : 1);
  size_t decoded = 0;
  wuffs_base__pixel_config format;
  wuffs_base__pixel_config__set(&format, WUFFS_BASE__PIXEL_FORMAT__BGRA_NONPREMUL, WUFFS_BASE__PIXEL_SUBSAMPLING__NONE,
                                width, height);
  wuffs_base__pixel_buffer buffer;
  if (pixels != NULL && work != NULL &&
      wuffs_base__pixel_buffer__set_from_slice(&buffer, &format, wuffs_base__make_slice_u8(pixels, pixelBytes)).repr ==
          NULL &&
      wuffs_png__decoder__decode_frame(&decoder, &buffer, &source, WUFFS_BASE__PIXEL_BLEND__SRC,
                                       wuffs_base__make_slice_u8(work, workBytes), NULL)
              .repr == NULL) {
    decoded = pixelBytes;
  }
  free(pixels);
  return decoded;
}

size_t zorv_bench_wuffs_inflate(const uint8_t* stream, size_t size, uint8_t* out, size_t capacity) {
  wuffs_deflate__decoder decoder;
  if (wuffs_deflate__decoder__initialize(&decoder, sizeof decoder, WUFFS_VERSION,
                                         WUFFS_INITIALIZE__LEAVE_INTERNAL_BUFFERS_UNINITIALIZED)
          .repr != NULL) {
    return 0;
  }
  wuffs_base__io_buffer source = wuffs_base__ptr_u8__reader((uint8_t*)stream, size, true);
  wuffs_base__io_buffer destination = wuffs_base__ptr_u8__writer(out, capacity);
  uint8_t work[1];
  const wuffs_base__status status =
      wuffs_deflate__decoder__transform_io(&decoder, &destination, &source, wuffs_base__make_slice_u8(work, sizeof work));
  return status.repr == NULL ? destination.meta.wi : 0;
}
