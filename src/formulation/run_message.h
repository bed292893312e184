#pragma once

#include "context/desktop.h"
#include "formulation/working_model.h"

#include <QString>

#include <optional>
#include <vector>

// What a least-cost run has to say, as values: the run reports, its caller shows.
namespace tarvela::formulation {

// One line of the contributions window: an ingredient's limit, its content of the nutrient
// whose minimum cannot be reached, and its own largest contribution.
struct AporteRow {
    QString producto;
    Opt maximo;
    double valor = 0;
    double aportemaximo = 0;
};

struct AportesReport {
    QString caption;      // "PROBLEMA CON RESTRICCIÓN: Mínimo para ... = ..."
    QString propertyName; // the nutrient concerned
    std::vector<AporteRow> rows;
    double maximoAlcanzable = 0; // largest value a blend of the current ingredients reaches
};

// Where the focus goes once a message has been shown: a check on the batch quantity sends it
// back to its box.
enum class RunFocus { None, Quantity };

// One message of a run, in the order the run reached it: a message box, or the contributions
// window of a nutrient minimum that cannot be reached. The caller shows them once the run has
// returned (the window), prints them (the command line) or keeps them (the worklist).
struct RunMessage {
    enum class Kind { Message, Contributions };
    Kind kind = Kind::Message;
    QString text;
    MsgIcon icon = MsgIcon::None;
    QString title;
    RunFocus focus = RunFocus::None;
    std::optional<AportesReport> aportes; // Kind::Contributions
};

} // namespace tarvela::formulation
