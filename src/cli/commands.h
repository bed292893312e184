#pragma once

#include <QStringList>

// The commands of tarvela-cli. Each returns the process exit code.
namespace tarvela::cli {

// init-db FILE|postgresql://... [--demo]
int initDb(const QStringList& args);
// copy-db FROM TO: every row of the program's tables, file or server to file or server
int copyDb(const QStringList& args);
// formulate FORMULA_ID [--db FILE] [--cantidad Q] [--json]
int formulate(const QStringList& args);
// import-prices FILE [--db F] [--base N] [--sheet S] [--dry-run] [--json] [--skip-invalid]
//               [--confirm-variation]
int importPrices(const QStringList& args);
// import-composition FILE [--db F] [--base N] [--sheet S] [--dry-run] [--json] [--skip-invalid]
int importComposition(const QStringList& args);
// export-composition FILE [--db F] [--base N]
int exportComposition(const QStringList& args);
// reformulate [--db FILE] [--base N] [--cliente ID] [--save] [--json]
int reformulate(const QStringList& args);
// curve FORMULA_ID --nutriente ID|--ingrediente ID [--maximo] [--precio] [--desde A --hasta B
// --pasos N] [--db FILE] [--json]
int curve(const QStringList& args);
// plan PLAN_ID [--db FILE] [--json]
int plan(const QStringList& args);

} // namespace tarvela::cli
