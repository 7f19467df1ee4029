#pragma once
// The per-key plug-in windows as the "Macro Input" editor offers them a key before it opens.
// This base takes none, for a program without plug-ins.

class CustomKeyWindows {
 public:
  virtual ~CustomKeyWindows() = default;
  // True when the key's plug-in window took it, and no editor is to open.
  virtual bool Offer(void* /*programmingWindow*/, int /*keyId*/) { return false; }
};
