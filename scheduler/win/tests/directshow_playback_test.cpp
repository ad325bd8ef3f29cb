// Plays real WAV files through the DirectShow graph (under Wine: gstreamer
// behind winegstreamer, ALSA's null device as the sound card).
#include "scheduler/win/directshow_playback.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/win/scoped.h"
#include "platform/win/text.h"
#include "scheduler/transmission.h"
#include "scheduler/transmitter_guard.h"
#include "tests/support/form_fixture.h"

namespace fs = std::filesystem;
using orv::PlaybackGraph;
using orv::win::DirectShowPlayback;

namespace {

void Put16(std::string& out, unsigned v) {
  out += static_cast<char>(v & 0xFF);
  out += static_cast<char>((v >> 8) & 0xFF);
}
void Put32(std::string& out, std::uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

// A PCM WAV holding a 440 Hz tone.
std::string MakeWav(int bits, int channels, int rate, double seconds) {
  const std::uint32_t frames = static_cast<std::uint32_t>(std::lround(seconds * rate));
  const unsigned block = channels * bits / 8;
  const std::uint32_t dataSize = frames * block;
  std::string w = "RIFF";
  Put32(w, 36 + dataSize);
  w += "WAVEfmt ";
  Put32(w, 16);
  Put16(w, 1);  // PCM
  Put16(w, channels);
  Put32(w, rate);
  Put32(w, rate * block);
  Put16(w, block);
  Put16(w, bits);
  w += "data";
  Put32(w, dataSize);
  for (std::uint32_t i = 0; i < frames; ++i) {
    const double s = 0.3 * std::sin(2 * 3.14159265358979 * 440 * i / rate);
    for (int c = 0; c < channels; ++c) {
      if (bits == 8) {
        w += static_cast<char>(static_cast<unsigned char>(128 + std::lround(s * 127)));
      } else {
        Put16(w, static_cast<unsigned>(static_cast<std::int16_t>(std::lround(s * 32767))) & 0xFFFF);
      }
    }
  }
  return w;
}

// Waits with the thread's message queue serviced, as the window's loop would.
void Pump(int ms) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  for (;;) {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      ::TranslateMessage(&msg);
      ::DispatchMessageW(&msg);
    }
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - std::chrono::steady_clock::now());
    if (left.count() <= 0) return;
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(left.count()), QS_ALLINPUT);
  }
}

class DirectShowPlaybackTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    dir_ = new fs::path(fs::temp_directory_path() / ("orvalen-play-" + std::to_string(::GetCurrentProcessId())));
    fs::create_directories(*dir_);
    Write("mono8.wav", MakeWav(8, 1, 8000, 2.5));
    Write("stereo16.wav", MakeWav(16, 2, 44100, 2.5));
    Write("curta.wav", MakeWav(8, 1, 8000, 1.5));
    Write("mensagem ação.wav", MakeWav(8, 1, 8000, 2.5));
    Write("lixo.wav", std::string(4000, 'x'));
  }
  static void TearDownTestSuite() {
    std::error_code ec;
    fs::remove_all(*dir_, ec);
    delete dir_;
  }
  static void Write(const std::string& name, const std::string& bytes) {
    std::ofstream(*dir_ / fs::path(orv::win::Widen(name)), std::ios::binary) << bytes;
  }
  static std::string PathOf(const std::string& name) { return orv::win::Narrow((*dir_).wstring()) + "\\" + name; }

  std::unique_ptr<PlaybackGraph> Rendered(const std::string& name) {
    auto g = factory.create();
    if (!g) ADD_FAILURE() << "no filter graph manager";
    else if (!g->renderFile(PathOf(name))) ADD_FAILURE() << "RenderFile failed for " << name;
    return g;
  }

  orv::win::ComApartment com;  // first in, last out: graphs die inside the apartment
  DirectShowPlayback factory;
  static fs::path* dir_;
};
fs::path* DirectShowPlaybackTest::dir_ = nullptr;

TEST_F(DirectShowPlaybackTest, RendersBothFormatsWithTheirLength) {
  ASSERT_TRUE(SUCCEEDED(com.result()));
  for (const char* name : {"mono8.wav", "stereo16.wav", "mensagem ação.wav"}) {
    SCOPED_TRACE(name);
    auto g = Rendered(name);
    ASSERT_TRUE(g);
    auto d = g->duration();
    ASSERT_TRUE(d.has_value());
    EXPECT_NEAR(*d, 2.5, 0.05);
  }
}

