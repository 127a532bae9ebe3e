// The registries that map extension labels and application identifiers to
// extension classes, and the finder the reader uses to pick a class.
#pragma once

#include "images/GIFExtension.h"

#include <cstdint>
#include <string_view>

// Later registrations win: look-ups run from the last entry back.
void RegisterExtension(const TGIFExtensionClass& cls);
const TGIFExtensionClass* FindExtensionLabel(std::uint8_t label);

// identifier: the 8-byte identifier followed by the 3-byte authentication code.
void RegisterAppExtension(std::string_view identifier, const TGIFExtensionClass& cls);
const TGIFExtensionClass* FindAppExtension(std::string_view identifier);

// From the stream positioned at a label: reads it, looks it up and lets the class
// refine itself until the answer stops changing. The position is restored. Null
// when no label can be read or it is not registered.
const TGIFExtensionClass* FindExtension(TByteStream& stream);
