#include "ui/programming_window/keypad_painter.h"

#include "macros/gdiplus_view_images.h"
#include "macros/model/macro_context.h"
#include "macros/model/macro_steps.h"
#include "ui/programming_window/layer_choice.h"

namespace {

void Draw(Gdiplus::Graphics& g, const std::shared_ptr<ViewImage>& image, float x, float y) {
  auto* picture = static_cast<GdiplusImage*>(image.get());
  if (!picture) return;  // a picture that could not be loaded leaves its place empty
  const int left = RoundToInt(x);
  const int top = RoundToInt(y);
  if (Gdiplus::CachedBitmap* cached = picture->Cached())
    g.DrawCachedBitmap(cached, left, top);
  else
    g.DrawImage(&picture->Bitmap(), left, top, picture->Width(), picture->Height());
}

// The key's own picture for its state, else the view's picture for the colour and state.
const std::shared_ptr<ViewImage>& KeyImage(const MacroContext& c, const KeyRecord& k, bool red) {
  const int state = k.state >= kStateNormal && k.state <= kStatePressed ? k.state : kStateNormal;
  int own = kNormalImage;
  if (state == kStateOver) own = red ? kRedOverImage : kGreenOverImage;
  if (state == kStatePressed) own = red ? kRedPressedImage : kGreenPressedImage;
  if (k.images[own]) return k.images[own];
  return c.view.table[red ? kRedKeyRow : kGreenKeyRow][state];
}

std::unique_ptr<Gdiplus::FontFamily> Family(const wchar_t* name) {
  auto family = std::make_unique<Gdiplus::FontFamily>(name);
  if (family->GetLastStatus() == Gdiplus::Ok && family->IsAvailable()) return family;
  return nullptr;
}

}  // namespace

std::unique_ptr<Gdiplus::FontFamily> FindLabelFontFamily(const wchar_t* name) {
  if (auto family = Family(name)) return family;
  // The generic family by its name: the wrapper's own accessor keeps a copy past GDI+'s end.
  Gdiplus::GpFontFamily* generic = nullptr;
  WCHAR genericName[LF_FACESIZE] = L"";
  if (Gdiplus::DllExports::GdipGetGenericFontFamilySansSerif(&generic) == Gdiplus::Ok && generic &&
      Gdiplus::DllExports::GdipGetFamilyName(generic, genericName, LANG_NEUTRAL) == Gdiplus::Ok)
    if (auto family = Family(genericName)) return family;
  for (const wchar_t* common : {L"Liberation Sans", L"DejaVu Sans"})
    if (auto family = Family(common)) return family;
  return nullptr;
}

KeypadPainter::KeypadPainter()
    : family_(FindLabelFontFamily(kLabelFontFamily)),
      white_(std::make_unique<Gdiplus::SolidBrush>(Gdiplus::Color(0xFFFFFFFF))),
      black_(std::make_unique<Gdiplus::SolidBrush>(Gdiplus::Color(0xFF000000))),
      redText_(std::make_unique<Gdiplus::SolidBrush>(Gdiplus::Color(kRedLayerLabelColour))),
      greenText_(std::make_unique<Gdiplus::SolidBrush>(Gdiplus::Color(kGreenLayerLabelColour))),
      format_(std::make_unique<Gdiplus::StringFormat>()) {
  if (family_)
    font_ = std::make_unique<Gdiplus::Font>(family_.get(), kLabelFontPoints, Gdiplus::FontStyleRegular,
                                            Gdiplus::UnitPoint);
  format_->SetAlignment(Gdiplus::StringAlignmentNear);
  format_->SetLineAlignment(Gdiplus::StringAlignmentNear);
}

KeypadPainter::~KeypadPainter() = default;

std::wstring KeypadPainter::FontFamilyName() const {
  WCHAR name[LF_FACESIZE] = L"";
  if (!family_ || family_->GetFamilyName(name) != Gdiplus::Ok) return {};
  return name;
}

bool KeypadPainter::Paint(MacroContext& c, bool red) {
  auto* canvas = static_cast<GdiplusCanvas*>(c.view.canvas.get());
  if (!canvas) return false;
  Gdiplus::Graphics& g = canvas->Graphics();
  g.FillRectangle(white_.get(), 0, 0, canvas->Width(), canvas->Height());
  if (Gdiplus::CachedBitmap* background = canvas->CachedBackground())
    g.DrawCachedBitmap(background, 0, 0);
  else
    g.DrawImage(&canvas->Background(), 0, 0, canvas->Width(), canvas->Height());

  for (const LayoutLed& led : c.leds) {
    const auto& row = c.view.table[led.red ? kRedLedRow : kGreenLedRow];
    if (led.indicator && led.red == red) Draw(g, row[kStateNormal], led.x, led.y);  // lit
    if (led.state > kStateNormal && led.state <= kStatePressed) Draw(g, row[led.state], led.x, led.y);
  }

  for (const KeyRecord& k : c.keys)
    if (!k.key.Empty()) Draw(g, KeyImage(c, k, red), k.key.x, k.key.y);

  if (!font_) return true;
  const LayerColour colour = ColourLayerOf(red);
  const std::string program = ProgramLayerTokenShown(c);
  for (const KeyRecord& k : c.keys) {
    // A key without a label place has nowhere to put its text: drawn into an empty rectangle it
    // would land at the view's corner.
    if (!k.plugin.empty() || k.capKind == kCoveredByCap || k.capKind == kSpacerKey || k.label.Empty())
      continue;
    const Gdiplus::RectF place(k.label.x, k.label.y, k.label.w, k.label.h);
    if (c.toggleKeys.count(k.keyId) || c.shiftKeys.count(k.keyId)) {
      const wchar_t* text = c.toggleKeys.count(k.keyId) ? L"[Toggle Layer]" : L"[Shift Layer]";
      g.DrawString(text, -1, font_.get(), place, format_.get(), red ? redText_.get() : greenText_.get());
      continue;
    }
    const std::wstring text = GetKeyDownMacroText(k.entries, colour, program);
    if (!text.empty())
      g.DrawString(text.c_str(), static_cast<INT>(text.size()), font_.get(), place, format_.get(),
                   black_.get());
  }
  return true;
}
