// The audio code's Windows side: file stamps, the cache folder under the
// user's local application data, and Media Foundation's decoders.
#include <gtest/gtest.h>

#include <windows.h>
#include <objbase.h>

#include <cmath>
#include <fstream>

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
  const SystemDecode d = decoder.decode(wav);
  ASSERT_EQ(d.error, AudioError::None);
  EXPECT_EQ(d.audio.sampleRate, 22050u);
  EXPECT_NEAR(static_cast<double>(d.audio.samples.size()) / 22050, 0.5, 0.02);
  float peak = 0;
  for (float s : d.audio.samples) peak = std::max(peak, std::abs(s));
  EXPECT_NEAR(peak, 0.5, 0.02);

  const std::string text = TempPath("mf.txt");
  ASSERT_TRUE(files.replaceAll(text, "nada de som aqui, s\xc3\xb3 texto"));
  EXPECT_NE(decoder.probe(text).error, AudioError::None);
  EXPECT_NE(decoder.decode(text).error, AudioError::None);
  DeleteFileW(Widen(wav).c_str());
  DeleteFileW(Widen(text).c_str());
}

}  // namespace
}  // namespace orv::win
