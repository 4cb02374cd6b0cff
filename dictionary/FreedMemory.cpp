#include "dictionary/FreedMemory.h"

#include <cstdlib> // defines __GLIBC__ with the C library's headers
#if defined(__GLIBC__)
#include <malloc.h>
#endif

void KeepFreedMemoryForReuse()
{
#if defined(__GLIBC__)
    mallopt(M_TRIM_THRESHOLD, 256 << 20);
#endif
}
