#pragma once
// E-mail through the user's own mail program, with the Simple MAPI result codes the callers test:
// the message with its attachment is shown to the user, who confirms and sends it there.

#include <QString>
#include <optional>

namespace qav {

inline constexpr long kMapiSucesso = 0;
inline constexpr long kMapiDestinatarioInvalido = 25; // MAPI_E_INVALID_RECIPIENTS
inline constexpr long kMapiMostrarMensagem = 8;       // MAPI_DIALOG: the user sees the message first

// How the message reached the mail program.
enum class EntregaEmail {
    ComAnexo, // with the attachment
    // The user's mail program takes no attachment from another program: it got the message without
    // it, and the folder holding the file was opened for the user to attach it.
    SemAnexo,
};

// Hands the message to the mail program; 0 when it was handed over, otherwise a Simple MAPI error
// code. On Linux the default mail program's own compose command is used when it has one that takes
// an attachment (Thunderbird, Evolution), otherwise xdg-email; the wait for the mail program keeps
// the application's events going. `entrega`, when given, says how a handed-over message went.
long SENDMAIL(const QString& destinatario, const QString& assunto, const QString& corpo, const QString& anexo,
              long flags, EntregaEmail* entrega = nullptr);
// A readable text for a Simple MAPI result code.
QString GETMAPIERRORTEXT(long codigo);

// The desktop's default program for a MIME type or URL scheme ("application/pdf",
// "x-scheme-handler/mailto") as xdg-mime names it: empty when the desktop has none, nullopt where
// this cannot be asked (no xdg-mime, as on Windows, where the system always answers).
std::optional<QString> programaPadrao(const QString& tipo);

} // namespace qav
