#include "runtime/device/report_config.h"

#include <cerrno>
#include <climits>
#include <cstdlib>

#include "platform/base/text_lines.h"

namespace {

bool IsDelimiter(char c) {
  return c == ' ' || c == '\t' || c == ',' || c == '=' || c == '\r' || c == '\n';
}
bool IsBlankOrLineEnd(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

struct Token {
  std::size_t offset;
  std::string_view text;
};

std::vector<Token> Tokenize(std::string_view line) {
  std::vector<Token> tokens;
  std::size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && IsDelimiter(line[i])) ++i;
    const std::size_t start = i;
    while (i < line.size() && !IsDelimiter(line[i])) ++i;
    if (i > start) tokens.push_back({start, line.substr(start, i - start)});
  }
  return tokens;
}

// Leading delimiters and trailing blanks and line ends off.
std::string_view TrimRest(std::string_view s) {
  while (!s.empty() && IsDelimiter(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlankOrLineEnd(s.back())) s.remove_suffix(1);
  return s;
}

// strtol with base detection over the whole token.
bool ParseNumber(std::string_view token, int& out) {
  const std::string copy(token);
  if (copy.empty()) return false;
  char* end = nullptr;
  errno = 0;
  const long v = std::strtol(copy.c_str(), &end, 0);
  if (end != copy.c_str() + copy.size() || errno == ERANGE) return false;
  if (v < INT_MIN || v > INT_MAX) return false;
  out = static_cast<int>(v);
  return true;
}

class Parser {
 public:
  Parser(ReportConfig& config, std::string* reason) : c_(config), reason_(reason) {}

  bool Run(std::string_view text) {
    const std::vector<std::string_view> lines = SplitFileLines(text, kReportConfigLineChars);
    for (std::size_t i = 0; i < lines.size(); ++i) {
      lineNumber_ = static_cast<int>(i) + 1;
      if (!Line(lines[i])) return false;
    }
    if (c_.inputs.empty() && c_.outputs.empty()) {
      lineNumber_ = 0;
      return Fail("no input and no output");
    }
    FindKeyByteRange(c_.inputs, c_.firstKeyByte, c_.lastKeyByte);
    return true;
  }

 private:
  enum class Section { kNone, kInput, kOutput, kModule };

  bool Fail(const char* why) {
    if (reason_)
      *reason_ = lineNumber_ > 0 ? "line " + std::to_string(lineNumber_) + ": " + why : why;
    return false;
  }

  bool Number(const std::vector<Token>& t, std::size_t i, int& out) {
    return i < t.size() && ParseNumber(t[i].text, out);
  }

  bool Line(std::string_view line) {
    const std::vector<Token> t = Tokenize(line);
    if (t.empty() || t[0].text.front() == '#') return true;
    const std::string_view key = t[0].text;
    if (key == "input") return Input(line, t);
    if (key == "output") return Output(t);
    if (key == "module") return Module(line, t);
    if (key == "uid_and_ps") return UnitIdAndSwitch(t);
    if (key == "backlightsAvailable") {
      c_.backlightsAvailable = true;
      return true;
    }
    if (key == "keyswitchAvailable") {
      c_.keyswitchAvailable = true;
      return true;
    }
    if (key == "layer_led") {
      int which = 0, mask = 0;
      if (!Number(t, 1, which) || !Number(t, 2, mask)) return Fail("layer_led needs two numbers");
      (which == 0 ? c_.greenLedMask : c_.redLedMask) = static_cast<std::uint8_t>(mask);
      return true;
    }
    // "require" is the switch's condition right after "uid_and_ps", a field inside an input,
    // and ignored anywhere else.
    if (key == "require") {
      if (afterUnitIdLine_) {
        int byte = 0, value = 0;
        if (!Number(t, 1, byte) || !Number(t, 2, value)) return Fail("require needs two numbers");
        c_.requireByte = byte;
        c_.requireValue = static_cast<std::uint8_t>(value);
        return true;
      }
      if (section_ != Section::kInput) return true;
    }
    const ReportFieldType type = ReportFieldTypeFromKeyword(key);
    if (type == kFieldNone) return Fail("unknown keyword");
    switch (section_) {
      case Section::kNone:
        return Fail("field outside a section");
      case Section::kInput:
        return InputFieldLine(type, t);
      case Section::kOutput:
        return OutputFieldLine(type, t);
      case Section::kModule:
        return ModuleFieldLine(type, line, t);
    }
    return false;
  }

  void Open(Section s) {
    section_ = s;
    afterUnitIdLine_ = false;
  }

  bool Input(std::string_view line, const std::vector<Token>& t) {
    InputConfig in;
    std::size_t i = 1;
    for (; i < t.size(); ++i) {
      if (t[i].text == "callOnChange") {
        in.callOnChange = true;
      } else if (t[i].text == "period") {
        if (!Number(t, ++i, in.period) || in.period < 0) return Fail("period needs a number");
      } else {
        break;
      }
    }
    if (i >= t.size()) return Fail("input without a declaration");
    in.declaration = std::string(TrimRest(line.substr(t[i].offset)));
    if (!in.callOnChange && in.period == 0) in.callOnChange = true;
    c_.inputs.push_back(std::move(in));
    Open(Section::kInput);
    return true;
  }

  bool Output(const std::vector<Token>& t) {
    if (t.size() < 2) return Fail("output without a name");
    OutputConfig out;
    out.name = std::string(t[1].text);
    if (out.name == "setLEDs") c_.hasLayerLed = true;
    c_.outputs.push_back(std::move(out));
    Open(Section::kOutput);
    return true;
  }

  bool Module(std::string_view line, const std::vector<Token>& t) {
    ModuleConfig m;
    m.path = std::string(TrimRest(line.substr(t[0].offset + t[0].text.size())));
    c_.modules.push_back(std::move(m));
    Open(Section::kModule);
    return true;
  }

  bool UnitIdAndSwitch(const std::vector<Token>& t) {
    int unitByte = 0;
    if (!Number(t, 1, unitByte)) return Fail("uid_and_ps needs the unit id byte");
    if (t.size() < 3) return Fail("uid_and_ps needs the switch byte or '-'");
    if (t[2].text.front() == '-') {
      c_.unitIdByte = unitByte;
      c_.hasProgrammingSwitch = false;
    } else {
      int switchByte = 0;
      if (!Number(t, 2, switchByte)) return Fail("uid_and_ps: bad switch byte");
      c_.unitIdByte = unitByte;
      c_.switchByte = switchByte;
      int mask = 0;
      if (Number(t, 3, mask)) c_.switchMask = static_cast<std::uint8_t>(mask);
    }
    afterUnitIdLine_ = true;
    return true;
  }

  bool InputFieldLine(ReportFieldType type, const std::vector<Token>& t) {
    InputField f;
    f.type = type;
    switch (type) {
      case kFieldValue:
      case kFieldConstant:
        if (!Number(t, 1, f.position)) return Fail("field needs a number");
        break;
      case kFieldValues:
      case kFieldScanCodeDown:
      case kFieldScanCodeUp:
      case kFieldScanCodeChanged:
      case kFieldRequire:
        if (!Number(t, 1, f.position)) return Fail("field needs a number");
        if (!Number(t, 2, f.count)) f.count = 1;
        break;
      default:
        return Fail("field type not allowed in an input");
    }
    c_.inputs.back().fields.push_back(f);
    return true;
  }

  bool OutputFieldLine(ReportFieldType type, const std::vector<Token>& t) {
    OutputField f;
    f.type = type;
    switch (type) {
      case kFieldValue:
      case kFieldBitfield:
        if (!Number(t, 1, f.low) || !Number(t, 2, f.high)) return Fail("field needs two numbers");
        if (t.size() < 4) return Fail("field needs a global name");
        f.globalName = std::string(t[3].text);
        break;
      case kFieldConstant:
        if (!Number(t, 1, f.constant)) return Fail("field needs a number");
        break;
      default:
        return Fail("field type not allowed in an output");
    }
    c_.outputs.back().fields.push_back(std::move(f));
    return true;
  }

  bool ModuleFieldLine(ReportFieldType type, std::string_view line, const std::vector<Token>& t) {
    if (type != kFieldModuleFunction) return Fail("field type not allowed in a module");
    ModuleFunction fn;
    const std::string_view decl = TrimRest(line.substr(t[0].offset + t[0].text.size()));
    const std::size_t paren = decl.find('(');
    if (paren == std::string_view::npos) return Fail("moduleFunction without '('");
    std::size_t start = paren;
    while (start > 0 && !IsBlankOrLineEnd(decl[start - 1])) --start;
    if (start == paren) return Fail("moduleFunction without a name");
    fn.declaration = std::string(decl);
    fn.exportName = std::string(decl.substr(start, paren - start));
    c_.modules.back().functions.push_back(std::move(fn));
    return true;
  }

  ReportConfig& c_;
  std::string* reason_;
  int lineNumber_ = 0;
  Section section_ = Section::kNone;
  bool afterUnitIdLine_ = false;
};

}  // namespace

