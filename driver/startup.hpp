#pragma once

// The start-up that keeps the printed time the hull's own: called once in main,
// before the prompt. It makes the kernel's memory resident and reads its code
// into the caches, so that the one timed computeHull does not pay for page
// faults and instruction fetches, and it keeps freed memory in the process, so
// that the window's per-frame buffers do not fault in anew on every frame. (The
// program's link binds every symbol at start-up too: -z now in CMakeLists.txt,
// so that no symbol is resolved inside the timed call.)
void prepareTimedRun();
