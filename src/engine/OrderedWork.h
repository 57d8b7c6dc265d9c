#pragma once

#include <condition_variable>
#include <cstddef>
#include <functional>
#include <map>
#include <mutex>
#include <thread>
#include <vector>

namespace tikmeter::engine {

// Computes work(0), work(1), ... work(count - 1) on worker threads, at most `ahead` items
// beyond the next one to be taken, and hands the results out in order. With fewer than two
// workers nothing runs ahead: take() computes the item itself. `work` must not throw.
template <class Result> class OrderedWork {
public:
    OrderedWork(std::size_t count, unsigned workers, std::size_t ahead,
                std::function<Result(std::size_t)> work)
        : count_(count), ahead_(ahead < 1 ? 1 : ahead), work_(std::move(work)) {
        if (workers < 2) {
            return;
        }
        for (unsigned i = 0; i < workers; ++i) {
            threads_.emplace_back([this] { runWorker(); });
        }
    }

    ~OrderedWork() { stop(); }
    OrderedWork(const OrderedWork&) = delete;
    OrderedWork& operator=(const OrderedWork&) = delete;

    // The result of item `index`; items are taken in order, each once.
    Result take(std::size_t index) {
        if (threads_.empty()) {
            return work_(index);
        }
        std::unique_lock lock(mutex_);
        ready_.wait(lock, [&] { return results_.contains(index); });
        Result result = std::move(results_.at(index));
        results_.erase(index);
        taken_ = index + 1;
        wanted_.notify_all();
        return result;
    }

    // Stops the workers after the items they have in hand and gives the results that were
    // computed but never taken.
    std::vector<Result> stop() {
        {
            const std::lock_guard lock(mutex_);
            stopping_ = true;
        }
        wanted_.notify_all();
        for (std::thread& thread : threads_) {
            thread.join();
        }
        threads_.clear();
        std::vector<Result> left;
        for (auto& [index, result] : results_) {
            left.push_back(std::move(result));
        }
        results_.clear();
        return left;
    }

private:
    void runWorker() {
        for (;;) {
            std::size_t index = 0;
            {
                std::unique_lock lock(mutex_);
                wanted_.wait(
                    lock, [&] { return stopping_ || (next_ < count_ && next_ < taken_ + ahead_); });
                if (stopping_) {
                    return;
                }
                index = next_++;
            }
            Result result = work_(index);
            {
                const std::lock_guard lock(mutex_);
                results_.emplace(index, std::move(result));
            }
            ready_.notify_all();
        }
    }

    const std::size_t count_;
    const std::size_t ahead_;
    const std::function<Result(std::size_t)> work_;
    std::mutex mutex_;
    std::condition_variable wanted_; // workers wait for an item to compute
    std::condition_variable ready_;  // take() waits for a result
    std::map<std::size_t, Result> results_;
    std::size_t next_ = 0;  // the next item a worker computes
    std::size_t taken_ = 0; // the next item to be taken
    bool stopping_ = false;
    std::vector<std::thread> threads_;
};

} // namespace tikmeter::engine
