// The host's copies: made by the worker once per source as it is, made again
// when the source changes, never shared by two sources, never handed out
// before they are whole, and a file already in the host's format handed over
// as it stands. What the program knows of a file comes from its header.
#include <gtest/gtest.h>

#include "audio/copy_cache.h"
#include "audio/message_audio.h"
#include "audio/tests/wav_bytes.h"
#include "audio/wav_reader.h"
#include "tests/support/fake_audio_files.h"
#include "tests/support/fake_worker.h"

namespace orv {
namespace {

using test::SineWav;
using State = HostCopy::State;

struct FakeDecoder : SystemDecoder {
  SystemProbe probe(const std::string& path) override {
    ++probes;
    if (path.find(".mp3") == std::string::npos) return {AudioError::NotAudio, "", 0};
    return {AudioError::None, "MP3 est\xc3\xa9reo 44100 Hz", seconds};
  }
  AudioError decode(const std::string&, MonoSink& sink) override {
    ++decodes;
    if (!sink.start(16000)) return AudioError::None;
    const std::vector<float> block(4000, 0.25f);
    for (int i = 0; i < 10; ++i)
      if (!sink.take(block.data(), block.size())) break;
    return AudioError::None;
  }
  int probes = 0, decodes = 0;
  double seconds = 2.5;
};

struct MessageAudioTest : ::testing::Test {
  MessageAudioTest() { worker.mode = test::FakeWorker::Mode::Held; }
  test::FakeFileSystem fs;
  test::FakeAudioFiles files{fs};
  FakeDecoder decoder;
  test::FakeWorker worker;
  MessageAudio audio{files, &decoder, worker};

