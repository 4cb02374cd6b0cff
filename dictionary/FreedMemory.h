#pragma once

/// Lets the allocator keep the memory a closed dictionary gave back, for the
/// next one the window opens. By default the C library hands free memory at
/// the top of a heap back to the system once it passes 128 kB, so opening a
/// dictionary again paged all of its memory in anew, which took more than
/// half of the time of the load. Free memory now stays with the process up to
/// 256 MB a heap, for whatever comes next. A command that loads once and
/// ends has nothing to gain and does not call it.
void KeepFreedMemoryForReuse();
