#include "worklist/parallel_runs.h"

#include <exception>

namespace tarvela::worklist {

ParallelRuns::ParallelRuns(std::vector<Reformulated>& rows,
                           const formulation::CompositionSource& catalog, QChar decimalSeparator)
    : rows_(rows), catalog_(catalog), separator_(decimalSeparator),
      total_(static_cast<int>(rows.size())) {}

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

void ParallelRuns::work() {
    for (;;) {
        const int i = next_.fetch_add(1);
        if (i >= total_)
            return;
        if (cancelled_) {
            skipped_.fetch_add(1);
            continue;
        }
        Reformulated& row = rows_[static_cast<size_t>(i)];
        try {
            reformulate(row, catalog_, separator_);
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
