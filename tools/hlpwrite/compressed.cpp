#include "compressed.h"

namespace hlp {

bool putCompressedUShort(Bytes& b, long v) {
    if (v < 0 || v >= 32768) return false;
    if (v < 128)
        putU8(b, static_cast<std::uint32_t>(v * 2));
    else
        putU16(b, static_cast<std::uint32_t>(v * 2 + 1));
    return true;
}

bool putCompressedShort(Bytes& b, long v) {
    if (v < -16384 || v >= 16384) return false;
    if (v >= -64 && v < 64)
        putU8(b, static_cast<std::uint32_t>((v + 64) * 2));
    else
        putU16(b, static_cast<std::uint32_t>((v + 16384) * 2 + 1));
    return true;
}

bool putCompressedLong(Bytes& b, long v) {
    if (v < -0x40000000L || v >= 0x40000000L) return false;
    if (v >= -16384 && v < 16384)
        putU16(b, static_cast<std::uint32_t>((v + 16384) * 2));
    else
        putU32(b, static_cast<std::uint32_t>((v + 0x40000000L) * 2 + 1));
    return true;
}

}  // namespace hlp
