// The REGEDIT4 export format: one root key's tree as text and back.
//
//   REGEDIT4
//
//   [HKEY_CURRENT_USER\Software\Vellumix]
//   "Name"="text with \\ and \" escaped"
//   @="the key's default value"
//   "Count"=dword:0000000a
//   "Data"=hex:01,02,ff
//   "Path"=hex(2):25,54,4d,50,25,00        (expand string, NUL-terminated)
//   "List"=hex(7):61,00,62,00,00           (multi string)
//
// Text is UTF-8 and written byte for byte; a file whose names and strings are
// not all UTF-8 was written by an earlier version in Windows-1252 and reads
// as such (binary data stays as it is). A string holding a line break is
// written in the hex(1) form so that it survives the line-based format.
#pragma once

#include "platform/Exception.h"
#include "platform/RegTree.h"

#include <memory>
#include <string>
#include <string_view>

namespace vx::reg {

// A file that does not follow the format; the message is "line <n>: <reason>".
VX_DECLARE_EXCEPTION(ERegFileError, Exception);

std::string FormatRegFile(const Key& root, std::string_view rootName);

// Parses a whole file whose sections must all lie under rootName. An empty
// file is an empty tree. Raises ERegFileError on the first fault.
std::unique_ptr<Key> ParseRegFile(std::string_view text, std::string_view rootName);

// Key and value names cannot hold line breaks in this format (nor key names a
// backslash); raises ERegistryException for such a name.
void CheckKeyName(std::string_view name);
void CheckValueName(std::string_view name);

} // namespace vx::reg
