// The cache of host copies stays small: what no source needs goes at
// start-up, and the least recently used copies go past the ceiling, never
// the ones in use.
#include <gtest/gtest.h>

#include "audio/copy_cache.h"
#include "audio/message_audio.h"
#include "audio/tests/wav_bytes.h"
#include "tests/support/fake_audio_files.h"
#include "tests/support/fake_worker.h"

namespace orv {
namespace {

struct CopyCache : ::testing::Test {
  // A copy of `source` of `bytes`, last used `daysAgo`, with its note.
  std::string put(const std::string& source, std::size_t bytes, int daysAgo) {
    const std::string copy = CopyPathFor(files.folder, source);
    fs.files[copy] = std::string(bytes, '\x80');
    files.modified[copy] = files.clock - static_cast<std::uint64_t>(daysAgo) * kFileTimeDay;
    fs.files[CopyNotePath(copy)] = CopyNote(source, *files.stamp(source));
    return copy;
  }
  bool has(const std::string& path) const { return fs.files.count(path) > 0; }
  test::FakeFileSystem fs;
  test::FakeAudioFiles files{fs};
};

TEST_F(CopyCache, StartUpRemovesWhatNoSourceNeeds) {
  for (const char* s : {"c:\\msg\\a.wav", "c:\\msg\\b.wav", "c:\\msg\\c.wav", "c:\\msg\\d.wav"}) fs.files[s] = "RIFF";
  const std::string fresh = put("c:\\msg\\a.wav", 1000, 2);
  const std::string old = put("c:\\msg\\b.wav", 1000, 31);
  const std::string inUse = put("c:\\msg\\d.wav", 1000, 90);
  const std::string orphan = put("c:\\msg\\c.wav", 1000, 1);
  fs.files.erase("c:\\msg\\c.wav");
  fs.files["c:\\msg\\a.wav"] = "RIFF and more";  // changed since: its copy is stale
  const std::string stale = fresh;
  const std::string kept = put("c:\\msg\\d2.wav", 10, 1);  // source never existed: no stamp
  const std::string half = PartialPath(CopyPathFor(files.folder, "c:\\msg\\e.wav"));
  fs.files[half] = "RIFF";
  const std::string lonelyNote = files.folder + "\\0123456789abcdef.txt";
  fs.files[lonelyNote] = "Orvalen\n";
  const std::string noNote = files.folder + "\\fedcba9876543210.wav";
  fs.files[noNote] = "RIFF";

  SweepCache(files, files.folder, {inUse}, Sweep::Whole);
  EXPECT_FALSE(has(stale));
  EXPECT_FALSE(has(old));
  EXPECT_FALSE(has(CopyNotePath(old)));
  EXPECT_FALSE(has(orphan));
  EXPECT_FALSE(has(kept));
  EXPECT_FALSE(has(half));
  EXPECT_FALSE(has(lonelyNote));
  EXPECT_FALSE(has(noNote));
  EXPECT_TRUE(has(inUse)) << "in use, whatever its age";
  EXPECT_TRUE(has(CopyNotePath(inUse)));
  EXPECT_TRUE(has("c:\\msg\\b.wav")) << "sources are never touched";

  fs.files["c:\\msg\\f.wav"] = "RIFF";
  const std::string recent = put("c:\\msg\\f.wav", 1000, 29);
  SweepCache(files, files.folder, {}, Sweep::Whole);
  EXPECT_TRUE(has(recent));
}

TEST_F(CopyCache, PastTheCeilingTheLeastRecentlyUsedGoFirst) {
  std::vector<std::string> copies;
  for (int i = 0; i < 6; ++i) {
    const std::string source = "c:\\msg\\" + std::to_string(i) + ".wav";
    fs.files[source] = "RIFF";
    copies.push_back(put(source, 100000, 10 - i));  // copy 0 is the oldest
  }
  CacheRules rules;
  rules.maxBytes = 350000;
  EXPECT_EQ(SweepCache(files, files.folder, {copies[0]}, Sweep::SizeOnly, rules), 6);   // three copies, three notes
  EXPECT_TRUE(has(copies[0])) << "in use";
  EXPECT_FALSE(has(copies[1]));
  EXPECT_FALSE(has(copies[2]));
  EXPECT_FALSE(has(copies[3]));
  EXPECT_TRUE(has(copies[4]));
  EXPECT_TRUE(has(copies[5]));
  EXPECT_EQ(SweepCache(files, files.folder, {}, Sweep::SizeOnly, rules), 0);
}

TEST_F(CopyCache, TheSweepRunsOnTheWorkerAheadOfTheCopiesAndHandedOutCopiesAreMarkedUsed) {
  test::FakeWorker worker;
  worker.mode = test::FakeWorker::Mode::Held;
  MessageAudio audio(files, nullptr, worker);
  fs.files["c:\\msg\\a.wav"] = test::SineWav({1, 16, 1, 16000}, 0.1, 440);
  const std::string old = put("c:\\msg\\a.wav", 1000, 40);
  audio.tidyCache();
  audio.prepareHostCopy("c:\\msg\\a.wav");
  EXPECT_TRUE(has(old)) << "nothing on the caller's thread";
  worker.runAll();
  const HostCopy copy = audio.prepareHostCopy("c:\\msg\\a.wav");
  ASSERT_EQ(copy.state, HostCopy::State::Ready);
  EXPECT_EQ(copy.path, old) << "made again after the sweep";
  EXPECT_EQ(fs.files[copy.path].size(), 44u + 800) << "a new copy, not the old bytes";

  // A long run marks what it hands out once a day, so the next start keeps it.
  files.clock += 2 * kFileTimeDay;
  audio.prepareHostCopy("c:\\msg\\a.wav");
  audio.prepareHostCopy("c:\\msg\\a.wav");
  EXPECT_EQ(files.touches[copy.path], 1);
  EXPECT_EQ(files.modified[copy.path], files.clock);
}

}  // namespace
}  // namespace orv
