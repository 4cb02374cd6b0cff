// libFuzzer target: any bytes through the conversions of the windows and
// the command line. Whatever the bytes, the display form is valid UTF-8;
// bytes the code page defines come back from it unchanged; text typed in
// UTF-8 that converts comes back as typed.
#include "dictionary/Codec.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const Codec codec("WINDOWS-1252");
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const std::string shown = codec.ToUtf8(bytes);
    if (!Codec::IsValidUtf8(shown))
        std::abort();
    // 0x81, 0x8D, 0x8F, 0x90 and 0x9D are not characters of Windows-1252.
    if (bytes.find_first_of("\x81\x8D\x8F\x90\x9D") == std::string::npos) {
        std::string back;
        if (!codec.FromUtf8(shown, back) || back != bytes)
            std::abort();
    }
    std::string typed;
    if (Codec::IsValidUtf8(bytes) && codec.FromUtf8(bytes, typed) && codec.ToUtf8(typed) != bytes)
        std::abort();
    return 0;
}
