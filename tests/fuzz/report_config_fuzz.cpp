// Fuzz target: "ReportConfig.txt" texts, and fitting what they give to reports of several
// lengths: every field kept reads only bytes inside its report, whatever the file says.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "runtime/device/report_config.h"
#include "tests/fuzz/fuzz_check.h"

namespace {

bool Inside(long long byte, int length) { return byte >= 0 && byte < length; }

// The bytes the input dispatch reads for a field, checked on their own terms.
void CheckFieldReadsInside(const InputField& f, int length) {
  switch (f.type) {
    case kFieldValue:
    case kFieldRequire:
      Check(Inside(f.position, length));
      break;
    case kFieldValues:  // bytes position .. count - 1; none when count <= position
      if (f.count > f.position) Check(Inside(f.position, length) && Inside(f.count - 1LL, length));
      break;
    case kFieldScanCodeDown:
    case kFieldScanCodeUp:
    case kFieldScanCodeChanged:
      Check(f.count >= 1);
      Check(Inside(f.position, length));
      Check(Inside(static_cast<long long>(f.position) + f.count - 1, length));
      break;
    case kFieldConstant:
      break;
    default:
      Check(false);
  }
}

// What the device set-up does with the configuration for reports of the given lengths.
void CheckFitted(const ReportConfig& config, int inputLength, int outputLength) {
  std::vector<InputConfig> kept;
  for (const InputConfig& in : config.inputs) {
    if (!InputFits(in, inputLength)) continue;
    for (const InputField& f : in.fields) CheckFieldReadsInside(f, inputLength);
    kept.push_back(in);
  }
  for (const OutputConfig& out : config.outputs)
    if (OutputFits(out, outputLength)) Check(out.fieldCount() <= outputLength);
  // The key bytes the dispatch walks lie inside the report.
  int first = 0, last = 0;
  FindKeyByteRange(kept, first, last);
  if (first >= 0) {
    Check(Inside(first, inputLength));
    Check(last >= first && Inside(last, inputLength));
  } else {
    Check(first == -1 && last == 0);
  }
}

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
bool IsDelimiter(char c) { return IsBlank(c) || c == ',' || c == '='; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  ReportConfig config;
  std::string reason;
  if (!ParseReportConfigText(text, config, &reason)) {
    // A refusal says why, and where unless it is about the whole file.
    Check(reason.starts_with("line ") || reason == "no input and no output");
    return 0;
  }
  Check(!config.inputs.empty() || !config.outputs.empty());

  for (const InputConfig& in : config.inputs) {
    Check(!in.declaration.empty() && in.declaration.size() <= kReportConfigLineChars);
    Check(!IsDelimiter(in.declaration.front()) && !IsBlank(in.declaration.back()));
    Check(in.callOnChange || in.period > 0);
    Check(in.period >= 0);
    for (const InputField& f : in.fields)
      Check(f.type >= kFieldValue && f.type <= kFieldRequire && f.type != kFieldBitfield &&
            f.type != kFieldModuleFunction);
  }
  for (const OutputConfig& out : config.outputs) {
    Check(!out.name.empty() && out.name.size() <= kReportConfigLineChars);
    for (const OutputField& f : out.fields) {
      Check(f.type == kFieldValue || f.type == kFieldConstant || f.type == kFieldBitfield);
      Check(f.type == kFieldConstant || !f.globalName.empty());
    }
  }
  for (const ModuleConfig& m : config.modules) {
    Check(m.path.size() <= kReportConfigLineChars);
    for (const ModuleFunction& fn : m.functions) {
      // The export is the word right before the declaration's first "(".
      const std::size_t paren = fn.declaration.find('(');
      Check(paren != std::string::npos && !fn.exportName.empty());
      Check(fn.declaration.substr(0, paren).ends_with(fn.exportName));
    }
  }
  if (config.hasLayerLed) {
    bool named = false;
    for (const OutputConfig& out : config.outputs) named |= out.name == "setLEDs";
    Check(named);
  }

  // Lengths around the ones real devices have, one drawn from the file itself, and the
  // extremes.
  const int drawn = size > 0 ? data[size - 1] : 0;
  for (int length : {0, 1, 2, 8, 9, 64, 65, drawn, 0x7FFFFFFF})
    CheckFitted(config, length, length);
  return 0;
}
