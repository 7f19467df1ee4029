// Owner-drawn items and windows that draw themselves, checked by their pixels.
#include "platform/wingui/owner_draw.h"

#include <gtest/gtest.h>

#include "platform/wingui/gdi.h"
#include "platform/wingui/window.h"
#include "tests/support/win_test.h"

using namespace wingui;

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kGreen = RGB(0, 128, 0);

DRAWITEMSTRUCT ItemOn(HDC dc, RECT rect, UINT state) {
  DRAWITEMSTRUCT item{};
  item.CtlType = ODT_BUTTON;
  item.CtlID = 9;
  item.itemAction = ODA_DRAWENTIRE;
  item.itemState = state;
  item.hDC = dc;
  item.rcItem = rect;
  return item;
}

TEST(OwnerDraw, AnItemIsDrawnThroughItsBufferAndOnlyInsideItsRectangle) {
  DibBitmap canvas(40, 30);
  ASSERT_TRUE(canvas);
  FillSolid(canvas.dc(), {0, 0, 40, 30}, kWhite);
  const DRAWITEMSTRUCT raw = ItemOn(canvas.dc(), {10, 5, 30, 25}, ODS_SELECTED | ODS_FOCUS);
  {
    const OwnerDrawItem item(raw);
    EXPECT_TRUE(item.selected());
    EXPECT_TRUE(item.focused());
    EXPECT_FALSE(item.disabled());
    EXPECT_EQ(item.controlId(), 9);
    FillSolid(item.dc(), {0, 0, 40, 30}, kRed);  // more than the item: cut to it
    const Pen pen = MakePen(kBlue);
    const SelectScope select(item.dc(), pen.get());
    MoveToEx(item.dc(), 10, 5, nullptr);  // the control's coordinates
    LineTo(item.dc(), 30, 5);
    EXPECT_EQ(canvas.Pixel(20, 15), kWhite);  // nothing shows before the item is done
  }
  EXPECT_EQ(canvas.Pixel(20, 15), kRed);
  EXPECT_EQ(canvas.Pixel(29, 24), kRed);
  EXPECT_EQ(canvas.Pixel(15, 5), kBlue);
  for (const POINT outside : {POINT{9, 15}, POINT{30, 15}, POINT{20, 4}, POINT{20, 25}})
    EXPECT_EQ(canvas.Pixel(outside.x, outside.y), kWhite) << outside.x << "," << outside.y;
}

TEST(OwnerDraw, TheFaceFollowsTheItemsState) {
  const struct {
    UINT state;
    int colour;
  } cases[] = {{0, COLOR_WINDOW}, {ODS_SELECTED, COLOR_HIGHLIGHT}, {ODS_SELECTED | ODS_DISABLED, COLOR_HIGHLIGHT}};
  for (const auto& c : cases) {
    DibBitmap canvas(20, 20);
    OwnerDrawItem(ItemOn(canvas.dc(), {0, 0, 20, 20}, c.state)).FillFace();
    EXPECT_EQ(canvas.Pixel(10, 10), GetSysColor(c.colour)) << c.state;
  }
}

TEST(OwnerDraw, MeasuringGivesTheTextsSizeWithPadding) {
  MEASUREITEMSTRUCT narrow{}, wide{}, padded{};
  MeasureTextItem(narrow, nullptr, nullptr, "W");
  MeasureTextItem(wide, nullptr, nullptr, "WWWW");
  MeasureTextItem(padded, nullptr, nullptr, "W", 3, 2);
  EXPECT_GT(narrow.itemWidth, 0u);
  EXPECT_GT(narrow.itemHeight, 0u);
  EXPECT_GT(wide.itemWidth, narrow.itemWidth);
  EXPECT_EQ(padded.itemWidth, narrow.itemWidth + 6);
  EXPECT_EQ(padded.itemHeight, narrow.itemHeight + 4);
}

// A window that paints its client green and an owner-drawn button blue with a white label.
class Swatch : public Window {
 public:
  static constexpr int kButton = 12;
  Swatch() { DrawsItself(); }
  int drawnItems = 0;

 protected:
  bool OnCreate() override {
    CreateWindowExA(0, "BUTTON", "Key", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, 20, 20, 60, 30, hwnd(),
                    reinterpret_cast<HMENU>(kButton), nullptr, nullptr);
    return true;
  }
  void Paint(HDC dc, const RECT& area) override {
    const BufferedPaint buffer(dc, area);
    FillSolid(buffer.dc(), area, kGreen);
  }
  bool OnDrawItem(const DRAWITEMSTRUCT& raw) override {
    if (raw.CtlID != kButton) return false;
    ++drawnItems;
    const OwnerDrawItem item(raw);
    FillSolid(item.dc(), item.rect(), kBlue);
    SetTextColor(item.dc(), kWhite);
    item.DrawText("Key", DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    return true;
  }
};

TEST(SelfDrawnWindow, PaintsOnScreenAndIntoItsPicture) {
  ASSERT_TRUE(RegisterWindowClass({"WinguiSwatch"}));
  Swatch swatch;
  Window::CreateArgs args;
  args.className = "WinguiSwatch";
  args.style = WS_POPUP | WS_VISIBLE;
  args.x = 40;
  args.y = 40;
  args.width = 120;
  args.height = 80;
  ASSERT_TRUE(swatch.Create(args));
  UpdateWindow(swatch.hwnd());
  testsupport::PumpMessages(30);
  EXPECT_GT(swatch.drawnItems, 0);

  const testsupport::WindowPicture picture = testsupport::CaptureWindow(swatch.hwnd());
  ASSERT_TRUE(picture);
  EXPECT_EQ(picture.width, 120);
  EXPECT_EQ(picture.At(5, 5), kGreen);
  EXPECT_EQ(picture.At(100, 70), kGreen);
  EXPECT_EQ(picture.At(22, 22), kBlue);
  EXPECT_EQ(picture.At(78, 48), kBlue);
  EXPECT_FALSE(testsupport::SavePicture(swatch.hwnd(), "wingui_self_drawn").empty());
}

int CALLBACK NoteFontFound(const LOGFONTA*, const TEXTMETRICA*, DWORD, LPARAM found) {
  *reinterpret_cast<bool*>(found) = true;
  return 0;
}

// The caption buttons, scroll arrows and menu checks are glyphs of the system's symbol font:
// without it every window's caption shows the letters "0 1 r".
TEST(SystemFonts, TheSymbolFontOfTheWindowFramesIsThere) {
  const HDC screen = GetDC(nullptr);
  LOGFONTA wanted{};
  wanted.lfCharSet = DEFAULT_CHARSET;
  lstrcpyA(wanted.lfFaceName, "Marlett");
  bool found = false;
  EnumFontFamiliesExA(screen, &wanted, NoteFontFound, reinterpret_cast<LPARAM>(&found), 0);
  ReleaseDC(nullptr, screen);
  EXPECT_TRUE(found);
}

}  // namespace
