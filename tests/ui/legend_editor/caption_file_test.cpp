// The caption file: what a written file holds byte by byte, round trips, and the damaged files
// that are refused whole.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "ui/legend_editor/caption_file.h"
#include "ui/legend_editor/caption_rtf.h"

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
      {"nothing at all", "", "it is empty"},
  };
  for (const Case& c : cases) {
    const CaptionFileRead read = DecodeCaptionFile(c.bytes);
    EXPECT_EQ(read.error, c.error) << c.what;
    EXPECT_TRUE(read.captions.empty()) << c.what;
  }
}

// Files that would crash the boxes' reader or exhaust the program's memory are refused before
// any of their text reaches a box, by the record at fault.
TEST(CaptionFile, HostileFilesAreRefusedWhole) {
  const CaptionContent good{{}, u"", "{\\rtf1 Copy}"};
  auto withRtf = [&](std::string rtf) {
    return Bytes({good, {{}, u"", std::move(rtf)}});
  };
  std::string noPathEnd = Bytes({good, good});
  for (std::size_t i = 0; i < kCaptionPathUnits; ++i) {
    noPathEnd[kCaptionRecordHeader + good.rtf.size() + 16 + 2 * i] = 'q';
    noPathEnd[kCaptionRecordHeader + good.rtf.size() + 17 + 2 * i] = '\0';
  }
  // Records of the most text each, until the file holds more than a sheet.
  std::vector<CaptionContent> many(kMaxCaptionFileTextChars / kMaxCaptionTextChars + 1,
                                   {{}, u"", "{\\rtf1 " + std::string(kMaxCaptionTextChars, 'a') + "}"});
  std::vector<CaptionContent> megabyte(24, {{}, u"", "{\\rtf1 " + std::string(1u << 20, 'a') + "}"});
  std::string oversize = Bytes({good});
  oversize.resize(kMaxCaptionFileBytes + 1, ' ');
  const struct {
    const char* what;
    std::string bytes;
    std::string error;
  } cases[] = {
      {"60 levels of groups", withRtf("{\\rtf1 " + std::string(59, '{') + "x" + std::string(59, '}') + "}"),
       "record 2 nests its text deeper than 32 groups"},
      {"200 unclosed groups", withRtf("{\\rtf1 " + std::string(200, '{')),
       "record 2 nests its text deeper than 32 groups"},
      {"a group left open", withRtf("{\\rtf1 {x}"), "record 2 has unbalanced braces in its text"},
      {"a group closed twice", withRtf("{\\rtf1 x}}"), "record 2 has unbalanced braces in its text"},
      {"a control word past the reader's buffer", withRtf("{\\rtf1 \\" + std::string(1100, 'a') + " x}"),
       "record 2 has a control word that is too long"},
      {"a font name past the reader's buffer", withRtf("{\\rtf1{\\fonttbl{\\f0 " + std::string(1100, 'A') + ";}}x}"),
       "record 2 has a font or style name that is too long"},
      {"a record of 128 KiB", withRtf("{\\rtf1 " + std::string(128u << 10, 'a') + "}"), "record 2 is too large"},
      {"24 records of 1 MiB", Bytes(megabyte), "it is too large"},
      {"a file past its bound", oversize, "it is too large"},
      {"a caption's text past its bound", withRtf("{\\rtf1 " + std::string(kMaxCaptionTextChars + 1, 'a') + "}"),
       "record 2 holds more text than a caption can"},
      {"more text than a sheet", Bytes(many),
       "record " + std::to_string(many.size()) + " takes the file past the text a sheet of captions holds"},
      {"a path without its end", noPathEnd, "record 2 has a picture path without its end"},
  };
  for (const auto& c : cases) {
    const CaptionFileRead read = DecodeCaptionFile(c.bytes);
    EXPECT_EQ(read.error, c.error) << c.what;
    EXPECT_TRUE(read.captions.empty()) << c.what;
  }
}

// The longest path and the most text a file may hold still read.
TEST(CaptionFile, FilesAtTheBoundsAreRead) {
  std::vector<CaptionContent> full(kMaxCaptionFileTextChars / kMaxCaptionTextChars,
                                   {{}, std::u16string(kCaptionPathUnits - 1, u'p'),
                                    "{\\rtf1 " + std::string(kMaxCaptionTextChars, 'a') + "}"});
  const CaptionFileRead read = DecodeCaptionFile(Bytes(full));
  ASSERT_TRUE(read.Ok()) << read.error;
  EXPECT_EQ(read.captions, full);
}

}  // namespace
