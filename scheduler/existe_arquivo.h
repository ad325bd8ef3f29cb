#pragma once
#include <string>

#include "platform/files.h"

namespace orv {

// True when a listing of `path` finds at least one normal file (not hidden,
// not system, not a folder). A path that cannot be listed finds nothing.
bool ExisteArquivo(FileSystem& files, const std::string& path);

}  // namespace orv
