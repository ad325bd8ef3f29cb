#pragma once
// The Open dialog answered by the test: the path to choose, or a cancel.
#include <optional>
#include <string>
#include <vector>

#include "platform/file_picker.h"

namespace orv::test {

class FakeFilePicker : public FilePicker {
 public:
  std::optional<std::string> pickAudioFile(const std::string& folder) override {
    opened.push_back(folder);
    return answer;
  }
  std::optional<std::string> answer;  // nothing: cancelled
  std::vector<std::string> opened;    // the folder each opening started on
};

}  // namespace orv::test
