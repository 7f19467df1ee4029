#pragma once
// The clipboard saved to a numbered file and put back from it.

// "void SaveClipboard(int key)".
void SaveClipboard(int key);
// "void PasteScrap(int key)".
void PasteScrap(int key);
