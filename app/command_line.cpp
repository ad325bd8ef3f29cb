#include "app/command_line.h"

namespace orv {

CommandLine ParseCommandLine(const std::vector<std::string>& args) {
  CommandLine cl;
  auto fail = [&](const std::string& why) {
    if (cl.error.empty()) cl.error = why;
  };
  for (const std::string& a : args) {
    if (a == "--help" || a == "-h" || a == "/?") {
      cl.help = true;
    } else if (a == "--version") {
      cl.version = true;
    } else if (a.rfind("--host=", 0) == 0) {
      std::string v = a.substr(7);
      if (v == "simulator") cl.host = HostKind::Simulator;
      else if (v == "echolink" || v == "real") cl.host = HostKind::Real;
      else fail("host desconhecido: " + v);
    } else if (a.rfind("--host-log=", 0) == 0) {
      cl.hostLog = a.substr(11);
      if (cl.hostLog.empty()) fail("--host-log precisa de um nome de arquivo");
    } else if (a.rfind("--log=", 0) == 0) {
      cl.recordLog = a.substr(6);
      if (cl.recordLog.empty()) fail("--log precisa de um nome de arquivo");
    } else {
      fail("op\xC3\xA7\xC3\xA3o desconhecida: " + a);
    }
  }
  return cl;
}

std::string UsageText() {
  return "Uso: orvalen.exe [op\xC3\xA7\xC3\xB5" "es]\r\n"
         "\r\n"
         "  --host=echolink     usa o EchoLink (padr\xC3\xA3o)\r\n"
         "  --host=simulator    usa o simulador de host embutido, sem EchoLink\r\n"
         "  --host-log=ARQUIVO  acrescenta ao ARQUIVO uma linha por chamada e evento do host\r\n"
         "  --log=ARQUIVO       acrescenta ao ARQUIVO cada mensagem enviada ou n\xC3\xA3o enviada\r\n"
         "  --version           mostra a vers\xC3\xA3o\r\n"
         "  --help              mostra esta ajuda\r\n";
}

std::string VersionText() { return "Orvalen 3.0"; }

}  // namespace orv
