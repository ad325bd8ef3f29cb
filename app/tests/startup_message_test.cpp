#include "app/startup_message.h"

#include <gtest/gtest.h>

TEST(StartupMessage, NamesTheCauseAndTheWayOut) {
  std::string text = orv::StartupFailureText("Classe n\xC3\xA3o registrada");
  EXPECT_NE(text.find("Classe n\xC3\xA3o registrada"), std::string::npos);
  EXPECT_NE(text.find("--host=simulator"), std::string::npos);
  EXPECT_NE(orv::StartupFailureText("").find("desconhecido"), std::string::npos);
}
