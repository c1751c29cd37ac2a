#include "InOrderChunks.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <thread>

using namespace vorn;

// Chunks worked out ahead wait in memory until taken: however the two threads
// are scheduled, those waiting stay within the size bound, and every chunk is
// taken once, in order. The helper stalls on its first chunk, so the calling
// thread works the next ones out itself; it must not run ahead past the bound.
TEST(InOrderChunks, ChunksWaitingStayWithinTheirSize) {
    constexpr std::size_t kChunks = 200, kAhead = 100, kSize = 10, kMost = 25;
    for (const bool helper : {false, true}) {
        std::atomic<std::size_t> done{0}, taken{0}, most{0};
        InOrderChunks<std::size_t> chunks(
            kChunks, kAhead, helper,
            [&](std::size_t c, bool onHelper) {
                if (onHelper && c < 2)
                    std::this_thread::sleep_for(std::chrono::milliseconds(30));
                const std::size_t waiting = ++done - taken.load();
                std::size_t seen = most.load();
                while (waiting > seen && !most.compare_exchange_weak(seen, waiting)) {
                }
                return c;
            },
            [] {}, [](const std::size_t&) { return kSize; }, kMost);
        for (std::size_t c = 0; !chunks.Done(); ++c) {
            ASSERT_EQ(chunks.Take(), c);
            ++taken;
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
        EXPECT_EQ(taken.load(), kChunks);
        // Past the bound one chunk may begin on each thread.
        EXPECT_LE(most.load(), kMost / kSize + 3) << (helper ? "with" : "without") << " helper";
    }
}
