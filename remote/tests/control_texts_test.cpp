#include "remote/control_texts.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

TEST(ControlTexts, WhatTheOperatorTypesIsCheckedBeforeItIsSaved) {
  const TypedSettings ok = ReadTypedSettings("d", " 48a1 ", " confirma.wav ");
  ASSERT_TRUE(ok.settings.has_value());
  EXPECT_EQ(ok.settings->prefix, 'D');
  EXPECT_EQ(ok.settings->code, "48A1");
  EXPECT_EQ(ok.settings->confirmation, "confirma.wav");
  // A blank code switches remote control off.
  const TypedSettings off = ReadTypedSettings("A", "", "");
  ASSERT_TRUE(off.settings.has_value());
  EXPECT_FALSE(off.settings->enabled());
  for (const char* code : {"482", "482112345", "48#1", "4 21"})
    EXPECT_NE(ReadTypedSettings("D", code, "").problem.find("de 4 a 8"), std::string::npos) << code;
  EXPECT_NE(ReadTypedSettings("", "4821", "").problem.find("de A a D"), std::string::npos);
  EXPECT_NE(ReadTypedSettings("E", "4821", "").problem.find("de A a D"), std::string::npos);
  EXPECT_FALSE(ReadTypedSettings("D", "4821", std::string(300, 'x')).problem.empty());
}

TEST(ControlTexts, TheStateSaysWhetherTheRadioIsHeardAndNeverTheCode) {
  const ControlFile on = ParseControlFile("prefixo C\ncodigo 9191\n");
  EXPECT_EQ(ControlStateText(on, false), "Controle pelo r\xC3\xA1" "dio ligado, com o prefixo C.");
  EXPECT_NE(ControlStateText(on, true).find("\"Retomar envios\""), std::string::npos);
  EXPECT_EQ(ControlStateText(on, true).find("9191"), std::string::npos);
  EXPECT_NE(ControlStateText(ParseControlFile(""), false).find("desligado"), std::string::npos);
  EXPECT_NE(ControlStateText(ParseControlFile("prefixo X\n"), false).find("linha 1"), std::string::npos);
  EXPECT_EQ(ClipFolderText({}), "Pasta hora completa: a hora certa pode ser falada.");
  EXPECT_EQ(ClipFolderText({"hora\\h07.wav"}), "Pasta hora incompleta: falta 1 arquivo (hora\\h07.wav).");
  EXPECT_EQ(ClipFolderText({"hora\\h00.wav", "hora\\h01.wav", "hora\\h02.wav", "hora\\h03.wav"}),
            "Pasta hora incompleta: faltam 4 arquivos (hora\\h00.wav, hora\\h01.wav, hora\\h02.wav, ...).");
  // Every command of the table is explained.
  const std::string help = CommandHelpText();
  for (const char* c : {"\r\n0\t", "\r\n9\t", "\r\n1N\t", "\r\n2N\t", "\r\n3N\t", "\r\n4\t", "\r\n5\t"})
    EXPECT_NE(help.find(c), std::string::npos) << c;
}

}  // namespace
}  // namespace orv
