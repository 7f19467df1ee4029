#pragma once
// The Key Caps menu of the programming window: Add finds newly installed spacers among the keys
// held down, or else opens the detection dialog for a cap; Remove finds spacers taken out, or
// else opens the removal dialog. What the commands ask of the program (questions, the device's
// reports, the dialogs) comes through KeyCapCommandPort.

#include <vector>

#include "ui/key_caps/key_cap_changes.h"
#include "ui/key_caps/key_cap_detection.h"

enum class KeyCapQuestion { kInstall, kSpacersDetected, kSpacersRemoved };

struct KeyCapQuestionText {
  const char* text;
  const char* caption;
  bool yesNo;  // Yes and No; else OK and Cancel
};
const KeyCapQuestionText& TextOf(KeyCapQuestion question);

class KeyCapCommandPort : public KeyCapServices {
 public:
  // True for OK or Yes.
  virtual bool Ask(KeyCapQuestion question) = 0;
  // Discards the device's waiting reports and gives the keys held down now (as the device sends
  // them: spacers' keys too), ascending.
  virtual std::vector<int> FlushHeldKeys() = 0;
  // Each opens its dialog unless it is open.
  virtual void OpenDetectionDialog() = 0;
  virtual void OpenRemovalDialog() = 0;
};

void AddKeyCapsCommand(MacroContext& context, KeyCapCommandPort& port);
void RemoveKeyCapsCommand(MacroContext& context, KeyCapCommandPort& port);

// The detection dialog's cap: merged and stored. False when it could not be made.
bool MakeDetectedKeyCap(MacroContext& context, const DetectedKeyCap& cap, KeyCapServices& services);
