#include "scheduler/existe_arquivo.h"

#include "scheduler/message_path.h"

namespace orv {

bool ExisteArquivo(FileSystem& files, const std::string& path) {
  // A device answers to its name in every folder, but it is no message.
  if (NamesADevice(path)) return false;
  const ListResult r = files.listNormalFiles(path);
  return r.ok && r.normalFiles > 0;
}

}  // namespace orv
