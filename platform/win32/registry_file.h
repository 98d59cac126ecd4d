// Where the registry file lives and how it is read and replaced: reads see
// a whole file (writers replace it by rename), writers hold an exclusive
// lock on a companion ".lock" file from read to rename, so two writers in
// any processes never lose each other's changes.
#pragma once

#include "platform/win32/registry_text.h"
#include "platform/win32/wintypes.h"

#include <functional>
#include <string>

namespace regfile {

// Reads the document at path; a missing file is an empty registry.
// Failures return a Win32 code with the reason in *why (ERROR_BADDB for
// text that does not parse).
LONG Read(const std::string& path, regtext::Document* doc, std::string* why);

// Locks, reads, lets change edit the document, and writes it back when
// change reports it changed something. The file is left as it was when
// it does not parse or change fails.
LONG Modify(const std::string& path, const std::function<LONG(regtext::Document&, bool*)>& change,
            std::string* why);

}  // namespace regfile
