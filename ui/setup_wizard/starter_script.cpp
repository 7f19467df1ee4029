#include "ui/setup_wizard/starter_script.h"

#include <vector>

#include "macros/model/macro_text.h"

namespace {

// Characters a narrow script line cannot carry as they are, as ESC and five decimal digits; what
// is left is ASCII.
std::string EncodeForScriptFile(std::wstring_view text) {
  const std::wstring encoded = EncodeMacroText(text);
  return std::string(encoded.begin(), encoded.end());
}

bool IsLineBreak(wchar_t c) { return c == L'\r' || c == L'\n'; }

// Calls f(piece) for each piece of text between line breaks and g() for each break.
template <class Piece, class Break>
void ForEachLine(std::wstring_view text, Piece piece, Break lineBreak) {
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (!IsLineBreak(text[i])) continue;
    piece(text.substr(start, i - start));
    lineBreak();
    if (text[i] == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n') ++i;
    start = i + 1;
  }
  piece(text.substr(start));
}

// The text inside a script string literal: backslashes and double quotes escaped; the line
// breaks become the escape "\n" only after that, so that their backslash is not doubled.
std::wstring LiteralText(std::wstring_view text) {
  std::wstring out;
  ForEachLine(
      text,
      [&](std::wstring_view piece) {
        for (wchar_t c : piece) {
          if (c == L'\\' || c == L'"') out += L'\\';
          out += c;
        }
      },
      [&] { out += L"\\n"; });
  return out;
}

// One key of the default layout: its macro steps, each a marker text and a statement.
struct Step {
  std::string marker;     // between the marker's double quotes
  std::string statement;  // without its ";"
};
struct Key {
  int scanCode;
  std::vector<Step> steps;
};

Step SendStep(const std::string& text) { return {text, "SendString(\"" + text + "\")"}; }

Step TypedTextStep(std::wstring_view text) {
  return {EncodeForScriptFile(L"/" + AddressOnOneLine(text)),
          "SendString(\"" + EncodeForScriptFile(L"/" + LiteralText(text)) + "\")"};
}

const Step kAutoRepeat = {"[Auto Repeat (0.5:0.05)]", "AutoRepeatThisKey(500,50)"};

// In the order their functions are written.
std::vector<Key> DefaultLayout(const UserDetails& d) {
  return {
      {0, {TypedTextStep(d.name)}},
      {16, {TypedTextStep(d.address)}},
      {32, {TypedTextStep(d.email)}},
      {48, {SendStep("{WinKey+f}")}},
      {1, {{"[My Documents]", "OpenMyDocuments()"}}},
      {17, {SendStep("<Browser Home>")}},
      {33, {SendStep("<Launch Mail>")}},
      {49, {{"[Demo]", "PlayDemo()"}}},
      {2, {SendStep("{Ctrl+b}")}},
      {18, {SendStep("{Ctrl+i}")}},
      {34, {SendStep("{Ctrl+u}")}},
      {3, {SendStep("{Ctrl+y}")}},
      {4, {SendStep("{Ctrl+z}")}},
      {20, {SendStep("{Ctrl+x}")}},
      {36, {SendStep("{Ctrl+c}")}},
      {52, {SendStep("{Ctrl+v}")}},
      {51, {SendStep("<Play/Pause Media>")}},
      {35, {kAutoRepeat, SendStep("<Volume Up>")}},
      {19, {kAutoRepeat, SendStep("<Volume Down>")}},
  };
}

std::string FunctionName(int scanCode) {
  return "KeyDown_" + std::to_string(scanCode) + "_Green_Pnr()";
}

}  // namespace

std::wstring AddressOnOneLine(std::wstring_view address) {
  std::wstring out;
  ForEachLine(
      address, [&](std::wstring_view piece) { out += piece; }, [&] { out += L"\\n"; });
  return out;
}

std::string StarterScriptFile(const UserDetails& details) {
  const std::vector<Key> keys = DefaultLayout(details);
  std::vector<std::string> lines;
  auto add = [&](std::string line) { lines.push_back(std::move(line)); };

  add("bits8 QpadLEDs = 0x40;");
  add("int curScanCode;");
  add("int ledLayer = 0;");
  add("");
  add("void QpadInit()");
  add("{");
  add("}");
  add("");
  add("");
  add("void KeyDown(int scanCode)");
  add("{");
  add("\tcurScanCode = scanCode;");
  add("\tledLayer = ((QpadLEDs&0x80) == 0)?0:1;");
  add("\tswitch(ledLayer)");
  add("\t{");
  add("\tcase 0:");
  add("\t\tKeyDownGreen(scanCode);");
  add("\t\tbreak;");
  add("\t}");
  add("}");
  add("");
  add("");
  add("void KeyDownGreen(int scanCode)");
  add("{");
  add("");
  add("\tbool done = true;");
  add("\tswitch(GetCurrentProgramLayer())");
  add("\t{");
  add("\tcase -99://DO NOT DELETE THIS CASE");
  add("\t\tbreak;");
  add("");
  add("\tdefault:");
  add("\t\tdone = false;");
  add("\t\tbreak;");
  add("");
  add("\t}");
  add("\tif(!done)");
  add("\t{");
  add("\t\tswitch(scanCode)");
  add("\t\t{");
  for (int code = 0; code < 64; ++code) {
    for (const Key& key : keys) {
      if (key.scanCode != code) continue;
      add("\t\tcase " + std::to_string(code) + ":");
      add("\t\t\t" + FunctionName(code) + ";");
      add("\t\t\tbreak;");
    }
  }
  add("\t\tdefault:");
  add("\t\t\tdone = false;");
  add("\t\t\tbreak;");
  add("\t\t}");
  add("\t}");
  add("}");
  add("");
  add("");
  add("/******BEGINNING OF FUNCTIONS******/");
  add("");
  add("");
  for (const Key& key : keys) {
    add("//fstart");
    add("void " + FunctionName(key.scanCode));
    add("{");
    for (const Step& step : key.steps) {
      if (key.steps.size() > 1) add("");
      add("//ORVX: \"" + step.marker + "\"");
      add(step.statement + ";");
    }
    add("}");
    add("//fend");
    add("");
    add("");
  }
  add("//ORVX: Toggle Keys");
  add("//ORVX: End");
  add("//ORVX: Shift Keys");
  add("//ORVX: End");
  add("void ToggleLedLayer()");
  add("{");
  add("\tQpadLEDs ^= 0xc0;");
  add("\tledLayer = ((QpadLEDs&0x80) == 0)?0:1;");
  add("\tSendOutputReport(\"setLEDs\");");
  add("}");
  add("");
  add("string currentProgramName;");
  add("");
  add("int GetCurrentProgramLayer()");
  add("{");
  add("\tcurrentProgramName = \"Pnr\";");
  add("\treturn(-1);");
  add("}");

  std::string file;
  for (const std::string& line : lines) file += line + "\r\n";
  return file;
}
