#include "scheduler/existe_arquivo.h"

namespace orv {

bool ExisteArquivo(FileSystem& files, const std::string& path) {
  const ListResult r = files.listNormalFiles(path);
  return r.ok && r.normalFiles > 0;
}

}  // namespace orv
