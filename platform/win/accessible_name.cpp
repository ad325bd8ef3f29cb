#include "platform/win/accessible_name.h"

namespace orv::win {

namespace {

// Ours, not the import library's (see the button's accessible object).
constexpr GUID kClsidAccPropServices = {0xb5f8350b, 0x0548, 0x48b1, {0xa6, 0xee, 0x88, 0xbd, 0x00, 0xb4, 0xa5, 0xe7}};
constexpr GUID kIidAccPropServices = {0x6e26e776, 0x04f0, 0x495d, {0x80, 0xe4, 0x33, 0x30, 0x35, 0x2e, 0x31, 0x69}};
constexpr GUID kPropIdAccName = {0x608d3df8, 0x8128, 0x4aa7, {0xa4, 0x28, 0xf5, 0x5e, 0x49, 0x26, 0x72, 0x91}};

}  // namespace

bool AccessibleNames::Set(HWND control, const std::wstring& name) {
  if (!services_ && !unavailable_)
    unavailable_ = FAILED(::CoCreateInstance(kClsidAccPropServices, nullptr, CLSCTX_INPROC_SERVER, kIidAccPropServices,
                                             reinterpret_cast<void**>(services_.GetAddressOf())));
  if (!services_) return false;
  return SUCCEEDED(services_->SetHwndPropStr(control, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF, kPropIdAccName,
                                             name.c_str()));
}

}  // namespace orv::win
