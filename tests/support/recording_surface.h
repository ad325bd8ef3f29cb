#pragma once
// A DrawSurface that records every call, with a fixed-pitch font for text
// measurement (charWidth per character, lineHeight per line, greedy word
// wrapping, "&" access-key prefixes taking no room).
#include <algorithm>
#include <string>
#include <vector>

#include "buttons/color.h"
#include "buttons/draw_surface.h"

namespace orv::test {

struct SurfaceOp {
  enum Kind { Fill, Pen, Line, Pixel, Ellipse, ClipOff, ClipOn, TextColor, Text, Picture };
  Kind kind = Fill;
  buttons::Rect rect;
  buttons::Point a, b;
  buttons::Rgb32 color = 0;
  std::int32_t outline = -1;
  int width = 1;
  std::string text;
  unsigned format = 0;
  buttons::PictureDraw picture;
  buttons::Rgb32 pen = 0;        // pen in force for Line and Ellipse
  buttons::Rgb32 textColor = 0;  // colour in force for Text
  bool clipped = false;          // clip selected when the op ran
};

class RecordingSurface : public buttons::DrawSurface {
 public:
  std::vector<SurfaceOp> ops;
  int charWidth = 7;
  int lineHeight = 16;
  bool failPictures = false;
  bool hasClip = false;  // set by the test for ellipse shapes
  int measures = 0;
  std::string lastMeasured;
  buttons::Rect lastMeasureBounds;
  unsigned lastMeasureFormat = 0;

  buttons::Rgb32 SystemColor(int index) const override { return buttons::ClassicSystemColor(index); }

  void FillBox(const buttons::Rect& box, buttons::Rgb32 fill, std::int32_t outline, int outlineWidth) override {
    SurfaceOp op = Make(SurfaceOp::Fill);
    op.rect = box;
    op.color = fill;
    op.outline = outline;
    op.width = outlineWidth;
    ops.push_back(op);
    pen_ = outline == -1 ? fill : static_cast<buttons::Rgb32>(outline);
    penWidth_ = outline == -1 ? 1 : outlineWidth;
  }
  void SelectPen(buttons::Rgb32 color, int width) override {
    pen_ = color;
    penWidth_ = width;
    SurfaceOp op = Make(SurfaceOp::Pen);
    op.color = color;
    op.width = width;
    ops.push_back(op);
  }
  void Line(buttons::Point from, buttons::Point to) override {
    SurfaceOp op = Make(SurfaceOp::Line);
    op.a = from;
    op.b = to;
    ops.push_back(op);
  }
  void SetPixel(buttons::Point at, buttons::Rgb32 color) override {
    SurfaceOp op = Make(SurfaceOp::Pixel);
    op.a = at;
    op.color = color;
    ops.push_back(op);
  }
  void EllipseOutline(const buttons::Rect& box) override {
    SurfaceOp op = Make(SurfaceOp::Ellipse);
    op.rect = box;
    ops.push_back(op);
  }
  void RemoveClip() override {
    clipOn_ = false;
    ops.push_back(Make(SurfaceOp::ClipOff));
  }
  void RestoreClip() override {
    clipOn_ = true;
    ops.push_back(Make(SurfaceOp::ClipOn));
  }
  void SetTextColor(buttons::Rgb32 color) override {
    textColor_ = color;
    SurfaceOp op = Make(SurfaceOp::TextColor);
    op.color = color;
    ops.push_back(op);
  }
  void DrawText(const std::string& utf8, const buttons::Rect& rect, unsigned format) override {
    SurfaceOp op = Make(SurfaceOp::Text);
    op.text = utf8;
    op.rect = rect;
    op.format = format;
    ops.push_back(op);
  }
  bool DrawPicture(const buttons::PictureDraw& draw) override {
    SurfaceOp op = Make(SurfaceOp::Picture);
    op.picture = draw;
    ops.push_back(op);
    return !failPictures;
  }

  buttons::Rect MeasureText(const std::string& text, const buttons::Rect& bounds, unsigned format) override {
    ++measures;
    lastMeasured = text;
    lastMeasureBounds = bounds;
    lastMeasureFormat = format;
    int maxWidth = bounds.right - bounds.left;
    int widest = 0;
    int lines = 0;
    std::size_t start = 0;
    while (true) {
      std::size_t end = text.find("\r\n", start);
      std::string para = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
      WrapParagraph(para, maxWidth, widest, lines);
      if (end == std::string::npos) break;
      start = end + 2;
    }
    return {bounds.left, bounds.top, bounds.left + widest, bounds.top + lines * lineHeight};
  }

  std::vector<SurfaceOp> Of(SurfaceOp::Kind kind) const {
    std::vector<SurfaceOp> out;
    std::copy_if(ops.begin(), ops.end(), std::back_inserter(out), [kind](const SurfaceOp& o) { return o.kind == kind; });
    return out;
  }
  int Count(SurfaceOp::Kind kind) const { return static_cast<int>(Of(kind).size()); }
  void Clear() { ops.clear(); }

  static int VisibleLength(const std::string& s) {
    int n = 0;
    for (std::size_t i = 0; i < s.size(); ++i) {
      if (s[i] == '&') {
        if (i + 1 < s.size() && s[i + 1] == '&') ++i; else continue;
      }
      if ((static_cast<unsigned char>(s[i]) & 0xC0) != 0x80) ++n;  // one per UTF-8 character
    }
    return n;
  }

 private:
  SurfaceOp Make(SurfaceOp::Kind kind) const {
    SurfaceOp op;
    op.kind = kind;
    op.pen = pen_;
    op.width = penWidth_;
    op.textColor = textColor_;
    op.clipped = hasClip && clipOn_;
    return op;
  }

  void WrapParagraph(const std::string& para, int maxWidth, int& widest, int& lines) const {
    std::vector<std::string> words;
    std::size_t i = 0;
    while (i <= para.size()) {
      std::size_t sp = para.find(' ', i);
      words.push_back(para.substr(i, sp == std::string::npos ? std::string::npos : sp - i));
      if (sp == std::string::npos) break;
      i = sp + 1;
    }
    std::string line;
    bool open = false;
    for (const auto& w : words) {
      std::string candidate = open ? line + " " + w : w;
      if (open && VisibleLength(candidate) * charWidth > maxWidth) {
        widest = std::max(widest, VisibleLength(line) * charWidth);
        ++lines;
        line = w;
      } else {
        line = candidate;
      }
      open = true;
    }
    widest = std::max(widest, VisibleLength(line) * charWidth);
    ++lines;
  }

  buttons::Rgb32 pen_ = 0;
  int penWidth_ = 1;
  buttons::Rgb32 textColor_ = 0;
  bool clipOn_ = true;
};

}  // namespace orv::test
