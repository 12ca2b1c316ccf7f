#pragma once
// Marks a setting of the installation outside the program's own files, where other programs of the
// office look for it (on Windows the user's registry; elsewhere the settings store of the desktop
// with the same names): under `organizacao`/`aplicacao`, `nome` = `valor`. False when it could not be
// written.

#include <QString>

namespace qav::sync {

bool gravarRegistro(const QString& organizacao, const QString& aplicacao, const QString& nome,
                    const QString& valor);

} // namespace qav::sync
