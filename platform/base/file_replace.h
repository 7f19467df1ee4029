#pragma once
// Replacing a whole file in one step, for every file both programs write whole: the bytes go
// into a temporary file beside the target, which then takes its place by one rename (replacing,
// written through), so that a reader sees the old file or the new one, never half of one.

#include <string>
#include <string_view>

#include "platform/base/file_access.h"

// How the temporary file beside the target is named. Either way it lies in the target's
// folder, so that the rename never crosses volumes.
enum class TemporaryName {
  // The target's name with "_temp" before its extension ("Script_1.oxs": "Script_1_temp.oxs").
  kAfterTarget,
  // A new name that no file in the folder has, made by the system ("tmp1A2B.tmp"): a program
  // that reads the folder's files by their extension never takes it for one of them.
  kUnique,
};

// Creates or replaces the file with exactly these bytes. A target that another program holds
// open for a moment (a reader, a virus scanner) is tried again for a while. On any failure the
// old file stays whole and the temporary file is gone.
bool ReplaceFileWith(const std::string& target, std::string_view bytes,
                     TemporaryName name = TemporaryName::kAfterTarget);
// Copies a file over another in the same way. The copy is never read-only, even of a read-only
// source: it can still be taken away when it cannot be put in place, and replaced later.
bool CopyFileOver(const std::string& from, const std::string& to,
                  TemporaryName name = TemporaryName::kAfterTarget);

// The real files, each written through ReplaceFileWith.
class AtomicFileAccess : public StdioFileAccess {
 public:
  bool Write(const std::string& path, std::string_view bytes) override;
};
