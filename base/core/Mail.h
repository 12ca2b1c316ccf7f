#pragma once
// E-mail through the user's own mail program, with the Simple MAPI result codes the callers test:
// the message with its attachment is shown to the user, who confirms and sends it there.

#include <QString>

namespace qav {

inline constexpr long kMapiSucesso = 0;
inline constexpr long kMapiDestinatarioInvalido = 25; // MAPI_E_INVALID_RECIPIENTS
inline constexpr long kMapiMostrarMensagem = 8;       // MAPI_DIALOG: the user sees the message first

// Hands the message to the mail program; 0 when it was handed over, otherwise a Simple MAPI error
// code.
long SENDMAIL(const QString& destinatario, const QString& assunto, const QString& corpo, const QString& anexo,
              long flags);
// A readable text for a Simple MAPI result code.
QString GETMAPIERRORTEXT(long codigo);

} // namespace qav
