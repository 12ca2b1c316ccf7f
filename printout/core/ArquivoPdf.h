#pragma once
// The order's PDF file: "pedido_" + the number in eight digits, in the platform's temporary folder,
// titled "Pedido # " + the same eight digits.

#include "printout/core/DesenhoPedido.h"

#include <QString>
#include <functional>

class QPagedPaintDevice;

namespace qav::impressao {

QString arquivoPdfPedido(int numero); // <temp>/pedido_00000123.pdf
QString tituloPdf(int numero);        // "Pedido # 00000123"

// Writes a PDF titled `titulo` with the pages `desenhar` draws (it returns how many), creating the
// folder when missing; the file appears only whole. False with `erro` when it could not be written.
bool gravarPdf(const QString& arquivo, const QString& titulo,
               const std::function<int(QPagedPaintDevice&)>& desenhar, QString* erro);

// Whether the file is a whole PDF: its header, its end and the cross-reference table its end points
// at. False with the reason.
bool pdfCompleto(const QString& caminho, QString* motivo);

// Writes the order's PDF (creating the folder when missing). False with `erro` when the file could not be
// written.
bool gravarPdf(const QString& arquivo, const DocumentoPedido& documento, Modelo modelo,
               const OpcoesDesenho& opcoes, QString* erro);

} // namespace qav::impressao