  int copiesWritten() const {
    int n = 0;
    for (const auto& [path, count] : files.writes)
      if (path.ends_with(".wav")) n += count;
    return n;
  }
  // Asks, lets the worker finish, asks again.
  HostCopy made(const std::string& path) {
    audio.prepareHostCopy(path);
    worker.runAll();
    return audio.prepareHostCopy(path);
  }
};

TEST_F(MessageAudioTest, HostFormatGoesAsItStandsAndOthersAreMadeByTheWorker) {
  fs.files["C:\\msg\\pronto.wav"] = SineWav({1, 8, 1, 8000}, 0.5, 440);
  fs.files["C:\\msg\\cd.wav"] = SineWav({1, 16, 2, 44100}, 1.25, 440);

  const HostCopy ready = audio.prepareHostCopy("C:\\msg\\pronto.wav");
  EXPECT_EQ(ready.state, State::Ready);
  EXPECT_EQ(ready.path, "C:\\msg\\pronto.wav");
  EXPECT_FALSE(ready.converted);
  EXPECT_EQ(worker.posted, 0);

  // Asked for: under way, and asked again it is not asked twice.
  EXPECT_EQ(audio.prepareHostCopy("C:\\msg\\cd.wav").state, State::Pending);
  EXPECT_EQ(audio.prepareHostCopy("C:\\msg\\cd.wav").state, State::Pending);
  EXPECT_EQ(worker.posted, 1);
  EXPECT_EQ(audio.copiesUnderWay(), 1);
  EXPECT_EQ(copiesWritten(), 0) << "nothing is converted on the caller's thread";

  worker.runAll();
  const HostCopy cd = audio.prepareHostCopy("C:\\msg\\cd.wav");
  ASSERT_EQ(cd.state, State::Ready);
  EXPECT_TRUE(cd.converted);
  EXPECT_EQ(audio.copiesUnderWay(), 0);
  EXPECT_EQ(cd.path.rfind(files.folder + "\\", 0), 0u) << cd.path;
  const WavParse p = ParseWav(fs.files[cd.path]);
  ASSERT_EQ(p.error, AudioError::None);
  EXPECT_TRUE(IsHostFormat(p.layout.format));
  EXPECT_NEAR(p.layout.seconds, 1.25, 0.001);
  EXPECT_FALSE(fs.files.count(PartialPath(cd.path))) << "the half-made file is gone";

  const AudioFileInfo info = audio.inspect("C:\\msg\\cd.wav");
  EXPECT_EQ(info.format, "PCM 16 bits est\xc3\xa9reo 44100 Hz");
  EXPECT_NEAR(info.seconds, 1.25, 1e-9);
  EXPECT_FALSE(info.hostReady);
}

TEST_F(MessageAudioTest, SameSourceIsReusedChangedSourceIsConvertedAgain) {
  const std::string src = "C:\\msg\\aviso.wav";
  fs.files[src] = SineWav({1, 16, 1, 22050}, 0.5, 440);
  const std::string copy = made(src).path;
  ASSERT_EQ(copiesWritten(), 1);

  // Again in this run, and in a later run that finds the copy on disk.
  EXPECT_EQ(audio.prepareHostCopy(src).path, copy);
  test::FakeWorker laterWorker;
  MessageAudio later(files, &decoder, laterWorker);
  EXPECT_EQ(later.prepareHostCopy(src).state, State::Pending) << "found by the worker, not on the caller's thread";
  EXPECT_EQ(later.prepareHostCopy(src).path, copy);
  EXPECT_EQ(copiesWritten(), 1);

  // Same size, newer time: converted again; then a longer recording.
  files.modified[src] = 2;
  EXPECT_EQ(audio.prepareHostCopy(src).state, State::Pending) << "a stale copy is never handed over";
  worker.runAll();
  EXPECT_EQ(audio.prepareHostCopy(src).path, copy);
  EXPECT_EQ(copiesWritten(), 2);
  fs.files[src] = SineWav({1, 16, 1, 22050}, 0.75, 440);
  EXPECT_EQ(later.prepareHostCopy(src).state, State::Pending);
  EXPECT_EQ(later.prepareHostCopy(src).path, copy);
  EXPECT_EQ(copiesWritten(), 3);
  EXPECT_NEAR(ParseWav(fs.files[copy]).layout.seconds, 0.75, 0.001);

  // A copy removed behind the program's back is made again.
  fs.files.erase(copy);
  EXPECT_EQ(made(src).path, copy);
  EXPECT_EQ(copiesWritten(), 4);
}

TEST_F(MessageAudioTest, TwoSourcesWithOneNameInDifferentFoldersAreKeptApart) {
  fs.files["C:\\manha\\aviso.wav"] = SineWav({1, 16, 1, 44100}, 0.5, 440);
  fs.files["C:\\tarde\\aviso.wav"] = SineWav({1, 16, 1, 44100}, 1.0, 440);
  const HostCopy a = made("C:\\manha\\aviso.wav");
  const HostCopy b = made("C:\\tarde\\aviso.wav");
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
  const HostCopy copy = made("C:\\msg\\musica.mp3");
  ASSERT_EQ(copy.state, State::Ready);
  EXPECT_NEAR(ParseWav(fs.files[copy.path]).layout.seconds, 2.5, 0.001);

  fs.files["C:\\msg\\texto.txt"] = "hello";
  EXPECT_EQ(audio.inspect("C:\\msg\\texto.txt").error, AudioError::NotAudio);
  EXPECT_EQ(audio.inspect("C:\\msg\\nada.wav").error, AudioError::CannotOpen);
  EXPECT_EQ(audio.prepareHostCopy("C:\\msg\\nada.wav").state, State::Failed);
  std::string cut = SineWav({1, 16, 2, 44100}, 0.5, 440);
  fs.files["C:\\msg\\cortado.wav"] = cut.substr(0, cut.size() / 2);
  const HostCopy truncated = audio.prepareHostCopy("C:\\msg\\cortado.wav");
  EXPECT_EQ(truncated.state, State::Failed);
  EXPECT_EQ(truncated.error, AudioError::Truncated);
  EXPECT_EQ(truncated.path, "C:\\msg\\cortado.wav") << "goes as it stands";

  // Nowhere to write: no copy, and no new try every second for the same file.
  fs.files["C:\\msg\\cd.wav"] = SineWav({1, 16, 2, 44100}, 0.5, 440);
  fs.failWrites = true;
  EXPECT_EQ(made("C:\\msg\\cd.wav").error, AudioError::CannotWrite);
  const int posted = worker.posted;
  EXPECT_EQ(audio.prepareHostCopy("C:\\msg\\cd.wav").state, State::Failed);
  EXPECT_EQ(worker.posted, posted);
  // Until the file changes.
  files.modified["C:\\msg\\cd.wav"] = 9;
  fs.failWrites = false;
  EXPECT_EQ(made("C:\\msg\\cd.wav").state, State::Ready);
}

TEST_F(MessageAudioTest, AHeaderReadReadsTheHeaderAndALongMessageIsRefused) {
  // 2 h of 16-bit stereo at 1000 Hz; 4 h and a second of 8-bit mono at 1000 Hz.
  const auto silent = [](test::WavShape shape, std::size_t frames) {
    return test::Riff(test::Chunk("fmt ", test::FormatChunk(shape)) +
                      test::Chunk("data", std::string(frames * shape.channels * shape.bits / 8, '\0')));
  };
  fs.files["C:\\msg\\longa.wav"] = silent({1, 16, 2, 1000}, 2 * 3600 * 1000);
  fs.files["C:\\msg\\demais.wav"] = silent({1, 8, 1, 1000}, (4 * 3600 + 1) * 1000);
  const AudioFileInfo longa = audio.inspect("C:\\msg\\longa.wav");
  EXPECT_EQ(longa.error, AudioError::None);
  EXPECT_NEAR(longa.seconds, 7200, 1e-6);
  EXPECT_LT(files.bytesRead["C:\\msg\\longa.wav"], 100u);
  EXPECT_EQ(audio.inspect("C:\\msg\\demais.wav").error, AudioError::TooLong);
  EXPECT_EQ(AudioErrorReason(AudioError::TooLong), "mensagem longa demais (mais de 4 horas)");
  EXPECT_EQ(audio.prepareHostCopy("C:\\msg\\demais.wav").state, State::Failed);

  // Asked again while the file is as it was: nothing is read.
  const auto opens = files.opens["C:\\msg\\longa.wav"];
  audio.inspect("C:\\msg\\longa.wav");
  EXPECT_EQ(files.opens["C:\\msg\\longa.wav"], opens);

}

TEST_F(MessageAudioTest, ACopyCutShortByTheEndLeavesNoFileAndNoVerdict) {
  fs.files["C:\\msg\\cd.wav"] = SineWav({1, 16, 2, 44100}, 2, 440);
  EXPECT_EQ(audio.prepareHostCopy("C:\\msg\\cd.wav").state, State::Pending);
  worker.stopping = true;
  worker.runAll();
  const std::string copy = MessageAudio::CopyPathFor(files.folder, "C:\\msg\\cd.wav");
  EXPECT_FALSE(fs.files.count(copy));
  EXPECT_FALSE(fs.files.count(PartialPath(copy)));
  EXPECT_FALSE(fs.files.count(CopyNotePath(copy)));
  worker.stopping = false;
  EXPECT_EQ(made("C:\\msg\\cd.wav").state, State::Ready) << "not remembered as failed";
}

TEST_F(MessageAudioTest, ResultsThatComeBackAfterTheEndFindNobody) {
  fs.files["C:\\msg\\cd.wav"] = SineWav({1, 16, 2, 44100}, 0.2, 440);
  {
    MessageAudio gone(files, &decoder, worker);
    gone.prepareHostCopy("C:\\msg\\cd.wav");
  }
  EXPECT_EQ(worker.runAll(), 1);  // the copy is made; its result has no one to tell
}

}  // namespace
}  // namespace orv
