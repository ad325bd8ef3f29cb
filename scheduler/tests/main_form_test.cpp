// Start-up and the ways the program ends, on test doubles.
#include "scheduler/main_form.h"

#include <gtest/gtest.h>

#include "tests/support/form_fixture.h"

using namespace orv;
using namespace orv::test;
using namespace std::chrono_literals;

namespace {

struct MainFormTest : ::testing::Test {
  MainFormTest() {
    fx.files.folder = "C:\\Estacao";
    fx.fields.caminho.clear();
  }
  MainForm& load() {
    form = std::make_unique<MainForm>(fx.controls, fx.services, FormHooks{});
    std::string error;
    loaded = form->Load(error);
    loadError = error;
    return *form;
  }
  FormFixture fx;
  std::unique_ptr<MainForm> form;
  bool loaded = false;
  std::string loadError;
};

}  // namespace

TEST_F(MainFormTest, StartUpWithoutSlotListFile) {
  load();
  ASSERT_TRUE(loaded);
  EXPECT_EQ(fx.caption.text(), " Orvalen   PY2TEST");
  ASSERT_GE(fx.host.calls.size(), 2u);
  EXPECT_EQ(fx.host.calls[0], "StationName");
  EXPECT_EQ(fx.host.calls[1], "SetTransmit(0)");
  EXPECT_EQ(fx.ptt.text(), "PTT OFF");
  EXPECT_EQ(fx.ptt.textColor(), kPttOffColor);
  EXPECT_EQ(fx.v4.value(), -1404);
  EXPECT_EQ(fx.volSet4.text(), "-1404");
  EXPECT_EQ(fx.check20.value(), 1);
  EXPECT_EQ(fx.check21.value(), 0);
  for (int i = 0; i < kSlotCount; ++i) {
    EXPECT_EQ(fx.check[i].value(), 0);
    EXPECT_EQ(fx.mens[i].text(), "");
    EXPECT_EQ(fx.cont[i].text(), "0");
  }
  EXPECT_TRUE(fx.dialogs.shown.empty());
  EXPECT_EQ(form->fields().caminho, "C:\\Estacao\\");
}

TEST_F(MainFormTest, StartUpArmsTheSavedSlotsFromTheProgramFolder) {
  fx.files.files["orvalen.txt"] =
      "ident.wav\r\n\r\nfalta.wav\r\nsozinho.wav\r\n\r\n\r\n\r\n\r\n\r\n600\r\n5\r\n30\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n";
  fx.files.files["C:\\Estacao\\ident.wav"] = "RIFF";
  fx.files.files["C:\\Estacao\\sozinho.wav"] = "RIFF";
  load();
  ASSERT_TRUE(loaded);
  EXPECT_EQ(fx.check[0].value(), 1);  // name and interval
  EXPECT_EQ(fx.temp[0].text(), "600");
  EXPECT_EQ(fx.check[1].value(), 0);  // no name
  EXPECT_EQ(fx.check[2].value(), 0);  // refused: file missing
  EXPECT_EQ(fx.check[3].value(), 0);  // interval 0
  ASSERT_EQ(fx.dialogs.shown.size(), 1u);
  EXPECT_EQ(fx.dialogs.shown[0].text, "O arquivo n\xC3\xA3o Existe!");
}

TEST_F(MainFormTest, StationNameThatCannotBeReadStopsStartUp) {
  fx.host.fail("StationName");
  load();
  EXPECT_FALSE(loaded);
  EXPECT_NE(loadError.find("StationName"), std::string::npos);
}

TEST_F(MainFormTest, CloseQuestionAnsweredNoKeepsEverythingRunning) {
  fx.files.files["C:\\Estacao\\a.wav"] = "RIFF";
  load();
  fx.mens[0].setText("a.wav");
  fx.cont[0].setText("3");
  form->scheduler().setSlotCheck(0, 1);
  fx.dialogs.answer = MsgResult::No;
  EXPECT_TRUE(form->onCloseRequest());
  ASSERT_EQ(fx.dialogs.shown.size(), 1u);
  const auto& q = fx.dialogs.shown[0];
  EXPECT_EQ(q.text, "Tem certeza que quer encerrar o programa? ");
  EXPECT_EQ(q.title, "Sai do programa");
  EXPECT_EQ(q.icon, MsgIcon::Question);
  EXPECT_EQ(q.buttons, MsgButtons::YesNo);
  EXPECT_EQ(q.defaultButton, 0);
  EXPECT_EQ(fx.app.quitCalls, 0);
  fx.time.advance(2s);
  EXPECT_EQ(fx.temp[0].text(), "1");
}