ReportFieldType ReportFieldTypeFromKeyword(std::string_view word) {
  static constexpr std::string_view kWords[] = {"value",           "values",   "scanCodeDown",
                                                "scanCodeUp",      "scanCodeChanged",
                                                "constant",        "bitfield", "moduleFunction",
                                                "require"};
  for (std::size_t i = 0; i < std::size(kWords); ++i)
    if (word == kWords[i]) return static_cast<ReportFieldType>(i + 1);
  return kFieldNone;
}

bool ParseReportConfigText(std::string_view text, ReportConfig& config, std::string* reason) {
  config = ReportConfig{};
  return Parser(config, reason).Run(text);
}

namespace {
bool ByteInside(long long position, int length) { return position >= 0 && position < length; }
}  // namespace

bool InputFieldFits(const InputField& f, int inputLength) {
  switch (f.type) {
    case kFieldValue:
    case kFieldRequire:
      return ByteInside(f.position, inputLength);
    case kFieldValues:  // [position, count); an empty range reads nothing
      return f.count <= f.position ||
             (ByteInside(f.position, inputLength) && f.count <= inputLength);
    case kFieldScanCodeDown:
    case kFieldScanCodeUp:
    case kFieldScanCodeChanged:
      return f.count >= 1 && ByteInside(f.position, inputLength) &&
             static_cast<long long>(f.position) + f.count <= inputLength;
    case kFieldConstant:
      return true;
    default:
      return false;
  }
}

bool InputFits(const InputConfig& input, int inputLength) {
  for (const InputField& f : input.fields)
    if (!InputFieldFits(f, inputLength)) return false;
  return true;
}

bool OutputFits(const OutputConfig& output, int outputLength) {
  return output.fieldCount() <= outputLength;
}

void FindKeyByteRange(const std::vector<InputConfig>& inputs, int& firstKeyByte,
                      int& lastKeyByte) {
  firstKeyByte = -1;
  lastKeyByte = 0;
  for (const InputConfig& in : inputs) {
    if (in.declaration.find(" KeyDown(") == std::string::npos) continue;
    for (const InputField& f : in.fields) {
      if (f.type != kFieldScanCodeDown) continue;
      const long long last = static_cast<long long>(f.position) + f.count - 1;
      firstKeyByte = f.position;
      lastKeyByte = static_cast<int>(last < INT_MIN ? INT_MIN : last > INT_MAX ? INT_MAX : last);
      return;
    }
  }
}
