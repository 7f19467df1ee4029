#pragma once
// Clipboard contents kept in numbered files (clip_data_file.h), one for each key.

#include <windows.h>

#include <cstdint>
#include <string>

#include "runtime/functions/clip_data_file.h"

class SystemCalls;

// A registered format that is never saved (the file stays empty).
constexpr std::uint32_t kUnsavedClipboardFormat = 0xC009;

// The folder of the files: the current directory when the program started, so that a file
// dialog moving the current directory does not move the saved clipboards. Captured by the
// first call when start-up did not capture it.
void CaptureClipboardFolder();
std::string GetClipboardFolder();
std::string ClipDataFilePath(int key);

// Script functions. The clipboard is opened for owner (the main dialog); without one, for a
// message-only window of the calling thread, since a clipboard opened for no window cannot be
// given data once emptied.
// "void SaveClipboard(int key)": the first clipboard format into the key's file.
void SaveClipboard(SystemCalls& calls, HWND owner, int key);
// "void PasteScrap(int key)": the key's file back onto the clipboard, which is emptied first;
// nothing happens for an empty, short or unreadable file. No keystroke is sent.
void PasteScrap(SystemCalls& calls, HWND owner, int key);
