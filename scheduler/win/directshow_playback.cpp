#include "scheduler/win/directshow_playback.h"

#include <windows.h>
#include <dshow.h>
#include <oleauto.h>

#include <string>

#include "platform/win/scoped.h"
#include "platform/win/text.h"

namespace orv::win {

namespace {

class Bstr {
 public:
  explicit Bstr(const std::wstring& s) : b_(::SysAllocStringLen(s.data(), static_cast<UINT>(s.size()))) {}
  ~Bstr() { ::SysFreeString(b_); }
  Bstr(const Bstr&) = delete;
  Bstr& operator=(const Bstr&) = delete;
  BSTR get() const { return b_; }
 private:
  BSTR b_;
};

template <class T>
HRESULT Query(IUnknown* from, REFIID iid, ComPtr<T>& to) {
  return from->QueryInterface(iid, reinterpret_cast<void**>(to.ReleaseAndGetAddressOf()));
}

class DirectShowGraph final : public PlaybackGraph {
 public:
  DirectShowGraph(ComPtr<IMediaControl> control, ComPtr<IBasicAudio> audio, ComPtr<IMediaPosition> position)
      : control_(std::move(control)), audio_(std::move(audio)), position_(std::move(position)) {}

  ~DirectShowGraph() override {
    // Stop before the last reference goes so the sound ends here, not
    // whenever the graph's own threads wind down.
    control_->Stop();
    control_.Reset();
    audio_.Reset();
    position_.Reset();
  }

  bool renderFile(const std::string& path) override {
    // A NUL inside the name would silently open a shorter path.
    if (path.empty() || path.find('\0') != std::string::npos) return false;
    Bstr name(Widen(path));
    if (!name.get()) return false;
    // Must be checked here: Run succeeds on a graph that rendered nothing.
    const HRESULT hr = control_->RenderFile(name.get());
    return SUCCEEDED(hr) && hr != VFW_S_AUDIO_NOT_RENDERED;
  }

  // S_FALSE is the usual answer: the graph finishes starting on its own threads.
  bool run() override { return SUCCEEDED(control_->Run()); }

  std::optional<double> duration() override {
    REFTIME t = 0;
    if (FAILED(position_->get_Duration(&t))) return std::nullopt;
    return t;
  }

  std::optional<double> currentPosition() override {
    REFTIME t = 0;
    if (FAILED(position_->get_CurrentPosition(&t))) return std::nullopt;
    return t;
  }

  bool setCurrentPosition(double seconds) override { return SUCCEEDED(position_->put_CurrentPosition(seconds)); }

  bool setVolume(long hundredthsOfDb) override { return SUCCEEDED(audio_->put_Volume(hundredthsOfDb)); }

 private:
  ComPtr<IMediaControl> control_;
  ComPtr<IBasicAudio> audio_;
  ComPtr<IMediaPosition> position_;
};

}  // namespace

std::unique_ptr<PlaybackGraph> DirectShowPlayback::create() {
  ComPtr<IMediaControl> control;
  if (FAILED(::CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IMediaControl,
                                reinterpret_cast<void**>(control.GetAddressOf()))))
    return nullptr;
  ComPtr<IBasicAudio> audio;
  ComPtr<IMediaPosition> position;
  if (FAILED(Query(control.Get(), IID_IBasicAudio, audio)) || FAILED(Query(control.Get(), IID_IMediaPosition, position)))
    return nullptr;
  return std::make_unique<DirectShowGraph>(std::move(control), std::move(audio), std::move(position));
}

}  // namespace orv::win
