#pragma once
// wuffs, the fastest published PNG decoder and inflater, as a reference for the
// benchmarks only (built when its single-file release is found; see
// bench/CMakeLists.txt). Checksums are not verified, as ours never verify them.
#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

// Decodes a PNG file held in memory to 8-bit BGRA; the decoded bytes, 0 when it refuses the file.
size_t zorv_bench_wuffs_decode_png(const uint8_t* file, size_t size);
// Inflates a raw deflate stream into `out`; the bytes written, 0 on failure.
size_t zorv_bench_wuffs_inflate(const uint8_t* stream, size_t size, uint8_t* out, size_t capacity);

#ifdef __cplusplus
}
#endif
