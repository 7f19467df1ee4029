#pragma once
// What the programming window does for its menus and drops: the layer shown, the File
// commands, the modes, and the commands handed to the pieces beside it. The window's state is
// its macro context; the window itself is reached through a small port, the device through its
// interface, the user through the platform's seam (boxes, dialogs, registry, shell).

#include <windows.h>

#include <string>
#include <vector>

#include "platform/base/message_box.h"
#include "ui/programming_window/programming_device.h"

class SystemCalls;
struct MacroContext;
class ProgrammingFeatures;

class ProgrammingWindowPort {
 public:
  virtual ~ProgrammingWindowPort() = default;
  virtual HWND Window() = 0;  // the owner of boxes and dialogs
  virtual HMENU MenuBar() = 0;
  virtual void SetTitle(const std::string& title) = 0;
  // Paints the whole canvas anew and redraws the window.
  virtual void Repaint() = 0;
  // Posts the redraw message (1026) to the window.
  virtual void PostRedraw() = 0;
  // Destroys the window (its teardown runs before this returns).
  virtual void Close() = 0;
};

// The web page of the device family (Help menu).
inline constexpr char kDeviceFamilyWebPage[] = "https://www.kestrion.com/qpad/";
inline constexpr char kHelpFileName[] = "LCORVXHelp.chm";

// Hidden mode as the machine's "Invisible" value sets it (absent: off).
bool HiddenModeSetting(SystemCalls& calls);

class ProgrammingController {
 public:
  // The commands of the layers, key caps, legend editor and About box go to the features.
  ProgrammingController(SystemCalls& calls, MacroContext& context, ProgrammingDevice& device,
                        ProgrammingWindowPort& port, ProgrammingFeatures& features);

  // The title for the layer shown.
  std::string Title();
  // The menu bar's changes at creation, the default layer of the device's colour, and the
  // layout counted as saved.
  void Start();
  // A command of the menus (or sent by the window to itself); false leaves it to the default.
  bool OnCommand(int id);
  // Greys the items that do not apply (a popup is about to open).
  void OnMenuPopup();
  // The window's close box: programming is no longer requested. The window is closed.
  void OnClose();
  // Files dropped at a point of the view (shortcuts already resolved).
  void OnDrop(float x, float y, const std::vector<std::wstring>& paths);
  // A record opened for a script without a device is to be given back after the teardown
  // (Exit and the close box only; closing from elsewhere leaves it to its owner).
  bool ReleaseRecordAfterClose() const { return releaseRecord_; }

  // The layout differs from the file last saved or opened.
  bool IsModified() const;

 private:
  void ShowColourLayer(bool red);
  void ShowProgramLayer(int command);
  bool Save();
  bool SaveAs(const std::string& suggestion);
  void Open();
  void New();
  bool AskToSaveFirst(const char* question);
  void ToggleHiddenMode();
  void ToggleBacklights();
  void ToggleKeyswitch();
  void WriteDeviceScript();
  void NoteSaved(const std::string& path);
  void CloseWindow();
  std::string DisplayName();
  BoxAnswer Box(HWND owner, const char* text, const char* caption, BoxButtons buttons, BoxIcon icon);

  SystemCalls& calls_;
  MacroContext& context_;
  ProgrammingDevice& device_;
  ProgrammingWindowPort& port_;
  ProgrammingFeatures& features_;
  bool releaseRecord_ = false;
};
