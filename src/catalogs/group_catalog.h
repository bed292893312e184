#pragma once

#include "catalogs/field_check.h"
#include "db/connection.h"
#include "grid/grid_paint.h"

#include <QString>

#include <optional>
#include <vector>

// "Grupos de Ingredientes": named groups of ingredients of one species base, on which formulas
// put limits ("Cereales" at most 60 % of the batch). The list's statement, and the group window's
// loading, check, saving and deletion, each change in one transaction.
namespace tarvela::catalogs {

struct GroupMember {
    int id_producto = 0;
    QString codigo; // trimmed
    QString nombre;

    bool operator==(const GroupMember&) const = default;
};

// A group as its window shows it: the name and the members by code.
struct GroupRecord {
    QString nombre;
    std::vector<GroupMember> miembros;

    bool operator==(const GroupRecord&) const = default;
};

enum GroupListColumn { kGrpId = 0, kGrpNombre = 1, kGrpMiembros = 2 };

// The groups of a base whose name contains the fragment (blank: every group), with the number of
// their ingredients, by name.
QString groupListStatement(int base, const QString& nombre);

// The list's rows: the hidden key, the name and the number of ingredients.
grid::GridPaint paintGroupList(const db::Result& result);
// The group window's members: the hidden key, the code and the name, in the record's order.
grid::GridPaint paintGroupMembers(const std::vector<GroupMember>& members);

// The group with its members by code, or nothing when it does not exist.
std::optional<GroupRecord> loadGroup(db::Connection& conn, int id);

enum class GroupField { None, Name };

// "Grabar"'s check: a name.
FieldCheck<GroupField> checkGroup(const GroupRecord& group);

// Stores a new group of the base with its members, in one transaction, and returns its key (past
// every key still referenced). Throws db::KeyError or db::DbError; then nothing has been written.
int createGroup(db::Connection& conn, int base, const GroupRecord& group);
// The group's change stamp as it is now (empty when it has none or is gone).
QString groupStamp(db::Connection& conn, int id);
// Rewrites a group's name and members and records the change, in one transaction. Throws
// db::DbError (DbFailure::Changed, with the message for the user) when the group changed or went
// since its stamp was read: then nothing is written.
void updateGroup(db::Connection& conn, int id, const GroupRecord& group, const QString& stampRead);

// How many formula versions put a limit on the group.
int formulasUsingGroup(db::Connection& conn, int id);
// Deletes the group, its members and the formulas' limits on it, in one transaction.
void deleteGroup(db::Connection& conn, int id);

QString deleteGroupQuestion(const QString& name);
QString groupInUseQuestion(const QString& name, int formulas);
// Asked before the members of a group that formulas use are changed: their limits follow.
QString groupMembersChangeQuestion(const QString& name, int formulas);

// How many formula versions have a ratio limit with the nutrient, and the question asked before
// such a nutrient is deleted.
int formulasWithRatioOf(db::Connection& conn, int idPropiedad);
QString nutrientInRatiosQuestion(const QString& name, int formulas);

} // namespace tarvela::catalogs
