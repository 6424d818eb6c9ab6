#pragma once

namespace engine::detail {

/// Runs pass(first, last) over 1..n in passes of c (the last pass covers exactly the rest);
/// with n <= c or c < 1 one pass covers everything. 250 by 100 gives 1-100, 101-200, 201-250.
template <class Pass> void ForEachChunk(long n, long c, Pass&& pass)
{
    if (n <= c || c < 1) {
        pass(1L, n);
        return;
    }
    long i = 0;
    while (i < n) {
        pass(i + 1, i + c);
        i += c;
        if (i == n)
            break;
        if (n - i <= c)
            c = n - i;
    }
}

} // namespace engine::detail
