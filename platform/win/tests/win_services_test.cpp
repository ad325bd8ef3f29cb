// The Win32 services on the real file system, code pages and counters.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <thread>
#include <vector>

#include "platform/win/scoped.h"
#include "platform/win/services.h"
#include "platform/win/text.h"

using namespace orv;
using namespace orv::win;

namespace {

struct TempFolder {
  TempFolder() {
    wchar_t tmp[MAX_PATH];
    GetTempPathW(MAX_PATH, tmp);
    path = Narrow(tmp) + "orvalen-services-" + std::to_string(GetCurrentProcessId());
    CreateDirectoryW(Widen(path).c_str(), nullptr);
  }
  ~TempFolder() {
    for (const char* n : {"orvalen.txt", "orvalen.bak", "orvalen.txt.novo"}) DeleteFileW(Widen(at(n)).c_str());
    RemoveDirectoryW(Widen(path).c_str());
  }
  std::string at(const std::string& name) const { return path + "\\" + name; }
  std::string path;
};

}  // namespace

TEST(WinFileSystem, ReplaceKeepsThePreviousFileAsTheBackup) {
  TempFolder dir;
  WinFileSystem fs;
  const std::string list = dir.at("orvalen.txt"), bak = dir.at("orvalen.bak");
  ASSERT_TRUE(fs.replaceAll(list, "first\r\n", bak).ok);  // no old file: no backup yet
  EXPECT_FALSE(fs.exists(bak));
  ASSERT_TRUE(fs.replaceAll(list, "second\r\n", bak).ok);
  ASSERT_TRUE(fs.replaceAll(list, "third\r\n", bak).ok);  // an older backup is replaced
  EXPECT_EQ(fs.readAll(list).value_or("?"), "third\r\n");
  EXPECT_EQ(fs.readAll(bak).value_or("?"), "second\r\n");
  EXPECT_FALSE(fs.exists(dir.at("orvalen.txt.novo")));

  // A list held open without sharing by another program: the save fails, the
  // list and its backup stay as they were, the reason is the system's.
  UniqueHandle held(CreateFileW(Widen(list).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
  ASSERT_NE(held.get(), INVALID_HANDLE_VALUE);
  const WriteResult r = fs.replaceAll(list, "fourth\r\n", bak);
  EXPECT_FALSE(r.ok);
  EXPECT_FALSE(r.error.empty());
  std::string why;
  EXPECT_FALSE(fs.readAll(list, &why).has_value());
  EXPECT_FALSE(why.empty());
  held.reset();
  EXPECT_EQ(fs.readAll(list).value_or("?"), "third\r\n");
  EXPECT_EQ(fs.readAll(bak).value_or("?"), "second\r\n");
}

TEST(WinFileSystem, NamesPastMaxPathAreFoundReadAndWritten) {
  TempFolder tmp;
  // Folders nested past MAX_PATH, each made in the extended form.
  std::vector<std::string> folders;
  std::string deep = tmp.path;
  while (deep.size() < MAX_PATH + 20) {
    deep += "\\pasta-de-mensagens-da-estacao";
    folders.push_back(deep);
    ASSERT_TRUE(CreateDirectoryW(WidePath(deep).c_str(), nullptr)) << deep.size();
  }
  const std::string file = deep + "\\ident.wav";
  WinFileSystem files;
  EXPECT_FALSE(files.exists(file));
  ASSERT_TRUE(files.replaceAll(file, "RIFF").ok);
  EXPECT_TRUE(files.exists(file));
  EXPECT_EQ(files.readAll(file).value_or(""), "RIFF");
  const ListResult listed = files.listNormalFiles(file);
  EXPECT_TRUE(listed.ok);
  EXPECT_EQ(listed.normalFiles, 1);
  // Short names keep their plain form.
  EXPECT_EQ(WidePath("C:\\a\\..\\b.wav"), L"C:\\a\\..\\b.wav");
  DeleteFileW(WidePath(file).c_str());
  for (auto f = folders.rbegin(); f != folders.rend(); ++f) RemoveDirectoryW(WidePath(*f).c_str());
}

TEST(WinLocale, AUtf8AnsiCodePageTakesEveryCharacter) {
  const std::string text = "a\xC3\xA7\xC3\xA3o \xE2\x82\xAC \xE4\xB8\xAD \xF0\x9F\x93\xBB.wav";  // ação € 中 📻
  EXPECT_EQ(ToCodePage(text, CP_UTF8).value_or("?"), text);
  EXPECT_EQ(ToCodePage("", CP_UTF8).value_or("?"), "");
  // Windows-1252 still refuses what it cannot hold, and holds what it can.
  EXPECT_FALSE(ToCodePage(text, 1252).has_value());
  EXPECT_EQ(ToCodePage("a\xC3\xA7\xC3\xA3o \xE2\x82\xAC", 1252).value_or("?"), "a\xE7\xE3o \x80");
}

TEST(WinClock, MonotonicTimeMovesWithTheWallClockWhileAwake) {
  WinClock clock;
  const auto a = clock.monotonic();
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  const auto moved = (clock.monotonic() - a).count();
  EXPECT_GE(moved, 250);
  EXPECT_LT(moved, 5000);
}
