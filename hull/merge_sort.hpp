#pragma once

// The bottom-up merge sort the outline order and the methods' sorts share.

#include <algorithm>
#include <cstddef>
#include <utility>

// Sorts items[0..n) stably by `before`, through scratch[0..n): runs of 1, 2,
// 4, ... items merged pairwise from the left, each merge taking the right
// run's item first only when it comes strictly before the left's. It only
// ever compares two items and moves the winner, so it stays within its
// arrays whatever `before` answers (keys that are not numbers make it
// inconsistent), and the calls it makes depend on the items alone, not on
// any library: a count of them is the same wherever the program is built.
template <class T, class Before>
void mergeSort(T* items, T* scratch, std::size_t n, const Before& before)
{
    T* from = items;
    T* to = scratch;
    for (std::size_t width = 1; width < n; width *= 2) {
        for (std::size_t lo = 0; lo < n; lo += 2 * width) {
            const std::size_t mid = std::min(lo + width, n), hi = std::min(lo + 2 * width, n);
            std::size_t i = lo, j = mid, k = lo;
            while (i < mid && j < hi) to[k++] = before(from[j], from[i]) ? from[j++] : from[i++];
            while (i < mid) to[k++] = from[i++];
            while (j < hi) to[k++] = from[j++];
        }
        std::swap(from, to);
    }
    if (from != items) std::copy(from, from + n, items);
}