TEST_F(MainFormTest, CloseQuestionAnsweredYesUnkeysSignalsAndEnds) {
  load();
  fx.ptt.setTextColor(kPttOnColor);
  fx.ptt.setText("PTT ON");
  fx.host.calls.clear();
  fx.dialogs.answer = MsgResult::Yes;
  EXPECT_FALSE(form->onCloseRequest());
  EXPECT_EQ(fx.host.calls, (std::vector<std::string>{"SetTransmit(0)", "ExitSignal(0)"}));
  EXPECT_EQ(fx.ptt.text(), "PTT OFF");
  EXPECT_EQ(fx.ptt.textColor(), kPttOnColor);  // only the text changes on the way out
  EXPECT_EQ(fx.app.quitCalls, 1);
  EXPECT_EQ(fx.app.exitCode, 0);
}

TEST_F(MainFormTest, SairEndsWithoutAsking) {
  load();
  fx.host.calls.clear();
  form->onButtonClick(FormButton::Sair);
  EXPECT_TRUE(fx.dialogs.shown.empty());
  EXPECT_EQ(fx.host.calls, (std::vector<std::string>{"SetTransmit(0)", "ExitSignal(0)"}));
  EXPECT_EQ(fx.app.quitCalls, 1);
}

TEST_F(MainFormTest, HostClosingUnkeysAndEndsWithoutQuestionOrExitSignal) {
  load();
  fx.host.calls.clear();
  fx.ptt.setText("PTT ON");
  fx.host.raiseClosing();
  EXPECT_EQ(fx.host.calls, (std::vector<std::string>{"SetTransmit(0)"}));
  EXPECT_EQ(fx.ptt.text(), "PTT ON");
  EXPECT_TRUE(fx.dialogs.shown.empty());
  EXPECT_EQ(fx.app.quitCalls, 1);
  // Nothing reaches the form afterwards.
  fx.host.raiseDtmf("AA");
  EXPECT_EQ(fx.host.count("SendIdentification(0)"), 0);
}

TEST_F(MainFormTest, NoTickIsHandledAfterTheEnd) {
  fx.files.files["C:\\Estacao\\a.wav"] = "RIFF";
  load();
  fx.mens[0].setText("a.wav");
  fx.cont[0].setText("2");
  form->scheduler().setSlotCheck(0, 1);
  form->onButtonClick(FormButton::Sair);
  // The real timer service drops ticks once the program ends; the gate here
  // is the form itself: its handlers refuse to run.
  fx.host.calls.clear();
  form->onSlotCheckClicked(0);
  form->onVolumeChanged();
  EXPECT_TRUE(fx.host.calls.empty());
}

TEST_F(MainFormTest, AFailingExitPathSaysSoAndStillEnds) {
  load();
  fx.host.fail("ExitSignal");
  form->onButtonClick(FormButton::Sair);
  ASSERT_EQ(fx.dialogs.shown.size(), 1u);
  EXPECT_NE(fx.dialogs.shown[0].text.find("ExitSignal"), std::string::npos);
  EXPECT_EQ(fx.app.quitCalls, 1);
  EXPECT_EQ(fx.app.exitCode, 1);
}

TEST_F(MainFormTest, DtmfFailureUnkeysNamesTheErrorAndStops) {
  load();
  fx.host.fail("SendIdentification");
  fx.host.calls.clear();
  fx.host.raiseDtmf("AA");
  EXPECT_EQ(fx.host.calls.front(), "SendIdentification(0)");
  EXPECT_EQ(fx.host.calls.back(), "SetTransmit(0)");
  ASSERT_EQ(fx.dialogs.shown.size(), 1u);
  EXPECT_NE(fx.dialogs.shown[0].text.find("SendIdentification"), std::string::npos);
  EXPECT_EQ(fx.app.exitCode, 1);
}

TEST_F(MainFormTest, DtmfMatchAsksForTheIdentification) {
  load();
  fx.host.raiseDtmf("AA");
  fx.host.raiseDtmf("aa");
  EXPECT_EQ(fx.host.count("SendIdentification(0)"), 1);
}

TEST_F(MainFormTest, ASecondCloseRequestWhileAskingDoesNotAskAgain) {
  load();
  bool innerCancelled = false;
  fx.dialogs.answer = MsgResult::No;
  fx.dialogs.whileOpen = [&](const FakeDialogs::Shown&) {
    fx.dialogs.whileOpen = nullptr;
    innerCancelled = form->onCloseRequest();
  };
  EXPECT_TRUE(form->onCloseRequest());
  EXPECT_TRUE(innerCancelled);
  EXPECT_EQ(fx.dialogs.shown.size(), 1u);
}

TEST_F(MainFormTest, HostClosingWhileTheQuestionIsOpenEndsWithoutExitSignal) {
  load();
  fx.host.calls.clear();
  fx.dialogs.whileOpen = [&](const FakeDialogs::Shown&) { fx.host.raiseClosing(); };
  fx.dialogs.answer = MsgResult::Yes;
  form->onCloseRequest();
  EXPECT_EQ(fx.host.calls, (std::vector<std::string>{"SetTransmit(0)"}));
  EXPECT_EQ(fx.app.quitCalls, 1);
}
