#include "runtime/device/report_config.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "platform/base/text_lines.h"

namespace {

ReportConfig Parse(const std::string& text) {
  ReportConfig c;
  std::string why;
  EXPECT_TRUE(ParseReportConfigText(text, c, &why)) << why << "\n--\n" << text;
  return c;
}

TEST(ReportFieldType, KeywordsAreCaseSensitive) {
  const struct {
    const char* word;
    ReportFieldType type;
  } cases[] = {{"value", kFieldValue},
               {"values", kFieldValues},
               {"scanCodeDown", kFieldScanCodeDown},
               {"scanCodeUp", kFieldScanCodeUp},
               {"scanCodeChanged", kFieldScanCodeChanged},
               {"constant", kFieldConstant},
               {"bitfield", kFieldBitfield},
               {"moduleFunction", kFieldModuleFunction},
               {"require", kFieldRequire},
               {"Value", kFieldNone},
               {"scancodedown", kFieldNone},
               {"", kFieldNone},
               {"values2", kFieldNone}};
  for (const auto& c : cases) EXPECT_EQ(ReportFieldTypeFromKeyword(c.word), c.type) << c.word;
}

TEST(ReportConfig, ReadsAKeypadWithEveryHeaderLine) {
  const ReportConfig c = Parse(
      "# keypad\n"
      "uid_and_ps -2 0x01 0x20\n"
      "require 3 0x55\n"
      "layer_led 0 0x04\n"
      "layer_led 1 0x08\n"
      "backlightsAvailable\n"
      "keyswitchAvailable\n"
      "input void KeyDown(uint8 scanCode)\n"
      "scanCodeDown 2 3\n"
      "input void KeyUp(uint8 scanCode)\n"
      "scanCodeUp 2 3\n"
      "output setLEDs\n"
      "constant 2\n"
      "value 0 255 QpadLEDs\n"
      "bitfield 0x0F 0x80 Other\n"
      "module C:\\libs\\QpadCalibration.dll  \n"
      "moduleFunction int ShowOverlay(string &in, int x)\n");
  EXPECT_EQ(c.unitIdByte, -2);
  EXPECT_EQ(c.switchByte, 1);
  EXPECT_EQ(c.switchMask, 0x20);
  EXPECT_TRUE(c.hasProgrammingSwitch);
  EXPECT_EQ(c.requireByte, 3);
  EXPECT_EQ(c.requireValue, 0x55);
  EXPECT_EQ(c.greenLedMask, 4);
  EXPECT_EQ(c.redLedMask, 8);
  EXPECT_TRUE(c.backlightsAvailable);
  EXPECT_TRUE(c.keyswitchAvailable);
  EXPECT_TRUE(c.hasLayerLed);
  ASSERT_EQ(c.inputs.size(), 2u);
  EXPECT_EQ(c.inputs[0].declaration, "void KeyDown(uint8 scanCode)");
  EXPECT_TRUE(c.inputs[0].callOnChange);
  ASSERT_EQ(c.inputs[0].fieldCount(), 1);
  EXPECT_EQ(c.inputs[0].fields[0].type, kFieldScanCodeDown);
  EXPECT_EQ(c.inputs[0].fields[0].position, 2);
  EXPECT_EQ(c.inputs[0].fields[0].count, 3);
  EXPECT_EQ(c.firstKeyByte, 2);
  EXPECT_EQ(c.lastKeyByte, 4);
  ASSERT_EQ(c.outputs.size(), 1u);
  const OutputConfig& o = c.outputs[0];
  EXPECT_EQ(o.name, "setLEDs");
  ASSERT_EQ(o.fieldCount(), 3);
  EXPECT_EQ(o.fields[0].type, kFieldConstant);
  EXPECT_EQ(o.fields[0].constant, 2);
  EXPECT_EQ(o.fields[1].type, kFieldValue);
  EXPECT_EQ(o.fields[1].low, 0);
  EXPECT_EQ(o.fields[1].high, 255);
  EXPECT_EQ(o.fields[1].globalName, "QpadLEDs");
  EXPECT_EQ(o.fields[2].type, kFieldBitfield);
  EXPECT_EQ(o.fields[2].low, 0x0F);
  EXPECT_EQ(o.fields[2].high, 0x80);
  ASSERT_EQ(c.modules.size(), 1u);
  EXPECT_EQ(c.modules[0].path, "C:\\libs\\QpadCalibration.dll");
  ASSERT_EQ(c.modules[0].functionCount(), 1);
  EXPECT_EQ(c.modules[0].functions[0].exportName, "ShowOverlay");
  EXPECT_EQ(c.modules[0].functions[0].declaration, "int ShowOverlay(string &in, int x)");
}

TEST(ReportConfig, DefaultsHoldWithoutHeaderLines) {
  const ReportConfig c = Parse("output setID\nvalue 1 254 UnitId\n");
  EXPECT_EQ(c.unitIdByte, -2);
  EXPECT_EQ(c.switchByte, -1);
  EXPECT_EQ(c.switchMask, 16);
  EXPECT_TRUE(c.hasProgrammingSwitch);
  EXPECT_EQ(c.requireByte, -1);
  EXPECT_EQ(c.greenLedMask, 64);
  EXPECT_EQ(c.redLedMask, 128);
  EXPECT_FALSE(c.hasLayerLed);
  EXPECT_EQ(c.firstKeyByte, -1);
  EXPECT_EQ(c.lastKeyByte, 0);
}

TEST(ReportConfig, InputOptionsComeInAnyOrderBeforeTheDeclaration) {
  const struct {
    const char* line;
    bool callOnChange;
    int period;
    const char* declaration;
  } cases[] = {
      {"input period 50 void Poll(uint8 a)", false, 50, "void Poll(uint8 a)"},
      {"input void Plain()", true, 0, "void Plain()"},
      {"input callOnChange period=0x10 void Both(uint8 a, uint8 b)", true, 16,
       "void Both(uint8 a, uint8 b)"},
      {"input period,20,callOnChange void Both()", true, 20, "void Both()"},
      {"input period 0 void Zero()", true, 0, "void Zero()"},
      // The declaration is the line as read from its first word: commas and '=' stay.
      {"input\t void  F(int a,int b=3) \t\r", true, 0, "void  F(int a,int b=3)"},
  };
  for (const auto& c : cases) {
    const ReportConfig r = Parse(std::string(c.line) + "\nvalue 1\n");
    ASSERT_EQ(r.inputs.size(), 1u) << c.line;
    EXPECT_EQ(r.inputs[0].callOnChange, c.callOnChange) << c.line;
    EXPECT_EQ(r.inputs[0].period, c.period) << c.line;
    EXPECT_EQ(r.inputs[0].declaration, c.declaration) << c.line;
  }
}

TEST(ReportConfig, InputFieldsTakePositionAndOptionalCount) {
  const ReportConfig c = Parse(
      "input void F(uint8 a)\n"
      "value 0x10\n"
      "constant -7\n"
      "values 2 6\n"
      "values 3\n"
      "scanCodeUp 4 bad\n"
      "scanCodeChanged 020 2\n"
      "require 1 0xAA\n");
  ASSERT_EQ(c.inputs[0].fieldCount(), 7);
  const InputField* f = c.inputs[0].fields.data();
  EXPECT_EQ(f[0].type, kFieldValue);
  EXPECT_EQ(f[0].position, 16);
  EXPECT_EQ(f[1].type, kFieldConstant);
  EXPECT_EQ(f[1].position, -7);
  EXPECT_EQ(f[2].position, 2);
  EXPECT_EQ(f[2].count, 6);
  EXPECT_EQ(f[3].count, 1);  // missing
  EXPECT_EQ(f[4].count, 1);  // bad
  EXPECT_EQ(f[5].type, kFieldScanCodeChanged);
  EXPECT_EQ(f[5].position, 16);  // octal
  EXPECT_EQ(f[6].type, kFieldRequire);
  EXPECT_EQ(f[6].position, 1);
  EXPECT_EQ(f[6].count, 0xAA);
}

TEST(ReportConfig, RequireIsTheSwitchConditionOnlyRightAfterTheUnitIdLine) {
  // After "uid_and_ps" (header lines between do not matter): the switch condition.
  ReportConfig c = Parse("uid_and_ps 1 2\nlayer_led 0 1\nrequire 5 6\ninput void F()\nvalue 1\n");
  EXPECT_EQ(c.requireByte, 5);
  EXPECT_EQ(c.requireValue, 6);
  EXPECT_EQ(c.inputs[0].fieldCount(), 1);

  // After an output line: ignored, and the output's fields stay in place.
  c = Parse("uid_and_ps 1 2\noutput setID\nrequire 5 6\nconstant 2\nvalue 0 9 G\n");
  EXPECT_EQ(c.requireByte, -1);
  ASSERT_EQ(c.outputs[0].fieldCount(), 2);
  EXPECT_EQ(c.outputs[0].fields[0].type, kFieldConstant);

  // Inside an input: a field of that input.
  c = Parse("input void F(uint8 a)\nrequire 1 2\nvalue 3\nuid_and_ps 0 -\n");
  EXPECT_EQ(c.requireByte, -1);
  ASSERT_EQ(c.inputs[0].fieldCount(), 2);
  EXPECT_EQ(c.inputs[0].fields[0].type, kFieldRequire);

  // Before any section and with no "uid_and_ps": ignored.
  c = Parse("require 1 2\ninput void F()\nvalue 0\n");
  EXPECT_EQ(c.requireByte, -1);
  EXPECT_EQ(c.inputs[0].fieldCount(), 1);

  // A section line ends the header's reach.
  c = Parse("uid_and_ps 1 2\ninput void F()\nrequire 7 8\n");
  EXPECT_EQ(c.requireByte, -1);
  EXPECT_EQ(c.inputs[0].fields[0].type, kFieldRequire);
}

TEST(ReportConfig, UnitIdLineForms) {
  const struct {
    const char* line;
    int unitIdByte, switchByte, switchMask;
    bool hasSwitch;
  } cases[] = {
      {"uid_and_ps -2 -", -2, -1, 16, false},
      {"uid_and_ps 7 -1", 7, -1, 16, false},  // any token starting with '-' means no switch
      {"uid_and_ps 3 4", 3, 4, 16, true},
      {"uid_and_ps 3 4 0x80", 3, 4, 0x80, true},
      {"uid_and_ps 3 4 junk", 3, 4, 16, true},  // a bad optional mask keeps the default
      {"uid_and_ps=3,4,=8", 3, 4, 8, true},
  };
  for (const auto& c : cases) {
    const ReportConfig r = Parse(std::string(c.line) + "\ninput void F()\nvalue 0\n");
    EXPECT_EQ(r.unitIdByte, c.unitIdByte) << c.line;
    EXPECT_EQ(r.switchByte, c.switchByte) << c.line;
    EXPECT_EQ(r.switchMask, c.switchMask) << c.line;
    EXPECT_EQ(r.hasProgrammingSwitch, c.hasSwitch) << c.line;
  }
}

TEST(ReportConfig, KeyRangeComesFromTheFirstKeyDownInput) {
  ReportConfig c = Parse(
      "input void KeyUp(uint8 s)\nscanCodeDown 9 1\n"
      "input void KeyDown(uint8 s)\nvalue 0\nscanCodeDown 3 2\nscanCodeDown 6 2\n"
      "input void KeyDown(uint8 s)\nscanCodeDown 1 1\n");
  EXPECT_EQ(c.firstKeyByte, 3);
  EXPECT_EQ(c.lastKeyByte, 4);
  // " KeyDown(" needs the blank: a function named MyKeyDown does not count.
  c = Parse("input void MyKeyDown(uint8 s)\nscanCodeDown 3 2\n");
  EXPECT_EQ(c.firstKeyByte, -1);
}

TEST(ReportConfig, ModuleFunctionNameIsTheWordBeforeTheParenthesis) {
  const ReportConfig c = Parse(
      "output x\n"
      "module  lib one.dll\n"
      "moduleFunction float\tGetLevel(int n)\n"
      "moduleFunction void Go()\n"
      "module\n");
  ASSERT_EQ(c.modules.size(), 2u);
  EXPECT_EQ(c.modules[0].path, "lib one.dll");
  EXPECT_EQ(c.modules[0].functions[0].exportName, "GetLevel");
  EXPECT_EQ(c.modules[0].functions[1].exportName, "Go");
  EXPECT_EQ(c.modules[1].path, "");
  EXPECT_EQ(c.modules[1].functionCount(), 0);
}

TEST(ReportConfig, LineEndsSpacingAndCommentsDoNotMatter) {
  const std::string lf =
      "# c\n\n   \ninput  void KeyDown(uint8 s)\n\tscanCodeDown\t2 ,3\n#value 9\n"
      "output\tsetLEDs\nvalue=0,255,QpadLEDs\n";
  std::string crlf, cr;
  for (char ch : lf) {
    if (ch == '\n') {
      crlf += "\r\n";
      cr += '\r';
    } else {
      crlf += ch;
      cr += ch;
    }
  }
  for (const std::string& text : {lf, crlf, lf.substr(0, lf.size() - 1)}) {
    const ReportConfig c = Parse(text);
    ASSERT_EQ(c.inputs.size(), 1u);
    EXPECT_EQ(c.inputs[0].declaration, "void KeyDown(uint8 s)");
    EXPECT_EQ(c.inputs[0].fieldCount(), 1);
    ASSERT_EQ(c.outputs.size(), 1u);
    EXPECT_EQ(c.outputs[0].fields[0].globalName, "QpadLEDs");
  }
  // CR alone does not end a line: the whole file is one "#" line, so nothing is declared.
  ReportConfig c;
  EXPECT_FALSE(ParseReportConfigText(cr, c));
}

TEST(ReportConfig, Rejections) {
  const struct {
    const char* text;
    const char* reason;
  } cases[] = {
      {"", "no input and no output"},
      {"# only a comment\n", "no input and no output"},
      {"module a.dll\nmoduleFunction void F()\n", "no input and no output"},
      {"value 1\ninput void F()\n", "line 1: field outside a section"},
      {"input void F()\nfoo 1\n", "line 2: unknown keyword"},
      {"input void F()\nValue 1\n", "line 2: unknown keyword"},
      {"input void F()\nbitfield 1 2 G\n", "line 2: field type not allowed in an input"},
      {"input void F()\nmoduleFunction void G()\n", "line 2: field type not allowed in an input"},
      {"input void F()\nvalue\n", "line 2: field needs a number"},
      {"input void F()\nvalue x\n", "line 2: field needs a number"},
      {"input void F()\nvalue 12abc\n", "line 2: field needs a number"},
      {"input void F()\nconstant 0x\n", "line 2: field needs a number"},
      {"input void F()\nscanCodeDown\n", "line 2: field needs a number"},
      {"input void F()\nvalue 99999999999\n", "line 2: field needs a number"},
      {"input\n", "line 1: input without a declaration"},
      {"input callOnChange period 5\n", "line 1: input without a declaration"},
      {"input period void F()\n", "line 1: period needs a number"},
      {"input period\n", "line 1: period needs a number"},
      {"input period -5 void F()\n", "line 1: period needs a number"},
      {"output\n", "line 1: output without a name"},
      {"output o\nscanCodeDown 1\n", "line 2: field type not allowed in an output"},
      {"output o\nrequire 1 2\nvalues 1 2\n", "line 3: field type not allowed in an output"},
      {"output o\nvalue 1 G\n", "line 2: field needs two numbers"},
      {"output o\nbitfield 1 2\n", "line 2: field needs a global name"},
      {"output o\nconstant\n", "line 2: field needs a number"},
      {"output o\nmodule m\nvalue 1 2 G\n", "line 3: field type not allowed in a module"},
      {"output o\nmodule m\nmoduleFunction void F\n", "line 3: moduleFunction without '('"},
      {"output o\nmodule m\nmoduleFunction (int)\n", "line 3: moduleFunction without a name"},
      {"output o\nmodule m\nmoduleFunction void F (int)\n",
       "line 3: moduleFunction without a name"},
      {"output o\nuid_and_ps\n", "line 2: uid_and_ps needs the unit id byte"},
      {"output o\nuid_and_ps x -\n", "line 2: uid_and_ps needs the unit id byte"},
      {"output o\nuid_and_ps 1\n", "line 2: uid_and_ps needs the switch byte or '-'"},
      {"output o\nuid_and_ps 1 x\n", "line 2: uid_and_ps: bad switch byte"},
      {"output o\nuid_and_ps 1 2\nrequire 3\n", "line 3: require needs two numbers"},
      {"output o\nlayer_led 0\n", "line 2: layer_led needs two numbers"},
  };
  for (const auto& c : cases) {
    ReportConfig r;
    std::string why;
    EXPECT_FALSE(ParseReportConfigText(c.text, r, &why)) << c.text;
    EXPECT_EQ(why, c.reason) << c.text;
  }
}

TEST(ReportConfig, LinesLongerThanTheReaderTakesAreReadInPieces) {
  // A declaration of exactly 254 characters with its keyword is whole.
  const std::string head = "input ";
  std::string decl = "void F(" + std::string(254 - head.size() - 9, 'a') + ")";
  decl += " ";  // 254th character, trimmed away
  ASSERT_EQ(head.size() + decl.size(), kReportConfigLineChars);
  ReportConfig c = Parse(head + decl + "\nvalue 1\n");
  EXPECT_EQ(c.inputs[0].declaration, decl.substr(0, decl.size() - 1));
  // One more character makes it two lines; the piece after the cut is an unknown keyword.
  ReportConfig r;
  std::string why;
  EXPECT_FALSE(ParseReportConfigText(head + decl + "b\nvalue 1\n", r, &why));
  EXPECT_EQ(why, "line 2: unknown keyword");
  // A zero byte ends the line for the parser, not for the reader.
  c = Parse(std::string("input void F()\nvalue 2\0 junk\nvalue 3\n", 37));
  ASSERT_EQ(c.inputs[0].fieldCount(), 2);
  EXPECT_EQ(c.inputs[0].fields[1].position, 3);
}

TEST(SplitFileLines, CutsAtLineFeedsAndAtTheRoom) {
  const auto lines = SplitFileLines("ab\ncdefg\n\nh", 3);
  const std::vector<std::string_view> want = {"ab\n", "cde", "fg\n", "\n", "h"};
  EXPECT_EQ(lines, want);
  EXPECT_TRUE(SplitFileLines("", 3).empty());
}

TEST(ReportLayout, FieldsMustLieInsideTheirReport) {
  const struct {
    ReportFieldType type;
    int position, count;
    bool fits;
  } cases[] = {
      {kFieldValue, 0, 1, true},          {kFieldValue, 7, 1, true},
      {kFieldValue, 8, 1, false},         {kFieldValue, -1, 1, false},
      {kFieldRequire, 7, 300, true},      {kFieldRequire, 8, 0, false},
      {kFieldConstant, -99, 1, true},     {kFieldValues, 2, 8, true},
      {kFieldValues, 2, 9, false},        {kFieldValues, 5, 3, true},  // empty range
      {kFieldValues, -1, 3, false},       {kFieldScanCodeDown, 5, 3, true},
      {kFieldScanCodeDown, 5, 4, false},  {kFieldScanCodeUp, 0, 0, false},
      {kFieldScanCodeChanged, 0x7FFFFFFF, 0x7FFFFFFF, false},
      {kFieldScanCodeChanged, -2, 3, false},
  };
  for (const auto& c : cases) {
    InputField f;
    f.type = c.type;
    f.position = c.position;
    f.count = c.count;
    EXPECT_EQ(InputFieldFits(f, 8), c.fits) << c.type << " " << c.position << " " << c.count;
  }
  OutputConfig o;
  o.fields.resize(9);
  EXPECT_TRUE(OutputFits(o, 9));
  EXPECT_FALSE(OutputFits(o, 8));
}

// Random and mangled files never crash the parser, and what it accepts is well formed.
TEST(ReportConfig, HostileFilesAreReadSafely) {
  const std::string seed =
      "uid_and_ps -2 1 0x10\nrequire 1 2\ninput period 5 void KeyDown(uint8 s)\n"
      "scanCodeDown 2 3\nvalues 0 4\noutput setLEDs\nvalue 0 255 QpadLEDs\n"
      "module m.dll\nmoduleFunction int F(int)\n";
  const char alphabet[] = " \t,=\r\n#-0x19avlueinptd()";
  std::mt19937 rng(12345);
  for (int round = 0; round < 3000; ++round) {
    std::string text;
    if (round % 3 == 0) {
      const int n = static_cast<int>(rng() % 600);
      for (int i = 0; i < n; ++i) text += static_cast<char>(rng() & 0xFF);
    } else {
      text = seed;
      const int edits = 1 + static_cast<int>(rng() % 8);
      for (int e = 0; e < edits && !text.empty(); ++e) {
        const std::size_t at = rng() % text.size();
        switch (rng() % 3) {
          case 0:
            text[at] = alphabet[rng() % (sizeof alphabet - 1)];
            break;
          case 1:
            text.erase(at, 1 + rng() % 5);
            break;
          default:
            text.insert(at, std::string(1 + rng() % 300, alphabet[rng() % (sizeof alphabet - 1)]));
        }
      }
    }
    ReportConfig c;
    if (!ParseReportConfigText(text, c)) continue;
    EXPECT_FALSE(c.inputs.empty() && c.outputs.empty());
    for (const InputConfig& in : c.inputs) {
      EXPECT_FALSE(in.declaration.empty());
      EXPECT_TRUE(in.callOnChange || in.period > 0);
      for (const InputField& f : in.fields) {
        EXPECT_NE(f.type, kFieldBitfield);
        EXPECT_NE(f.type, kFieldModuleFunction);
      }
    }
    for (const ModuleConfig& m : c.modules)
      for (const ModuleFunction& fn : m.functions) EXPECT_FALSE(fn.exportName.empty());
  }
}

}  // namespace