TEST_F(DirectShowPlaybackTest, PlaysAdvancesSeeksAndTakesTheVolume) {
  auto g = Rendered("stereo16.wav");
  ASSERT_TRUE(g);
  EXPECT_TRUE(g->setVolume(-1404));
  EXPECT_TRUE(g->setVolume(0));
  ASSERT_TRUE(g->run());
  EXPECT_TRUE(g->setCurrentPosition(0));
  Pump(800);
  auto p = g->currentPosition();
  ASSERT_TRUE(p.has_value());
  EXPECT_GT(*p, 0.2);
  EXPECT_LT(*p, 2.0);
  EXPECT_TRUE(g->setVolume(-3000));  // while playing, as the volume bar does
  ASSERT_TRUE(g->setCurrentPosition(1.5));
  p = g->currentPosition();
  ASSERT_TRUE(p.has_value());
  EXPECT_GE(*p, 1.45);
  g.reset();  // released while playing: must not hang
}

// The progress display ends a playback when the position's whole seconds
// equal the length's, so the position must come to rest at the length.
TEST_F(DirectShowPlaybackTest, PositionRestsAtTheLengthWhenTheFileEnds) {
  auto g = Rendered("curta.wav");
  ASSERT_TRUE(g);
  ASSERT_TRUE(g->run());
  Pump(2500);
  auto p = g->currentPosition();
  auto d = g->duration();
  ASSERT_TRUE(p && d);
  EXPECT_EQ(std::floor(*p), std::floor(*d)) << "position " << *p << " length " << *d;
}

TEST_F(DirectShowPlaybackTest, MissingOrBrokenFileFailsToRender) {
  for (const char* name : {"nao-existe.wav", "lixo.wav"}) {
    SCOPED_TRACE(name);
    auto g = factory.create();
    ASSERT_TRUE(g);
    EXPECT_FALSE(g->renderFile(PathOf(name)));
  }
  auto g = factory.create();
  ASSERT_TRUE(g);
  EXPECT_FALSE(g->renderFile(PathOf("mono8.wav") + std::string(1, '\0') + "x"));
  EXPECT_FALSE(g->renderFile(""));
}

}  // namespace

namespace {

// The whole local playback on the real graph: the one-second progress tick
// (virtual timers, stepped in step with real time) must end the playback
// and unkey the transmitter by itself.
TEST_F(DirectShowPlaybackTest, TransmissionEndsARealPlaybackAndUnkeys) {
  orv::test::FormFixture fx;
  fx.services.playback = &factory;
  fx.fields.caminho = PathOf("");
  fx.fields.arquivoAtual = "curta.wav";
  orv::Transmission tx(fx.controls, fx.services, fx.fields);
  orv::TransmitterGuard guard(fx.controls, fx.services, fx.fields, tx);
  tx.onPlaybackEnd([&] { guard.onPlaybackEnd(); });
  tx.start();
  guard.TOCA(fx.fields.caminho + fx.fields.arquivoAtual);
  EXPECT_EQ(fx.text3.text(), "00:00:01");
  EXPECT_EQ(fx.ptt.text(), "PTT ON");
  int seconds = 0;
  while (fx.ptt.text() == "PTT ON" && seconds < 5) {
    Pump(1000);
    fx.time.advance(std::chrono::milliseconds(1000));
    ++seconds;
  }
  EXPECT_EQ(fx.ptt.text(), "PTT OFF");
  EXPECT_LE(seconds, 3);
  EXPECT_FALSE(tx.playing());

  // Wine's graph runs even when nothing rendered: the transmitter must stay unkeyed.
  fx.host.calls.clear();
  fx.fields.arquivoAtual = "lixo.wav";
  guard.TOCA(fx.fields.caminho + fx.fields.arquivoAtual);
  EXPECT_EQ(fx.host.count("SetTransmit(-1)"), 0);
  EXPECT_EQ(fx.ptt.text(), "PTT OFF");
}

double ProcessCpuSeconds() {
  FILETIME created, exited, kernel, user;
  ::GetProcessTimes(::GetCurrentProcess(), &created, &exited, &kernel, &user);
  auto secs = [](const FILETIME& f) {
    return (static_cast<std::uint64_t>(f.dwHighDateTime) << 32 | f.dwLowDateTime) / 1e7;
  };
  return secs(kernel) + secs(user);
}

// A measurement, not a check: run with --gtest_also_run_disabled_tests.
TEST_F(DirectShowPlaybackTest, DISABLED_CpuWhilePlayingAndIdle) {
  Write("longa.wav", MakeWav(8, 1, 8000, 8));
  const double t0 = ProcessCpuSeconds();
  Pump(3000);
  const double idle = ProcessCpuSeconds() - t0;
  auto g = Rendered("longa.wav");
  ASSERT_TRUE(g && g->run());
  Pump(500);
  const double t1 = ProcessCpuSeconds();
  Pump(3000);
  const double playing = ProcessCpuSeconds() - t1;
  std::printf("CPU over 3 s: idle %.3f s, playing %.3f s\n", idle, playing);
}

}  // namespace
