// The start-up that makes the kernel's memory and code resident before the
// timed call.

#include "startup.hpp"

#include <cstddef>
#include <cstdint>

#ifndef __EMSCRIPTEN__
#include <link.h>
#include <malloc.h>
#endif

#include "hull.hpp"

namespace {

// Writes one byte of every page of [p, p + size) back in place, so the pages are
// resident and private before the first call needs them.
void touchPages(void* p, std::size_t size)
{
    auto* bytes = static_cast<volatile unsigned char*>(p);
    for (std::size_t at = 0; at < size; at += 4096) bytes[at] = bytes[at];
    if (size > 0) bytes[size - 1] = bytes[size - 1];
}

#ifndef __EMSCRIPTEN__
// Reads one byte of every cache line of the executable segment that holds the
// kernel's code, so that the first call finds its instructions in the caches
// instead of waiting for each of them to come from memory: a run computes one
// hull, always cold, and at 100 points that wait was about half the time
// printed. Reading the code runs none of it.
int readKernelCode(dl_phdr_info* info, std::size_t, void* data)
{
    const std::uintptr_t kernel = *static_cast<const std::uintptr_t*>(data);
    for (int k = 0; k < info->dlpi_phnum; ++k) {
        const ElfW(Phdr)& h = info->dlpi_phdr[k];
        const std::uintptr_t lo = info->dlpi_addr + h.p_vaddr, hi = lo + h.p_memsz;
        if (h.p_type != PT_LOAD || (h.p_flags & PF_X) == 0 || kernel < lo || kernel >= hi) continue;
        for (std::uintptr_t at = lo; at < hi; at += 64) (void)*reinterpret_cast<const volatile unsigned char*>(at);
        return 1; // found: ends the search
    }
    return 0;
}
#endif

} // namespace

void prepareTimedRun()
{
#ifndef __EMSCRIPTEN__
    // Freed memory stays in the process: otherwise glibc hands the renderer's
    // per-frame buffers back to the system and every frame faults them in anew.
    mallopt(M_MMAP_THRESHOLD, 32 * 1024 * 1024);
    mallopt(M_TRIM_THRESHOLD, 256 * 1024 * 1024);
#endif
    // The timed hull computation must not pay for first-touch page faults.
    KernelMemory kernel = kernelMemory();
    touchPages(kernel.scratch, kernel.scratchBytes);
    touchPages(kernel.hull, kernel.hullBytes);
#ifndef __EMSCRIPTEN__
    // A page's WebAssembly code lies outside the memory the program can read.
    dl_iterate_phdr(readKernelCode, &kernel.code);
#endif
}
