// LCcalibration.exe: the cab controller calibration wizard.
#include <windows.h>

#include <exception>

#include "calibration/main_form.h"
#include "calibration/vcl/application.h"
#include "calibration/vcl/files.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  vcl::System& system = vcl::PlatformSystem();
  vcl::Application::SetTitle(cal::kApplicationTitle);
  try {
    cal::Wizard wizard(vcl::ExeFolder(), system, cal::HidCabDevices());
    cal::MainForm form(system, wizard);
    form.SetQuitOnDestroy(true);
    wizard.Start();
    form.Refresh();
    form.Show();
    return vcl::Application::Run(form.Handle());
  } catch (const std::exception& e) {
    // A start-up that cannot go on (a stored language that is not a number).
    vcl::Application::ShowException(system, e);
    return 1;
  }
}
