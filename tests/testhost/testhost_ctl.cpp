// orvalen_testhostctl.exe: tells the test host what to answer and what to
// raise. Settings hold from the next call on, whether the server runs or
// not; events need a running server. See README.md.
#include <windows.h>
#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <string>
#include <vector>

#include "testhost_state.h"

int wmain(int argc, wchar_t** argv) {
  // Plain LF lines for the shell scripts that read this output.
  _setmode(_fileno(stdout), _O_BINARY);
  std::vector<std::wstring> args(argv + 1, argv + argc);
  std::string out;
  int code = orv::testhost::Control(args, out);
  std::fwrite(out.data(), 1, out.size(), code == 0 ? stdout : stderr);
  return code;
}
