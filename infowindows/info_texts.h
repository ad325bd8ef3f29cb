#pragma once
// The fixed texts of the Help and About windows, each in one place.
#include <string>

namespace orv::info {

extern const char* const kHelpTitle;       // "Ajuda"
extern const char* const kAboutTitle;      // "Sobre"
extern const char* const kProgramTitle;    // "Orvalen"
extern const char* const kVersionText;     // Label4
extern const char* const kCredits[4];      // Label3, Label2, Label5, Label7
extern const char* const kMakerEmail;
extern const char* const kMakerWebPage;    // opened by "Visitar servidor KORVO"
extern const char* const kReturnCaption;   // "Retornar"
extern const char* const kVisitCaption;    // "Visitar servidor KORVO"

// The help text: eight lines, each ended by CR LF.
std::string HelpText();
// Label6 of the About window.
std::string ContributionNote();

}  // namespace orv::info
