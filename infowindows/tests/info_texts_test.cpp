#include "infowindows/info_texts.h"

#include <gtest/gtest.h>

#include <sstream>
#include <vector>

using namespace orv::info;

TEST(InfoTexts, HelpTextIsEightLinesEachEndedByCrLf) {
  const std::string t = HelpText();
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t p; (p = t.find("\r\n", start)) != std::string::npos; start = p + 2) lines.push_back(t.substr(start, p - start));
  EXPECT_EQ(start, t.size()) << "text must end right after the last CR LF";
  ASSERT_EQ(lines.size(), 8u);
  EXPECT_EQ(lines[0], "Orvalen foi criado para que ");
  EXPECT_EQ(lines[6], "em \"8 BITS - MONO - 8000 hz\".");
  EXPECT_EQ(lines[7], " ");
  EXPECT_EQ(t.find('\n'), t.find("\r\n") + 1) << "no bare line feeds";
}

TEST(InfoTexts, VersionAndNoteKeepTheirBlanks) {
  EXPECT_STREQ(kVersionText, "Vers\xC3\xA3o 3  Revis\xC3\xA3o 0  -  4/2009");
  const std::string note = ContributionNote();
  EXPECT_NE(note.find("mande e-mail para   " + std::string(kMakerEmail) + "    que informaremos"), std::string::npos);
  EXPECT_EQ(note.substr(note.size() - 9), "Obrigado.");
}
