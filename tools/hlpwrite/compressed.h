// The variable-length integers of topic text records. Each returns false,
// appending nothing, when the value has no encoding.
#pragma once

#include "bytes.h"

namespace hlp {

bool putCompressedUShort(Bytes& b, long v);  // 0 .. 32767
bool putCompressedShort(Bytes& b, long v);   // -16384 .. 16383
bool putCompressedLong(Bytes& b, long v);    // -0x40000000 .. 0x3FFFFFFF

}  // namespace hlp
