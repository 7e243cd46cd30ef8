// The inflater against zlib on valid streams, its fast loop against its
// careful path on every stream (both must give the same bytes and the same
// failure), and one table of hand-made streams for each designed rule.
#include <gtest/gtest.h>
#include <zlib.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <optional>
#include <random>
#include <string>

#include "platform/message_box.h"
#include "platform/run_time_error.h"
#include "png/inflate/inflate.h"

namespace zorv::png {
namespace {

using Bytes = std::vector<std::uint8_t>;

class RecordingMessageBox final : public MessageBox {
 public:
  void Show(std::string_view message) override { shown.emplace_back(message); }
  std::vector<std::string> shown;
};

// What one call did: bytes returned, a table failure (message shown), or a
// decoding failure (error 9).
struct Outcome {
  enum class Kind { kReturned, kTableFailure, kDecodingFailure };
  Kind kind = Kind::kReturned;
  int result = 0;
  Bytes output;
  std::string message;
  bool operator==(const Outcome&) const = default;
};
using Kind = Outcome::Kind;

std::ostream& operator<<(std::ostream& out, const Outcome& o) {
  return out << "kind " << static_cast<int>(o.kind) << " result " << o.result << " bytes " << o.output.size() << " '"
             << o.message << "'";
}

Outcome RunOn(Inflater& inflater, RecordingMessageBox& box, const Bytes& stream, std::int32_t expected,
            bool largeLength) {
  Bytes data = stream;
  const std::size_t shownBefore = box.shown.size();
  Outcome outcome;
  try {
    outcome.result = inflater.Inflate(data, expected, largeLength);
  } catch (const RunTimeError& failure) {
    EXPECT_EQ(failure.Number(), static_cast<int>(ErrorCode::SubscriptOutOfRange));
    outcome.kind = Kind::kDecodingFailure;
    return outcome;
  }
  if (box.shown.size() > shownBefore) {
    EXPECT_EQ(data, stream) << "the compressed stream stays in place";
    outcome.kind = Kind::kTableFailure;
    outcome.message = box.shown.back();
    return outcome;
  }
  EXPECT_LE(data.size(), static_cast<std::size_t>(expected) + 101);
  outcome.output = std::move(data);
  return outcome;
}

// The fast inflater's outcome, after checking that the careful path agrees and
// that a second call on the same object (with its kept fixed tables) does too.
Outcome Inflate(const Bytes& stream, std::int32_t expected, bool largeLength = false) {
  RecordingMessageBox fastBox, carefulBox;
  Inflater fast(fastBox);
  Inflater careful(carefulBox, InflatePath::kCarefulOnly);
  const Outcome outcome = RunOn(fast, fastBox, stream, expected, largeLength);
  EXPECT_EQ(outcome, RunOn(careful, carefulBox, stream, expected, largeLength)) << "careful path";
  EXPECT_EQ(outcome, RunOn(fast, fastBox, stream, expected, largeLength)) << "second call";
  return outcome;
}

// ---- zlib and the PNG files' own streams ----

Bytes ZlibCompress(const Bytes& data, int level, int strategy, int memLevel = 8) {
  z_stream z{};
  deflateInit2(&z, level, Z_DEFLATED, 15, memLevel, strategy);
  Bytes out(deflateBound(&z, static_cast<uLong>(data.size())) + 16);
  z.next_in = const_cast<Bytef*>(data.data());
  z.avail_in = static_cast<uInt>(data.size());
  z.next_out = out.data();
  z.avail_out = static_cast<uInt>(out.size());
  EXPECT_EQ(deflate(&z, Z_FINISH), Z_STREAM_END);
  out.resize(z.total_out);
  deflateEnd(&z);
  return out;
}

// The whole content of a zlib stream (the test images' are small), or nothing
// when it is not valid and complete.
std::optional<Bytes> ZlibInflate(const Bytes& stream) {
  Bytes out(1 << 22);
  uLongf size = static_cast<uLongf>(out.size());
  if (uncompress(out.data(), &size, stream.data(), static_cast<uLong>(stream.size())) != Z_OK) return std::nullopt;
  out.resize(size);
  return out;
}

// The IDAT chunks of a PNG file, back to back.
Bytes ReadIdatStream(const std::filesystem::path& pngFile) {
  std::ifstream file(pngFile, std::ios::binary);
  const Bytes bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  Bytes idat;
  for (std::size_t at = 8; at + 12 <= bytes.size();) {
    const std::size_t length = std::size_t{bytes[at]} << 24 | std::size_t{bytes[at + 1]} << 16 |
                               std::size_t{bytes[at + 2]} << 8 | bytes[at + 3];
    if (at + 12 + length > bytes.size()) break;
    const std::string type(bytes.begin() + static_cast<std::ptrdiff_t>(at + 4), bytes.begin() + static_cast<std::ptrdiff_t>(at + 8));
    if (type == "IDAT") idat.insert(idat.end(), bytes.begin() + static_cast<std::ptrdiff_t>(at + 8),
                                    bytes.begin() + static_cast<std::ptrdiff_t>(at + 8 + length));
    at += 12 + length;
  }
  return idat;
}

Bytes Body(const Bytes& zlibStream) { return Bytes(zlibStream.begin() + std::min<std::size_t>(2, zlibStream.size()), zlibStream.end()); }

std::vector<Bytes> PngSuiteStreams() {
  std::vector<Bytes> streams;
  for (const auto& file : std::filesystem::directory_iterator(ZORV_TEST_DATA_DIR "/pngsuite")) {
    if (file.path().extension() == ".png") streams.push_back(ReadIdatStream(file.path()));
  }
  return streams;
}

// Contents of five kinds: words, counters, noise, runs (row copies and short
// periods) and the small differences of a filtered photograph.
Bytes Sample(std::mt19937& random, int kind, std::size_t size) {
  static const char* const kWords[] = {"arcade", "cabinet", "score", "stage", "credit", "sprite", "romset", "1985"};
  Bytes data;
  std::uint32_t counter = random();
  while (data.size() < size) {
    if (kind == 0) {
      const std::string word = std::string(kWords[random() % 8]) + (random() % 16 == 0 ? "\n" : " ");
      data.insert(data.end(), word.begin(), word.end());
    } else if (kind == 1) {
      counter += random() % 64;
      for (int k = 0; k < 8; ++k) data.push_back(k < 4 ? static_cast<std::uint8_t>(counter >> (8 * k)) : random() % 3);
    } else if (kind == 2) {
      data.push_back(static_cast<std::uint8_t>(random()));
    } else if (kind == 4) {
      const auto magnitude = static_cast<std::uint8_t>(std::geometric_distribution<int>(0.1)(random));
      data.push_back(random() % 2 == 0 ? magnitude : static_cast<std::uint8_t>(-magnitude));
    } else {
      const std::size_t period = 1 + random() % 9, run = 1 + random() % 700;
      for (std::size_t i = 0; i < run; ++i) data.push_back(static_cast<std::uint8_t>(i % period * 37 + period));
    }
  }
  data.resize(size);
  return data;
}

constexpr int kStrategies[] = {Z_DEFAULT_STRATEGY, Z_FILTERED, Z_HUFFMAN_ONLY, Z_RLE, Z_FIXED};

TEST(InflateCrossCheck, PngSuiteStreamsMatchZlib) {
  int compared = 0;
  for (const Bytes& stream : PngSuiteStreams()) {
    const auto expected = ZlibInflate(stream);
    if (!expected) {
      Inflate(Body(stream), 1000);  // a broken stream: both paths agree
      continue;
    }
    const Outcome outcome = Inflate(Body(stream), static_cast<std::int32_t>(expected->size()));
    EXPECT_EQ(outcome, (Outcome{Kind::kReturned, kInflateOk, *expected, {}}));
    ++compared;
  }
  EXPECT_GE(compared, 160);
}

TEST(InflateCrossCheck, AllLevelsAndStrategiesMatchZlib) {
  std::mt19937 random(20261205);
  for (int kind = 0; kind < 5; ++kind) {
    for (const std::size_t size : {0, 1, 37, 300, 5000, 70000}) {
      const Bytes data = Sample(random, kind, size);
      for (int level = 0; level <= 9; ++level) {
        for (const int strategy : kStrategies) {
          const Bytes stream = ZlibCompress(data, level, strategy, 1 + static_cast<int>(random() % 9));
          const Outcome outcome = Inflate(Body(stream), static_cast<std::int32_t>(size));
          ASSERT_EQ(outcome, (Outcome{Kind::kReturned, kInflateOk, data, {}}))
              << "kind " << kind << " size " << size << " level " << level << " strategy " << strategy;
        }
      }
    }
  }
}

TEST(InflateCrossCheck, SmallExpectedSizesCutTheOutput) {
  std::mt19937 random(20261206);
  const Bytes data = Sample(random, 3, 20000);
  for (const int level : {0, 1, 6, 9}) {
    const Bytes stream = ZlibCompress(data, level, Z_DEFAULT_STRATEGY);
    for (const std::int32_t expected : {0, 1, 500, 19899, 19900, 19901}) {
      const Outcome outcome = Inflate(Body(stream), expected);
      const std::size_t room = static_cast<std::size_t>(expected) + 101;
      if (level == 0 && data.size() > room) {
        EXPECT_EQ(outcome.result, kInflateBadBlock);  // a stored block that does not fit is not copied
        continue;
      }
      const std::size_t kept = data.size() > room ? room - 1 : data.size();
      EXPECT_EQ(outcome.output, Bytes(data.begin(), data.begin() + static_cast<std::ptrdiff_t>(kept))) << expected;
    }
  }
}

TEST(InflateCrossCheck, StreamsTheFuzzerKeepsStayInTheirBuffers) {
  // Each input as the fuzz target takes it: the expected size less 100, a
  // flag byte, the stream. Both paths must agree, and the sanitizers watch.
  int read = 0;
  for (const auto& entry : std::filesystem::directory_iterator(ZORV_TEST_DATA_DIR "/../../fuzz/corpus/inflate")) {
    std::ifstream file(entry.path(), std::ios::binary);
    const Bytes input{std::istreambuf_iterator<char>(file), {}};
    if (input.size() < 3) continue;
    const std::int32_t expected = input[0] + (input[1] << 8) - 100;
    Inflate(Bytes(input.begin() + 3, input.end()), expected, (input[2] & 1) != 0);
    ++read;
  }
  EXPECT_GE(read, 7);
}

TEST(InflateCrossCheck, DamagedStreamsFailTheSameOnBothPaths) {
  std::mt19937 random(20261207);
  std::vector<Bytes> streams = PngSuiteStreams();
  for (int level = 0; level <= 9; ++level) {
    for (const int strategy : kStrategies) streams.push_back(ZlibCompress(Sample(random, level % 5, 4000), level, strategy));
  }
  int kinds[3] = {};
  for (int round = 0; round < 12; ++round) {
    for (const Bytes& original : streams) {
      if (original.size() < 3) continue;
      Bytes body = Body(original);
      const unsigned damage = random() % 3;
      for (unsigned flips = damage != 1 ? 1 + random() % 3 : 0; flips > 0; --flips) {
        body[random() % body.size()] ^= static_cast<std::uint8_t>(1u << (random() % 8));
      }
      if (damage != 0) body.resize(random() % (body.size() + 1));
      ++kinds[static_cast<int>(Inflate(body, static_cast<std::int32_t>(random() % 6000) - 100, random() % 8 == 0).kind)];
    }
  }
  // Every kind of outcome is well represented.
  EXPECT_GT(kinds[0], 400);
  EXPECT_GT(kinds[1], 20);
  EXPECT_GT(kinds[2], 400);
}

// ---- hand-made streams ----

class BitWriter {
 public:
  BitWriter& Bits(std::uint32_t value, int n) {
    for (int i = 0; i < n; ++i) Bit((value >> i) & 1);
    return *this;
  }
  BitWriter& Code(std::uint32_t code, int length) {  // most significant bit first
    for (int i = length; i-- > 0;) Bit((code >> i) & 1);
    return *this;
  }
  BitWriter& Raw(const Bytes& bytes) {
    while (bits_ % 8 != 0) Bit(0);
    for (const std::uint8_t b : bytes) Bits(b, 8);
    return *this;
  }
  Bytes Finish() const { return bytes_; }

