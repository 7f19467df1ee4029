#include "macros/model/layout_file.h"

#include <algorithm>
#include <cstdlib>
#include <map>

#include "macros/model/key_caps.h"
#include "macros/model/macro_context.h"
#include "macros/model/macro_device.h"
#include "macros/model/text_code_page.h"
#include "platform/base/path_text.h"
#include "platform/base/text_lines.h"

namespace {

enum Keyword : int {
  kButtonSize = 1, kLabelSize, kLabelOffset, kLedSize, kLed, kButton, kLabel, kButtonLabel,
  kButtonRow, kLabelRow, kButtonLabelRow, kRepeatRow, kButtonColumn, kLabelColumn,
  kButtonLabelColumn, kRepeatColumn, kPaperType, kCustomButton, kCustomButtonDll, kNoKeyCap,
  kDeviceSpecificImagesPath,
};

const std::map<std::string_view, Keyword>& Keywords() {
  static const std::map<std::string_view, Keyword> table = {
      {"buttonSize", kButtonSize}, {"labelSize", kLabelSize}, {"labelOffset", kLabelOffset},
      {"ledSize", kLedSize}, {"led", kLed}, {"button", kButton}, {"label", kLabel},
      {"buttonLabel", kButtonLabel}, {"buttonRow", kButtonRow}, {"labelRow", kLabelRow},
      {"buttonLabelRow", kButtonLabelRow}, {"repeatRow", kRepeatRow},
      {"buttonColumn", kButtonColumn}, {"labelColumn", kLabelColumn},
      {"buttonLabelColumn", kButtonLabelColumn}, {"repeatColumn", kRepeatColumn},
      {"paperType", kPaperType}, {"customButton", kCustomButton},
      {"customButtonDLL", kCustomButtonDll}, {"noKeyCap", kNoKeyCap},
      {"deviceSpecificImagesPath", kDeviceSpecificImagesPath},
  };
  return table;
}

std::vector<std::string_view> Tokens(std::string_view line) {
  std::vector<std::string_view> tokens;
  constexpr std::string_view kSeparators = " \t\r\n";
  std::size_t pos = 0;
  while ((pos = line.find_first_not_of(kSeparators, pos)) != std::string_view::npos) {
    const std::size_t end = line.find_first_of(kSeparators, pos);
    tokens.push_back(line.substr(pos, end == std::string_view::npos ? end : end - pos));
    pos = end;
  }
  return tokens;
}

// As atoi: optional sign and digits, anything else reads as 0; kept within int.
int Number(std::string_view token) {
  const std::string text(token);
  const long long value = std::strtoll(text.c_str(), nullptr, 10);
  return static_cast<int>(std::clamp<long long>(value, -2147483647LL - 1, 2147483647LL));
}

// Decimal, 0x hexadecimal or 0 octal; the low 8 bits.
std::uint8_t KeyId(std::string_view token) {
  const std::string text(token);
  return static_cast<std::uint8_t>(std::strtoull(text.c_str(), nullptr, 0) & 0xFF);
}

enum class Kind { Button, Label, ButtonLabel };

struct ReaderState {
  float buttonW = 0, buttonH = 0;
  float labelW = 0, labelH = 0;
  float labelDx = 0, labelDy = 0;
  float ledW = 0, ledH = 0;
  float x = 0, y = 0;  // start of the last row or column
  Kind kind = Kind::Button;
  float gap = 0;
  int count = 0;
  // The key size of the last row or column as it was placed: a repeat steps by it, whatever
  // size lines came since.
  float runW = 0, runH = 0;
  std::string plugin;  // of the pending custom line
};

PlacementKind PlacementOf(Kind kind) {
  switch (kind) {
    case Kind::Label: return PlacementKind::Label;
    case Kind::ButtonLabel: return PlacementKind::ButtonLabel;
    default: return PlacementKind::Button;
  }
}

KeyPlacement Placement(const ReaderState& s, Kind kind, float x, float y, std::uint8_t id) {
  KeyPlacement p;
  p.kind = PlacementOf(kind);
  p.x = x;
  p.y = y;
  p.buttonW = s.buttonW;
  p.buttonH = s.buttonH;
  p.labelW = s.labelW;
  p.labelH = s.labelH;
  p.labelDx = s.labelDx;
  p.labelDy = s.labelDy;
  p.id = id;
  return p;
}

float WidthOf(const ReaderState& s, Kind kind) { return kind == Kind::Label ? s.labelW : s.buttonW; }
float HeightOf(const ReaderState& s, Kind kind) { return kind == Kind::Label ? s.labelH : s.buttonH; }

// Places up to `count` of the ids from tokens[first] on, each `step` further along.
void PlaceRun(std::vector<KeyRecord>& keys, const ReaderState& s, Kind kind, float x, float y,
              bool across, float step, int count, const std::vector<std::string_view>& tokens,
              std::size_t first) {
  const std::size_t available = tokens.size() > first ? tokens.size() - first : 0;
  const std::size_t n = std::min<std::size_t>(static_cast<std::size_t>(std::max(count, 0)), available);
  for (std::size_t i = 0; i < n; ++i) {
    const float along = step * static_cast<float>(i);
    AddKeyRecord(keys, Placement(s, kind, across ? x + along : x, across ? y : y + along,
                                 KeyId(tokens[first + i])));
  }
}

// Drops the last folder of a path that ends with a backslash, never its first component.
std::string UpOneFolder(const std::string& folder) {
  std::string f = folder;
  if (!f.empty() && f.back() == '\\') f.pop_back();
  const std::size_t cut = f.find_last_of('\\');
  if (cut == std::string::npos) return folder;  // the root (or a bare name) stays
  return f.substr(0, cut + 1);
}

}  // namespace

