#pragma once
// Where the program's modules come from: a device's module from the device's script file
// (also a device whose failed build took its module name), a module named by a path from that
// file.

#include "platform/base/file_access.h"
#include "ui/script_editor/script_editor_controller.h"

ModuleScriptLocator ProgramModuleScriptLocator(FileAccess& files);
