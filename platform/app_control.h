#pragma once
namespace orv {

// Ends the program. After quit() returns the caller must not touch the host
// or the controls again; the platform leaves the message loop at once.
class AppControl {
 public:
  virtual ~AppControl() = default;
  virtual void quit(int exitCode) = 0;
  virtual bool quitting() const = 0;
};

}  // namespace orv
