#include "macros/model/layout_file.h"

#include <algorithm>
#include <cstdlib>
#include <string>

#include "macros/model/key_caps.h"
#include "macros/model/macro_context.h"
#include "macros/model/macro_device.h"
#include "macros/model/text_code_page.h"
#include "platform/base/path_text.h"
#include "platform/base/text_lines.h"

namespace {

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

// One line of the file: the line itself and its tokens, the keyword first.
struct Line {
  std::string_view text;
  std::vector<std::string_view> t;
  float Num(std::size_t i) const { return static_cast<float>(Number(t[i])); }
};

// What the lines read so far have given.
struct Reading {
  const LayoutReadOptions& options;
  std::vector<KeyRecord>& keys;
  ReaderState s;
  LayoutText out;
};

// A reader of one kind of line, called once the line has its operands; false when the line
// still gives nothing.
using LineReader = bool (*)(Reading& r, const Line& line);

struct LineKind {
  std::string_view keyword;  // case-sensitive
  std::size_t operands;      // with fewer the line is skipped
  const char* needs;         // what a skipped line lacks
  LineReader read;
};

// Rows run across, columns down.
enum class Run { Across, Down };

// A pair of sizes or offsets.
template <float ReaderState::*first, float ReaderState::*second>
bool ReadPair(Reading& r, const Line& l) {
  r.s.*first = l.Num(1);
  r.s.*second = l.Num(2);
  return true;
}

template <Kind kind>
bool ReadKey(Reading& r, const Line& l) {
  AddKeyRecord(r.keys, Placement(r.s, kind, l.Num(1), l.Num(2), KeyId(l.t[3])));
  return true;
}

// A row or column of keys of one kind: its start, gap and count, then its ids.
template <Kind kind, Run run>
bool ReadRun(Reading& r, const Line& l) {
  ReaderState& s = r.s;
  const bool across = run == Run::Across;
  s.kind = kind;
  s.x = l.Num(1);
  s.y = l.Num(2);
  s.gap = l.Num(3);
  s.count = std::max(Number(l.t[4]), 0);
  s.runW = WidthOf(s, s.kind);
  s.runH = HeightOf(s, s.kind);
  PlaceRun(r.keys, s, s.kind, s.x, s.y, across, s.gap + (across ? s.runW : s.runH), s.count, l.t, 5);
  return true;
}

// The last row or column again, that far beyond it, with the ids of this line.
template <Run run>
bool ReadRepeat(Reading& r, const Line& l) {
  ReaderState& s = r.s;
  const bool across = run == Run::Across;
  if (across)
    s.y += l.Num(1) + s.runH;
  else
    s.x += l.Num(1) + s.runW;
  PlaceRun(r.keys, s, s.kind, s.x, s.y, across, s.gap + (across ? s.runW : s.runH), s.count, l.t, 2);
  return true;
}

bool ReadLed(Reading& r, const Line& l) {
  LayoutLed led;
  led.x = l.Num(1);
  led.y = l.Num(2);
  led.red = Number(l.t[3]) != 0;
  led.indicator = Number(l.t[4]) != 0;
  led.w = r.s.ledW;
  led.h = r.s.ledH;
  r.out.leds.push_back(led);
  return true;
}

// A key's pictures, and with a library the plug-in that draws it: the key's id, the library,
// then up to four picture names.
template <bool library>
bool ReadCustomButton(Reading& r, const Line& l) {
  KeyPlacement p;
  p.kind = PlacementKind::Custom;
  p.id = KeyId(l.t[1]);
  if (library) p.plugin = std::string(l.t[2]);
  const std::size_t firstImage = library ? 3 : 2;
  for (std::size_t i = 0; i < p.images.size() && firstImage + i < l.t.size(); ++i)
    if (r.options.customImage) p.images[i] = r.options.customImage(std::string(l.t[firstImage + i]));
  AddKeyRecord(r.keys, p);
  return true;
}

bool ReadNoKeyCap(Reading& r, const Line&) {
  r.out.noKeyCap = true;
  return true;
}

bool ReadImagesPath(Reading& r, const Line& l) {
  // The quoted path may hold blanks: it is taken from the line itself.
  const std::size_t after = static_cast<std::size_t>(l.t[0].data() - l.text.data()) + l.t[0].size();
  const std::string folder = ResolveImagesPath(l.text.substr(after), r.options.layoutFolder);
  if (folder.empty()) return false;
  r.out.imagesFolder = folder;
  return true;
}

// The legend sheets' own line.
bool Ignore(Reading&, const Line&) { return true; }

constexpr const char* kSize = "a width and a height";
constexpr const char* kPlace = "an x, a y and an id";
constexpr const char* kRun = "an x, a y, a gap and a count";

const LineKind kLineKinds[] = {
    {"buttonSize", 2, kSize, ReadPair<&ReaderState::buttonW, &ReaderState::buttonH>},
    {"labelSize", 2, kSize, ReadPair<&ReaderState::labelW, &ReaderState::labelH>},
    {"labelOffset", 2, "an x and a y", ReadPair<&ReaderState::labelDx, &ReaderState::labelDy>},
    {"ledSize", 2, kSize, ReadPair<&ReaderState::ledW, &ReaderState::ledH>},
    {"led", 4, "an x, a y, red and indicator", ReadLed},
    {"button", 3, kPlace, ReadKey<Kind::Button>},
    {"label", 3, kPlace, ReadKey<Kind::Label>},
    {"buttonLabel", 3, kPlace, ReadKey<Kind::ButtonLabel>},
    {"buttonRow", 4, kRun, ReadRun<Kind::Button, Run::Across>},
    {"labelRow", 4, kRun, ReadRun<Kind::Label, Run::Across>},
    {"buttonLabelRow", 4, kRun, ReadRun<Kind::ButtonLabel, Run::Across>},
    {"repeatRow", 1, "a distance", ReadRepeat<Run::Across>},
    {"buttonColumn", 4, kRun, ReadRun<Kind::Button, Run::Down>},
    {"labelColumn", 4, kRun, ReadRun<Kind::Label, Run::Down>},
    {"buttonLabelColumn", 4, kRun, ReadRun<Kind::ButtonLabel, Run::Down>},
    {"repeatColumn", 1, "a distance", ReadRepeat<Run::Down>},
    {"paperType", 0, "", Ignore},
    {"customButton", 1, "an id", ReadCustomButton<false>},
    {"customButtonDLL", 2, "an id and a library", ReadCustomButton<true>},
    {"noKeyCap", 0, "", ReadNoKeyCap},
    {"deviceSpecificImagesPath", 0, "a folder in double quotes", ReadImagesPath},
};

const LineKind* KindOf(std::string_view keyword) {
  for (const LineKind& kind : kLineKinds)
    if (kind.keyword == keyword) return &kind;
  return nullptr;
}

std::string LineNote(int number, const std::string& why) {
  return "line " + std::to_string(number) + ": " + why;
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
  Reading r{options, keys, {}, {}};
  r.s.ledW = options.ledWidth;
  r.s.ledH = options.ledHeight;
  int number = 0;
  for (const std::string_view lineText : SplitFileLines(text, kLayoutLineChars)) {
    ++number;
    const Line line{lineText, Tokens(lineText)};
    if (line.t.empty() || line.t[0].front() == '#') continue;
    const LineKind* kind = KindOf(line.t[0]);
    if (!kind)
      r.out.refused.push_back(LineNote(number, "unknown keyword"));
    else if (line.t.size() - 1 < kind->operands || !kind->read(r, line))
      r.out.refused.push_back(LineNote(number, std::string(kind->keyword) + " needs " + kind->needs));
  }
  return std::move(r.out);
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