void AddKeyRecord(std::vector<KeyRecord>& keys, const KeyPlacement& p) {
  const int index = FindKeyIndex(keys, p.id);
  KeyRecord added;
  KeyRecord& k = index >= 0 ? keys[index] : added;
  k.keyId = p.id;
  switch (p.kind) {
    case PlacementKind::Button:
      k.key = {p.x, p.y, p.buttonW, p.buttonH};
      break;
    case PlacementKind::Label:
      k.label = {p.x, p.y, p.labelW, p.labelH};
      break;
    case PlacementKind::ButtonLabel:
      k.key = {p.x, p.y, p.buttonW, p.buttonH};
      k.label = {p.x + p.labelDx, p.y + p.labelDy, p.labelW, p.labelH};
      break;
    case PlacementKind::Custom:
      k.plugin = p.plugin;
      for (std::size_t i = 0; i < p.images.size(); ++i) k.images[i] = p.images[i];
      break;
  }
  if (index < 0) keys.push_back(std::move(added));
}

std::string ResolveImagesPath(std::string_view rest, const std::string& layoutFolder) {
  const std::size_t open = rest.find('"');
  if (open == std::string_view::npos) return {};
  const std::size_t close = rest.find('"', open + 1);
  if (close == std::string_view::npos) return {};
  std::string path(rest.substr(open + 1, close - open - 1));
  std::string folder;
  if (path.empty() || path[0] != '.') {
    folder = path;
  } else {
    std::string base = layoutFolder;
    while (path.size() >= 2 && path[0] == '.' && path[1] == '.') {
      path.erase(0, std::min<std::size_t>(3, path.size()));
      base = UpOneFolder(base);
    }
    if (!path.empty() && path[0] == '.') path.erase(0, std::min<std::size_t>(2, path.size()));
    folder = base + path;
  }
  if (!folder.empty() && folder.back() != '\\') folder += '\\';
  return folder;
}

