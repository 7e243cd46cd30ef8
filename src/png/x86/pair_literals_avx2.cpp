// The pairing of literal entries (HuffmanDecodeTable::PairLiterals) eight root
// entries a step with AVX2.
#include <immintrin.h>

#include "png/inflate/deflate_alphabet.h"
#include "png/inflate/huffman_decode_table.h"
#include "png/x86/x86_kernels.h"

namespace zorv::png::x86 {

// Entry i, a literal of n bits, finds the code after it at entry i >> n,
// gathered. Going down, every entry read below i is still a single one; a step
// reads all its entries before it writes them. A table of fewer than eight
// entries is left to the plain kernel.
[[gnu::target("avx2")]] void PairLiteralsAvx2(std::uint32_t* entries, unsigned rootBits, unsigned shortest) {
  if (rootBits < 3) return plain::PairLiterals(entries, rootBits, shortest);
  const __m256i lanes = _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7);
  const __m256i literal = _mm256_set1_epi32(entry::kLiteral);
  const __m256i lengthBits = _mm256_set1_epi32(15);  // a single literal's code length, below 16 in a root entry
  const __m256i dropBits = _mm256_set1_epi32(63);
  const __m256i kept = _mm256_set1_epi32(0x00FF0FC0);  // flags, code length and value of the first literal
  const __m256i secondFlag = _mm256_set1_epi32(entry::kSecondLiteral);
  const __m256i value = _mm256_set1_epi32(0x00FF0000);
  const __m256i tooLong = _mm256_set1_epi32(static_cast<int>(rootBits) + 1);
  for (int i = (1 << rootBits) - 8; i >= 0; i -= 8) {
    const __m256i first = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(entries + i));
    const __m256i firstBits = _mm256_and_si256(first, lengthBits);
    const __m256i next = _mm256_srlv_epi32(_mm256_add_epi32(_mm256_set1_epi32(i), lanes), firstBits);
    const __m256i second = _mm256_i32gather_epi32(reinterpret_cast<const int*>(entries), next, 4);
    const __m256i total = _mm256_add_epi32(firstBits, _mm256_and_si256(second, dropBits));
    const __m256i pair = _mm256_and_si256(
        _mm256_cmpeq_epi32(_mm256_and_si256(_mm256_and_si256(first, second), literal), literal),
        _mm256_cmpgt_epi32(tooLong, total));
    const __m256i paired =
        _mm256_or_si256(_mm256_or_si256(_mm256_and_si256(first, kept), secondFlag),
                        _mm256_or_si256(_mm256_slli_epi32(_mm256_and_si256(second, value), 8), total));
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(entries + i), _mm256_blendv_epi8(first, paired, pair));
  }
}

}  // namespace zorv::png::x86
