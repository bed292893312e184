#include "worklist/parallel_runs.h"

#include <algorithm>
#include <exception>

namespace tarvela::worklist {

ParallelRuns::ParallelRuns(std::vector<Reformulated>& rows,
                           const formulation::CompositionSource& catalog, QChar decimalSeparator,
                           int available)
    : rows_(rows), catalog_(catalog), separator_(decimalSeparator),
      total_(static_cast<int>(rows.size())),
      available_(available < 0 ? total_ : std::min(available, total_)) {}

ParallelRuns::~ParallelRuns() {
    cancel();
    wait();
}

void ParallelRuns::start(int threads) {
    const int count = std::max(1, std::min(threads, std::max(total_, 1)));
    threads_.reserve(static_cast<size_t>(count));
    for (int t = 0; t < count; ++t)
        threads_.emplace_back([this] { work(); });
}

void ParallelRuns::wait() {
    for (std::thread& t : threads_)
        if (t.joinable())
            t.join();
    threads_.clear();
}

void ParallelRuns::cancel() {
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        cancelled_ = true;
    }
    readable_.notify_all();
}

void ParallelRuns::makeAvailable(int rows) {
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        available_ = std::max(available_, std::min(rows, total_));
    }
    readable_.notify_all();
}

int ParallelRuns::take() {
    std::unique_lock<std::mutex> lock(mutex_);
    // A cancelled worklist takes the rows not read yet too, only to skip them.
    readable_.wait(lock, [this] { return next_ < available_ || next_ >= total_ || cancelled_; });
    return next_ < total_ ? next_++ : -1;
}

void ParallelRuns::work() {
    for (;;) {
        const int i = take();
        if (i < 0)
            return;
        if (cancelled_) {
            skipped_.fetch_add(1);
            continue;
        }
        Reformulated& row = rows_[static_cast<size_t>(i)];
        try {
            reformulate(row, row.composition ? *row.composition : catalog_, separator_);
        } catch (const std::exception& e) {
            // A run that could not end (out of memory) stops its own formula only.
            row.estado = Estado::Detenida;
            row.estadoTexto = QString::fromLocal8Bit(e.what());
        }
        finished_.fetch_add(1);
    }
}

int defaultThreads() {
    return std::max(1, static_cast<int>(std::thread::hardware_concurrency()));
}

void runAll(Worklist& list, int threads) {
    ParallelRuns runs(list.rows, list.catalog, list.decimalSeparator);
    runs.start(threads);
    runs.wait();
}

} // namespace tarvela::worklist
