#include "buttons/win/kw_button_accessible.h"

#include <oleacc.h>
#include <wrl/client.h>

#include <new>
#include <string>

#include "buttons/accessibility.h"
#include "buttons/win/kw_button_control.h"
#include "platform/win/text.h"

namespace orv::buttons::win {

namespace {

using Microsoft::WRL::ComPtr;

// Ours, not the import library's: under MinGW's static libraries that symbol
// can resolve to a jump stub instead of the GUID.
constexpr GUID kIidAccessible = {0x618736e0, 0x3c3d, 0x11cf, {0x81, 0x0c, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};

LONG RoleCode(AccessibleRole r) {
  switch (r) {
    case AccessibleRole::CheckButton: return ROLE_SYSTEM_CHECKBUTTON;
    case AccessibleRole::RadioButton: return ROLE_SYSTEM_RADIOBUTTON;
    default: return ROLE_SYSTEM_PUSHBUTTON;
  }
}

LONG StateBits(const AccessibleStates& s) {
  LONG bits = 0;
  if (s.unavailable) bits |= STATE_SYSTEM_UNAVAILABLE;
  else bits |= STATE_SYSTEM_FOCUSABLE;
  if (s.focused) bits |= STATE_SYSTEM_FOCUSED;
  if (s.pressed) bits |= STATE_SYSTEM_PRESSED;
  if (s.checked) bits |= STATE_SYSTEM_CHECKED;
  if (s.hot) bits |= STATE_SYSTEM_HOTTRACKED;
  return bits;
}

bool IsSelf(const VARIANT& child) { return child.vt == VT_I4 && child.lVal == CHILDID_SELF; }

HRESULT Text(const std::string& utf8, BSTR* out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (utf8.empty()) return S_FALSE;
  std::wstring w = orv::win::Widen(utf8);
  *out = ::SysAllocStringLen(w.data(), static_cast<UINT>(w.size()));
  return *out ? S_OK : E_OUTOFMEMORY;
}

class ButtonAccessible final : public IAccessible {
 public:
  ButtonAccessible(HWND hwnd, ComPtr<IAccessible> standard) : hwnd_(hwnd), standard_(std::move(standard)) {}

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
    if (!out) return E_POINTER;
    if (IsEqualGUID(riid, __uuidof(IUnknown)) || IsEqualGUID(riid, __uuidof(IDispatch)) ||
        IsEqualGUID(riid, kIidAccessible)) {
      *out = static_cast<IAccessible*>(this);
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(::InterlockedIncrement(&refs_)); }
  ULONG STDMETHODCALLTYPE Release() override {
    const LONG n = ::InterlockedDecrement(&refs_);
    if (n == 0) delete this;
    return static_cast<ULONG>(n);
  }

  // IDispatch: tools use the vtable; there is no type information.
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* n) override {
    if (n) *n = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
    return E_NOTIMPL;
  }

  // IAccessible: what the button is, from the model.
  HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* out) override {
    AccessibleInfo info;
    if (HRESULT hr = describe(child, info); FAILED(hr)) return hr;
    return Text(info.name, out);
  }
  HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* out) override {
    if (!out) return E_POINTER;
    ::VariantInit(out);
    AccessibleInfo info;
    if (HRESULT hr = describe(child, info); FAILED(hr)) return hr;
    out->vt = VT_I4;
    out->lVal = RoleCode(info.role);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* out) override {
    if (!out) return E_POINTER;
    ::VariantInit(out);
    AccessibleInfo info;
    if (HRESULT hr = describe(child, info); FAILED(hr)) return hr;
    out->vt = VT_I4;
    out->lVal = StateBits(info.states);
    if (!::IsWindowVisible(hwnd_)) out->lVal |= STATE_SYSTEM_INVISIBLE;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* out) override {
    AccessibleInfo info;
    if (HRESULT hr = describe(child, info); FAILED(hr)) return hr;
    return Text(info.shortcut, out);
  }
  HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* out) override {
    AccessibleInfo info;
    if (HRESULT hr = describe(child, info); FAILED(hr)) return hr;
    return Text(kDefaultActionName, out);
  }
  HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
    AccessibleInfo info;
    if (HRESULT hr = describe(child, info); FAILED(hr)) return hr;
    if (info.states.unavailable) return E_FAIL;
    // The click runs from the button's own message loop, as a mouse click
    // does: the tool's call returns at once even when the click opens a
    // modal window.
    return ::PostMessageW(hwnd_, kMsgDefaultAction, 0, 0) ? S_OK : E_FAIL;
  }
  HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* out) override {
    if (out) *out = nullptr;
    return live(child) ? S_FALSE : RPC_E_DISCONNECTED;
  }
  HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* n) override {
    if (!n) return E_POINTER;
    *n = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accChild(VARIANT, IDispatch** out) override {
    if (out) *out = nullptr;
    return E_INVALIDARG;
  }
  HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* out) override {
    if (!out) return E_POINTER;
    ::VariantInit(out);
    if (::GetFocus() != hwnd_) return S_FALSE;
    out->vt = VT_I4;
    out->lVal = CHILDID_SELF;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* out) override {
    if (out) ::VariantInit(out);
    return S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override {
    if (!live(child)) return E_INVALIDARG;
    if (flags & SELFLAG_TAKEFOCUS) ::SetFocus(hwnd_);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

  // Where it is and what surrounds it: the system's standard object knows.
  HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** out) override {
    if (out) *out = nullptr;
    return standard_ ? standard_->get_accParent(out) : E_FAIL;
  }
  HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT, BSTR* out) override {
    if (out) *out = nullptr;
    return S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT, BSTR* out) override {
    if (out) *out = nullptr;
    return S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT, long* topic) override {
    if (file) *file = nullptr;
    if (topic) *topic = 0;
    return S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE accLocation(long* x, long* y, long* w, long* h, VARIANT child) override {
    if (!x || !y || !w || !h) return E_POINTER;
    if (!live(child)) return E_INVALIDARG;
    RECT r;
    if (!::GetWindowRect(hwnd_, &r)) return E_FAIL;
    *x = r.left;
    *y = r.top;
    *w = r.right - r.left;
    *h = r.bottom - r.top;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE accNavigate(long dir, VARIANT start, VARIANT* out) override {
    if (out) ::VariantInit(out);
    return standard_ ? standard_->accNavigate(dir, start, out) : E_FAIL;
  }
  HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* out) override {
    if (!out) return E_POINTER;
    ::VariantInit(out);
    RECT r;
    if (!::GetWindowRect(hwnd_, &r)) return E_FAIL;
    if (!::PtInRect(&r, POINT{x, y})) return S_FALSE;
    out->vt = VT_I4;
    out->lVal = CHILDID_SELF;
    return S_OK;
  }

 private:
  bool live(const VARIANT& child) const { return IsSelf(child) && KwButtonFromWindow(hwnd_); }
  HRESULT describe(const VARIANT& child, AccessibleInfo& info) const {
    if (!IsSelf(child)) return E_INVALIDARG;
    KwButtonControl* c = KwButtonFromWindow(hwnd_);
    if (!c) return RPC_E_DISCONNECTED;
    info = DescribeForAccessibility(c->button(), ::GetFocus() == hwnd_);
    return S_OK;
  }

  LONG refs_ = 1;
  HWND hwnd_;
  ComPtr<IAccessible> standard_;
};

