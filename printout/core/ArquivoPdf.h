#pragma once
// The order's PDF file: "pedido_" + the number in eight digits (and "_modelo" + the printout model,
// so that one model does not overwrite another), in the platform's temporary folder, titled
// "Pedido # " + the same eight digits.

#include "printout/core/DesenhoPedido.h"

#include <QString>
#include <functional>

class QPagedPaintDevice;

namespace qav::impressao {

// <temp>/pedido_00000123.pdf; with a model, <temp>/pedido_00000123_modelo3.pdf
QString arquivoPdfPedido(int numero, int modelo = 0);
QString tituloPdf(int numero); // "Pedido # 00000123"

// Writes a PDF titled `titulo` with the pages `desenhar` draws (it returns how many), creating the
// folder when missing; the file appears only whole. False with `erro` when it could not be written.
bool gravarPdf(const QString& arquivo, const QString& titulo,
               const std::function<int(QPagedPaintDevice&)>& desenhar, QString* erro);

// Writes the order's PDF (creating the folder when missing). False with `erro` when the file could not be
// written.
bool gravarPdf(const QString& arquivo, const DocumentoPedido& documento, Modelo modelo,
               const OpcoesDesenho& opcoes, QString* erro);

} // namespace qav::impressao