LayoutText ReadLayoutText(std::string_view text, const LayoutReadOptions& options,
                          std::vector<KeyRecord>& keys) {
  LayoutText out;
  ReaderState s;
  s.ledW = options.ledWidth;
  s.ledH = options.ledHeight;
  for (const std::string_view line : SplitFileLines(text, kLayoutLineChars)) {
    const std::vector<std::string_view> t = Tokens(line);
    if (t.empty() || t[0].front() == '#') continue;
    const auto found = Keywords().find(t[0]);
    if (found == Keywords().end()) continue;
    const std::size_t operands = t.size() - 1;
    auto num = [&](std::size_t i) { return static_cast<float>(Number(t[i])); };
    switch (found->second) {
      case kButtonSize:
      case kLabelSize:
      case kLabelOffset:
      case kLedSize: {
        if (operands < 2) break;
        float* target[] = {&s.buttonW, &s.labelW, &s.labelDx, &s.ledW};
        float* second[] = {&s.buttonH, &s.labelH, &s.labelDy, &s.ledH};
        const int i = found->second - kButtonSize;
        *target[i] = num(1);
        *second[i] = num(2);
        break;
      }
      case kLed: {
        if (operands < 4) break;
        LayoutLed led;
        led.x = num(1);
        led.y = num(2);
        led.red = Number(t[3]) != 0;
        led.indicator = Number(t[4]) != 0;
        led.w = s.ledW;
        led.h = s.ledH;
        out.leds.push_back(led);
        break;
      }
      case kButton:
      case kLabel:
      case kButtonLabel: {
        if (operands < 3) break;
        const Kind kind = found->second == kButton  ? Kind::Button
                          : found->second == kLabel ? Kind::Label
                                                    : Kind::ButtonLabel;
        AddKeyRecord(keys, Placement(s, kind, num(1), num(2), KeyId(t[3])));
        break;
      }
      case kButtonRow:
      case kLabelRow:
      case kButtonLabelRow:
      case kButtonColumn:
      case kLabelColumn:
      case kButtonLabelColumn: {
        if (operands < 4) break;
        const bool row = found->second <= kButtonLabelRow;
        const int k = row ? found->second - kButtonRow : found->second - kButtonColumn;
        s.kind = k == 0 ? Kind::Button : k == 1 ? Kind::Label : Kind::ButtonLabel;
        s.x = num(1);
        s.y = num(2);
        s.gap = num(3);
        s.count = std::max(Number(t[4]), 0);
        s.runW = WidthOf(s, s.kind);
        s.runH = HeightOf(s, s.kind);
        PlaceRun(keys, s, s.kind, s.x, s.y, row, s.gap + (row ? s.runW : s.runH), s.count, t, 5);
        break;
      }
      case kRepeatRow: {
        if (operands < 1) break;
        s.y += num(1) + s.runH;
        PlaceRun(keys, s, s.kind, s.x, s.y, true, s.gap + s.runW, s.count, t, 2);
        break;
      }
      case kRepeatColumn: {
        if (operands < 1) break;
        s.x += num(1) + s.runW;
        PlaceRun(keys, s, s.kind, s.x, s.y, false, s.gap + s.runH, s.count, t, 2);
        break;
      }
      case kPaperType:
        break;
      case kCustomButton:
      case kCustomButtonDll: {
        const bool dll = found->second == kCustomButtonDll;
        if (operands < (dll ? 2u : 1u)) break;
        KeyPlacement p;
        p.kind = PlacementKind::Custom;
        p.id = KeyId(t[1]);
        if (dll) s.plugin = std::string(t[2]);
        p.plugin = s.plugin;
        const std::size_t firstImage = dll ? 3 : 2;
        for (std::size_t i = 0; i < p.images.size() && firstImage + i < t.size(); ++i)
          if (options.customImage) p.images[i] = options.customImage(std::string(t[firstImage + i]));
        AddKeyRecord(keys, p);
        s.plugin.clear();
        break;
      }
      case kNoKeyCap:
        out.noKeyCap = true;
        break;
      case kDeviceSpecificImagesPath: {
        // The quoted path may hold blanks: it is taken from the line itself.
        const std::size_t after = static_cast<std::size_t>(t[0].data() - line.data()) + t[0].size();
        const std::string folder = ResolveImagesPath(line.substr(after), options.layoutFolder);
        if (!folder.empty()) out.imagesFolder = folder;
        break;
      }
    }
  }
  return out;
}

