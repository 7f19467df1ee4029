#pragma once
// The end of a macro context, and regeneration: a device's script written again from itself.

#include <atomic>
#include <memory>
#include <string_view>

#include "macros/model/script_reader.h"

struct MacroContext;

// Regenerates the script of the context's device (a fresh context): reads it and writes it
// again, but only when that loses nothing a user wrote: the file is empty, or it is in the
// generated form with nothing in it that the writer would not write again (outside the
// section copied from "Device Specific.oxs"). Hand-written scripts and generated ones edited by
// hand are left as they are. True when the file was written.
// A regeneration inside the build cycle leaves the device alone; one for the user may apply the
// file's settings to it.
bool RegenerateScript(MacroContext& context, DeviceEffects effects = DeviceEffects::None);

// True when writing `regenerated` in place of `file` loses nothing: both are the same but for
// the section that the writer copies from "Device Specific.oxs" (line ends aside).
bool RegenerationLosesNothing(std::string_view file, std::string_view regenerated);

// Ends programming and destroys the context, in one fixed order: the on-board image is built
// (when the device keeps its macros on board), the blink worker is asked to stop, the device
// leaves programming (not for a regeneration, whose context touches nothing of the device),
// the window's state and the records are released, the worker's answer is awaited (for a
// bounded time), the on-board image is written, the device thread is woken, and the context
// leaves the table of open contexts.
void CloseMacroContext(std::unique_ptr<MacroContext> context, bool regenerateOnly);

// For the LED blink worker: the period read once, or -1 when the worker is asked to stop (the
// answer, 0, is then written). The worker never sleeps on a period it has not read this way.
int TakeBlinkPeriod(std::atomic<int>& period);
