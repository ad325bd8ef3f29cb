#pragma once
#include <string>
#include <vector>

#include "platform/widgets.h"

namespace orv::test {

class FakeText : public TextWidget {
 public:
  explicit FakeText(std::string initial = {}) : text_(std::move(initial)) {}
  std::string text() const override { return text_; }
  void setText(const std::string& t) override { text_ = t; ++writes; }
  int writes = 0;  // how often the program wrote it (repaint cost)
 private:
  std::string text_;
};

class FakeLabel : public ColoredLabel {
 public:
  explicit FakeLabel(std::string initial = {}) : text_(std::move(initial)) {}
  std::string text() const override { return text_; }
  void setText(const std::string& t) override { text_ = t; ++writes; }
  void setTextColor(OleColor c) override { color_ = c; }
  OleColor textColor() const override { return color_; }
  int writes = 0;
 private:
  std::string text_;
  OleColor color_ = 0x80000012;
};

class FakeCheck : public CheckWidget {
 public:
  int value() const override { return value_; }
  void setValue(int v) override { value_ = v; }
 private:
  int value_ = 0;
};

class FakeBar : public BarWidget {
 public:
  FakeBar(int min = 0, int max = 0, int value = 0) : min_(min), max_(max), value_(value) {}
  int value() const override { return value_; }
  void setValue(int v) override { value_ = v; }
  int minimum() const override { return min_; }
  int maximum() const override { return max_; }
  void setRange(int mn, int mx) override { min_ = mn; max_ = mx; }
 private:
  int min_, max_, value_;
};

}  // namespace orv::test
