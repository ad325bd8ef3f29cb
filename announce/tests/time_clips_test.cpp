#include "announce/time_clips.h"

#include <gtest/gtest.h>

#include "announce/time_announcer.h"
#include "audio/tests/wav_bytes.h"
#include "audio/wav_reader.h"
#include "tests/support/fake_audio_files.h"
#include "tests/support/fake_worker.h"

namespace orv {
namespace {

using test::SineWav;
using test::WavShape;

const std::string kFolder = "C:\\Orvalen\\hora\\";
const WavShape kHost{1, 8, 1, 8000};

// The sound bytes of a host-format WAV.
std::string Samples(const std::string& wav) {
  const WavParse p = ParseWav(wav);
  return wav.substr(p.layout.dataOffset, p.layout.dataBytes);
}

struct Clips {
  Clips() {
    // Each clip its own tone and length, in the host's format.
    int n = 0;
    for (const TimeClip& c : AllClips()) {
      files.files[kFolder + c.name] = SineWav(kHost, 0.05 + 0.001 * n, 300 + n);
      ++n;
    }
  }
  std::string clip(const std::string& name) { return files.files.at(kFolder + name); }
  // The message as written, and what the joining said.
  JoinedClips join(int h, int m) {
    MemoryWriter out;
    JoinedClips j = JoinClips(audio, nullptr, kFolder, h, m, out, stopping);
    wav = out.bytes;
    return j;
  }
  std::string wav;
  std::atomic<bool> stopping{false};
  test::FakeFileSystem files;
  test::FakeAudioFiles audio{files};
};

TEST(TimeClips, TheMessageIsItsClipsInOrder) {
  Clips c;
  for (auto [h, m] : {std::pair{0, 0}, {12, 0}, {23, 59}}) {
    char hh[16], mm[16];
    std::snprintf(hh, sizeof hh, "h%02d.wav", h);
    std::snprintf(mm, sizeof mm, "m%02d.wav", m);
    const JoinedClips j = c.join(h, m);
    ASSERT_EQ(j.error, AudioError::None) << JoinProblem(j);
    // Clips in the host's format are taken sample for sample.
    EXPECT_EQ(Samples(c.wav), Samples(c.clip("abertura.wav")) + Samples(c.clip(hh)) + Samples(c.clip(mm)) +
                                  Samples(c.clip("fecho.wav")));
    const WavParse p = ParseWav(c.wav);
    EXPECT_TRUE(IsHostFormat(p.layout.format));
    EXPECT_DOUBLE_EQ(j.seconds, p.layout.seconds);
  }
  // The opening and the closing are optional.
  c.files.files.erase(kFolder + "abertura.wav");
  c.files.files.erase(kFolder + "fecho.wav");
  c.join(7, 5);
  EXPECT_EQ(Samples(c.wav), Samples(c.clip("h07.wav")) + Samples(c.clip("m05.wav")));
}

TEST(TimeClips, ClipsInOtherFormatsAreBroughtToTheHostsAndKeepTheirLength) {
  Clips c;
  c.files.files[kFolder + "abertura.wav"] = SineWav({1, 16, 2, 44100}, 0.8, 500);
  c.files.files[kFolder + "h09.wav"] = SineWav({3, 32, 1, 22050}, 0.6, 700);
  c.files.files[kFolder + "m15.wav"] = SineWav({1, 24, 1, 16000}, 0.7, 600);
  c.files.files.erase(kFolder + "fecho.wav");
  const JoinedClips j = c.join(9, 15);
  ASSERT_EQ(j.error, AudioError::None) << JoinProblem(j);
  EXPECT_NEAR(j.seconds, 0.8 + 0.6 + 0.7, 0.002);
  EXPECT_TRUE(IsHostFormat(ParseWav(c.wav).layout.format));
  // Sound, not silence, in each part.
  const std::string s = Samples(c.wav);
  for (double at : {0.4, 1.1, 1.8}) {
    int loudest = 0;
    for (int i = 0; i < 80; ++i)
      loudest = std::max(loudest, std::abs(static_cast<unsigned char>(s[static_cast<size_t>(at * 8000) + i]) - 128));
    EXPECT_GT(loudest, 30) << at;
  }
}

TEST(TimeClips, AMissingTruncatedOrUnreadableClipRefusesNamingIt) {
  Clips c;
  c.files.files.erase(kFolder + "m42.wav");
  EXPECT_EQ(JoinProblem(c.join(10, 42)), "falta hora\\m42.wav");
  EXPECT_TRUE(c.join(10, 41).error == AudioError::None);
  // Cut off in the middle of its sound.
  const std::string whole = c.clip("h10.wav");
  c.files.files[kFolder + "h10.wav"] = whole.substr(0, whole.size() / 2);
  EXPECT_EQ(JoinProblem(c.join(10, 41)), "hora\\h10.wav: " + AudioErrorReason(AudioError::Truncated));
  c.files.files[kFolder + "h10.wav"] = "not a sound at all";
  EXPECT_EQ(JoinProblem(c.join(10, 41)), "hora\\h10.wav: " + AudioErrorReason(AudioError::NotAudio));
  c.files.files[kFolder + "h10.wav"] = whole;
  c.files.unreadable.push_back(kFolder + "fecho.wav");
  EXPECT_EQ(JoinProblem(c.join(10, 41)), "hora\\fecho.wav: " + AudioErrorReason(AudioError::CannotOpen));
  // A whole recording dropped in by mistake is not read into memory.
  c.files.unreadable.clear();
  c.files.files[kFolder + "abertura.wav"] = SineWav(kHost, 31, 400);
  EXPECT_EQ(c.join(10, 41).error, AudioError::TooLong);
  // What a folder lacks, for the windows.
  c.files.files.erase(kFolder + "h23.wav");
  const auto missing = MissingClips([&c](const std::string& p) { return c.files.exists(p); }, kFolder);
  EXPECT_EQ(missing, (std::vector<std::string>{"hora\\h23.wav", "hora\\m42.wav"}));
}

TEST(TimeAnnouncer, MadeOnTheWorkerHandedOutByMinuteInTwoFilesInTurn) {
  Clips c;
  test::FakeWorker jobs;
  jobs.mode = test::FakeWorker::Mode::Held;
  TimeAnnouncer a(jobs, c.audio, nullptr);
  a.setProgramFolder("C:\\Orvalen\\");
  using State = TimeAnnouncer::State;
  EXPECT_EQ(a.status(8, 0).state, State::Absent);
  a.prepare(8, 0);
  a.prepare(8, 0);   // asked twice, made once
  EXPECT_EQ(a.status(8, 0).state, State::Making);
  EXPECT_EQ(jobs.waiting(), 1u);
  jobs.runAll();
  const auto first = a.status(8, 0);
  ASSERT_EQ(first.state, State::Ready);
  c.join(8, 0);
  EXPECT_EQ(c.files.files.at(first.path), c.wav);
  a.prepare(8, 1);
  jobs.runAll();
  EXPECT_NE(a.status(8, 1).path, first.path);
  EXPECT_EQ(a.status(8, 0).state, State::Ready);   // the host may still read it
  // The third minute takes the first minute's file: that one is gone.
  a.prepare(8, 2);
  EXPECT_EQ(a.status(8, 0).state, State::Absent);
  jobs.runAll();
  EXPECT_EQ(a.status(8, 2).path, first.path);
  // A refusal holds for its minute only.
  c.files.files.erase(kFolder + "m03.wav");
  a.prepare(8, 3);
  jobs.runAll();
  EXPECT_EQ(a.status(8, 3).state, State::Refused);
  EXPECT_EQ(a.status(8, 3).problem, "falta hora\\m03.wav");
  a.prepare(8, 4);
  EXPECT_EQ(a.status(8, 3).state, State::Absent);
  // No folder for the copies: refused, said.
  c.audio.folder = "";
  a.prepare(8, 5);
  jobs.runAll();
  EXPECT_EQ(a.status(8, 5).state, State::Refused);
}

TEST(TimeAnnouncer, TheProgramEndingWhileItIsMadeLeavesNoFileAndDecidesNothing) {
  Clips c;
  test::FakeWorker jobs;
  jobs.mode = test::FakeWorker::Mode::Held;
  TimeAnnouncer a(jobs, c.audio, nullptr);
  a.setProgramFolder("C:\\Orvalen\\");
  a.prepare(21, 30);
  jobs.stopping = true;
  jobs.runAll();
  EXPECT_EQ(a.status(21, 30).state, TimeAnnouncer::State::Making);
  for (const auto& [path, bytes] : c.files.files) EXPECT_EQ(path.find("hora-certa"), std::string::npos) << path;
}

}  // namespace
}  // namespace orv
