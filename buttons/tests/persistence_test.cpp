#include <gtest/gtest.h>

#include <algorithm>

#include "buttons/instances.h"
#include "buttons/property_bag.h"
#include "buttons/tests/fake_button_host.h"

namespace orv::buttons::test {
namespace {

constexpr WindowRef kForm = 0x10;

// Every stored property of a button, for comparing two of them.
struct Snapshot {
  std::string caption;
  std::int32_t capAlign, style, shape, mode, imgAlign, gradient, locks, capStyle;
  bool value, focus, enabled;
  std::int16_t imgSizePx, pointer;
  Picture image, icon;
  FontDesc font;
  OleColor fore, back, gradientColor, hoverFore, hoverBack;
  std::string accessKeys;
  bool operator==(const Snapshot&) const = default;
};

Snapshot Snap(KwButton& b) {
  FakeButtonHost& h = static_cast<FakeButtonHost&>(b.host());
  return {b.Caption(),      b.CaptionAlign(),   b.ButtonStyle(), b.ButtonShape(),    b.Mode(),
          b.PictureAlign(), b.GradientMode(),   b.HoverColorLocks(), b.CaptionStyle(), b.Value(),
          b.ShowFocusRect(), b.Enabled(),       b.PictureSizePixels(), b.MousePointer(), b.Picture(),
          b.MouseIcon(),    b.Font(),           b.ForeColor(),   b.BackColor(),      b.GradientColor(),
          b.HoverForeColor(), b.HoverBackColor(), h.accessKeys()};
}

std::string Save(const KwButton& b) {
  MemoryPropertyBag bag;
  b.WriteProperties(bag);
  return bag.toText();
}

void PrintTo(const Snapshot& s, std::ostream* os) {
  *os << s.caption << " align=" << s.capAlign << " style=" << s.style << " shape=" << s.shape << " mode=" << s.mode
      << " value=" << s.value << " imgAlign=" << s.imgAlign << " imgSize=" << s.imgSizePx << " image=" << s.image.source
      << " gradient=" << s.gradient << " locks=" << s.locks << std::hex << " back=" << s.back << " grad="
      << s.gradientColor << " fore=" << s.fore << " hFore=" << s.hoverFore << " hBack=" << s.hoverBack << std::dec
      << " font=" << FontToText(s.font) << " keys=" << s.accessKeys << " pointer=" << s.pointer
      << " icon=" << s.icon.source << " focus=" << s.focus << " enabled=" << s.enabled << " capStyle=" << s.capStyle;
}

TEST(PropertyBagTest, TextRoundTripAndCaseInsensitiveKeys) {
  MemoryPropertyBag bag;
  WriteString(bag, "Caption", "a\\b\nc\r=d", std::string());
  WriteColor(bag, "cBack", 0x8000000F, std::nullopt);
  WriteLong(bag, "Shape", 0, 0);  // equal to its default: omitted
  WriteBool(bag, "Value", false, std::nullopt);
  WriteFont(bag, "Font", FontDesc{"Times New Roman", 11.25, true, false, true, false});
  EXPECT_EQ(bag.toText(),
            "caption=a\\\\b\\nc\\r=d\ncback=0x8000000F\nvalue=0\nfont=Times New Roman;11.25;bu\n");
  auto back = MemoryPropertyBag::fromText("# note\r\nCAPTION=a\\\\b\\nc\\r=d\r\ncBACK=0x8000000F\r\n\r\nnoequals\n"
                                          "value=0\nfont=Times New Roman;11.25;bu");
  EXPECT_EQ(ReadString(back, "caption", ""), "a\\b\nc\r=d");
  EXPECT_EQ(ReadColor(back, "CBack", 0), 0x8000000Fu);
  EXPECT_FALSE(ReadBool(back, "Value", true));
  EXPECT_EQ(ReadFont(back, "font", {}), (FontDesc{"Times New Roman", 11.25, true, false, true, false}));
  EXPECT_EQ(ReadLong(back, "Shape", 4), 4);
}

TEST(PropertyBagTest, UnreadableValuesGiveTheDefault) {
  auto bag = MemoryPropertyBag::fromText("mode=two\nvalue=maybe\nfont=;;\nimgsize=99999\ncapalign=-3\n"
                                         "cfore=0xFF\nlockhover=0xFFFFFFFF\n");
  EXPECT_EQ(ReadLong(bag, "Mode", 7), 7);
  EXPECT_TRUE(ReadBool(bag, "Value", true));
  EXPECT_EQ(ReadFont(bag, "Font", {}), FontDesc{});
  EXPECT_EQ(ReadInteger(bag, "ImgSize", 16), 16);
  EXPECT_EQ(ReadLong(bag, "CapAlign", 2), -3);  // loading takes out-of-range values as they are
  EXPECT_EQ(ReadColor(bag, "cFore", 0), 0xFFu);
  EXPECT_EQ(ReadLong(bag, "LockHover", 0), -1);
}

struct PersistTest : ::testing::Test {
  FakeDesktop desk;
  Rig a{desk, 0x101, kForm, /*userMode=*/false};
  Rig b{desk, 0x102, kForm, false};
};

TEST_F(PersistTest, NewButtonWritesItsKeysInOrder) {
  a.button.InitProperties();
  EXPECT_EQ(Save(a.button), "caption=kwButtons_H1\nfont=MS Sans Serif;8.25;\ncgradient=0x00000000\nmode=0\n"
                            "value=0\nimgsize=0\ncback=0x8000000F\n");
}

TEST_F(PersistTest, EveryPropertySurvivesSaveAndLoad) {
  KwButton& x = a.button;
  x.InitProperties();
  x.setCaption("&Left||two");
  x.setCaptionStyle(CaptionEngraved);
  x.setButtonShape(ShapeRightSlant);
  x.setFont(FontDesc{"Arial", 10.5, false, true, false, true});
  x.setForeColor(Rgb(1, 2, 3));
  x.setBackColor(Rgb(200, 100, 50));
  x.setGradientColor(Rgb(9, 8, 7));
  x.setGradientMode(GradientBottomToTop);
  x.setHoverForeColor(Rgb(4, 4, 4));
  x.setHoverBackColor(Rgb(5, 5, 5));
  x.setShowFocusRect(false);
  x.setPicture(Picture{"res:kw_ajuda"});
  x.setPictureSize(PictureFit);
  x.setPictureAlign(PictureRightOfCaption);
  x.setCaptionAlign(CaptionLeft);
  x.setMode(ModeCheckBox);
  x.setValue(true);
  x.setEnabled(false);
  x.setMouseIcon(Picture{"res:hand.cur"});
  x.setMousePointer(11);
  const std::string text = Save(x);

  b.button.ReadProperties(MemoryPropertyBag::fromText(text));
  EXPECT_EQ(Snap(b.button), Snap(x));
  EXPECT_EQ(Save(b.button), text);
  EXPECT_NE(text.find("capalign=0\n"), std::string::npos);  // a left caption is written
  EXPECT_EQ(b.host.tag(), std::to_string(kForm));
}

TEST_F(PersistTest, LoadingReadsDefaultsForMissingKeys) {
  a.host.parentBack = Rgb(7, 7, 7);
  a.host.setFont(FontDesc{"Tahoma", 9, false, false, false, false});
  a.button.ReadProperties(MemoryPropertyBag::fromText("caption=&Ok\n"));
  KwButton& x = a.button;
  EXPECT_EQ(x.Caption(), "&Ok");
  EXPECT_EQ(a.host.accessKeys(), "O");
  EXPECT_EQ(x.CaptionAlign(), CaptionCenter);
  EXPECT_EQ(x.ButtonStyle(), 2);
  EXPECT_EQ(x.Font().name, "Tahoma");  // the host's current font
  EXPECT_EQ(x.BackColor(), Rgb(7, 7, 7));
  EXPECT_EQ(x.HoverBackColor(), Rgb(7, 7, 7));
  EXPECT_EQ(x.GradientColor(), 0x8000000Fu);
  EXPECT_EQ(x.PictureSizePixels(), 16);
  EXPECT_TRUE(x.ShowFocusRect());
  EXPECT_FALSE(x.bDelayDrawing());
  EXPECT_EQ(a.renderer.calls.back(), "Paint");  // loading ends in the resize handling
}

TEST_F(PersistTest, StoredPointerWinsOverTheIcon) {
  a.button.ReadProperties(MemoryPropertyBag::fromText("micon=res:hand.cur\nmpointer=2\n"));
  EXPECT_EQ(a.button.MousePointer(), 2);
  EXPECT_EQ(a.button.MouseIcon(), Picture{"res:hand.cur"});
}

TEST_F(PersistTest, BackStyleRule) {
  a.button.ReadProperties(MemoryPropertyBag::fromText("backstyle=5\ncback=0x00112233\ncgradient=0\ncfore=0x000000FF\n"));
  EXPECT_EQ(a.button.ButtonStyle(), 2);
  // At design time the old style also resets the colours.
  EXPECT_EQ(a.button.BackColor(), 0x8000000Fu);
  EXPECT_EQ(a.button.GradientColor(), 0x8000000Fu);
  EXPECT_EQ(a.button.ForeColor(), 0x80000012u);
  EXPECT_NE(std::find(a.host.changedKeys.begin(), a.host.changedKeys.end(), "BackStyle"), a.host.changedKeys.end());

  b.host.userMode = true;  // at run time the colours stay
  b.button.ReadProperties(MemoryPropertyBag::fromText("backstyle=0\ncback=0x00112233\n"));
  EXPECT_EQ(b.button.ButtonStyle(), 2);
  EXPECT_EQ(b.button.BackColor(), 0x00112233u);

  Rig c{desk, 0x103, kForm};
  c.button.ReadProperties(MemoryPropertyBag::fromText("backstyle=9\n"));  // not a style code: kept
  EXPECT_EQ(c.button.ButtonStyle(), 9);
}

TEST_F(PersistTest, LoadedOptionButtonsJoinTheirGroup) {
  a.button.ReadProperties(MemoryPropertyBag::fromText("mode=2\nvalue=-1\n"));
  b.button.ReadProperties(MemoryPropertyBag::fromText("mode=2\nvalue=-1\n"));
  EXPECT_EQ(desk.prop(kForm, "kw_OptCount"), 2);
  EXPECT_FALSE(a.button.Value());  // the later selected one wins
  EXPECT_TRUE(b.button.Value());
}

// How each of the program's buttons was set up in design mode.
struct InstanceSetup {
  std::string_view window, name, caption;
  double fontSize;
  std::int32_t pictureSize;  // -1: left at its default
  std::int32_t pictureAlign;
  OleColor back;
  std::string_view icon;
};

constexpr InstanceSetup kSetups[] = {
    {"Form1", "kwButtons_H4", "Gravar", 9.75, -1, PictureLeftEdge, 0x8000000F, "res:kw_gravar"},
    {"Form1", "kwButtons_H5", "Ler", 9.75, -1, PictureLeftEdge, 0x8000000F, "res:kw_ler"},
    {"Form1", "kwButtons_H3", "Ajuda", 11.25, Picture24, PictureLeftEdge, 0x8000000F, "res:kw_ajuda"},
    {"Form1", "kwButtons_H2", "Sobre", 11.25, Picture24, PictureLeftEdge, Rgb(255, 255, 128), "res:kw_sobre"},
    {"Form1", "kwButtons_H1", "Sair", 12, Picture24, PictureLeftEdge, Rgb(255, 128, 128), "res:kw_sair"},
    {"Ajuda", "kwButtons_H1", "Retornar", 12, Picture32, PictureTopCenter, 0x8000000F, "res:kw_retornar"},
    {"sobre", "kwButtons_H2", "Visitar servidor KORVO", 11.25, Picture32, PictureTopCenter, Rgb(192, 192, 255),
     "res:kw_korvo"},
    {"sobre", "kwButtons_H1", "Retornar", 12, Picture32, PictureTopCenter, Rgb(255, 128, 128), "res:kw_retornar"},
};

void Configure(KwButton& b, FakeButtonHost& host, const InstanceSetup& s) {
  host.displayName = std::string(s.name);
  b.InitProperties();
  // The information windows' buttons had their colours reset (gradient colour
  // at its default); the main window's kept the new button's gradient colour 0.
  if (s.window != "Form1") b.setResetDefaultColors(true);
  b.setCaption(std::string(s.caption));
  b.setFont(FontDesc{"Times New Roman", s.fontSize, true, false, false, false});
  b.setPicture(Picture{std::string(s.icon)});
  if (s.pictureSize >= 0) b.setPictureSize(s.pictureSize);
  b.setPictureAlign(s.pictureAlign);
  if (s.back != 0x8000000F) b.setBackColor(s.back);
}

TEST(InstancesTest, StoredSettingsAreWhatSavingTheSetUpButtonsWrites) {
  ASSERT_EQ(ButtonInstances().size(), std::size(kSetups));
  for (const auto& s : kSetups) {
    SCOPED_TRACE(std::string(s.window) + "." + std::string(s.name));
    const ButtonInstance* inst = FindButtonInstance(s.window, s.name);
    ASSERT_NE(inst, nullptr);
    FakeDesktop desk;
    Rig made{desk, 1, kForm, /*userMode=*/false};
    Configure(made.button, made.host, s);
    EXPECT_EQ(Save(made.button), inst->settings);

    Rig loaded{desk, 2, kForm, /*userMode=*/true};
    loaded.button.ReadProperties(MemoryPropertyBag::fromText(inst->settings));
    EXPECT_EQ(Snap(loaded.button), Snap(made.button));
    EXPECT_EQ(Save(loaded.button), inst->settings);
    EXPECT_EQ(loaded.button.Caption(), s.caption);
    EXPECT_EQ(loaded.button.Mode(), ModeCommandButton);
    EXPECT_EQ(loaded.button.CaptionAlign(), CaptionCenter);
  }
  EXPECT_EQ(FindButtonInstance("Form1", "kwButtons_H9"), nullptr);
}

}  // namespace
}  // namespace orv::buttons::test
