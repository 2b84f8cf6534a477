#pragma once

// Independent evaluations (the rows of a relation's scan, the column caches
// of the functions) spread over the machine's cores. Evaluation writes
// nothing shared: each thread keeps its own work budget, nesting depth,
// scratch arrays and compiled programs, so a result never depends on the
// thread that computed it.
//
// The thread that starts a batch takes part in it and alone looks at the
// break key (it handles the window system's events); the others ask it to
// look when their evaluations are due to, and every thread's evaluations
// end once it has seen the key held: a stop seen by one stops all.

#include <functional>

// The threads a batch may use: the machine's cores, unless a
// TScopedWorkerThreads says otherwise.
int WorkerThreadCount();

// Until it ends, batches use at most this many threads (at least 1; 1 runs
// every task on the calling thread, in order). Tests compare one thread
// with several; benchmarks time a given number of cores.
class TScopedWorkerThreads {
public:
    explicit TScopedWorkerThreads(int threads);
    ~TScopedWorkerThreads();
    TScopedWorkerThreads(const TScopedWorkerThreads&) = delete;
    TScopedWorkerThreads& operator=(const TScopedWorkerThreads&) = delete;

private:
    int saved_;
};

// Runs task(index, slot) for every index 0 .. count - 1 on up to
// WorkerThreadCount() threads, the calling one included, and returns when
// all have ended. slot (0 .. WorkerThreadCount() - 1) is the same for every
// task on one thread, so that a caller can give each thread scratch space of
// its own. Tasks must not depend on each other's order. Called from inside
// a batch or an evaluation, every task runs on the calling thread, in order.
// False when the user broke the batch off: the tasks not started then are
// skipped, and the evaluations running end undefined.
bool RunInParallel(int count, const std::function<void(int index, int slot)>& task);

// For the evaluator, at the points where it looks at the break key: true
// when the user holds it (or, inside a batch, when any thread saw it held).
bool BreakRequested();
// Inside a batch: true once any thread saw the break key; outside, false.
bool BatchInterrupted();
