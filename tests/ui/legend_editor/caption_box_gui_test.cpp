// One caption box with real rich-edit controls: its text through RTF and back with its format
// and colour, its undo history, and its picture under the mouse.
#include "ui/legend_editor/caption_box.h"

#include <gtest/gtest.h>
#include <windows.h>

#include "tests/ui/legend_editor/legend_test_support.h"

using namespace legendtest;

namespace {

void Dragged(void* counter) { ++*static_cast<int*>(counter); }

LPARAM At(int x, int y) { return MAKELPARAM(x, y); }

class CaptionBoxTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(gdiplus_.Ok());
    ASSERT_TRUE(keypad_.loaded);
    ASSERT_TRUE(IsWindow(host_.hwnd()));
  }
  std::unique_ptr<CaptionRecord> Box(const CaptionBox& rect, int index = 0) {
    auto box = CaptionRecord::Create(host_.hwnd(), index, rect, 96, &Dragged, &drags_);
    EXPECT_NE(box, nullptr);
    return box;
  }

  GdiplusSession gdiplus_;
  Keypad keypad_;
  ParentWindow host_{keypad_.context};
  int drags_ = 0;
};

TEST_F(CaptionBoxTest, ANewBoxIsArialEightWithoutHistory) {
  auto box = Box({10, 10, 80, 30}, 3);
  EXPECT_EQ(GetDlgCtrlID(box->Box()), 0x5003);
  EXPECT_EQ(testsupport::ClassName(box->Box()), std::string("RichEdit20A"));
  box->SetPlainText(L"Copy");
  CHARFORMAT2W f = box->WholeTextFormat();
  EXPECT_EQ(std::wstring(f.szFaceName), L"Arial");
  EXPECT_EQ(f.yHeight, 160);
  EXPECT_FALSE(box->CanUndo());
  box->Edit().Send(WM_CHAR, 'x', 1);
  EXPECT_TRUE(box->CanUndo());
  box->ForgetUndo();
  EXPECT_FALSE(box->CanUndo());
}

TEST_F(CaptionBoxTest, TextTravelsAsRtfWithItsFormatAndColour) {
  auto from = Box({10, 10, 120, 40}, 0);
  from->SetPlainText(L"Paste\rAll");
  wingui::CharFormat bold;
  bold.mask = CFM_BOLD | CFM_COLOR | CFM_FACE | CFM_SIZE;
  bold.effects = CFE_BOLD;
  bold.color = RGB(200, 0, 0);
  bold.face = "Times New Roman";
  bold.heightTwips = 240;
  from->Edit().SetCharFormat(bold, wingui::FormatScope::All);
  from->SetColour(RGB(255, 220, 0));
  const std::string rtf = from->RtfText();
  ASSERT_EQ(rtf.rfind("{\\rtf", 0), 0u) << rtf;

  auto to = Box({10, 60, 120, 40}, 1);
  to->SetRtfText(rtf);
  EXPECT_EQ(to->PlainText(), L"Paste\rAll");
  const CHARFORMAT2W f = to->WholeTextFormat();
  EXPECT_TRUE(f.dwEffects & CFE_BOLD);
  EXPECT_EQ(f.crTextColor, RGB(200, 0, 0));
  EXPECT_EQ(std::wstring(f.szFaceName), L"Times New Roman");
  EXPECT_EQ(f.yHeight, 240);
  // The box's colour came with the text.
  ASSERT_TRUE(to->Colour().has_value());
  EXPECT_EQ(*to->Colour(), RGB(255, 220, 0));
  testsupport::PumpMessages(50);
  const testsupport::WindowPicture picture = testsupport::CaptureWindow(to->Box());
  ASSERT_TRUE(picture);
  EXPECT_EQ(picture.At(picture.width - 3, picture.height - 3), RGB(255, 220, 0));

  // Text without a colour leaves the box without one.
  auto plain = Box({10, 110, 120, 40}, 2);
  plain->SetPlainText(L"No colour");
  to->SetRtfText(plain->RtfText());
  EXPECT_FALSE(to->Colour().has_value());
}

TEST_F(CaptionBoxTest, ThePictureIsDraggedButNeverWhollyOut) {
  auto box = Box({20, 20, 120, 60});
  ASSERT_TRUE(box->TakePicture(Wide(SmallPicture())));
  EXPECT_EQ(box->PictureRect(), (ImageRect{0, 0, 16, 16}));
  const HWND h = box->Box();

  // A click beside the picture is the text's.
  SendMessageA(h, WM_MOUSEMOVE, 0, At(60, 30));
  SendMessageA(h, WM_LBUTTONDOWN, MK_LBUTTON, At(60, 30));
  SendMessageA(h, WM_LBUTTONUP, 0, At(60, 30));
  EXPECT_EQ(drags_, 0);

  SendMessageA(h, WM_MOUSEMOVE, 0, At(5, 5));
  SendMessageA(h, WM_LBUTTONDOWN, MK_LBUTTON, At(5, 5));
  EXPECT_EQ(drags_, 1);
  EXPECT_EQ(GetCapture(), h);
  SendMessageA(h, WM_MOUSEMOVE, MK_LBUTTON, At(35, 15));
  EXPECT_EQ(box->PictureRect(), (ImageRect{30, 10, 16, 16}));
  // Partly out of the box is allowed...
  SendMessageA(h, WM_MOUSEMOVE, MK_LBUTTON, At(-5, 15));
  EXPECT_EQ(box->PictureRect(), (ImageRect{-10, 10, 16, 16}));
  // ...wholly out is not: it stays where it was, and the next move counts from the mouse.
  SendMessageA(h, WM_MOUSEMOVE, MK_LBUTTON, At(-15, 15));
  EXPECT_EQ(box->PictureRect(), (ImageRect{-10, 10, 16, 16}));
  SendMessageA(h, WM_MOUSEMOVE, MK_LBUTTON, At(-5, 200));
  EXPECT_EQ(box->PictureRect(), (ImageRect{-10, 10, 16, 16}));
  SendMessageA(h, WM_MOUSEMOVE, MK_LBUTTON, At(5, 195));
  EXPECT_EQ(box->PictureRect(), (ImageRect{0, 5, 16, 16}));
  SendMessageA(h, WM_LBUTTONUP, 0, At(5, 195));
  EXPECT_EQ(GetCapture(), nullptr);
  SendMessageA(h, WM_MOUSEMOVE, 0, At(50, 40));
  EXPECT_EQ(box->PictureRect(), (ImageRect{0, 5, 16, 16}));

  SendMessageA(h, WM_MOUSEMOVE, 0, At(4, 10));  // hovering: the outline shows
  testsupport::PumpMessages(50);
  EXPECT_FALSE(testsupport::SavePicture(host_.hwnd(), "legend_caption_box_picture").empty());
}

TEST_F(CaptionBoxTest, AMissingPictureLeavesNoneButKeepsItsPath) {
  auto box = Box({20, 20, 120, 60});
  EXPECT_FALSE(box->TakePicture(L"C:\\no such picture.png"));
  EXPECT_FALSE(box->HasPicture());
  // From a caption file: the path stays, so that saving again keeps it.
  box->TakePictureAt(L"C:\\elsewhere\\logo.png", {3, 4, 16, 16});
  EXPECT_FALSE(box->HasPicture());
  EXPECT_EQ(box->PicturePath(), L"C:\\elsewhere\\logo.png");
  EXPECT_EQ(box->PictureRect(), (ImageRect{3, 4, 16, 16}));
  box->DropPicture();
  EXPECT_EQ(box->PicturePath(), L"");
}

}  // namespace
