#include "remote/control_texts.h"

namespace orv {

namespace {

std::string Trim(const std::string& s) {
  const auto first = s.find_first_not_of(" \t");
  if (first == std::string::npos) return {};
  return s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

}  // namespace

std::string CommandHelpText() {
  return "No r\xC3\xA1" "dio, tecle o prefixo, o c\xC3\xB3" "digo de acesso e o comando, tudo numa sequ\xC3\xAA" "ncia "
         "s\xC3\xB3. Com o prefixo D e o c\xC3\xB3" "digo 4821, por exemplo, D48210 para tudo e D482113 envia "
         "agora a mensagem 3.\r\n"
         "\r\n"
         "0\tParar: desliga o transmissor, interrompe a mensagem que estiver no ar e congela as contagens. "
         "Nada sai, nem da agenda, at\xC3\xA9 o comando 9, nem depois de reiniciar o programa.\r\n"
         "9\tRetomar os envios.\r\n"
         "1N\tEnviar agora a mensagem N (de 1 a 9), ligada ou n\xC3\xA3o.\r\n"
         "2N\tDesligar a mensagem N.\r\n"
         "3N\tLigar a mensagem N, se o arquivo e o intervalo dela estiverem certos.\r\n"
         "4\tFalar a hora certa, com os arquivos da pasta hora.\r\n"
         "5\tEnviar a identifica\xC3\xA7\xC3\xA3o da esta\xC3\xA7\xC3\xA3o.\r\n"
         "\r\n"
         "Um comando aceito \xC3\xA9 respondido com a mensagem de confirma\xC3\xA7\xC3\xA3o, se houver uma; um "
         "comando recusado n\xC3\xA3o tem resposta no ar. Tr\xC3\xAAs c\xC3\xB3" "digos errados em 10 minutos "
         "bloqueiam todos os comandos por 15 minutos. Cada comando fica no registro de transmiss\xC3\xB5" "es, "
         "sem o c\xC3\xB3" "digo.";
}

std::string ControlStateText(const ControlFile& file, bool stopped) {
  std::string state;
  if (file.refused())
    state = ControlRefusalMessage(file);
  else if (!file.settings.enabled())
    state = "Controle pelo r\xC3\xA1" "dio desligado: nenhum c\xC3\xB3" "digo de acesso definido.";
  else
    state = "Controle pelo r\xC3\xA1" "dio ligado, com o prefixo " + std::string(1, file.settings.prefix) + ".";
  if (stopped) state += " Esta\xC3\xA7\xC3\xA3o parada pelo r\xC3\xA1" "dio: nada sai at\xC3\xA9 o comando 9 ou \"" +
                        kResumeMenuItem + "\" no menu do sistema.";
  return state;
}

std::string ClipFolderText(const std::vector<std::string>& missing) {
  if (missing.empty()) return "Pasta hora completa: a hora certa pode ser falada.";
  std::string text = "Pasta hora incompleta: falta" + std::string(missing.size() == 1 ? " " : "m ") +
                     std::to_string(missing.size()) + (missing.size() == 1 ? " arquivo" : " arquivos") + " (";
  for (std::size_t i = 0; i < missing.size() && i < 3; ++i) text += (i ? ", " : "") + missing[i];
  return text + (missing.size() > 3 ? ", ...)." : ").");
}

TypedSettings ReadTypedSettings(const std::string& prefix, const std::string& code, const std::string& confirmation) {
  TypedSettings typed;
  ControlSettings s;
  const std::string p = Trim(prefix);
  if (p.size() != 1 || !IsValidPrefix(static_cast<char>(p[0] >= 'a' && p[0] <= 'z' ? p[0] - 'a' + 'A' : p[0]))) {
    typed.problem = "Escolha o prefixo: uma letra de A a D.";
    return typed;
  }
  s.prefix = static_cast<char>(p[0] >= 'a' && p[0] <= 'z' ? p[0] - 'a' + 'A' : p[0]);
  for (char c : Trim(code)) s.code += static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
  if (!s.code.empty() && !IsValidCode(s.code)) {
    typed.problem = "O c\xC3\xB3" "digo de acesso deve ter de 4 a 8 caracteres entre 0-9 e A-D.";
    return typed;
  }
  s.confirmation = Trim(confirmation);
  if (s.confirmation.find_first_of("\r\n") != std::string::npos || s.confirmation.size() > 260) {
    typed.problem = "O nome do arquivo de confirma\xC3\xA7\xC3\xA3o n\xC3\xA3o \xC3\xA9 um nome de arquivo.";
    return typed;
  }
  typed.settings = s;
  return typed;
}

}  // namespace orv
