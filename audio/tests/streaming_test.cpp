// Sound goes from a file to the host's copy a block at a time. Where the
// blocks fall changes no sample; memory never holds the whole; sizes near
// 2^32 and files past 4 GB are read with 64-bit offsets; overloaded float
// files never turn into infinities or non-numbers on the way.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

#include "audio/host_copy_job.h"
#include "audio/host_format.h"
#include "audio/copy_cache.h"
#include "audio/resampler.h"
#include "audio/tests/sparse_file.h"
#include "audio/tests/wav_bytes.h"
#include "audio/wav_reader.h"
#include "tests/support/fake_audio_files.h"

namespace orv {
namespace {

using test::Chunk;
using test::FormatChunk;
using test::Put32;
using test::Riff;
using test::SparseFile;

// Hands the sink blocks of random sizes, as a decoder's reads would.
void Feed(MonoSink& sink, std::uint32_t rate, const std::vector<float>& samples, std::mt19937& rng) {
  sink.start(rate);
  for (std::size_t at = 0; at < samples.size();) {
    const std::size_t n = std::min<std::size_t>(samples.size() - at, rng() % 5000 + 1);
    sink.take(samples.data() + at, n);
    at += n;
  }
}

TEST(Streaming, WhereTheBlocksFallChangesNoSample) {
  std::mt19937 rng(20240611);
  for (std::uint32_t rate : {8000u, 11025u, 22050u, 44100u, 48000u, 44056u, 96000u, 6000u}) {
    SCOPED_TRACE(rate);
    std::vector<float> input(rate * 3 / 2 + rng() % 1000);
    std::uniform_real_distribution<float> noise(-1, 1);
    for (float& s : input) s = noise(rng);

    const std::vector<float> whole = ResampleTo8000(input, rate);
    Resampler r(rate);
    std::vector<float> pieces;
    for (std::size_t at = 0; at < input.size();) {
      const std::size_t n = std::min<std::size_t>(input.size() - at, rng() % 3000);
      r.push(input.data() + at, n, pieces);
      at += n;
    }
    r.finish(pieces);
    ASSERT_EQ(pieces.size(), whole.size());
    EXPECT_EQ(pieces, whole);
    EXPECT_EQ(whole.size(), (input.size() * 8000 + rate / 2) / rate);

    MemoryWriter file;
    HostWavWriter writer(file, 3600);
    Feed(writer, rate, input, rng);
    ASSERT_TRUE(writer.finish());
    EXPECT_EQ(file.bytes, ConvertToHostWav(MonoAudio{rate, input}));
  }
}

TEST(Streaming, DecodingAFileReadsItABlockAtATime) {
  const std::string wav = test::SineWav({1, 24, 2, 48000}, 3.0, 440);
  SparseFile file(wav.size());
  file.place(0, wav);
  const WavParse p = ParseWav(file);
  ASSERT_EQ(p.error, AudioError::None);
  EXPECT_LT(file.bytesRead, 100u) << "the header only";
  struct Largest : MonoSink {
    bool start(std::uint32_t) override { return true; }
    bool take(const float*, std::size_t n) override {
      largest = std::max(largest, n);
      total += n;
      return true;
    }
    std::size_t largest = 0, total = 0;
  } sink;
  EXPECT_EQ(DecodeWav(file, p.layout, sink), AudioError::None);
  EXPECT_EQ(sink.total, 3u * 48000);
  EXPECT_LE(sink.largest * 6, 64u * 1024) << "no block larger than 64 KB of the file";

  // A file cut short after it was read is incomplete, not garbage.
  SparseFile shrunk(wav.size() / 2);
  shrunk.place(0, wav.substr(0, wav.size() / 2));
  EXPECT_EQ(DecodeWav(shrunk, p.layout, sink), AudioError::Truncated);
}

TEST(Streaming, ChunkSizesNear2To32AndFilesPast4GBAreWalkedIn64Bits) {
  const std::string fmt = Chunk("fmt ", FormatChunk({1, 16, 2, 44100}));
  auto header = [](const char* id, std::uint32_t size) {
    std::string h = id;
    Put32(h, size);
    return h;
  };
  // A pad chunk of 0xFFFFFFF1 bytes (odd: one more for the pad), then the
  // format and 3 h of sound past the 4 GB mark.
  const std::uint64_t soundBytes = 3ull * 3600 * 44100 * 4;
  const std::uint64_t fmtAt = 12 + 8 + 0xFFFFFFF2ull;
  SparseFile big(fmtAt + fmt.size() + 8 + soundBytes);
  big.place(0, "RIFF" + std::string("\xFF\xFF\xFF\xFF", 4) + "WAVE" + header("JUNK", 0xFFFFFFF1u));
  big.place(fmtAt, fmt + header("data", 0xFFFFFFFFu));
  WavParse p = ParseWav(big);
  ASSERT_EQ(p.error, AudioError::None);
  EXPECT_EQ(p.layout.dataOffset, fmtAt + fmt.size() + 8);
  EXPECT_EQ(p.layout.dataBytes, soundBytes);
  EXPECT_NEAR(p.layout.seconds, 3 * 3600, 1e-6);
  EXPECT_LT(big.reads, 10);

  // The same pad in a small file: it runs past the end, which ends the walk.
  SparseFile small(4096);
  small.place(0, "RIFF" + std::string(4, '\0') + "WAVE" + fmt + header("JUNK", 0xFFFFFFFEu));
  EXPECT_EQ(ParseWav(small).error, AudioError::Truncated);
  for (std::uint32_t size : {0xFFFFFFFFu, 0xFFFFFFF8u, 0x80000000u, 0x7FFFFFF9u}) {
    SparseFile f(1 << 20);
    f.place(0, "RIFF" + std::string(4, '\0') + "WAVE" + header("fmt ", size) + FormatChunk({1, 16, 1, 8000}));
    EXPECT_EQ(ParseWav(f).error, AudioError::Truncated) << size;
  }

  // Thousands of empty chunks before the sound: turned down, not walked on.
  std::string many;
  for (int i = 0; i < 5000; ++i) many += header("LIST", 0);
  EXPECT_EQ(ParseWav(Riff(many + fmt + Chunk("data", "abcd"))).error, AudioError::Corrupt);
  EXPECT_EQ(ParseWav(Riff(many.substr(0, 1000 * 8) + fmt + Chunk("data", "abcd"))).error, AudioError::None);
}

TEST(Streaming, OverloadedFloatFilesNeverReachTheCopyAsNonNumbers) {
  const float huge = std::numeric_limits<float>::max();
  const float values[] = {huge, huge, -huge, -huge, std::numeric_limits<float>::infinity(),
                          std::numeric_limits<float>::quiet_NaN(), 0.5f, 0.5f, 1e30f, -1e30f};
  std::string data;
  for (float v : values) data.append(reinterpret_cast<const char*>(&v), 4);
  const std::string wav = Riff(Chunk("fmt ", FormatChunk({3, 32, 2, 44100})) + Chunk("data", data));
  const WavDecode d = DecodeWavMono(wav);
  ASSERT_EQ(d.error, AudioError::None);
  for (float s : d.audio.samples) EXPECT_TRUE(std::isfinite(s)) << s;
  EXPECT_GT(d.audio.samples[0], 1.0f) << "full positive stays positive";
  EXPECT_LT(d.audio.samples[1], -1.0f);

  std::vector<float> loud(20000);
  for (std::size_t i = 0; i < loud.size(); ++i) loud[i] = d.audio.samples[i % d.audio.samples.size()];
  const std::string copy = ConvertToHostWav(MonoAudio{44100, loud});
  EXPECT_EQ(ParseWav(copy).error, AudioError::None);

  const std::vector<std::uint8_t> q = QuantizeTo8Bit({std::numeric_limits<float>::quiet_NaN(),
                                                      std::numeric_limits<float>::infinity(),
                                                      -std::numeric_limits<float>::infinity(), 0.0f});
  EXPECT_EQ(q[0], 128);
  EXPECT_EQ(q[1], 255);
  EXPECT_EQ(q[2], 0);
  EXPECT_NEAR(q[3], 128, 1);
}

TEST(Streaming, TheCopyStopsAtItsLongestAtTheEndAndOnAFailedWrite) {
  const std::vector<float> minute(8000 * 60, 0.1f);
  auto feedMinutes = [&](HostWavWriter& w, int minutes) {
    w.start(8000);
    for (int i = 0; i < minutes; ++i)
      if (!w.take(minute.data(), minute.size())) return i;
    return minutes;
  };
  MemoryWriter file;
  HostWavWriter tooLong(file, 150);
  EXPECT_EQ(feedMinutes(tooLong, 10), 2);
  EXPECT_FALSE(tooLong.finish());
  EXPECT_EQ(tooLong.stopped(), HostWavWriter::Stop::TooLong);

  std::atomic<bool> stopping{false};
  MemoryWriter other;
  HostWavWriter ending(other, 3600, &stopping);
  ending.start(8000);
  EXPECT_TRUE(ending.take(minute.data(), 100));
  stopping = true;
  EXPECT_FALSE(ending.take(minute.data(), 100));
  EXPECT_EQ(ending.stopped(), HostWavWriter::Stop::Stopped);

  struct FullDisk : MemoryWriter {
    bool append(const char* b, std::size_t n) override { return bytes.size() + n < 100000 && MemoryWriter::append(b, n); }
  } disk;
  HostWavWriter full(disk, 3600);
  EXPECT_LT(feedMinutes(full, 10), 10);
  EXPECT_EQ(full.stopped(), HostWavWriter::Stop::WriteFailed);

  // Odd lengths are padded, and the header carries the sizes once known.
  MemoryWriter odd;
  HostWavWriter w(odd, 60);
  w.start(8000);
  w.take(minute.data(), 8001);
  ASSERT_TRUE(w.finish());
  EXPECT_EQ(odd.bytes.size(), 44u + 8002);
  EXPECT_EQ(ParseWav(odd.bytes).layout.dataBytes, 8001u);
}

TEST(Streaming, AFailedOrEndedCopyLeavesNothingBehind) {
  test::FakeFileSystem fs;
  test::FakeAudioFiles files(fs);
  fs.files["C:\\msg\\cd.wav"] = test::SineWav({1, 16, 2, 44100}, 2.0, 440);
  CopyOrder order;
  order.source = "C:\\msg\\cd.wav";
  order.stamp = *files.stamp(order.source);
  order.portable = true;
  order.copy = CopyPathFor(files.folder, order.source);
  order.maxSeconds = 1;
  std::atomic<bool> stopping{false};
  EXPECT_EQ(MakeHostCopy(files, nullptr, order, stopping).error, AudioError::TooLong);
  order.maxSeconds = 60;
  stopping = true;
  EXPECT_TRUE(MakeHostCopy(files, nullptr, order, stopping).stopped);
  EXPECT_EQ(fs.files.size(), 1u) << "only the source";

  stopping = false;
  order.portable = false;
  EXPECT_EQ(MakeHostCopy(files, nullptr, order, stopping).error, AudioError::Unsupported) << "no system decoder";
  order.portable = true;
  const CopyOutcome made = MakeHostCopy(files, nullptr, order, stopping);
  EXPECT_TRUE(made.made);
  EXPECT_EQ(fs.files.size(), 3u) << "source, copy and note";
  EXPECT_FALSE(MakeHostCopy(files, nullptr, order, stopping).made) << "found";
}

}  // namespace
}  // namespace orv
