#pragma once
// The order's PDF file: "pedido_" + the number in eight digits, in the platform's temporary folder,
// titled "Pedido # " + the same eight digits.

#include "printout/core/DesenhoPedido.h"

#include <QString>

namespace qav::impressao {

QString arquivoPdfPedido(int numero); // <temp>/pedido_00000123.pdf
QString tituloPdf(int numero);        // "Pedido # 00000123"

// Writes the PDF (creating the folder when missing). False with `erro` when the file could not be
// written.
bool gravarPdf(const QString& arquivo, const DocumentoPedido& documento, Modelo modelo,
               const OpcoesDesenho& opcoes, QString* erro);

} // namespace qav::impressao
