#pragma once
// The folder of the host's converted copies. Each copy `<hash>.wav` has
// beside it `<hash>.txt`, the note of what it was made from (the source's
// size, time and path); a copy without a matching note is never handed out.
//
// The folder is kept small: at start-up the copies whose source is gone or
// changed, that no run has used for 30 days, or that were left half made go;
// then, and after each new copy, the least recently used ones until the
// folder fits under its ceiling.
#include <cstdint>
#include <set>
#include <string>

#include "audio/audio_files.h"

namespace orv {

struct CacheRules {
  std::uint64_t maxBytes = 500ull * 1024 * 1024;
  std::uint64_t maxAge = 30 * kFileTimeDay;
};

// Where the copy of `source` lives in `folder`: a name drawn from the whole
// path, so two sources never share a copy.
std::string CopyPathFor(const std::string& folder, const std::string& source);
std::string CopyNotePath(const std::string& copy);
std::string CopyNote(const std::string& source, const FileStamp& stamp);
// The source a note names, as the note keeps it; "" for no note of ours.
std::string NotedSource(const std::string& note);
// The name a file being written carries until it is complete.
std::string PartialPath(const std::string& path);

enum class Sweep { Whole, SizeOnly };
// Copies in `keep` stay whatever the rules say. Returns how many files went.
int SweepCache(AudioFiles& files, const std::string& folder, const std::set<std::string>& keep, Sweep sweep,
               const CacheRules& rules = {});

}  // namespace orv
