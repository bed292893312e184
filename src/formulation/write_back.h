#pragma once

#include "formulation/run_message.h"
#include "formulation/working_model.h"
#include "solver/simplex.h"

#include <vector>

namespace tarvela::formulation {

// Writes the mix of a final tableau into the ingredient working table: quantities and shares on
// both bases (costs are left to actuResultados). keys(j - 1) is the id_producto of column j.
// A basic ingredient missing from the table is reported in messages and skipped. On the dry path
// an ingredient whose dry matter is 0 cannot be converted to a quantity as fed; it gets 0.
void writeBack(WorkingModel& model, const simplex::Tableau& tableau, const std::vector<int>& keys,
               double Q, std::vector<RunMessage>& messages);

// The same from shares on the ingredients' basis, one per key (a mix found another way, as a
// production plan finds it), for the model's batch quantity.
void writeShares(WorkingModel& model, const std::vector<int>& keys,
                 const std::vector<double>& shares, std::vector<RunMessage>& messages);
// The same for the keys marked in given (the basic columns of a tableau), for a batch of Q.
void writeShares(WorkingModel& model, const std::vector<int>& keys,
                 const std::vector<double>& shares, const std::vector<char>& given, double Q,
                 std::vector<RunMessage>& messages);

} // namespace tarvela::formulation
