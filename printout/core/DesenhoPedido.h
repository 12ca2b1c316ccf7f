#pragma once
// Draws an order in one model on a paged device (a printer, the preview, a PDF writer): page
// orientation, issuer and customer blocks, the item table with its headings repeated on every page,
// the note bands, the totals and the footer on the last page, and page numbers.

#include "printout/core/DocumentoPedido.h"
#include "printout/core/ModelosPedido.h"

#include <QString>

class QPagedPaintDevice;

namespace qav::impressao {

struct OpcoesDesenho {
    // The program folder, where the issuer's logo files are looked for.
    QString pastaPrograma;
    // A printer keeps the paper chosen in its dialog; other devices get A4.
    bool manterPapel = false;
};

// Sets the device's page layout (A4, the model's orientation) and draws every page. Returns the number
// of pages drawn, 0 when the device could not be painted on.
int desenharPedido(QPagedPaintDevice& destino, const DocumentoPedido& documento, Modelo modelo,
                   const OpcoesDesenho& opcoes);

} // namespace qav::impressao
