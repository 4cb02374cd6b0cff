#include "dictionary/FreedMemory.h"

#include <cstdlib> // defines __GLIBC__ with the C library's headers
#if defined(__GLIBC__)
#include <malloc.h>
#endif

void KeepFreedMemoryForReuse()
{
#if defined(__GLIBC__)
    mallopt(M_TRIM_THRESHOLD, 256 << 20);
    // A fixed threshold also stops the library from raising the size at
    // which a block is mapped on its own (and unmapped, to be paged in again,
    // when freed) as larger blocks come and go. Blocks up to the largest
    // size it allows come from the heaps instead: without it, opening a
    // large dictionary and showing it in the Dictionary window each took 7
    // to 15 % longer.
    mallopt(M_MMAP_THRESHOLD, 32 << 20);
#endif
}
