#pragma once
// The layout file "layout.kll" of a device type: where the keypad view draws each key, label
// and LED. Plain text, one keyword a line, each kind of line read by a small reader of its own;
// the readers keep a running state of sizes, position and the last row or column. A line the
// reader cannot use is skipped and named, never a fault. LoadLayoutFile adds the view's
// pictures, decoded through the platform's ViewImageLoader.

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "macros/model/key_records.h"
#include "macros/model/view_images.h"

struct MacroContext;

inline constexpr const char* kLayoutFileName = "layout.kll";
// The reader's line holds this many characters; the rest of a longer line is a line of its own.
inline constexpr std::size_t kLayoutLineChars = 254;

// What a placement line sets on a key record.
enum class PlacementKind { Button, Label, ButtonLabel, Custom };

struct KeyPlacement {
  PlacementKind kind = PlacementKind::Button;
  float x = 0, y = 0;
  float buttonW = 0, buttonH = 0;
  float labelW = 0, labelH = 0;
  float labelDx = 0, labelDy = 0;
  std::uint8_t id = 0;
  std::string plugin;                                  // custom only
  std::array<std::shared_ptr<ViewImage>, 4> images;    // custom only
};

// Updates the first record with the id (only the fields of the kind), else appends a record
// with those fields set. The cap kind is never changed.
void AddKeyRecord(std::vector<KeyRecord>& keys, const KeyPlacement& placement);

struct LayoutReadOptions {
  std::string layoutFolder;  // the layout file's folder, with its backslash
  float ledWidth = 0;        // LED size until a ledSize line
  float ledHeight = 0;
  // The picture of a customButton image name; may be empty (the slots then stay empty).
  std::function<std::shared_ptr<ViewImage>(const std::string& name)> customImage;
};

struct LayoutText {
  std::vector<LayoutLed> leds;
  bool noKeyCap = false;
  std::string imagesFolder;  // from deviceSpecificImagesPath, with its backslash; "" if none
  std::vector<std::string> refused;  // "line N: ..." of each line skipped, in order
};

// Reads the lines of a layout file into keys (records placed by earlier lines stay) and the
// returned LEDs and settings. A count beyond the ids of its line places the ids there are; a
// line of an unknown keyword, or missing an operand its keyword needs, is skipped (comments and
// blank lines are no lines to refuse).
LayoutText ReadLayoutText(std::string_view text, const LayoutReadOptions& options,
                          std::vector<KeyRecord>& keys);

// The folder a deviceSpecificImagesPath line names, given the rest of its line after the
// keyword; "" when the line has no pair of double quotes. A path beginning with "." is taken
// from the layout's folder ("..\" goes up a folder, never above the root).
std::string ResolveImagesPath(std::string_view rest, const std::string& layoutFolder);

// Loads the view's pictures, reads the device's layout file into the key records and LEDs,
// and sets the canvas size; true when the view can be shown (the layout file opened, the
// background, and at least one key and one LED picture loaded). Then builds the key-cap
// views and redraws the keys; on failure the view's pictures are released.
bool LoadLayoutFile(MacroContext& context, ViewImageLoader& loader);

// Decodes a file into the slot; false (and an empty slot) on failure.
bool LoadKeyImage(std::shared_ptr<ViewImage>& slot, const std::wstring& path,
                  ViewImageLoader& loader, ViewCanvas* canvas);
// Resolves a picture of the view and loads it at row and state; while width is negative it
// takes the picture's size.
bool LoadKeyImageState(MacroContext& context, ViewImageLoader& loader, int row, int state,
                       const std::string& name, float& width, float& height);
// Releases the canvas, the background and every picture of the table.
void FreeViewImages(KeypadViewImages& view);
