// The legend sheet's geometry: the platform's rounding of a * b / c, and where a caption's
// text, picture and outline land on paper.
#include <gtest/gtest.h>

#include "ui/legend_editor/caption_picture.h"
#include "ui/legend_editor/legend_sheet.h"

namespace {

TEST(LegendSheet, MulDivRoundsAsThePlatform) {
  struct Case {
    int a, b, c, result;
  } cases[] = {
      {10, 20, 3, 67},  {10, 20, 6, 33},  {1, 1, 2, 1},     {-1, 1, 2, -1},  {3, 1, -2, -2},
      {7, 1440, 96, 105}, {5, 3, 0, -1},  {0x40000000, 4, 1, -1}, {0x40000000, 4, 8, 0x20000000},
  };
  for (const Case& c : cases) EXPECT_EQ(MulDivRound(c.a, c.b, c.c), c.result) << c.a << "*" << c.b << "/" << c.c;
}

TEST(LegendSheet, CaptionAtTheScreensResolution) {
  // A 96-dpi keypad picture on a 96-dpi screen: a pixel is a point.
  const CaptionOnSheet on = PlaceCaptionOnSheet({22, 69, 56, 14}, 56, 14, {4, 2, 10, 8}, 10, 8, {96, 96, 96, 96});
  EXPECT_EQ(on.text, (TwipsRect{440, 1380, 440 + 1120, 1380 + 280}));
  EXPECT_EQ(on.clip, (PointRect{22, 69, 56, 14}));
  EXPECT_EQ(on.outline, on.clip);
  EXPECT_EQ(on.picture, (PointRect{26, 71, 10, 8}));
}

TEST(LegendSheet, PictureKeepsItsPlaceInTheBoxAtAnotherResolution) {
  // A 72-dpi picture against a 96-dpi screen: everything three quarters, the picture too.
  const CaptionOnSheet on = PlaceCaptionOnSheet({40, 80, 60, 20}, 58, 18, {20, 4, 16, 12}, 16, 12, {72, 72, 96, 96});
  EXPECT_EQ(on.text.left, 600);
  EXPECT_EQ(on.text.right - on.text.left, MulDivRound(58, 20 * 72, 96));
  EXPECT_EQ(on.text.top, 1200);
  EXPECT_EQ(on.clip, (PointRect{30, 60, 45, 15}));
  EXPECT_EQ(on.picture, (PointRect{45, 63, 12, 9}));
  // Resolutions that are not positive count as 96.
  EXPECT_EQ(PlaceCaptionOnSheet({1, 1, 1, 1}, 1, 1, {}, 0, 0, {0, -3, 0, 0}).clip, (PointRect{1, 1, 1, 1}));
}

TEST(LegendSheet, PageInTwips) {
  EXPECT_EQ(PageInTwips(2550, 3300, 300, 300), (TwipsRect{0, 0, 12240, 15840}));
  EXPECT_EQ(PageInTwips(100, 100, 0, 96).right, -1);
}

TEST(CaptionPicture, HitTest) {
  const ImageRect p{10, 20, 5, 4};
  EXPECT_TRUE(PictureContains(p, 10, 20));
  EXPECT_TRUE(PictureContains(p, 14, 23));
  EXPECT_FALSE(PictureContains(p, 15, 20));
  EXPECT_FALSE(PictureContains(p, 10, 24));
  EXPECT_FALSE(PictureContains(p, 9, 21));
  EXPECT_FALSE(PictureContains({}, 0, 0));
}

TEST(CaptionPicture, DragMayHangOutButNeverWhollyOut) {
  const ImageRect p{10, 10, 20, 10};
  EXPECT_EQ(DragPicture(p, 5, -3, 56, 30), (ImageRect{15, 7, 20, 10}));
  EXPECT_EQ(DragPicture(p, -29, 0, 56, 30), (ImageRect{-19, 10, 20, 10}));  // one column still in
  EXPECT_EQ(DragPicture(p, -30, 0, 56, 30), p);                             // none: refused
  EXPECT_EQ(DragPicture(p, 46, 0, 56, 30), p);                              // its left edge on the right edge
  EXPECT_EQ(DragPicture(p, 45, 19, 56, 30), (ImageRect{55, 29, 20, 10}));
  EXPECT_EQ(DragPicture(p, 0, 20, 56, 30), p);
}

}  // namespace