bool LoadKeyImage(std::shared_ptr<ViewImage>& slot, const std::wstring& path,
                  ViewImageLoader& loader, ViewCanvas* canvas) {
  slot = path.empty() ? nullptr : loader.LoadImage(path, canvas);
  return slot != nullptr;
}

bool LoadKeyImageState(MacroContext& context, ViewImageLoader& loader, int row, int state,
                       const std::string& name, float& width, float& height) {
  std::shared_ptr<ViewImage>& slot = context.view.table[row][state];
  slot.reset();
  std::wstring path;
  if (!context.device || !context.device->ResolveButtonImage(context.layoutFolder, name, path))
    return false;
  if (!LoadKeyImage(slot, path, loader, context.view.canvas.get())) return false;
  if (width < 0) {
    width = static_cast<float>(slot->Width());
    height = static_cast<float>(slot->Height());
  }
  return true;
}

void FreeViewImages(KeypadViewImages& view) { view = KeypadViewImages{}; }

bool LoadLayoutFile(MacroContext& context, ViewImageLoader& loader) {
  FreeViewImages(context.view);
  context.leds.clear();
  if (!context.device) return false;
  MacroDevice& device = *context.device;
  std::string text, path;
  const bool opened = device.ReadDeviceFile(kLayoutFileName, text, path);
  std::string imagesFolder = device.ButtonImagesFolder();
  if (opened) context.layoutFolder = CutAfterLastBackslash(path);

  bool good = opened;
  std::wstring background;
  if (device.ResolveButtonImage(context.layoutFolder, kBackgroundImageName, background))
    context.view.canvas = loader.CreateCanvas(background);
  if (context.view.canvas) {
    context.view.canvasWidth = context.view.canvas->Width();
    context.view.canvasHeight = context.view.canvas->Height();
  } else {
    good = false;
  }

  float unused = 0, unusedH = 0;
  bool anyKey = false;
  for (int row : {kGreenKeyRow, kRedKeyRow})
    for (int state = 0; state < 3; ++state)
      anyKey |= LoadKeyImageState(context, loader, row, state, kViewImageNames[row][state], unused,
                                  unusedH);
  // The first LED picture found gives the LED size until a ledSize line.
  float ledW = -1, ledH = 0;
  bool anyLed = false;
  for (int row : {kGreenLedRow, kRedLedRow})
    for (int state = 0; state < 3; ++state)
      anyLed |= LoadKeyImageState(context, loader, row, state, kViewImageNames[row][state], ledW,
                                  ledH);
  good = good && anyKey && anyLed;
  if (ledW < 0) ledW = 0;

  std::wstring lock;
  if (device.ResolveDeviceFile(kLockImageName, lock))
    LoadKeyImage(context.view.lock, lock, loader, context.view.canvas.get());

  if (opened) {
    LayoutReadOptions options;
    options.layoutFolder = context.layoutFolder;
    options.ledWidth = ledW;
    options.ledHeight = ledH;
    options.customImage = [&](const std::string& name) -> std::shared_ptr<ViewImage> {
      std::wstring file;
      if (!device.ResolveDeviceFile(name, file)) return nullptr;
      return loader.LoadImage(file, context.view.canvas.get());
    };
    LayoutText layout = ReadLayoutText(text, options, context.keys);
    context.leds = std::move(layout.leds);
    context.noKeyCap = context.noKeyCap || layout.noKeyCap;
    if (!layout.imagesFolder.empty()) imagesFolder = layout.imagesFolder;
  }
  context.imagesFolder = WidenText(imagesFolder);

  if (!good) {
    FreeViewImages(context.view);
    return false;
  }
  BuildKeyCapViews(context);
  RedrawAllKeys(context);
  return true;
}
