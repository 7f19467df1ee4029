#pragma once
// What the tests' own per-key plug-in library (TestKeyPlugin.dll) does, for the tests that load
// it. No plug-in ships with the program; this one stands for the outside code that layouts name.
// What it does with a key depends on the key id it is given:
// - kPluginWindowKey: a window of its own, owned by the programming window; its button "Write"
//   has the program write kPluginScript as the device's own script part, its button "Clear" an
//   empty one, and either closes the window.
// - kPluginEditorKey: the program's "Macro Input" editor in a dialog of the plug-in's own, run
//   by the program's exported window procedure.
// - any other key: declined, so that the program opens its editor.
// The program's exports are looked up at run time: loaded by anything but the program, the
// plug-in declines every key it needs them for, and its button writes nothing.

namespace testplugin {

inline constexpr char kLibrary[] = "TestKeyPlugin.dll";
inline constexpr int kPluginWindowKey = 0x10;
inline constexpr int kPluginEditorKey = 0x11;
inline constexpr int kPluginDeclinedKey = 0x12;

inline constexpr char kWindowClass[] = "TestKeyPluginWindow";
inline constexpr char kWindowTitle[] = "Test Key Plug-in";
inline constexpr int kWriteButton = 100;
inline constexpr int kClearButton = 101;
inline constexpr char kEditorClass[] = "TestKeyPluginEditor";
inline constexpr int kEditorDialog = 200;  // as in test_key_plugin.rc

// The device's own part as the plug-in writes it: the function that key 7's macro calls sets the
// unit id report's global to 201 and sends it.
inline constexpr char kPluginScript[] =
    "uint8 QpadUnitId = 1;\r\n"
    "\r\n"
    "void PluginKeyAction()\r\n"
    "{\r\n"
    "\tQpadUnitId = 201;\r\n"
    "\tSendOutputReport(\"setID\");\r\n"
    "}\r\n";

}  // namespace testplugin
