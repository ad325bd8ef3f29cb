// The audio code's Windows side: file stamps, the cache folder under the
// user's local application data, and Media Foundation's decoders.
#include <gtest/gtest.h>

#include <windows.h>
#include <objbase.h>

#include <cmath>
#include <fstream>
#include <vector>

#include "audio/tests/wav_bytes.h"
#include "audio/win/media_foundation_decoder.h"
#include "audio/win/win_audio_files.h"
#include "platform/win/text.h"

namespace orv::win {
namespace {

struct ComForTest {
  ComForTest() { CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }
  ~ComForTest() { CoUninitialize(); }
};

std::string TempPath(const char* name) {
  wchar_t base[MAX_PATH];
  GetTempPathW(MAX_PATH, base);
  return Narrow(base) + "orvalen-audio-" + std::to_string(GetCurrentProcessId()) + "-" + name;
}

TEST(WinAudioFiles, StampsFilesAndKeepsCopiesUnderLocalAppData) {
  WinAudioFiles files;
  const std::string path = TempPath("stamp.bin");
  ASSERT_TRUE(files.replaceAll(path, "abc"));
  const auto first = files.stamp(path);
  ASSERT_TRUE(first);
  EXPECT_EQ(first->size, 3u);
  EXPECT_NE(first->modified, 0u);
  ASSERT_TRUE(files.replaceAll(path, "abcdef"));
  EXPECT_EQ(files.stamp(path)->size, 6u);
  DeleteFileW(Widen(path).c_str());
  EXPECT_FALSE(files.stamp(path));

  const std::string folder = files.cacheFolder();
  ASSERT_FALSE(folder.empty());
  EXPECT_EQ(folder, LocalAppDataFolder() + "\\Orvalen\\convertidos");
  const DWORD attributes = GetFileAttributesW(Widen(folder).c_str());
  EXPECT_TRUE(attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY));
  EXPECT_FALSE(files.stamp(folder)) << "a folder is no file";
}

TEST(WinAudioFiles, ReadsAtOffsetsAndWritesNewFilesThatAppearWholeOrNotAtAll) {
  WinAudioFiles files;
  const std::string path = TempPath("copy.wav");
  ASSERT_TRUE(files.replaceAll(path, "old"));
  {
    auto out = files.create(path);
    ASSERT_TRUE(out);
    EXPECT_TRUE(out->append("xxxxBODY", 8));
    EXPECT_TRUE(out->writeAt(0, "HEAD", 4));
    // Not committed: the old file stays, the new one goes.
  }
  EXPECT_EQ(*files.readAll(path), "old");
  EXPECT_FALSE(files.stamp(path + ".part"));
  {
    auto out = files.create(path);
    ASSERT_TRUE(out->append("xxxxBODY", 8) && out->writeAt(0, "HEAD", 4));
    EXPECT_TRUE(out->commit());
  }
  EXPECT_EQ(*files.readAll(path), "HEADBODY");

  auto in = files.open(path);
  ASSERT_TRUE(in);
  EXPECT_EQ(in->size(), 8u);
  char buf[8] = {};
  EXPECT_EQ(in->read(4, buf, 8), 4u);
  EXPECT_EQ(std::string(buf, 4), "BODY");
  EXPECT_EQ(in->read(9, buf, 8), 0u);
  EXPECT_FALSE(files.open(TempPath("none.wav")));

  // Its time set to now, and found by listing its folder.
  const std::uint64_t before = files.stamp(path)->modified;
  Sleep(20);
  files.touch(path);
  EXPECT_GT(files.stamp(path)->modified, before);
  EXPECT_LE(files.stamp(path)->modified, files.now());
  const std::string folder = path.substr(0, path.find_last_of('\\'));
  bool listed = false;
  for (const CachedFile& f : files.list(folder)) listed |= f.path == path && f.stamp.size == 8;
  EXPECT_TRUE(listed);
  in.reset();
  EXPECT_TRUE(files.remove(path));
  EXPECT_FALSE(files.stamp(path));
}

TEST(MediaFoundationDecoder, DecodesWhatTheSystemReadsAndTurnsDownTheRest) {
  ComForTest com;
  MediaFoundationDecoder decoder;
  WinAudioFiles files;
  const std::string wav = TempPath("mf.wav");
  ASSERT_TRUE(files.replaceAll(wav, test::SineWav({1, 16, 2, 22050}, 0.5, 440)));
  const SystemProbe probe = decoder.probe(wav);
  if (probe.error == AudioError::NotAudio) GTEST_SKIP() << "no Media Foundation here";
  ASSERT_EQ(probe.error, AudioError::None);
  EXPECT_NE(probe.format.find("est\xc3\xa9reo 22050 Hz"), std::string::npos) << probe.format;
  EXPECT_NEAR(probe.seconds, 0.5, 0.02);
  struct Collect : MonoSink {
    bool start(std::uint32_t r) override {
      rate = r;
      return true;
    }
    bool take(const float* s, std::size_t n) override {
      samples.insert(samples.end(), s, s + n);
      return true;
    }
    std::uint32_t rate = 0;
    std::vector<float> samples;
  } d;
  ASSERT_EQ(decoder.decode(wav, d), AudioError::None);
  EXPECT_EQ(d.rate, 22050u);
  EXPECT_NEAR(static_cast<double>(d.samples.size()) / 22050, 0.5, 0.02);
  float peak = 0;
  for (float s : d.samples) peak = std::max(peak, std::abs(s));
  EXPECT_NEAR(peak, 0.5, 0.02);

  const std::string text = TempPath("mf.txt");
  ASSERT_TRUE(files.replaceAll(text, "nada de som aqui, s\xc3\xb3 texto"));
  EXPECT_NE(decoder.probe(text).error, AudioError::None);
  EXPECT_NE(decoder.decode(text, d), AudioError::None);
  DeleteFileW(Widen(wav).c_str());
  DeleteFileW(Widen(text).c_str());
}

}  // namespace
}  // namespace orv::win
