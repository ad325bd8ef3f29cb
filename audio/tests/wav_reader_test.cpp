// Each layout the reader meets, and the broken files it must turn down with
// a reason rather than a crash.
#include <gtest/gtest.h>

#include <cmath>

#include "audio/tests/wav_bytes.h"
#include "audio/wav_reader.h"

namespace orv {
namespace {

using test::Chunk;
using test::FormatChunk;
using test::MakeWav;
using test::Riff;
using test::WavShape;

TEST(WavReader, ReadsEveryPlainEncodingMixedDownToMono) {
  struct Case {
    WavShape shape;
    const char* described;
  };
  const Case cases[] = {
      {{1, 8, 1, 8000}, "PCM 8 bits mono 8000 Hz"},
      {{1, 16, 2, 44100}, "PCM 16 bits est\xc3\xa9reo 44100 Hz"},
      {{1, 24, 2, 48000}, "PCM 24 bits est\xc3\xa9reo 48000 Hz"},
      {{1, 32, 1, 22050}, "PCM 32 bits mono 22050 Hz"},
      {{3, 32, 2, 44100}, "PCM ponto flutuante 32 bits est\xc3\xa9reo 44100 Hz"},
      {{3, 64, 1, 96000}, "PCM ponto flutuante 64 bits mono 96000 Hz"},
      {{1, 16, 6, 48000, true}, "PCM 16 bits 6 canais 48000 Hz"},
      {{3, 32, 2, 16000, true}, "PCM ponto flutuante 32 bits est\xc3\xa9reo 16000 Hz"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.described);
    // Channel 0 at +0.5 and the others at -0.5 / (n-1): the mix is known.
    const int n = c.shape.channels;
    const std::string wav = MakeWav(c.shape, 100, [n](std::size_t, int ch) { return ch == 0 ? 0.5 : -0.5 / (n - 1); });
    const WavDecode d = DecodeWavMono(wav);
    ASSERT_EQ(d.error, AudioError::None);
    EXPECT_EQ(DescribeFormat(d.format), c.described);
    EXPECT_EQ(d.audio.sampleRate, c.shape.rate);
    ASSERT_EQ(d.audio.samples.size(), 100u);
    const double expected = n == 1 ? 0.5 : 0.0;
    EXPECT_NEAR(d.audio.samples[50], expected, 0.01);
    EXPECT_EQ(IsHostFormat(d.format), c.shape.bits == 8 && n == 1 && c.shape.rate == 8000 && !c.shape.extensible);
    EXPECT_NEAR(ParseWav(wav).layout.seconds, 100.0 / c.shape.rate, 1e-9);
  }
}

TEST(WavReader, ReadsFullScaleAndSignOfEachWidth) {
  for (int bits : {8, 16, 24, 32}) {
    const std::string wav = MakeWav({1, bits, 1, 8000}, 2, [](std::size_t i, int) { return i ? -1.0 : 1.0; });
    const WavDecode d = DecodeWavMono(wav);
    ASSERT_EQ(d.error, AudioError::None) << bits;
    EXPECT_NEAR(d.audio.samples[0], 1.0, 0.01) << bits;
    EXPECT_NEAR(d.audio.samples[1], -1.0, 0.01) << bits;
  }
}

TEST(WavReader, DecodesMuLawAndALaw) {
  // G.711 code words: mu-law 0x80 is the largest positive, 0xFF and A-law
  // 0xD5 are (near) zero, A-law 0xAA is the largest positive.
  for (auto [tag, loud, quiet] : {std::tuple{7u, '\x80', '\xFF'}, std::tuple{6u, '\xAA', '\xD5'}}) {
    const std::string wav = Riff(Chunk("fmt ", FormatChunk({tag, 8, 1, 8000})) + Chunk("data", std::string{loud, quiet}));
    const WavDecode d = DecodeWavMono(wav);
    ASSERT_EQ(d.error, AudioError::None) << tag;
    EXPECT_GT(d.audio.samples[0], 0.9f) << tag;
    EXPECT_NEAR(d.audio.samples[1], 0.0f, 0.001f) << tag;
  }
}

TEST(WavReader, SkipsOtherChunksAndToleratesAWrongRiffSize) {
  const std::string fmt = Chunk("fmt ", FormatChunk({1, 16, 1, 8000}));
  std::string wav = Riff(Chunk("LIST", "odd") + fmt + Chunk("fact", "1234") + Chunk("data", std::string(20, '\0')));
  wav[4] = '\x01', wav[5] = wav[6] = wav[7] = '\0';  // the RIFF size says 1
  const WavParse p = ParseWav(wav);
  ASSERT_EQ(p.error, AudioError::None);
  EXPECT_EQ(p.layout.dataBytes, 20u);
  // A streaming recorder's "size unknown" runs to the end of the file.
  std::string streamed = Riff(fmt) + "data" + std::string("\xFF\xFF\xFF\xFF", 4) + std::string(7, '\0');
  EXPECT_EQ(ParseWav(streamed).layout.dataBytes, 6u);  // whole frames only
}

TEST(WavReader, LengthFromTheHeaderPastAnOddSizedChunk) {
  auto le = [](std::uint32_t v) { return std::string{char(v), char(v >> 8), char(v >> 16), char(v >> 24)}; };
  std::string wav = "RIFF" + le(0) + "WAVE" + "LIST" + le(3) + "abc" + std::string(1, '\0') + "fmt " + le(16) +
                    std::string("\x01\x00\x01\x00", 4) + le(8000) + le(8000) + std::string("\x01\x00\x08\x00", 4) +
                    "data" + le(16000) + std::string(16000, '\x80');
  EXPECT_DOUBLE_EQ(ParseWav(wav).layout.seconds, 2.0);
  EXPECT_NE(ParseWav("RIFF....WAVEdata").error, AudioError::None);
  EXPECT_NE(ParseWav("not a wav").error, AudioError::None);
}

TEST(WavReader, CompressedWavIsKnownButLeftToTheSystem) {
  std::string fmt;
  test::Put16(fmt, 0x11), test::Put16(fmt, 1), test::Put32(fmt, 8000), test::Put32(fmt, 4055);
  test::Put16(fmt, 256), test::Put16(fmt, 4), test::Put16(fmt, 2), test::Put16(fmt, 505);
  const std::string wav = Riff(Chunk("fmt ", fmt) + Chunk("data", std::string(512, '\0')));
  EXPECT_EQ(ParseWav(wav).error, AudioError::None);
  EXPECT_EQ(DescribeFormat(ParseWav(wav).layout.format), "ADPCM mono 8000 Hz");
  EXPECT_EQ(DecodeWavMono(wav).error, AudioError::Unsupported);
}

TEST(WavReader, TurnsDownBrokenFilesWithAReason) {
  const std::string fmt16 = Chunk("fmt ", FormatChunk({1, 16, 2, 44100}));
  const std::string good = Riff(fmt16 + Chunk("data", std::string(400, '\0')));
  std::string badChannels = FormatChunk({1, 16, 2, 44100});
  badChannels[2] = badChannels[3] = 0;
  std::string hugeRate = FormatChunk({1, 16, 1, 8000});
  hugeRate[4] = hugeRate[5] = hugeRate[6] = hugeRate[7] = '\xFF';
  std::string hugeData = Riff(fmt16) + "data" + std::string("\xF0\xFF\xFF\x7F", 4) + std::string(16, '\0');
  std::string hugeFmt = Riff("fmt " + std::string("\xF0\xFF\xFF\x7F", 4) + std::string(16, '\0'));

  const std::pair<std::string, AudioError> cases[] = {
      {"", AudioError::NotAudio},
      {"ID3\x03 not a wav at all", AudioError::NotAudio},
      {"RIFF\x04\x00\x00\x00" "AVI ", AudioError::NotAudio},
      {good.substr(0, 30), AudioError::Truncated},                // cut inside the format chunk
      {good.substr(0, good.size() - 100), AudioError::Truncated}, // cut inside the sound
      {Riff(fmt16), AudioError::Truncated},                       // no sound at all
      {Riff(Chunk("data", std::string(8, '\0'))), AudioError::Corrupt},
      {Riff(Chunk("fmt ", "short") + Chunk("data", "")), AudioError::Corrupt},
      {Riff(Chunk("fmt ", badChannels) + Chunk("data", "")), AudioError::Corrupt},
      {Riff(Chunk("fmt ", hugeRate) + Chunk("data", "")), AudioError::Unsupported},
      {Riff(Chunk("fmt ", FormatChunk({1, 12, 1, 8000})) + Chunk("data", "")), AudioError::Unsupported},
      {hugeData, AudioError::Truncated},
      {hugeFmt, AudioError::Truncated},
  };
  for (const auto& [bytes, error] : cases) {
    SCOPED_TRACE(bytes.size());
    EXPECT_EQ(ParseWav(bytes).error, error);
    const WavDecode d = DecodeWavMono(bytes);
    EXPECT_EQ(d.error, error);
    EXPECT_TRUE(d.audio.samples.empty());
    EXPECT_FALSE(AudioErrorReason(error).empty());
  }
  EXPECT_EQ(AudioErrorReason(AudioError::NotAudio), "n\xc3\xa3o \xc3\xa9 um arquivo de \xc3\xa1udio");
  EXPECT_EQ(AudioErrorReason(AudioError::Corrupt), "arquivo WAV corrompido");
}

}  // namespace
}  // namespace orv
