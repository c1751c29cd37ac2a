#pragma once
// Work split in chunks, worked out on two threads and taken in order: the
// search's rows never depend on the threads.

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace vorn {

// Chunks of work 0, 1, 2, ... worked out on the calling thread and, where
// asked, on one helper, and taken in order on the calling thread. Where the
// next chunk it takes is not taken yet, the calling thread works it out
// itself, so a helper that gets no core never holds it up; at most `ahead`
// chunks are worked out beyond the one taken last and, where `size` is given,
// none is begun ahead while the chunks waiting to be taken hold more than
// `most` (chunks may differ many-fold in size). work(c, onHelper) must
// only read what the calling thread does not change meanwhile; waiting() is
// called every 5 ms while the calling thread waits for the helper. A search
// that stops (cancelled, or a fault) waits for the helper's chunk: work on
// the helper looks at Abandoned() often and returns early.
template <class Result> class InOrderChunks {
public:
    InOrderChunks(std::size_t chunks, std::size_t ahead, bool helper,
                  std::function<Result(std::size_t, bool)> work, std::function<void()> waiting,
                  std::function<std::size_t(const Result&)> size = {}, std::size_t most = 0)
        : chunks_(chunks), ahead_(ahead), work_(std::move(work)), waiting_(std::move(waiting)),
          size_(std::move(size)), most_(most), found_(chunks) {
        if (helper && chunks > 1)
            helper_ = std::thread([this] { Help(); });
    }
    ~InOrderChunks() {
        abandoned_.store(true, std::memory_order_relaxed);
        {
            std::lock_guard lock(mutex_);
            stop_ = true;
        }
        changed_.notify_all();
        if (helper_.joinable())
            helper_.join();
    }
    InOrderChunks(const InOrderChunks&) = delete;
    InOrderChunks& operator=(const InOrderChunks&) = delete;

    bool Done() const { return want_ >= chunks_; }
    // True once nothing more will be taken: what the helper works out now is
    // thrown away.
    bool Abandoned() const { return abandoned_.load(std::memory_order_relaxed); }

    // The next chunk in order; rethrows what the helper's work threw.
    Result Take() {
        for (;;) {
            std::unique_lock lock(mutex_);
            if (found_[want_].ready) {
                Found f = std::move(found_[want_]);
                found_[want_] = Found{};
                ++want_;
                waitingSize_ -= f.size;
                changed_.notify_all();
                lock.unlock();
                if (f.error)
                    std::rethrow_exception(f.error);
                return std::move(f.result);
            }
            // Ahead of the chunk it takes next, only within the same bounds
            // as the helper.
            if (next_ < chunks_ && next_ < want_ + ahead_ &&
                (next_ == want_ || waitingSize_ <= most_)) {
                const std::size_t mine = next_++;
                lock.unlock();
                Result r = work_(mine, false);
                const std::size_t size = size_ ? size_(r) : 0;
                lock.lock();
                found_[mine].result = std::move(r);
                found_[mine].size = size;
                found_[mine].ready = true;
                waitingSize_ += size;
                continue;
            }
            changed_.wait_for(lock, std::chrono::milliseconds(5));
            lock.unlock();
            waiting_();
        }
    }

private:
    struct Found {
        Result result{};
        bool ready = false;
        std::size_t size = 0; // size_(result), where given
        std::exception_ptr error;
    };

    void Help() {
        for (;;) {
            std::size_t c;
            {
                std::unique_lock lock(mutex_);
                changed_.wait(lock, [&] {
                    return stop_ || next_ >= chunks_ ||
                           (next_ < want_ + ahead_ && waitingSize_ <= most_);
                });
                if (stop_ || next_ >= chunks_)
                    return;
                c = next_++;
            }
            Found f;
            try {
                f.result = work_(c, true);
                if (size_)
                    f.size = size_(f.result);
            } catch (...) {
                f.error = std::current_exception();
            }
            std::lock_guard lock(mutex_);
            waitingSize_ += f.size;
            found_[c] = std::move(f);
            found_[c].ready = true;
            changed_.notify_all();
        }
    }

    const std::size_t chunks_, ahead_;
    const std::function<Result(std::size_t, bool)> work_;
    const std::function<void()> waiting_;
    const std::function<std::size_t(const Result&)> size_;
    const std::size_t most_;
    std::vector<Found> found_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::size_t next_ = 0, want_ = 0; // the next chunk to work out, to take
    std::size_t waitingSize_ = 0;     // of the chunks worked out, not taken yet
    bool stop_ = false;
    std::atomic<bool> abandoned_{false};
    std::thread helper_; // last: started once the rest is in place
};

} // namespace vorn
