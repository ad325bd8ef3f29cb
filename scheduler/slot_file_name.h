#pragma once
// What goes into a slot's file-name box for a file the operator chose (in
// the Open dialog or by dropping it): a bare name for a file in the program
// folder, so the slot list stays portable with the folder; the full path for
// any other, which is used as it stands.
#include <string>

namespace orv {

// `caminho` ends in "\". Windows compares names without regard to case.
std::string SlotFileName(const std::string& caminho, const std::string& chosen);

// The name ends in ".wav", in any case.
bool IsWavName(const std::string& name);

}  // namespace orv
