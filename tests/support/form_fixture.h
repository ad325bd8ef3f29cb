#pragma once
// The main window's controls and services made of test doubles, with the
// initial contents the window gives them.
#include <array>
#include <string>

#include "scheduler/form_controls.h"
#include "tests/support/fake_services.h"
#include "tests/support/fake_widgets.h"
#include "tests/support/recording_host.h"
#include "tests/support/virtual_time.h"

namespace orv::test {

struct FormFixture {
  FormFixture() {
    for (int i = 0; i < kSlotCount; ++i) {
      cont[i].setText("0");
      temp[i].setText("0");
      controls.Check[i] = &check[i];
      controls.mens[i] = &mens[i];
      controls.cont[i] = &cont[i];
      controls.temp[i] = &temp[i];
    }
    for (auto* t : {&text1, &text2, &text3}) t->setText("00:00:00");
    showTime.setText("00:00:00");
    dtmf.setText("AA");
    volSet4.setText("-1404");
    controls.Check20 = &check20;
    controls.Check21 = &check21;
    controls.PTT = &ptt;
    controls.ShowTime = &showTime;
    controls.DTMFInfo3 = &dtmf;
    controls.Text1 = &text1;
    controls.Text2 = &text2;
    controls.Text3 = &text3;
    controls.H1 = &h1;
    controls.V4 = &v4;
    controls.VolSet4 = &volSet4;
    controls.UseSetVol4 = &useSetVol4;
    controls.Caption = &caption;
    playback.now = [this] { return time.monotonic().count() / 1000.0; };
    services.EchoLink = &host;
    services.timers = &time;
    services.clock = &time;
    services.dialogs = &dialogs;
    services.files = &files;
    services.playback = &playback;
    services.locale = &locale;
    services.app = &app;
    fields.caminho = "C:\\Orvalen\\";
  }
  FormFixture(const FormFixture&) = delete;
  FormFixture& operator=(const FormFixture&) = delete;

  std::array<FakeCheck, kSlotCount> check;
  std::array<FakeText, kSlotCount> mens, cont, temp;
  FakeCheck check20, check21, useSetVol4;
  FakeLabel ptt{"PTT OFF"};
  FakeText showTime, dtmf, text1, text2, text3, volSet4, caption{"Orvalen"};
  FakeBar h1{0, 0, 0}, v4{-3000, 0, 0};

  RecordingHost host;
  VirtualTime time;
  FakeDialogs dialogs;
  FakeFileSystem files;
  FakePlayback playback;
  FakeLocale locale;
  FakeApp app;

  FormControls controls;
  FormServices services;
  FormFields fields;
};

}  // namespace orv::test