 private:
  void Bit(unsigned bit) {
    if (bits_ % 8 == 0) bytes_.push_back(0);
    bytes_.back() |= static_cast<std::uint8_t>(bit << (bits_++ % 8));
  }
  Bytes bytes_;
  std::size_t bits_ = 0;
};

// A canonical prefix code from its code lengths.
struct PrefixCode {
  std::vector<int> lengths;
  std::vector<std::uint32_t> codes;
  explicit PrefixCode(std::vector<int> codeLengths) : lengths(std::move(codeLengths)), codes(lengths.size()) {
    std::uint32_t code = 0;
    for (int length = 1; length <= 15; ++length, code <<= 1) {
      for (std::size_t s = 0; s < lengths.size(); ++s) {
        if (lengths[s] == length) codes[s] = code++;
      }
    }
  }
  void Put(BitWriter& w, int symbol) const { w.Code(codes.at(symbol), lengths.at(symbol)); }
};

std::vector<int> Lengths(std::initializer_list<std::pair<int, int>> symbolLengths, int count = 257) {
  std::vector<int> lengths(count, 0);
  for (const auto& [symbol, length] : symbolLengths) lengths[symbol] = length;
  return lengths;
}

const PrefixCode kFixedLiterals([] {
  std::vector<int> l(288);
  for (int s = 0; s < 288; ++s) l[s] = s < 144 ? 8 : s < 256 ? 9 : s < 280 ? 7 : 8;
  return l;
}());
const PrefixCode kFixedDistances(std::vector<int>(32, 5));
constexpr int kCodeLengthOrder[19] = {16, 17, 18, 0, 8, 7, 9, 6, 10, 5, 11, 4, 12, 3, 13, 2, 14, 1, 15};

struct Block {
  BitWriter& w;
  const PrefixCode& literals;
  const PrefixCode& distances;
  Block& Text(std::string_view text) {
    for (const unsigned char c : text) literals.Put(w, c);
    return *this;
  }
  Block& Symbol(int symbol) {
    literals.Put(w, symbol);
    return *this;
  }
  Block& Match(int lengthSymbol, std::uint32_t lengthExtra, int lengthBits, int distanceSymbol,
               std::uint32_t distanceExtra = 0, int distanceBits = 0) {
    literals.Put(w, lengthSymbol);
    w.Bits(lengthExtra, lengthBits);
    distances.Put(w, distanceSymbol);
    w.Bits(distanceExtra, distanceBits);
    return *this;
  }
};
using BlockBody = std::function<void(Block&)>;

Bytes Fixed(const BlockBody& body, bool final = true, bool end = true) {
  BitWriter w;
  w.Bits(final, 1).Bits(1, 2);
  Block block{w, kFixedLiterals, kFixedDistances};
  body(block);
  if (end) kFixedLiterals.Put(w, 256);
  return w.Finish();
}

// Code lengths sent one by one with a code-length code of 4 bits for lengths 0-15.
Bytes Dynamic(const std::vector<int>& literals, const std::vector<int>& distances, const BlockBody& body = {},
              bool end = true) {
  BitWriter w;
  w.Bits(1, 1).Bits(2, 2).Bits(static_cast<std::uint32_t>(literals.size() - 257), 5);
  w.Bits(static_cast<std::uint32_t>(distances.size() - 1), 5).Bits(19 - 4, 4);
  for (const int s : kCodeLengthOrder) w.Bits(s < 16 ? 4 : 0, 3);
  const PrefixCode fourBits(std::vector<int>(16, 4));
  for (const int n : literals) fourBits.Put(w, n);
  for (const int n : distances) fourBits.Put(w, n);
  const PrefixCode l(literals), d(distances);
  Block block{w, l, d};
  if (body) body(block);
  if (end) l.Put(w, 256);
  return w.Finish();
}

Bytes Stored(const Bytes& content, bool final = true, bool goodComplement = true) {
  const auto len = static_cast<std::uint32_t>(content.size());
  const std::uint32_t nlen = goodComplement ? ~len & 0xFFFF : 0x1234;
  return BitWriter().Bits(final, 1).Bits(0, 2).Raw({static_cast<std::uint8_t>(len), static_cast<std::uint8_t>(len >> 8),
                                                    static_cast<std::uint8_t>(nlen), static_cast<std::uint8_t>(nlen >> 8)})
      .Raw(content).Finish();
}

// A dynamic header whose code-length code has 16, 17, 18 and 0 two bits each; `symbols` follow it.
Bytes RepeatCodes(std::initializer_list<std::pair<int, int>> symbols) {
  BitWriter w;
  w.Bits(1, 1).Bits(2, 2).Bits(0, 5).Bits(0, 5).Bits(19 - 4, 4);
  const std::vector<int> lengths = Lengths({{16, 2}, {17, 2}, {18, 2}, {0, 2}}, 19);
  for (const int s : kCodeLengthOrder) w.Bits(static_cast<std::uint32_t>(lengths[s]), 3);
  const PrefixCode code(lengths);
  for (const auto& [symbol, extra] : symbols) {
    code.Put(w, symbol);
    w.Bits(static_cast<std::uint32_t>(extra), symbol == 16 ? 2 : symbol == 17 ? 3 : symbol == 18 ? 7 : 0);
  }
  return w.Finish();
}

Bytes Join(std::initializer_list<Bytes> parts) {
  Bytes all;
  for (const Bytes& p : parts) all.insert(all.end(), p.begin(), p.end());
  return all;
}
Bytes Text(std::string_view s) { return Bytes(s.begin(), s.end()); }
Bytes Cut(Bytes b, std::size_t n) { return Bytes(b.begin(), b.end() - static_cast<std::ptrdiff_t>(n)); }

const Bytes kAdler = {1, 2, 3, 4};
const std::string kDynamicFailure = "Error in tree creation (Dynamic)";
// 65535 + 65535 stored bytes that distance codes 30 and 31 reach back into.
Bytes History(std::size_t n) {
  Bytes h(n);
  for (std::size_t i = 0; i < n; ++i) h[i] = static_cast<std::uint8_t>(i * 7 + i / 251);
  return h;
}
const Bytes kHistory = History(2 * 65535);

// 224 codes of 8 bits and 64 of 9 bits fill the space exactly.
std::vector<int> AllSymbols() {
  std::vector<int> lengths(288);
  for (int s = 0; s < 288; ++s) lengths[s] = s < 224 ? 8 : 9;
  return lengths;
}

struct Case {
  const char* name;
  Bytes stream;
  std::int32_t expected;
  Outcome outcome;
  bool largeLength = false;
};

Outcome Returned(int result, Bytes output) { return {Kind::kReturned, result, std::move(output), {}}; }
Outcome Repeated(std::size_t n, char c) { return Returned(kInflateOk, Bytes(n, static_cast<std::uint8_t>(c))); }
const Outcome kDecodingFailure{Kind::kDecodingFailure, 0, {}, {}};
const Outcome kTableFailure{Kind::kTableFailure, 0, {}, kDynamicFailure};

TEST(InflateRules, OneCaseEach) {
  const Case cases[] = {
      {"stored block, then the Adler-32", Join({Stored(Text("abc")), kAdler}), 3, Returned(0, Text("abc"))},
      {"NLEN not the complement: copied, result -2", Join({Stored(Text("hello"), false, false), Stored(Text("!")), kAdler}),
       6, Returned(kInflateStoredLengthCheck, Text("hello!"))},
      {"stored header needs a byte after NLEN", Join({Stored(Text("ab"), false), Stored({})}), 10,
       Returned(kInflateBadBlock, Text("ab"))},
      {"empty stored block with a byte after it", Join({Stored({}), Bytes{0}}), 10, Returned(0, {})},
      {"stored data past the input", Cut(Join({Stored(Text("x"), false), Stored(Text("abcdef"))}), 2), 10,
       Returned(kInflateBadBlock, Text("x"))},
      {"stored block exactly filling the output", Join({Stored(Bytes(101, 7)), kAdler}), 0, Returned(0, Bytes(101, 7))},
      {"stored block past the output", Join({Stored(Bytes(60, 7), false), Stored(Bytes(42, 8)), kAdler}), 0,
       Returned(kInflateBadBlock, Bytes(60, 7))},
      {"block type 3", Join({Fixed([](Block& b) { b.Text("ok"); }, false), BitWriter().Bits(1, 1).Bits(3, 2).Finish()}),
       2, Returned(kInflateBadBlock, Text("ok"))},
      {"fixed block of the end symbol alone", Fixed([](Block&) {}), 0, Returned(0, {})},
      {"overlapping matches", Fixed([](Block& b) { b.Text("abc").Match(265, 1, 1, 2).Match(257, 0, 0, 0); }), 18,
       Returned(0, Text("abcabcabcabcabcccc"))},
      {"symbols 286 and 287 copy nothing",
       Fixed([](Block& b) { b.Match(286, 0, 0, 29, 8191, 13).Text("a").Match(287, 0, 0, 31, 16383, 14).Text("b"); }), 2,
       Returned(0, Text("ab"))},
      {"distance before the start", Fixed([](Block& b) { b.Text("ab").Match(257, 0, 0, 2); }), 10, kDecodingFailure},
      {"length 258 without the long form", Fixed([](Block& b) { b.Text("a").Match(285, 0, 0, 0).Match(284, 31, 5, 0); }),
       2000, Repeated(517, 'a')},
      {"long form of length 258",
       Fixed([](Block& b) { b.Text("a").Match(285, 997, 16, 0).Match(284, 31 | 5 << 5, 21, 0); }), 2000,
       Repeated(1009, 'a'), true},
      {"expected + 100 caps literals", Fixed([](Block& b) { b.Text(std::string(200, 'z')); }), 10, Repeated(110, 'z')},
      {"111 literals fill the last index", Fixed([](Block& b) { b.Text(std::string(111, 'z')); }), 10, Repeated(111, 'z')},
      {"a match past the cap", Fixed([](Block& b) { b.Text("z").Match(284, 3, 5, 0); }), 10, Repeated(110, 'z')},
      {"a match to the last index", Fixed([](Block& b) { b.Text(std::string(11, 'q')).Match(279, 1, 4, 0); }), 10,
       Repeated(111, 'q')},
      {"room for one byte", Fixed([](Block& b) { b.Text("xy"); }), -100, Returned(0, {})},
      {"room for two bytes", Fixed([](Block& b) { b.Text("xy"); }), -99, Returned(0, Text("xy"))},
      {"room for no byte", Fixed([](Block& b) { b.Text("xy"); }), -101, kDecodingFailure},
      {"code bits past the input read as zero", Cut(Fixed([](Block& b) { b.Text("abc"); }), 1), 3,
       Returned(0, Text("abc"))},
      {"no input", {}, 10, kDecodingFailure},
      {"extra bits past the input", Fixed([](Block& b) { b.Text("abcd").Symbol(270); }, true, false), 10,
       kDecodingFailure},
      {"next block header past the input", Fixed([](Block& b) { b.Text("abc"); }, false, false), 3, kDecodingFailure},
      {"zero bits repeat a literal up to the cap", Dynamic(Lengths({{'x', 1}, {256, 1}}), {1, 1}, {}, false), 50,
       Repeated(150, 'x')},
      {"lone one-bit distance code", Dynamic(Lengths({{'a', 1}, {256, 1}}), {1}), 10, kTableFailure},
      {"distance code without symbols", Dynamic(Lengths({{'a', 1}, {256, 1}}), {0, 0}), 10, kTableFailure},
      {"over-subscribed distance code", Dynamic(Lengths({{'a', 1}, {256, 1}}), {1, 1, 1}), 10, kTableFailure},
      {"incomplete literal code", Dynamic(Lengths({{'a', 1}, {256, 2}}), {1, 1}), 10, kTableFailure},
      {"literal code without symbols", Dynamic(Lengths({}), {1, 1}), 10, kTableFailure},
      {"over-subscribed literal code", Dynamic(Lengths({{'a', 1}, {'b', 1}, {256, 1}}), {1, 1}), 10, kTableFailure},
      {"table failure keeps result -2", Join({Stored(Text("s"), false, false), Dynamic(Lengths({{'a', 1}, {256, 1}}), {1})}),
       10, Outcome{Kind::kTableFailure, kInflateStoredLengthCheck, {}, kDynamicFailure}},
      {"repeat code 16 first", RepeatCodes({{16, 0}}), 10, kTableFailure},
      {"repeat run to the last length", RepeatCodes({{18, 127}, {18, 109}}), 10, kTableFailure},
      {"repeat run past the last length", RepeatCodes({{18, 127}, {18, 110}}), 10, kTableFailure},
      {"all 288 literal/length symbols",
       Dynamic(AllSymbols(), {1, 1}, [](Block& b) { b.Text("k").Match(287, 0, 0, 1).Match(286, 0, 0, 0).Match(257, 0, 0, 0); }),
       4, Returned(0, Text("kkkk"))},
      {"distance codes 30 and 31",
       Join({Stored(Bytes(kHistory.begin(), kHistory.begin() + 65535), false), Stored(Bytes(kHistory.begin() + 65535, kHistory.end()), false),
             Dynamic(Lengths({{256, 1}, {257, 1}}, 258), Lengths({{30, 1}, {31, 1}}, 32),
                     [](Block& b) { b.Match(257, 0, 0, 30, 100, 14).Match(257, 0, 0, 31, 16383, 14); })}),
       131076, Returned(0, [] {
         Bytes out = kHistory;
         for (int i = 0; i < 3; ++i) out.push_back(kHistory[kHistory.size() - 32869 + i]);
         for (int i = 0; i < 3; ++i) out.push_back(out[out.size() - 65536]);
         return out;
       }())},
  };
  for (const Case& c : cases) EXPECT_EQ(Inflate(c.stream, c.expected, c.largeLength), c.outcome) << c.name;
}

// Literal codes of 2 and 15 bits: short codes found in the root table, long
// ones through a subtable.
std::vector<int> ShortAndLongLiterals() {
  std::vector<int> literals = Lengths({{256, 1}, {'o', 15}});
  for (int i = 0; i < 14; ++i) literals['a' + i] = 2 + i;
  return literals;
}

TEST(InflateRules, AlternatingShortAndLongLiteralsStopAtTheCap) {
  std::string pairs;
  for (int i = 0; i < 2000; ++i) pairs += "ao";
  const Bytes stream = Dynamic(ShortAndLongLiterals(), {1, 1}, [&](Block& b) { b.Text(pairs); });
  EXPECT_EQ(Inflate(stream, 1000), Returned(kInflateOk, Text(pairs.substr(0, 1100))));
  EXPECT_EQ(Inflate(stream, 4000), Returned(kInflateOk, Text(pairs)));
}

TEST(InflateRules, HugeExpectedSizesAreOutOfMemory) {
  Bytes data = Fixed([](Block& b) { b.Text("xy"); });
  const Bytes stream = data;
  for (const std::int32_t huge : {std::int32_t{1} << 30, INT32_MAX}) {
    try {
      Inflater().Inflate(data, huge, false);
      ADD_FAILURE() << huge;
    } catch (const RunTimeError& failure) {
      EXPECT_EQ(failure.Number(), static_cast<int>(ErrorCode::OutOfMemory));
    }
  }
  EXPECT_EQ(data, stream);
}

TEST(InflateRules, StoredHeaderCheckCountsTheBytesACodeLookupHasLoaded) {
  // The end code has one bit, the longest literal code 15: its lookup loads input
  // bytes the one bit does not use, and a stored block after it is checked
  // against them before whole bytes are given back.
  const std::vector<int> literals = ShortAndLongLiterals();
  int refused = 0;
  for (int leading = 0; leading < 8; ++leading) {
    for (int trailing = 0; trailing < 4; ++trailing) {
      Bytes stream = Dynamic(literals, {1, 1}, [&](Block& b) {
        b.Text(std::string(leading, 'a')).Symbol(256);
        b.w.Bits(1, 1).Bits(0, 2).Raw({0, 0, 0xFF, 0xFF}).Raw(Bytes(trailing, 9));
      }, false);
      stream[0] &= 0xFE;  // not final
      const Outcome outcome = Inflate(stream, 10);
      ASSERT_EQ(outcome.output, Bytes(leading, 'a'));
      refused += outcome.result == kInflateBadBlock;
    }
  }
  EXPECT_GT(refused, 8);
  EXPECT_LT(refused, 24);
}

}  // namespace
}  // namespace zorv::png
