#include "host/win/hresult_text.h"

#include <olectl.h>

#include <cstdio>

#include "platform/win/text.h"

namespace orv::win {
namespace {

std::string Hex(HRESULT hr) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "0x%08lX", static_cast<unsigned long>(hr));
  return buf;
}

// Words for the errors a host call is likely to meet, where the system has
// none (Wine knows few of them).
const char* KnownError(HRESULT hr) {
  switch (hr) {
    case REGDB_E_CLASSNOTREG: return "Class not registered";
    case CO_E_SERVER_EXEC_FAILURE: return "Server execution failed";
    case CO_E_NOTINITIALIZED: return "CoInitialize has not been called";
    case CLASS_E_CLASSNOTAVAILABLE: return "ClassFactory cannot supply requested class";
    case E_UNEXPECTED: return "Catastrophic failure";
    case E_FAIL: return "Unspecified error";
    case E_NOTIMPL: return "Not implemented";
    case E_NOINTERFACE: return "No such interface supported";
    case E_OUTOFMEMORY: return "Not enough memory";
    case E_INVALIDARG: return "The parameter is incorrect";
    case E_ACCESSDENIED: return "Access is denied";
    case RPC_E_DISCONNECTED: return "The object invoked has disconnected from its clients";
    case RPC_E_SERVER_DIED: return "The callee (server) has died";
    case RPC_E_SERVER_DIED_DNE: return "The callee (server) has died and did not execute the call";
    case CO_E_OBJNOTCONNECTED: return "Object is not connected to server";
    case RPC_E_SERVERFAULT: return "The server threw an exception";
    case RPC_E_CALL_REJECTED: return "Call was rejected by callee";
    case RPC_E_SERVERCALL_RETRYLATER: return "The message filter indicated that the application is busy";
    case HRESULT_FROM_WIN32(RPC_S_SERVER_UNAVAILABLE): return "The RPC server is unavailable";
    case HRESULT_FROM_WIN32(RPC_S_CALL_FAILED): return "The remote procedure call failed";
    case DISP_E_UNKNOWNNAME: return "Unknown name";
    case DISP_E_MEMBERNOTFOUND: return "Member not found";
    case DISP_E_TYPEMISMATCH: return "Type mismatch";
    case DISP_E_BADPARAMCOUNT: return "Invalid number of parameters";
    case DISP_E_PARAMNOTFOUND: return "Parameter not found";
    case DISP_E_EXCEPTION: return "Exception occurred";
    case DISP_E_OVERFLOW: return "Out of present range";
    case CONNECT_E_CANNOTCONNECT: return "The sink does not support the event interface";
    case CONNECT_E_NOCONNECTION: return "No such connection";
    default: return nullptr;
  }
}

}  // namespace

std::string DescribeHresult(HRESULT hr) {
  wchar_t* text = nullptr;
  DWORD n = ::FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                             nullptr, static_cast<DWORD>(hr), 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::string words;
  if (n && text) {
    words = Narrow(text, static_cast<int>(n));
    while (!words.empty() && (words.back() == '\n' || words.back() == '\r' || words.back() == ' ' || words.back() == '.'))
      words.pop_back();
  }
  if (text) ::LocalFree(text);
  if (words.empty()) words = KnownError(hr) ? KnownError(hr) : "Unknown error";
  return words + " (" + Hex(hr) + ")";
}

std::string GuidText(const GUID& g) {
  wchar_t buf[40] = {};
  ::StringFromGUID2(g, buf, 40);
  return Narrow(buf);
}

bool IsHostGone(HRESULT hr) {
  switch (hr) {
    case RPC_E_DISCONNECTED:
    case RPC_E_SERVER_DIED:
    case RPC_E_SERVER_DIED_DNE:
    case RPC_E_CONNECTION_TERMINATED:
    case RPC_E_INVALID_OBJECT:
    case CO_E_OBJNOTCONNECTED:
    case CO_E_SERVER_STOPPING:
    case HRESULT_FROM_WIN32(RPC_S_SERVER_UNAVAILABLE):
    case HRESULT_FROM_WIN32(RPC_S_CALL_FAILED):
    case HRESULT_FROM_WIN32(RPC_S_CALL_FAILED_DNE):
    case HRESULT_FROM_WIN32(ERROR_BROKEN_PIPE):
      return true;
    default:
      return false;
  }
}

bool IsCallRejected(HRESULT hr) { return hr == RPC_E_CALL_REJECTED || hr == RPC_E_SERVERCALL_RETRYLATER; }

}  // namespace orv::win
