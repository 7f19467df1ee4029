// Time from opening the programming window of the sample LED keypad to its first paint, and of
// a full repaint of its view (the canvas painted anew and the window redrawn), with a label on
// every key. Not a test; run by hand under a display: programming_window_bench [runs]
// (default 40). Aims: under 100 ms to the first paint, under 16 ms a repaint.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "macros/gdiplus_view_images.h"
#include "macros/model/macro_context.h"
#include "macros/model/macro_steps.h"
#include "platform/base/system_calls.h"
#include "runtime/device/device_folders.h"
#include "runtime/device/device_record.h"
#include "tests/support/bench_timing.h"
#include "tests/support/scratch_dir.h"
#include "ui/programming_window/programming_features.h"
#include "ui/programming_window/programming_window.h"

using namespace testsupport;

namespace {

void Pump() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 40;
  GdiplusSession gdiplus;
  InitProgramFolders("\"" + EnvOr("ORVANE_BIN", ".") + "\\Orvane.exe\"");
  DeviceRecord record;
  record.folder = FindDeviceFolder(kVendorId, 0x19, 0);
  if (!record.folder) {
    std::printf("no sample LED keypad folder under ORVANE_BIN\n");
    return 1;
  }
  record.unitId = 1;
  record.hasLayerLed = true;
  RegisterProgrammingClasses(NoProgrammingFeatures());
  SystemCalls calls;

  std::vector<double> open, repaint, canvas, onScreen;
  for (int i = 0; i < runs; ++i) {
    const double start = NowMs();
    const HWND window =
        OpenProgrammingWindow(calls, std::make_unique<MacroContext>(), record, false, NoProgrammingFeatures());
    if (!window) {
      std::printf("the window did not open\n");
      return 1;
    }
    UpdateWindow(window);  // the first paint
    open.push_back(NowMs() - start);

    MacroContext& c = *ProgrammingContextOf(window);
    for (KeyRecord& k : c.keys) {
      MacroEntry e;
      e.event = KeyEvent::Down;
      e.colour = LayerColour::Green;
      e.program = "Pnr";
      ParseMacroStep(e, 0, L"/key " + std::to_wstring(k.keyId), L"");
      k.entries.push_back(e);
    }
    for (int j = 0; j < 5; ++j) {
      const double a = NowMs();
      PaintKeypad(c);
      const double b = NowMs();
      UpdateWindow(window);
      const double e = NowMs();
      repaint.push_back(e - a);
      canvas.push_back(b - a);
      onScreen.push_back(e - b);
    }
    DestroyWindow(window);
    Pump();
  }
  ReportTimes("open to first paint", open);
  ReportTimes("full repaint", repaint);
  ReportTimes("  of it the canvas", canvas);
  ReportTimes("  and the window", onScreen);
  FreeDeviceFolders();
  return 0;
}
