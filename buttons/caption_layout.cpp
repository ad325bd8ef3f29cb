#include "buttons/caption_layout.h"

#include <algorithm>

#include "buttons/shape_region.h"

namespace orv::buttons {

CaptionBand UsableBand(int shape, int W, int L, int R) {
  CaptionBand b;
  switch (shape) {
    case ShapeLeftSlant:
      b.leftLimit = L - L / 3;
      b.rightLimit = W;
      b.width = W - b.leftLimit;
      break;
    case ShapeRightSlant:
      b.rightLimit = R + (W - R) / 3;
      b.width = b.rightLimit;
      break;
    case ShapeParallelogram:
      b.leftLimit = L - L / 3;
      b.rightLimit = R + (W - R) / 3;
      b.width = b.rightLimit - b.leftLimit;
      break;
    default:
      b.width = R;
      b.rightLimit = W;
      break;
  }
  return b;
}

std::string CaptionLines(const std::string& caption) {
  std::string out;
  out.reserve(caption.size());
  for (std::size_t i = 0; i < caption.size(); ++i) {
    if (caption[i] == '|' && i + 1 < caption.size() && caption[i + 1] == '|') {
      out += "\r\n";
      ++i;
    } else {
      out += caption[i];
    }
  }
  return out;
}

unsigned CaptionAlignFormat(int captionAlign) {
  switch (captionAlign) {
    case CaptionRight: return kTextRight;
    case CaptionCenter: return kTextCenter;
    default: return kTextLeft;
  }
}

CaptionLayout LayoutCaption(const FaceInputs& in, TextMeasurer& measurer) {
  CaptionLayout out;
  const CaptionBand band = UsableBand(in.ButtonShape, in.ScaleWidth, in.LeftSlantX, in.RightSlantX);
  out.band = band;
  const int H = in.ScaleHeight;
  const int P = in.squareEdge();
  const bool hasPicture = in.Picture.present();
  const int align = in.PictureAlign;

  int picLeft = 0, picRight = 0, picTop = 0, picBottom = 0;
  if (hasPicture && in.storedPictureSize() < 33) {
    switch (align) {
      case PictureLeftEdge:
      case PictureLeftOfCaption: picLeft = P; break;
      case PictureRightEdge:
      case PictureRightOfCaption: picRight = P; break;
      case PictureTopCenter: picTop = P; break;
      case PictureBottomCenter: picBottom = P; break;
      default: break;
    }
  }

  Rect caption{};
  int textW = 0;
  int textH = -3;
  const bool hasCaption = !in.Caption.empty();
  if (hasCaption) {
    int besideP = picLeft + picRight;
    int aboveP = picTop + picBottom;
    Rect bounds{0, 0, band.width - besideP - 12, H - 12 - aboveP};
    caption = measurer.MeasureText(CaptionLines(in.Caption), bounds, kTextCalcRect | kTextWordBreak);
    if (in.CaptionStyle != CaptionFlat) {
      caption.right += 2;
      caption.bottom += 2;
    }
    textW = caption.right;
    textH = caption.bottom;
  }

  int x;
  switch (in.CaptionAlign) {
    case CaptionLeft:
      x = band.leftLimit + picLeft + 6 + (picLeft > 0 ? 6 : 0);
      break;
    case CaptionRight:
      x = band.rightLimit - picRight - 6 - textW - (picRight > 0 ? 6 : 0);
      break;
    default:
      if (picLeft > 0 && align == PictureLeftOfCaption) {
        x = band.leftLimit + (band.width - (textW + picLeft + 6)) / 2 + 6 + picLeft;
      } else if (picRight > 0 && align == PictureRightOfCaption) {
        x = band.leftLimit + (band.width - (textW + picRight + 6)) / 2;
      } else {
        x = band.leftLimit + picLeft + (band.width - picLeft - picRight - textW) / 2;
      }
      break;
  }
  caption = caption.offset(x, 0);

  Rect picture{};
  if (!hasPicture) {
    caption = caption.offset(0, (H - textH) / 2);
  } else {
    int px = 0, py = 0;
    if (align == PictureTopCenter || align == PictureBottomCenter) {
      int top = (H - (textH + P)) / 2;
      if (align == PictureTopCenter) {
        py = top;
        caption = caption.offset(0, top + P + 2);
      } else {
        caption = caption.offset(0, top + 1);
        py = top + textH + 3;
      }
      px = band.leftLimit + (band.width - P) / 2;
    } else {
      caption = caption.offset(0, (H - textH) / 2);
      py = (H - P) / 2;
      switch (align) {
        case PictureLeftEdge: px = band.leftLimit + 6; break;
        case PictureLeftOfCaption: px = hasCaption ? caption.left - 6 - P : band.leftLimit + 6; break;
        case PictureRightEdge: px = band.rightLimit - 6 - P; break;
        case PictureRightOfCaption: px = hasCaption ? caption.right + 6 : band.rightLimit - 6 - P; break;
        default: px = band.leftLimit + 6; break;  // stored values outside 0..5
      }
    }
    picture = {px, py, px + P, py + P};
  }

  auto clamp = [&](Rect r) {
    r.left = std::max(r.left, 6);
    r.top = std::max(r.top, 6);
    r.right = std::min(r.right, band.rightLimit);
    r.bottom = std::min(r.bottom, H - 6);
    return r;
  };
  out.CaptionRect = clamp(caption);
  out.PictureRect = clamp(picture);
  return out;
}

}  // namespace orv::buttons
