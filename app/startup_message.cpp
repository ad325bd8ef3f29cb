#include "app/startup_message.h"

namespace orv {

std::string StartupFailureText(const std::string& cause) {
  return "O Orvalen n\xC3\xA3o conseguiu falar com o EchoLink e n\xC3\xA3o pode continuar.\r\n\r\n" +
         (cause.empty() ? std::string("Erro desconhecido.") : cause) +
         "\r\n\r\nVerifique se o EchoLink est\xC3\xA1 instalado e funcionando.\r\n"
         "Para usar o Orvalen sem o EchoLink, inicie-o com:\r\n"
         "    orvalen.exe --host=simulator";
}

}  // namespace orv
