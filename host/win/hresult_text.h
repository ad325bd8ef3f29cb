#pragma once
// What an HRESULT from a host call means to the program: its words, whether
// the host is still there at all, and whether it only asked to be called again.
#include <windows.h>

#include <string>

namespace orv::win {

// "Class not registered (0x80040154)": the system's text for an HRESULT.
std::string DescribeHresult(HRESULT hr);

// "{D1FB3C9A-BB2D-446A-A74A-E771F134ED56}"
std::string GuidText(const GUID& g);

// The call did not reach a host that is there (its process died, it
// disconnected its objects, the call failed on the way): not an answer.
bool IsHostGone(HRESULT hr);

// The host is busy (in a modal dialog, say) and asks to be called again.
bool IsCallRejected(HRESULT hr);

}  // namespace orv::win
