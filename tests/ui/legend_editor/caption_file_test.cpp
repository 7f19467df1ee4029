// The caption file: what a written file holds byte by byte, round trips, and the damaged files
// that are refused whole.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "ui/legend_editor/caption_file.h"

namespace {

std::string Bytes(const std::vector<CaptionContent>& captions) {
  const std::optional<std::string> bytes = EncodeCaptionFile(captions);
  EXPECT_TRUE(bytes.has_value());
  return bytes.value_or("");
}

std::uint32_t U32At(const std::string& b, std::size_t at) {
  std::uint32_t v = 0;
  std::memcpy(&v, b.data() + at, 4);
  return v;
}

TEST(CaptionFile, RecordLayout) {
  const std::string rtf1 = "{\\rtf1 One}";
  const std::string rtf2 = "{\\rtf1 Second}";
  const std::string b = Bytes({{{1.5f, -2, 30, 40}, u"C:\\a.png", rtf1}, {{}, u"", rtf2}});
  ASSERT_EQ(b.size(), 2 * kCaptionRecordHeader + rtf1.size() + rtf2.size());
  float x = 0;
  std::memcpy(&x, b.data(), 4);
  EXPECT_EQ(x, 1.5f);
  // The path as UTF-16 little-endian, ended by a zero unit, the rest of its 520 bytes zero.
  EXPECT_EQ(b.substr(16, 6), std::string("C\0:\0\\\0", 6));
  EXPECT_EQ(b.substr(16 + 16, 2), std::string("\0\0", 2));
  // Each record's offset is where the next one begins, counted from the start of the file.
  EXPECT_EQ(U32At(b, 536), kCaptionRecordHeader + rtf1.size());
  EXPECT_EQ(b.substr(540, rtf1.size()), rtf1);
  const std::size_t second = kCaptionRecordHeader + rtf1.size();
  EXPECT_EQ(b[second + 16], '\0');
  EXPECT_EQ(U32At(b, second + 536), b.size());
}

TEST(CaptionFile, RoundTrips) {
  const std::u16string longPath(400, u'x');
  const std::vector<CaptionContent> captions = {
      {{0, 0, 64, 32}, u"C:\\Pictures\\\u00e9t\u00e9 \u65e5.png", "{\\rtf1\\ansi {\\fonttbl}A\\par B}"},
      {{-10.25f, 3.5f, 1, 1}, u"", "{\\rtf1 }"},
      {{}, u"D:\\nothing.bmp", ""},
      {{}, longPath, "{\\rtf1 long}"},
  };
  const CaptionFileRead read = DecodeCaptionFile(Bytes(captions));
  ASSERT_TRUE(read.Ok()) << read.error;
  ASSERT_EQ(read.captions.size(), 4u);
  EXPECT_EQ(read.captions[0], captions[0]);
  EXPECT_EQ(read.captions[1], captions[1]);
  EXPECT_EQ(read.captions[2], captions[2]);
  // A path is cut to what the record holds with its zero unit.
  EXPECT_EQ(read.captions[3].imagePath, longPath.substr(0, kCaptionPathUnits - 1));
  EXPECT_EQ(read.captions[3].rtf, "{\\rtf1 long}");

  EXPECT_EQ(DecodeCaptionFile("").captions.size(), 0u);
  EXPECT_TRUE(DecodeCaptionFile("").Ok());
}

TEST(CaptionFile, PathWithoutItsZeroEndsWithTheRecord) {
  std::string b = Bytes({{{}, u"", "{\\rtf1 x}"}});
  for (std::size_t i = 16; i < 536; i += 2) b[i] = 'q';
  const CaptionFileRead read = DecodeCaptionFile(b);
  ASSERT_TRUE(read.Ok()) << read.error;
  EXPECT_EQ(read.captions[0].imagePath, std::u16string(kCaptionPathUnits - 1, u'q'));
}

TEST(CaptionFile, DamagedFilesAreRefusedWhole) {
  const std::string good = Bytes({{{}, u"a", "{\\rtf1 one}"}, {{}, u"b", "{\\rtf1 two}"}});
  const std::size_t second = kCaptionRecordHeader + 11;
  auto withOffset = [&](std::size_t record, std::uint32_t offset) {
    std::string b = good;
    std::memcpy(b.data() + record + 536, &offset, 4);
    return b;
  };
  auto withX = [&](float x) {
    std::string b = good;
    std::memcpy(b.data() + second, &x, 4);
    return b;
  };
  std::string notRtf = good;
  notRtf[second + 540] = 'X';
  struct Case {
    const char* what;
    std::string bytes;
    const char* error;
  } cases[] = {
      {"cut inside a header", good.substr(0, second + 100), "record 2 is cut short"},
      {"a stray byte after the last record", good + "z", "record 3 is cut short"},
      {"offset past the end", withOffset(second, static_cast<std::uint32_t>(good.size() + 1)), "record 2 points outside the file"},
      {"offset back into the header", withOffset(0, 300), "record 1 points outside the file"},
      {"offset far out", withOffset(0, 0xFFFFFFF0u), "record 1 points outside the file"},
      {"rectangle not a number", withX(std::numeric_limits<float>::quiet_NaN()), "record 2 has a picture rectangle that is not a number"},
      {"rectangle infinite", withX(std::numeric_limits<float>::infinity()), "record 2 has a picture rectangle that is not a number"},
      {"text that is not RTF", notRtf, "record 2 holds no caption text"},
  };
  for (const Case& c : cases) {
    const CaptionFileRead read = DecodeCaptionFile(c.bytes);
    EXPECT_EQ(read.error, c.error) << c.what;
    EXPECT_TRUE(read.captions.empty()) << c.what;
  }
}

}  // namespace
