// The check of a caption's RTF before a box reads it: what the editor writes passes, and each
// text that would crash the boxes' reader or exhaust the program's memory is refused, at its
// bound and not before.
#include "ui/legend_editor/caption_rtf.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string Nested(int levels, const std::string& inside = "x") {
  return "{\\rtf1 " + std::string(static_cast<std::size_t>(levels - 1), '{') + inside +
         std::string(static_cast<std::size_t>(levels - 1), '}') + "}";
}

std::string FontTable(const std::string& name) { return "{\\rtf1{\\fonttbl{\\f0\\fswiss " + name + ";}}\\f0 x}"; }

std::string Plain(std::size_t chars) { return "{\\rtf1 " + std::string(chars, 'a') + "}"; }

// As the boxes stream a formatted caption out: font and colour tables, paragraphs, runs.
constexpr char kEditorRtf[] =
    "{\\rtf1\\ansi\\ansicpg1252\\uc1\\deff0\\deflang1033\\deflangfe1033{\\fonttbl{\\f0\\fcharset0 Arial;}"
    "{\\f1\\fcharset0 Times New Roman;}}\r\n{\\colortbl;\\red200\\green0\\blue0;}\r\n"
    "\\pard\\qc\\f0\\fs16 Copy\\par \\b\\f1\\cf1 Paste\\b0\\par}\r\n";

TEST(CaptionRtf, TextsThatPass) {
  const struct {
    const char* what;
    std::string rtf;
  } cases[] = {
      {"what the boxes write", kEditorRtf},
      {"one level", "{\\rtf1 Caption 1}"},
      {"32 levels", Nested(32)},
      {"escaped braces are characters", "{\\rtf1 \\{\\{\\{ \\}}"},
      {"a hex brace is a character", "{\\rtf1 \\'7b}"},
      {"the longest control word", "{\\rtf1 \\" + std::string(kMaxRtfWordLetters, 'a') + "-" +
                                       std::string(kMaxRtfNumberDigits, '9') + " x}"},
      {"the longest font name", FontTable(std::string(kMaxRtfNameChars, 'A'))},
      {"a long name outside the tables is text", "{\\rtf1{\\b " + std::string(kMaxRtfNameChars + 1, 'A') + "}}"},
      {"names in an old table without braces", "{\\rtf1{\\fonttbl\\f0 Arial;\\f1 Times;}x}"},
      {"the most text", Plain(kMaxCaptionTextChars)},
      {"a file's line end after the text", "{\\rtf1 x}\r\n"},
  };
  for (const auto& c : cases) EXPECT_EQ(CheckCaptionRtf(c.rtf).fault, "") << c.what;
}

TEST(CaptionRtf, TextsThatAreRefused) {
  std::string big = "{\\rtf1 ";
  while (big.size() < kMaxCaptionRtfBytes) big += "\\b x\\b0 ";
  big += "}";
  const struct {
    const char* what;
    std::string rtf;
    const char* fault;
  } cases[] = {
      {"33 levels", Nested(33), "nests its text deeper than 32 groups"},
      {"60 levels", Nested(60), "nests its text deeper than 32 groups"},
      {"unclosed groups", "{\\rtf1 " + std::string(200, '{'), "nests its text deeper than 32 groups"},
      {"a group left open", "{\\rtf1 {x}", "has unbalanced braces in its text"},
      {"a group closed twice", "{\\rtf1 x}}", "has unbalanced braces in its text"},
      {"a brace closed by an escaped one", "{\\rtf1 x\\}", "has unbalanced braces in its text"},
      {"a control word too long", "{\\rtf1 \\" + std::string(kMaxRtfWordLetters + 1, 'a') + " x}",
       "has a control word that is too long"},
      {"a control word's number too long", "{\\rtf1 \\fs" + std::string(kMaxRtfNumberDigits + 1, '1') + " x}",
       "has a control word that is too long"},
      {"a font name too long", FontTable(std::string(kMaxRtfNameChars + 1, 'A')),
       "has a font or style name that is too long"},
      {"a font name of hex characters", FontTable(std::string() + [] {
         std::string s;
         for (std::size_t i = 0; i <= kMaxRtfNameChars; ++i) s += "\\'41";
         return s;
       }()),
       "has a font or style name that is too long"},
      {"a style name too long", "{\\rtf1{\\stylesheet{\\s1 " + std::string(2000, 'N') + ";}}x}",
       "has a font or style name that is too long"},
      {"more text than a caption", Plain(kMaxCaptionTextChars + 1), "holds more text than a caption can"},
      {"text by its codes", "{\\rtf1 " + [] {
         std::string s;
         for (std::size_t i = 0; i <= kMaxCaptionTextChars; ++i) s += "\\u233?";
         return s;
       }() + "}",
       "holds more text than a caption can"},
      {"more bytes than a caption", big, "is too large"},
  };
  for (const auto& c : cases) EXPECT_EQ(CheckCaptionRtf(c.rtf).fault, c.fault) << c.what;
}

TEST(CaptionRtf, CountsTheTextNotItsFormatting) {
  EXPECT_EQ(CheckCaptionRtf("{\\rtf1\\b\\fs32 Copy\\b0\\par \\'e9\\u233?\\tab\r\n}").textChars, 4u + 1 + 2 + 1);
  // The names of a font table count too: more rather than less.
  EXPECT_EQ(CheckCaptionRtf(FontTable("Arial")).textChars, 5u + 1 + 1);
}

}  // namespace
