// Message files' sound, end to end against the test host: RF + IP hands the
// host a PCM 8-bit mono 8000 Hz file, converted outside the program folder
// when the message is not in that format; a broken file is refused at arming.
#include <gtest/gtest.h>

#include <windows.h>
#include <knownfolders.h>
#include <shlobj.h>

#include <algorithm>
#include <memory>

#include "tests/e2e/testhost_session.h"

using namespace orv::e2e;

namespace {

// The path of the test host's first TransmitFile call, or "".
std::string FirstSentPath() {
  std::string out;
  Ctl({L"calls"}, &out);
  const auto at = out.find("TransmitFile(");
  if (at == std::string::npos) return "";
  const auto end = out.find(",-1)", at);
  return end == std::string::npos ? "" : out.substr(at + 13, end - at - 13);
}

std::wstring Widened(const std::string& s) {
  std::wstring w(s.size() * 2 + 1, L'\0');
  w.resize(static_cast<size_t>(MultiByteToWideChar(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), w.data(),
                                                   static_cast<int>(w.size()))));
  return w;
}

unsigned Le(const std::string& b, size_t at, int bytes) {
  unsigned v = 0;
  for (int i = bytes - 1; i >= 0; --i) v = v << 8 | static_cast<unsigned char>(b[at + i]);
  return v;
}

struct AudioE2E : TestHostTest {
  std::string SendOf(const std::string& name, double seconds, int rate, int bits, int channels) {
    WriteWav(dir.file(Widened(name)), seconds, rate, bits, channels);
    WriteFileBytes(dir.file(L"orvalen.txt"), OneSlotList(name, "2"));
    Start(L"");
    SelectRfIp();
    std::string path;
    WaitUntil([&] { return !(path = FirstSentPath()).empty(); }, 15s);
    return path;
  }
};

}  // namespace

TEST_F(AudioE2E, RfIpHandsTheHostAConvertedCopyOfA16BitStereoMessage) {
  const std::string sent = SendOf("estereo.wav", 1.5, 44100, 16, 2);
  ASSERT_FALSE(sent.empty()) << "nothing sent";
  const std::wstring path = Widened(sent);
  EXPECT_NE(path.rfind(dir.path(), 0), 0u) << sent << ": inside the program folder";
  PWSTR local = nullptr;
  ASSERT_TRUE(SUCCEEDED(SHGetKnownFolderPath(FOLDERID_LocalAppData, 0, nullptr, &local)));
  const std::wstring cache = std::wstring(local) + L"\\Orvalen\\convertidos\\";
  CoTaskMemFree(local);
  EXPECT_EQ(path.rfind(cache, 0), 0u) << sent;

  const std::string b = ReadFileBytes(path);
  ASSERT_GE(b.size(), 44u);
  EXPECT_EQ(b.substr(0, 4), "RIFF");
  EXPECT_EQ(Le(b, 20, 2), 1u) << "PCM";
  EXPECT_EQ(Le(b, 22, 2), 1u) << "mono";
  EXPECT_EQ(Le(b, 24, 4), 8000u);
  EXPECT_EQ(Le(b, 34, 2), 8u);
  EXPECT_EQ(b.substr(36, 4), "data");
  const double seconds = Le(b, 40, 4) / 8000.0;
  EXPECT_NEAR(seconds, 1.5, 0.010);
  EXPECT_EQ(b.size(), 44u + Le(b, 40, 4));
  DeleteFileW(path.c_str());
  DeleteFileW((path.substr(0, path.size() - 4) + L".txt").c_str());
}

TEST_F(AudioE2E, AMessageInTheHostsFormatGoesWithItsOwnPath) {
  const std::string sent = SendOf("pronto.wav", 1.0, 8000, 8, 1);
  EXPECT_EQ(Widened(sent), dir.file(L"pronto.wav"));
}

TEST_F(AudioE2E, ATruncatedWavIsRefusedAtArming) {
  WriteWav(dir.file(L"cortado.wav"), 1.0, 44100, 16, 2);
  const std::string whole = ReadFileBytes(dir.file(L"cortado.wav"));
  WriteFileBytes(dir.file(L"cortado.wav"), whole.substr(0, whole.size() / 2));
  WriteFileBytes(dir.file(L"orvalen.txt"), OneSlotList("cortado.wav", "2"));
  program = std::make_unique<RunningProgram>(dir, L"");
  ASSERT_TRUE(program->started());
  const MessageBoxInfo box = program->WaitForMessageBox(20s);
  ASSERT_TRUE(box.hwnd) << "no message";
  EXPECT_EQ(box.text.rfind("O arquivo n\xc3\xa3o pode ser tocado: arquivo WAV incompleto", 0), 0u) << box.text;
  program->Answer(box, IDOK);
  ASSERT_TRUE(program->WaitForMainWindow());
  EXPECT_TRUE(WaitUntil([&] { return program->Check(kCheckBase) == 0; }, 5s));
}
