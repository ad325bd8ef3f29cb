// The test host must look like the real one to an early-bound client too: the
// used operations at their vtable positions, the default source interface
// carrying DTMFString and Closing.
#include <windows.h>
#include <oleauto.h>

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "platform/win/scoped.h"
#include "platform/win/text.h"

namespace orv::win {
namespace {

const GUID kLib = {0x5E3C2B71, 0x9A4D, 0x4C1E, {0x8F, 0x27, 0x3B, 0x6D, 0x0A, 0x9E, 0x4C, 0x15}};
const GUID kHost = {0x7733112C, 0x4577, 0x4432, {0x9D, 0xB0, 0xA9, 0x39, 0x81, 0x84, 0xEA, 0xF6}};
const GUID kStation = {0xACD8531B, 0xB0CE, 0x4F14, {0x94, 0x05, 0x6A, 0xB8, 0xAC, 0x5C, 0x9E, 0xFA}};

// Own-member position (after IDispatch's seven) of each function, by name.
std::map<std::string, int> Positions(ITypeInfo* info) {
  std::map<std::string, int> out;
  TYPEATTR* attr = nullptr;
  if (FAILED(info->GetTypeAttr(&attr))) return out;
  WORD funcs = attr->cFuncs;
  info->ReleaseTypeAttr(attr);
  for (UINT i = 0; i < funcs; ++i) {
    FUNCDESC* fd = nullptr;
    if (FAILED(info->GetFuncDesc(i, &fd))) continue;
    BSTR name = nullptr;
    UINT got = 0;
    info->GetNames(fd->memid, &name, 1, &got);
    out[Narrow(name, static_cast<int>(::SysStringLen(name)))] = fd->oVft / static_cast<int>(sizeof(void*)) - 7;
    ::SysFreeString(name);
    info->ReleaseFuncDesc(fd);
  }
  return out;
}

TEST(TestHostTypeLibrary, PlacesTheOperationsWhereAnEarlyBoundClientExpectsThem) {
  ComApartment com;
  ComPtr<ITypeLib> lib;
  ASSERT_EQ(::LoadRegTypeLib(kLib, 1, 0, 0, &lib), S_OK);
  ComPtr<ITypeInfo> host, station;
  ASSERT_EQ(lib->GetTypeInfoOfGuid(kHost, &host), S_OK);
  ASSERT_EQ(lib->GetTypeInfoOfGuid(kStation, &station), S_OK);

  auto p = Positions(host.Get());
  EXPECT_EQ(p["SetTransmit"], 5);
  EXPECT_EQ(p["FirstBusyFlag"], 6);
  EXPECT_EQ(p["SecondBusyFlag"], 9);
  EXPECT_EQ(p["SendIdentification"], 10);
  EXPECT_EQ(p["TransmitFile"], 18);
  EXPECT_EQ(p["StationObject"], 24);
  EXPECT_EQ(p["ExitSignal"], 30);
  EXPECT_EQ(Positions(station.Get())["StationName"], 0);
}

}  // namespace
}  // namespace orv::win
