#pragma once

#include <exception>
#include <thread>

/// Runs `other` on a thread of its own while `here` runs on the calling
/// one, and returns when both are done. An exception of either is thrown
/// again here (that of `here` first), never lost on the other thread.
template <class Other, class Here>
void RunAlongside(Other&& other, Here&& here)
{
    std::exception_ptr otherFailure;
    {
        std::jthread thread([&other, &otherFailure] {
            try {
                other();
            } catch (...) {
                otherFailure = std::current_exception();
            }
        });
        here(); // the thread is joined on the way out, even on an exception
    }
    if (otherFailure)
        std::rethrow_exception(otherFailure);
}
