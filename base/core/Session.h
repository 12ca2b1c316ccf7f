#pragma once
// The few process-wide values every window reads: the active company (id_emp_ativa) and the data
// folder the local tables are bound to. They are written by the company selection before any other
// window exists, and by the frame's thread afterwards.

#include <QString>

namespace qav {

// id_emp_ativa: 0 means no company.
int idEmpAtiva();
void setIdEmpAtiva(int idEmpresa);

// Binding of the 28 tables to a data folder: every window makes its own Store over this folder.
struct BoundFolder {
    QString name; // "dados"
    QString path; // absolute path of the folder
};
BoundFolder boundFolder();
void bindFolder(const BoundFolder& folder);

} // namespace qav