void Announce(HWND button, DWORD event) { ::NotifyWinEvent(event, button, OBJID_CLIENT, CHILDID_SELF); }

}  // namespace

LRESULT AnswerGetObject(HWND button, WPARAM wParam, LPARAM lParam) {
  if (static_cast<DWORD>(lParam) != static_cast<DWORD>(OBJID_CLIENT)) return 0;
  ComPtr<IAccessible> standard;
  ::CreateStdAccessibleObject(button, OBJID_CLIENT, kIidAccessible, reinterpret_cast<void**>(standard.GetAddressOf()));
  ComPtr<ButtonAccessible> object;
  // Created with one reference, which the owner takes; LresultFromObject holds its own.
  object.Attach(new (std::nothrow) ButtonAccessible(button, std::move(standard)));
  if (!object) return 0;
  const LRESULT result = ::LresultFromObject(kIidAccessible, wParam, object.Get());
  return result > 0 ? result : 0;
}

void AnnounceNameChange(HWND button) { Announce(button, EVENT_OBJECT_NAMECHANGE); }
void AnnounceStateChange(HWND button) { Announce(button, EVENT_OBJECT_STATECHANGE); }
void AnnounceValueChange(HWND button) { Announce(button, EVENT_OBJECT_VALUECHANGE); }
void AnnounceFocus(HWND button) { Announce(button, EVENT_OBJECT_FOCUS); }

}  // namespace orv::buttons::win
