#include "engine/ParallelWork.h"

#include "engine/Evaluator.h"
#include "platform/InputState.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace {

// One call of RunInParallel: the tasks, which index is next, and whether the
// user broke it off.
struct TBatch {
    const std::function<void(int, int)>* Task = nullptr;
    int Count = 0;
    int Threads = 1;                  // slots that take part, the caller's (0) included
    std::atomic<int> Next{0};         // the next index to run
    std::atomic<bool> Interrupted{false};
    bool PollRequested = false;       // under the pool's lock
};

// The batch this thread works in, and whether it is the one that started it.
thread_local TBatch* CurrentBatch = nullptr;
thread_local bool StartedBatch = false;

int HardwareThreads()
{
    return std::max(1, static_cast<int>(std::thread::hardware_concurrency()));
}

// 0: the machine's cores.
int ThreadLimit = 0;

void RunTasks(TBatch& batch, int slot)
{
    for (int i = batch.Next.fetch_add(1); i < batch.Count; i = batch.Next.fetch_add(1)) {
        if (!batch.Interrupted.load(std::memory_order_relaxed))
            (*batch.Task)(i, slot);
    }
}

// Threads that wait for batches; slot k + 1 is worker k. Made when a batch
// first needs them and kept until the program ends.
class TWorkerPool {
public:
    ~TWorkerPool()
    {
        {
            const std::lock_guard lock(mutex_);
            stopping_ = true;
        }
        wake_.notify_all();
        workers_.clear(); // joins
    }

    void EnsureWorkers(int count)
    {
        while (static_cast<int>(workers_.size()) < count) {
            const int slot = static_cast<int>(workers_.size()) + 1;
            workers_.emplace_back([this, slot] { Serve(slot); });
        }
    }

    bool Run(TBatch& batch)
    {
        EnsureWorkers(batch.Threads - 1);
        {
            const std::lock_guard lock(mutex_);
            batch_ = &batch;
            ++generation_;
        }
        wake_.notify_all();
        CurrentBatch = &batch;
        StartedBatch = true;
        RunTasks(batch, 0);
        std::unique_lock lock(mutex_);
        // No worker joins once every index is taken.
        batch_ = nullptr;
        for (;;) {
            done_.wait(lock, [&] { return active_ == 0 || batch.PollRequested; });
            if (!batch.PollRequested)
                break;
            batch.PollRequested = false;
            lock.unlock();
            if (platform::IsBreakKeyDown())
                batch.Interrupted = true;
            lock.lock();
        }
        lock.unlock();
        CurrentBatch = nullptr;
        StartedBatch = false;
        return !batch.Interrupted;
    }

    // A worker's evaluation is due to look at the break key.
    void RequestPoll(TBatch& batch)
    {
        {
            const std::lock_guard lock(mutex_);
            batch.PollRequested = true;
        }
        done_.notify_all();
    }

private:
    void Serve(int slot)
    {
        std::uint64_t seen = 0;
        for (;;) {
            TBatch* batch = nullptr;
            {
                std::unique_lock lock(mutex_);
                wake_.wait(lock, [&] { return stopping_ || (batch_ && generation_ != seen); });
                if (stopping_)
                    return;
                seen = generation_;
                if (slot >= batch_->Threads)
                    continue;
                batch = batch_;
                ++active_;
            }
            CurrentBatch = batch;
            RunTasks(*batch, slot);
            CurrentBatch = nullptr;
            {
                const std::lock_guard lock(mutex_);
                --active_;
            }
            done_.notify_all();
        }
    }

    std::mutex mutex_;
    std::condition_variable wake_; // a batch is there, or the pool stops
    std::condition_variable done_; // a worker left its batch, or asks for a poll
    TBatch* batch_ = nullptr;
    std::uint64_t generation_ = 0;
    int active_ = 0;
    bool stopping_ = false;
    std::vector<std::jthread> workers_;
};

TWorkerPool& Pool()
{
    static TWorkerPool pool;
    return pool;
}

} // namespace

int WorkerThreadCount()
{
    return ThreadLimit > 0 ? ThreadLimit : HardwareThreads();
}

TScopedWorkerThreads::TScopedWorkerThreads(int threads)
    : saved_(ThreadLimit)
{
    ThreadLimit = std::max(1, threads);
}

TScopedWorkerThreads::~TScopedWorkerThreads()
{
    ThreadLimit = saved_;
}

bool RunInParallel(int count, const std::function<void(int, int)>& task)
{
    const int threads = std::min(WorkerThreadCount(), count);
    // Inside a batch or an evaluation the tasks are nested work: they run
    // here, in order, and stop as that work stops.
    if (threads <= 1 || CurrentBatch || EvaluationRun.Open > 0) {
        for (int i = 0; i < count; ++i) {
            if (BatchInterrupted())
                return false;
            task(i, 0);
        }
        return true;
    }
    TBatch batch;
    batch.Task = &task;
    batch.Count = count;
    batch.Threads = threads;
    const bool finished = Pool().Run(batch);
    if (!finished)
        EvaluationRun.End = TEvaluationEnd::Interrupted;
    return finished;
}

bool BreakRequested()
{
    TBatch* batch = CurrentBatch;
    if (!batch)
        return platform::IsBreakKeyDown();
    if (StartedBatch) {
        if (platform::IsBreakKeyDown())
            batch->Interrupted = true;
    } else {
        Pool().RequestPoll(*batch);
    }
    return batch->Interrupted;
}

bool BatchInterrupted()
{
    const TBatch* batch = CurrentBatch;
    return batch && batch->Interrupted.load(std::memory_order_relaxed);
}
