#include "infowindows/info_texts.h"

namespace orv::info {

const char* const kHelpTitle = "Ajuda";
const char* const kAboutTitle = "Sobre";
const char* const kProgramTitle = "Orvalen";
const char* const kVersionText = "Vers\xC3\xA3o 3  Revis\xC3\xA3o 0  -  4/2009";
const char* const kCredits[4] = {
    ("Mensagens programadas para esta\xC3\xA7\xC3\xB5" "es de radioamador"),
    "Desenvolvido pela equipe Orvalen",
    "Para EchoLink",
    "Programa livre e gratuito",
};
const char* const kMakerEmail = "contato@orvalen.example.org";
const char* const kMakerWebPage = "https://orvalen.example.org/";
const char* const kReturnCaption = "Retornar";
const char* const kVisitCaption = "Visitar servidor KORVO";

std::string HelpText() {
  return "Orvalen foi criado para que \r\n"
         "proporcione em hor\xC3\xA1rios pr\xC3\xA9 - \r\n"
         "determinado, enviar mensagens de \r\n"
         "\xC3\xA1udio para os colegas que est\xC3\xA3o \r\n"
         "lincados tanto em RF como IP, para \r\n"
         "tanto os arquivos dever\xC3\xA3o ser criados \r\n"
         "em \"8 BITS - MONO - 8000 hz\".\r\n"
         " \r\n";
}

std::string ContributionNote() {
  return std::string("Mensagens \xC3\xA9 um programa livre e gratu\xC3\xADto, caso queira contribuir para que novas "
                     "vers\xC3\xB5" "es continuem sendo criadas, mande e-mail para") +
         "   " + kMakerEmail + "    " + "que informaremos conta banc\xC3\xA1ria para sua doa\xC3\xA7\xC3\xA3o. Obrigado.";
}

}  // namespace orv::info
