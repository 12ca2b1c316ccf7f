#pragma once
// The order's PDF file: "pedido_" + the number in eight digits (and "_modelo" + the printout model,
// so that one model does not overwrite another), in a folder of the user's own (an order carries the
// customer's data and prices: no other user of the machine reads it), titled
// "Pedido # " + the same eight digits.

#include "base/core/Resultado.h"
#include "printout/core/DesenhoPedido.h"

#include <QDateTime>
#include <QString>
#include <functional>

class QPagedPaintDevice;

namespace qav::impressao {

// The user's folder of order PDFs (in the user's cache folder, not the shared temporary one).
QString pastaPdfPedidos();
// Creates the folder when missing and leaves it open to its owner only.
Resultado prepararPastaPdfPedidos();
// <folder>/pedido_00000123.pdf; with a model, <folder>/pedido_00000123_modelo3.pdf
QString arquivoPdfPedido(int numero, int modelo = 0);
QString tituloPdf(int numero); // "Pedido # 00000123"

// The PDFs are left for the mail program or the viewer to read after the program handed them over;
// those the program wrote more than a day before `agora` are removed. Returns how many.
int removerPdfsAntigos(const QDateTime& agora);

// Writes a PDF titled `titulo` with the pages `desenhar` draws (it returns how many), creating the
// folder when missing; the file appears only whole.
Resultado gravarPdf(const QString& arquivo, const QString& titulo,
                    const std::function<int(QPagedPaintDevice&)>& desenhar);

// Whether the file is a whole PDF: its header, its end and the cross-reference table its end points
// at. False with the reason.
bool pdfCompleto(const QString& caminho, QString* motivo);

// Writes the order's PDF (creating the folder when missing).
Resultado gravarPdf(const QString& arquivo, const DocumentoPedido& documento, Modelo modelo,
                    const OpcoesDesenho& opcoes);

} // namespace qav::impressao
