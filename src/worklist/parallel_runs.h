#pragma once

#include "formulation/formula_composition.h"
#include "worklist/reformulation.h"

#include <QChar>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

// The runs of a worklist spread over several threads. Each thread takes the next formula not yet
// taken and re-runs it in its own row; the catalog is read beforehand and only read by the runs,
// and nothing else is shared. Cancelling lets the runs under way end and starts no other: the
// rows that ran keep their results.
namespace tarvela::worklist {

class ParallelRuns {
public:
    // The rows and the catalog must outlive the runs (until wait() or destruction). Every row
    // may run, unless `available` says how many, from the first, may run for now.
    ParallelRuns(std::vector<Reformulated>& rows, const formulation::CompositionSource& catalog,
                 QChar decimalSeparator, int available = -1);
    ~ParallelRuns(); // cancels and waits
    ParallelRuns(const ParallelRuns&) = delete;
    ParallelRuns& operator=(const ParallelRuns&) = delete;

    // Starts the runs on the given number of threads (at least 1).
    void start(int threads);
    void cancel();
    // The first `rows` rows may run (they are read); rows beyond them wait.
    void makeAvailable(int rows);
    bool cancelled() const { return cancelled_; }
    // Rows whose run has ended; safe to ask from any thread while the runs go on.
    int finished() const { return finished_.load(); }
    bool done() const { return finished_.load() + skipped_.load() >= total_; }
    // Waits for the threads to end; afterwards every row is safe to read.
    void wait();

private:
    void work();
    // The row a thread runs next, or -1 when none is left; waits for rows not yet available.
    int take();

    std::vector<Reformulated>& rows_;
    const formulation::CompositionSource& catalog_;
    QChar separator_;
    int total_ = 0;
    int next_ = 0;      // guarded by mutex_
    int available_ = 0; // guarded by mutex_
    std::mutex mutex_;
    std::condition_variable readable_;
    std::atomic<int> finished_{0};
    std::atomic<int> skipped_{0};
    std::atomic<bool> cancelled_{false};
    std::vector<std::thread> threads_;
};

// The threads a worklist uses on this machine: its cores, at least 1.
int defaultThreads();

// Re-runs every row on the given number of threads and returns when all have run.
void runAll(Worklist& list, int threads);

} // namespace tarvela::worklist
