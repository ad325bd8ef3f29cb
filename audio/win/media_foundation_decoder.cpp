#include "audio/win/media_foundation_decoder.h"

#include <windows.h>
#include <mfapi.h>
#include <mferror.h>
#include <mfidl.h>
#include <mfreadwrite.h>
#include <wrl/client.h>

#include <vector>

#include "platform/win/text.h"

namespace orv::win {

namespace {

using Microsoft::WRL::ComPtr;

// Loaded, not linked: Windows editions without the media features have no
// mfplat.dll, and the program must still start there.
struct MfApi {
  HMODULE plat = nullptr, readwrite = nullptr;
  HRESULT(WINAPI* startup)(ULONG, DWORD) = nullptr;
  HRESULT(WINAPI* shutdown)() = nullptr;
  HRESULT(WINAPI* createMediaType)(IMFMediaType**) = nullptr;
  HRESULT(WINAPI* createReader)(LPCWSTR, IMFAttributes*, IMFSourceReader**) = nullptr;

  bool load() {
    plat = LoadLibraryW(L"mfplat.dll");
    readwrite = LoadLibraryW(L"mfreadwrite.dll");
    if (!plat || !readwrite) return false;
    startup = reinterpret_cast<decltype(startup)>(reinterpret_cast<void*>(GetProcAddress(plat, "MFStartup")));
    shutdown = reinterpret_cast<decltype(shutdown)>(reinterpret_cast<void*>(GetProcAddress(plat, "MFShutdown")));
    createMediaType =
        reinterpret_cast<decltype(createMediaType)>(reinterpret_cast<void*>(GetProcAddress(plat, "MFCreateMediaType")));
    createReader = reinterpret_cast<decltype(createReader)>(
        reinterpret_cast<void*>(GetProcAddress(readwrite, "MFCreateSourceReaderFromURL")));
    return startup && shutdown && createMediaType && createReader;
  }
  void unload() {
    if (readwrite) FreeLibrary(readwrite);
    if (plat) FreeLibrary(plat);
    *this = MfApi{};
  }
};

MfApi& Api() {
  static MfApi api;
  return api;
}

constexpr DWORD kAudio = static_cast<DWORD>(MF_SOURCE_READER_FIRST_AUDIO_STREAM);

// What the file's name says it is, for sources that report only the PCM
// they decode to (Wine's do).
std::string NameByExtension(const std::string& path) {
  std::string ext = path.substr(path.find_last_of('.') == std::string::npos ? path.size() : path.find_last_of('.'));
  for (char& c : ext) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  if (ext == ".mp3") return "MP3";
  if (ext == ".wma" || ext == ".asf") return "WMA";
  if (ext == ".m4a" || ext == ".aac" || ext == ".mp4") return "AAC";
  if (ext == ".flac") return "FLAC";
  if (ext == ".wav") return "WAV";
  if (ext == ".ogg" || ext == ".oga") return "Ogg";
  return "\xc3\xa1udio comprimido";
}

// Media Foundation's audio sub-types carry the WAVE format tag in Data1.
std::string CodecName(const GUID& subtype, const std::string& path) {
  switch (subtype.Data1) {
    case 0x0055: return "MP3";
    case 0x0050: return "MPEG \xc3\xa1udio";
    case 0x0160: case 0x0161: case 0x0162: case 0x0163: return "WMA";
    case 0x1610: case 0x1600: case 0xFF: return "AAC";
    case 0x0002: case 0x0011: return "ADPCM";
    case 0x0006: return "A-law";
    case 0x0007: return "\xc2\xb5-law";
    case 0x0001:
    case 0x0003: return NameByExtension(path);
    case 0x0031: return "GSM 6.10";
    default: return "\xc3\xa1udio comprimido";
  }
}

std::string ChannelsName(UINT32 n) {
  if (n == 1) return "mono";
  if (n == 2) return "est\xc3\xa9reo";
  return std::to_string(n) + " canais";
}

struct Opened {
  AudioError error = AudioError::None;
  ComPtr<IMFSourceReader> reader;
  UINT32 channels = 0, rate = 0;
  std::string format;
  double seconds = 0;
};

Opened Open(const std::string& path) {
  Opened o;
  if (FAILED(Api().createReader(Widen(path).c_str(), nullptr, &o.reader))) {
    o.error = AudioError::NotAudio;
    return o;
  }
  o.reader->SetStreamSelection(static_cast<DWORD>(MF_SOURCE_READER_ALL_STREAMS), FALSE);
  ComPtr<IMFMediaType> native;
  if (FAILED(o.reader->SetStreamSelection(kAudio, TRUE)) || FAILED(o.reader->GetNativeMediaType(kAudio, 0, &native))) {
    o.error = AudioError::NotAudio;
    return o;
  }
  GUID subtype{};
  native->GetGUID(MF_MT_SUBTYPE, &subtype);
  UINT32 nativeChannels = MFGetAttributeUINT32(native.Get(), MF_MT_AUDIO_NUM_CHANNELS, 0);
  UINT32 nativeRate = MFGetAttributeUINT32(native.Get(), MF_MT_AUDIO_SAMPLES_PER_SECOND, 0);

  ComPtr<IMFMediaType> pcm;
  if (FAILED(Api().createMediaType(&pcm))) {
    o.error = AudioError::Unsupported;
    return o;
  }
  pcm->SetGUID(MF_MT_MAJOR_TYPE, MFMediaType_Audio);
  pcm->SetGUID(MF_MT_SUBTYPE, MFAudioFormat_PCM);
  pcm->SetUINT32(MF_MT_AUDIO_BITS_PER_SAMPLE, 16);
  ComPtr<IMFMediaType> current;
  if (FAILED(o.reader->SetCurrentMediaType(kAudio, nullptr, pcm.Get())) ||
      FAILED(o.reader->GetCurrentMediaType(kAudio, &current))) {
    // The file is sound, but no decoder here turns it into PCM.
    o.error = AudioError::Unsupported;
    return o;
  }
  o.channels = MFGetAttributeUINT32(current.Get(), MF_MT_AUDIO_NUM_CHANNELS, 0);
  o.rate = MFGetAttributeUINT32(current.Get(), MF_MT_AUDIO_SAMPLES_PER_SECOND, 0);
  if (MFGetAttributeUINT32(current.Get(), MF_MT_AUDIO_BITS_PER_SAMPLE, 0) != 16 || o.channels == 0 || o.rate == 0) {
    o.error = AudioError::Unsupported;
    return o;
  }
  if (!nativeChannels) nativeChannels = o.channels;
  if (!nativeRate) nativeRate = o.rate;
  o.format = CodecName(subtype, path) + " " + ChannelsName(nativeChannels) + " " + std::to_string(nativeRate) + " Hz";
  PROPVARIANT duration;
  PropVariantInit(&duration);
  if (SUCCEEDED(o.reader->GetPresentationAttribute(static_cast<DWORD>(MF_SOURCE_READER_MEDIASOURCE), MF_PD_DURATION,
                                                   &duration)) &&
      duration.vt == VT_UI8)
    o.seconds = static_cast<double>(duration.uhVal.QuadPart) / 1e7;
  PropVariantClear(&duration);
  return o;
}

}  // namespace

MediaFoundationDecoder::MediaFoundationDecoder() = default;

bool MediaFoundationDecoder::start() {
  // On first need only: most stations never name a compressed file, and
  // start-up should not pay for loading the codecs.
  // Asked from the window's thread and the worker alike. A lock and a flag
  // rather than std::call_once, whose thread-local state the clang build
  // cannot link against GCC's runtime.
  std::lock_guard<std::mutex> hold(startLock_);
  if (tried_) return started_;
  tried_ = true;
  if (!Api().load()) {
    Api().unload();
    return false;
  }
  started_ = SUCCEEDED(Api().startup(MF_VERSION, MFSTARTUP_LITE));
  if (!started_) Api().unload();
  return started_;
}

MediaFoundationDecoder::~MediaFoundationDecoder() {
  if (!started_) return;
  Api().shutdown();
  Api().unload();
}

SystemProbe MediaFoundationDecoder::probe(const std::string& path) {
  SystemProbe p;
  if (!start()) {
    p.error = AudioError::NotAudio;
    return p;
  }
  const Opened o = Open(path);
  p.error = o.error;
  p.format = o.format;
  p.seconds = o.seconds;
  return p;
}

AudioError MediaFoundationDecoder::decode(const std::string& path, MonoSink& sink) {
  if (!start()) return AudioError::NotAudio;
  Opened o = Open(path);
  if (o.error != AudioError::None) return o.error;
  if (!sink.start(o.rate)) return AudioError::None;
  const float scale = 1.0f / (32768.0f * static_cast<float>(o.channels));
  std::vector<float> mono;
  for (;;) {
    DWORD flags = 0;
    ComPtr<IMFSample> sample;
    if (FAILED(o.reader->ReadSample(kAudio, 0, nullptr, &flags, nullptr, &sample))) return AudioError::Corrupt;
    if (flags & (MF_SOURCE_READERF_ENDOFSTREAM | MF_SOURCE_READERF_ERROR)) break;
    if (!sample) continue;
    ComPtr<IMFMediaBuffer> buffer;
    if (FAILED(sample->ConvertToContiguousBuffer(&buffer))) continue;
    BYTE* bytes = nullptr;
    DWORD length = 0;
    if (FAILED(buffer->Lock(&bytes, nullptr, &length))) continue;
    const std::size_t frames = length / (2 * o.channels);
    mono.resize(frames);
    const auto* s = reinterpret_cast<const std::int16_t*>(bytes);
    for (std::size_t i = 0; i < frames; ++i) {
      int sum = 0;
      for (UINT32 c = 0; c < o.channels; ++c) sum += *s++;
      mono[i] = static_cast<float>(sum) * scale;
    }
    buffer->Unlock();
    if (!sink.take(mono.data(), frames)) break;
  }
  return AudioError::None;
}

}  // namespace orv::win
