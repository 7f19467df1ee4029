// Fuzz entry: the calibration wizard driven by the input, one byte for each thing that reaches
// it: a tick of either timer, a click on a button (whatever its state), the lever moved, reads
// failing, the controller unplugged or plugged in, a menu choice, a close request. A box the
// wizard shows takes the following bytes as what its message loop delivers while it is up,
// until a byte answers it. Nothing may change under a box, and the wizard's state stays whole
// (the sanitizers watch its tables). The files are written where no folder is.
// tools/fuzz check: 4000 runs
#include <cstddef>
#include <cstdint>

#include "calibration/wizard.h"
#include "tests/calibration/cab_readings.h"
#include "tests/calibration/fake_cab.h"
#include "tests/calibration/fake_system.h"
#include "tests/calibration/wizard_snapshot.h"
#include "tests/fuzz/fuzz_check.h"

namespace {

using namespace cal;

class Drive {
 public:
  Drive(const uint8_t* data, size_t size) : data_(data), size_(size) {
    cab_.AttachOne(3);
    system_.onMessage = [this] { UnderBox(); };
  }

  void Run() {
    wizard_.Start();
    while (at_ < size_) {
      Deliver(data_[at_++]);
      const WizardScreen& s = wizard_.Screen();
      Check(!wizard_.Handling() && !s.boxShown);
      Check(s.page >= kWelcomePage && s.page <= kFinishPage);
      // Sampling only ever runs for a position of the page shown.
      if (s.sampling) Check(s.page >= kFirstSectionPage && s.page <= kRotarySectionPage &&
                            Position(wizard_.CurrentPosition()).page == s.page);
    }
  }

 private:
  void Deliver(uint8_t b) {
    const int p = wizard_.CurrentPosition();
    switch (b & 0x0F) {
      case 0: case 1: case 2: wizard_.OnSamplingTick(); break;
      case 3: wizard_.OnBlinkTick(); break;
      case 4: wizard_.OnNext(); break;
      case 5: wizard_.OnBack(); break;
      case 6: wizard_.OnCalibrate(); break;
      case 7: cab_.Hold(CabReport(p, kGoodReadings[p], b & 0x10, b & 0x20 ? 200 : 80)); break;
      case 8: cab_.Hold(CabReport(p, b & 0x10 ? OutOfBoundsReading(p) : b, b & 0x20)); break;
      case 9: cab_.fail = b & 0x10; break;
      case 10:  // unplugged, plugged in, or a second controller beside it
        if (b & 0x10) cab_.entries.clear();
        else cab_.AttachOne(3);
        if (b & 0x20) cab_.entries.push_back({kCabProductId, 1, kCabUsagePage, 5});
        break;
      case 11: wizard_.OnLanguage(b & 0x10 ? kGermanItem : kEnglishItem); break;
      case 12: wizard_.OnNoticeClick(); break;
      case 13: wizard_.OnVersionClick(); break;
      case 14: wizard_.OnHelpContents(); break;
      default: wizard_.CanClose(); break;
    }
  }

  // The box's own message loop: bytes up to the one that answers it.
  void UnderBox() {
    Check(!inBox_);  // never a box under a box
    Check(wizard_.Handling() && wizard_.Screen().boxShown);
    inBox_ = true;
    const Seen before = Seen::Of(wizard_, system_);
    vcl::Answer answer = vcl::Answer::Ok;
    while (at_ < size_) {
      const uint8_t b = data_[at_++];
      if ((b & 0xF0) == 0xF0) {
        const vcl::Buttons buttons = system_.messages.back().buttons;
        answer = buttons == vcl::Buttons::YesNo     ? (b & 1 ? vcl::Answer::Yes : vcl::Answer::No)
                 : buttons == vcl::Buttons::OkCancel ? (b & 1 ? vcl::Answer::Ok : vcl::Answer::Cancel)
                                                     : vcl::Answer::Ok;
        break;
      }
      Deliver(b);
    }
    Check(Seen::Of(wizard_, system_) == before);
    system_.answers = {answer};
    inBox_ = false;
  }

  const uint8_t* data_;
  size_t size_;
  size_t at_ = 0;
  bool inBox_ = false;
  FakeSystem system_;
  FakeCab cab_;
  Wizard wizard_{"C:\\nowhere", system_, cab_};
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 20000) return 0;
  Drive(data, size).Run();
  return 0;
}
