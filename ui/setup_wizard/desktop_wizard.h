#pragma once
// The desktop setup wizard of one device, without its windows: which page shows, what the
// pages show when they are made, and what each button does to the device and the machine.

#include <optional>
#include <string>

#include "ui/setup_wizard/starter_script.h"

enum class WizardPage { Start, UserData, Finish };
enum class WizardLayout { Blank = 0, Default = 1 };

// The window side: one page of a device's wizard at a time.
class WizardWindows {
 public:
  virtual ~WizardWindows() = default;
  // Makes the page (without owner) and shows it in place of the current one, which is closed
  // whether or not the new one could be made. False when it could not.
  virtual bool ShowPage(WizardPage page) = 0;
  virtual void ClosePage() = 0;
  // "The Qpad Desktop Setup Wizard attempted to initialize but failed!"
  virtual void ShowFailure() = 0;
};

// What the wizard does to its device and to the machine.
class WizardDevice {
 public:
  virtual ~WizardDevice() = default;
  // The details kept on the machine (empty texts for those that cannot be read).
  virtual UserDetails ReadUserDetails() = 0;
  virtual void WriteUserDetails(const UserDetails& details) = 0;
  // Replaces the device's script file with the bytes (nothing is written on failure).
  virtual void WriteScript(const std::string& bytes) = 0;
  // The device's script read back and written again in the generated form.
  virtual void RegenerateScript() = 0;
  // Every device built anew at the device thread's next turn.
  virtual void RebuildAllDevices() = 0;
  // This device's script built anew at the device thread's next turn.
  virtual void RebuildDevice() = 0;
  virtual void PlayDemo() = 0;
};

class DesktopWizard {
 public:
  DesktopWizard(WizardWindows& windows, WizardDevice& device) : windows_(windows), device_(device) {}

  // The default layout and the start page; false (with the failure shown) when the page
  // cannot be made.
  bool Start();
  bool IsOpen() const { return open_; }
  WizardPage Page() const { return page_; }

  // What a page shows when it is made: the layout (the start page's radio buttons, the finish
  // page's texts, and its demonstration box ticked for the default layout) and the user-data
  // page's edits.
  WizardLayout Layout() const { return layout_; }
  bool DemoTickedAtFirst() const { return layout_ == WizardLayout::Default; }
  // The texts the user typed in this wizard, or those kept on the machine before that.
  UserDetails DetailsToShow();

  // Start page.
  void Next(WizardLayout chosen);
  void Cancel();
  // User-data page.
  void Next(const UserDetails& typed);
  // User-data and finish pages.
  void Back();
  // Finish page.
  void Finish(bool playDemo);

 private:
  void Go(WizardPage page);
  void End();
  // The blank layout: an empty script file, regenerated, and the device built from it.
  void WriteBlankLayout();

  WizardWindows& windows_;
  WizardDevice& device_;
  bool open_ = false;
  WizardPage page_ = WizardPage::Start;
  WizardLayout layout_ = WizardLayout::Default;
  std::optional<UserDetails> typed_;
};
