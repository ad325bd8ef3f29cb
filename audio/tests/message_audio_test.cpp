// The host's copies: made once per source as it is, made again when the
// source changes, never shared by two sources, and a file already in the
// host's format handed over as it stands.
#include <gtest/gtest.h>

#include "audio/message_audio.h"
#include "audio/tests/wav_bytes.h"
#include "tests/support/fake_audio_files.h"

namespace orv {
namespace {

using test::SineWav;

struct FakeDecoder : SystemDecoder {
  SystemProbe probe(const std::string& path) override {
    ++probes;
    if (path.find(".mp3") == std::string::npos) return {AudioError::NotAudio, "", 0};
    return {AudioError::None, "MP3 est\xc3\xa9reo 44100 Hz", 2.5};
  }
  SystemDecode decode(const std::string&) override {
    ++decodes;
    SystemDecode d;
    d.audio.sampleRate = 16000;
    d.audio.samples.assign(40000, 0.25f);
    return d;
  }
  int probes = 0, decodes = 0;
};

struct MessageAudioTest : ::testing::Test {
  test::FakeFileSystem fs;
  test::FakeAudioFiles files{fs};
  FakeDecoder decoder;
  MessageAudio audio{files, &decoder};

  int copiesWritten() const {
    int n = 0;
    for (const auto& [path, count] : files.writes)
      if (path.size() > 4 && path.substr(path.size() - 4) == ".wav") n += count;
    return n;
  }
};

TEST_F(MessageAudioTest, HostFormatGoesAsItStandsAndOthersAreConvertedIntoTheCache) {
  fs.files["C:\\msg\\pronto.wav"] = SineWav({1, 8, 1, 8000}, 0.5, 440);
  fs.files["C:\\msg\\cd.wav"] = SineWav({1, 16, 2, 44100}, 1.25, 440);

  const HostCopy ready = audio.prepareHostCopy("C:\\msg\\pronto.wav");
  EXPECT_EQ(ready.error, AudioError::None);
  EXPECT_EQ(ready.path, "C:\\msg\\pronto.wav");
  EXPECT_FALSE(ready.converted);
  EXPECT_EQ(copiesWritten(), 0);

  const HostCopy cd = audio.prepareHostCopy("C:\\msg\\cd.wav");
  ASSERT_EQ(cd.error, AudioError::None);
  EXPECT_TRUE(cd.converted);
  EXPECT_EQ(cd.path.rfind(files.folder + "\\", 0), 0u) << cd.path;
  const WavParse p = ParseWav(fs.files[cd.path]);
  ASSERT_EQ(p.error, AudioError::None);
  EXPECT_TRUE(IsHostFormat(p.layout.format));
  EXPECT_NEAR(p.layout.seconds, 1.25, 0.001);
  EXPECT_EQ(audio.readyHostCopy("C:\\msg\\cd.wav"), cd.path);

  const AudioFileInfo info = audio.inspect("C:\\msg\\cd.wav");
  EXPECT_EQ(info.format, "PCM 16 bits est\xc3\xa9reo 44100 Hz");
  EXPECT_NEAR(info.seconds, 1.25, 1e-9);
  EXPECT_FALSE(info.hostReady);
}

TEST_F(MessageAudioTest, SameSourceIsReusedChangedSourceIsConvertedAgain) {
  const std::string src = "C:\\msg\\aviso.wav";
  fs.files[src] = SineWav({1, 16, 1, 22050}, 0.5, 440);
  const std::string copy = audio.prepareHostCopy(src).path;
  ASSERT_EQ(copiesWritten(), 1);

  // Again in this run, and in a later run that finds the copy on disk.
  EXPECT_EQ(audio.prepareHostCopy(src).path, copy);
  MessageAudio later(files, &decoder);
  EXPECT_EQ(later.prepareHostCopy(src).path, copy);
  EXPECT_EQ(copiesWritten(), 1);

  // Same size, newer time: converted again; then a longer recording.
  files.modified[src] = 2;
  EXPECT_FALSE(audio.readyHostCopy(src)) << "a stale copy is never handed over";
  EXPECT_EQ(audio.prepareHostCopy(src).path, copy);
  EXPECT_EQ(copiesWritten(), 2);
  fs.files[src] = SineWav({1, 16, 1, 22050}, 0.75, 440);
  EXPECT_EQ(later.prepareHostCopy(src).path, copy);
  EXPECT_EQ(copiesWritten(), 3);
  EXPECT_NEAR(ParseWav(fs.files[copy]).layout.seconds, 0.75, 0.001);

  // A copy removed behind the program's back is made again.
  fs.files.erase(copy);
  EXPECT_FALSE(audio.readyHostCopy(src));
  EXPECT_EQ(audio.prepareHostCopy(src).path, copy);
  EXPECT_EQ(copiesWritten(), 4);
}

TEST_F(MessageAudioTest, TwoSourcesWithOneNameInDifferentFoldersAreKeptApart) {
  fs.files["C:\\manha\\aviso.wav"] = SineWav({1, 16, 1, 44100}, 0.5, 440);
  fs.files["C:\\tarde\\aviso.wav"] = SineWav({1, 16, 1, 44100}, 1.0, 440);
  const HostCopy a = audio.prepareHostCopy("C:\\manha\\aviso.wav");
  const HostCopy b = audio.prepareHostCopy("C:\\tarde\\aviso.wav");
  EXPECT_NE(a.path, b.path);
  EXPECT_NEAR(ParseWav(fs.files[a.path]).layout.seconds, 0.5, 0.001);
  EXPECT_NEAR(ParseWav(fs.files[b.path]).layout.seconds, 1.0, 0.001);
  // One file named two ways is one source.
  EXPECT_EQ(MessageAudio::CopyPathFor("X", "C:\\Manha\\AVISO.wav"), MessageAudio::CopyPathFor("X", "c:/manha/aviso.wav"));
}

TEST_F(MessageAudioTest, SystemDecodedFilesAndFailures) {
  fs.files["C:\\msg\\musica.mp3"] = "ID3 not a wav";
  const AudioFileInfo mp3 = audio.inspect("C:\\msg\\musica.mp3");
  EXPECT_EQ(mp3.error, AudioError::None);
  EXPECT_EQ(mp3.format, "MP3 est\xc3\xa9reo 44100 Hz");
  const HostCopy copy = audio.prepareHostCopy("C:\\msg\\musica.mp3");
  ASSERT_EQ(copy.error, AudioError::None);
  EXPECT_NEAR(ParseWav(fs.files[copy.path]).layout.seconds, 2.5, 0.001);

  fs.files["C:\\msg\\texto.txt"] = "hello";
  EXPECT_EQ(audio.inspect("C:\\msg\\texto.txt").error, AudioError::NotAudio);
  EXPECT_EQ(audio.inspect("C:\\msg\\nada.wav").error, AudioError::CannotOpen);
  std::string cut = SineWav({1, 16, 2, 44100}, 0.5, 440);
  fs.files["C:\\msg\\cortado.wav"] = cut.substr(0, cut.size() / 2);
  EXPECT_EQ(audio.prepareHostCopy("C:\\msg\\cortado.wav").error, AudioError::Truncated);

  // Nowhere to write: no copy, and no new try every second for the same file.
  fs.files["C:\\msg\\cd.wav"] = SineWav({1, 16, 2, 44100}, 0.5, 440);
  fs.failWrites = true;
  EXPECT_NE(audio.prepareHostCopy("C:\\msg\\cd.wav").error, AudioError::None);
  const int reads = files.reads["C:\\msg\\cd.wav"];
  EXPECT_NE(audio.prepareHostCopy("C:\\msg\\cd.wav").error, AudioError::None);
  EXPECT_EQ(files.reads["C:\\msg\\cd.wav"], reads);
  EXPECT_FALSE(audio.readyHostCopy("C:\\msg\\cd.wav"));
}

}  // namespace
}  // namespace orv
