#pragma once
// The "Macro Input" editor as the programming window opens and closes it.

struct MacroContext;

// Opens the editor of the key (an index into the context's key records), owned by the device's
// programming window and hidden in hidden mode (a context without its device opens none); or, when an editor is open, presses its OK
// (which leaves it open when its checks refuse the macro). A key that its plug-in window takes
// opens no editor. When the window cannot be made, the system's reason is shown.
void ToggleMacroEditor(MacroContext& context, int keyIndex);

// Closes the editor open over the context as its Cancel does: nothing of it is stored. Nothing
// when no editor is open over it.
void CancelMacroEditor(MacroContext& context);

// Registers the editor's window class "basicInputClass"; true when it is registered now or was
// already.
bool RegisterMacroEditorClass();
