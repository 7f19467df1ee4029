#pragma once
// Clipboard contents kept in numbered files "ClipData%04x.bin": the first clipboard format's
// id (4 bytes, little-endian) and then that format's data. An empty file holds nothing.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// A registered format that is never saved (the file stays empty).
constexpr std::uint32_t kUnsavedClipboardFormat = 0xC009;

// "ClipData%04x.bin" of the key (lower-case hex, at least four digits).
std::string ClipDataFileName(int key);
// The file's bytes for a format and its data.
std::vector<std::uint8_t> EncodeClipData(std::uint32_t format, const void* data,
                                         std::size_t size);
// The format and data length of a file of fileLength bytes whose first four bytes are given;
// false when the file holds nothing to restore (fewer than 5 bytes).
bool ClipDataLayout(const std::uint8_t* head, std::size_t fileLength, std::uint32_t& format,
                    std::size_t& dataLength);

// The folder of the files: the current directory when the program started, so that a file
// dialog moving the current directory does not move the saved clipboards. Captured by the
// first call when start-up did not capture it.
void CaptureClipboardFolder();
std::string GetClipboardFolder();
std::string ClipDataFilePath(int key);

// Script functions.
// "void SaveClipboard(int key)": the first clipboard format into the key's file.
void SaveClipboard(int key);
// "void PasteScrap(int key)": the key's file back onto the clipboard, which is emptied first;
// nothing happens for an empty, short or unreadable file. No keystroke is sent.
void PasteScrap(int key);
