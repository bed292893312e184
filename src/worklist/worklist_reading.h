#pragma once

#include "db/connection.h"
#include "worklist/reformulation.h"

#include <cstddef>

// A worklist read a block of formulas at a time, so that the runs of one block go on while the
// next is read: the catalog's composition of the base first, in one pass that needs no formula,
// then the formulas in their order. Reads on the calling thread, which owns the connection.
namespace tarvela::worklist {

class WorklistReading {
public:
    // The list must hold one row per formula (newWorklist) and outlive the reading.
    WorklistReading(db::Connection& conn, Worklist& list, int base, std::size_t block = kBlock);

    // The composition of the base's ingredients in every nutrient. Throws db::DbError.
    void readCatalog();
    // Reads the next block of formulas into their rows, each as the formulation window loads it;
    // a formula whose ingredients or nutrients the base's composition does not cover gets the
    // composition of its block's own keys. False when every formula was read already. Throws
    // db::DbError.
    bool readBlock();
    // How many rows, from the first, are read.
    int rowsRead() const { return static_cast<int>(next_); }

    // Formulas per block: a few statements each.
    static constexpr std::size_t kBlock = 200;

private:
    std::size_t block_;
    db::Connection& conn_;
    Worklist& list_;
    int base_;
    std::size_t next_ = 0;
};

// Reads the worklist of the base block by block and runs it on the given number of threads, each
// block's runs starting as soon as it is read. Returns when every row has run. Throws
// db::DbError (the runs under way end first).
void readAndRunAll(db::Connection& conn, Worklist& list, int base, int threads);

} // namespace tarvela::worklist
