#include "app/startup_message.h"

namespace orv {

std::string StartupFailureText(const std::string& cause) {
  return "O Orvalen n\xC3\xA3o conseguiu falar com o EchoLink e n\xC3\xA3o pode continuar.\r\n\r\n" +
         (cause.empty() ? std::string("Erro desconhecido.") : cause) +
         "\r\n\r\nVerifique se o EchoLink est\xC3\xA1 instalado e funcionando.\r\n"
         "Para usar o Orvalen sem o EchoLink, inicie-o com:\r\n"
         "    orvalen.exe --host=simulator";
}

std::string EventsNotConnectedText(const std::string& cause) {
  return "O Orvalen n\xC3\xA3o conseguiu receber os avisos do EchoLink:\r\n\r\n" + cause +
         "\r\n\r\nAs mensagens continuam a ser enviadas, mas os c\xC3\xB3" "digos DTMF n\xC3\xA3o ser\xC3\xA3o "
         "atendidos e o Orvalen n\xC3\xA3o saber\xC3\xA1 quando o EchoLink for fechado.";
}

}  // namespace orv
