#pragma once
// What the wizard's window shows, as far as a tick or click arriving under a box could change
// it: taken before and after whatever arrives under the box, the two must be equal.
// Header-only: shared by the wizard's tests and its fuzz target.

#include <cstddef>
#include <string>

#include "calibration/wizard.h"
#include "tests/calibration/fake_system.h"

struct Seen {
  int page, position;
  bool sampling, blinking, busy;
  std::string status, text, calibrate, next;
  bool calibrateOn, nextOn, backOn;
  size_t diagnostics, boxes;
  unsigned closeSerial;

  static Seen Of(const cal::Wizard& wizard, const FakeSystem& system) {
    const cal::WizardScreen& s = wizard.Screen();
    return {s.page,
            wizard.CurrentPosition(),
            s.sampling,
            s.blinking,
            s.busy,
            s.status,
            s.pageText[s.page],
            s.calibrate.caption,
            s.next.caption,
            s.calibrate.visible && s.calibrate.enabled,
            s.next.visible && s.next.enabled,
            s.back.visible && s.back.enabled,
            s.diagnostics.size(),
            system.messages.size(),
            s.closeSerial};
  }
  bool operator==(const Seen&) const = default;
};
