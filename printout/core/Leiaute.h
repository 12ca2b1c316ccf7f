#pragma once
// What each model puts on the page, apart from how it is drawn: the issuer lines, the boxes of the
// customer, totals and footer blocks, and the item columns with the text of each cell.

#include "printout/core/DesenhoPedido.h"

#include <QPageLayout>
#include <QString>
#include <functional>
#include <vector>

namespace qav::impressao {

// A labelled box: the label small above the value. `peso` shares the row's width among its boxes.
struct Caixa {
    QString rotulo;
    QString valor;
    double peso = 1;
    bool numero = false;   // right-aligned
    bool destaque = false; // bold value
};
using LinhaCaixas = std::vector<Caixa>;

struct Coluna {
    QString titulo;     // "Valor\nUnitário" prints on two lines
    double largura = 0; // millimetres; 0: the description, which takes the width left
    bool numero = true; // right-aligned, shrunk to fit rather than wrapped
    std::function<QString(const ItemImpresso&)> valor;
};

struct Leiaute {
    QPageLayout::Orientation orientacao = QPageLayout::Portrait;
    QString logo;                        // an image file Qt reads, or empty
    QString tituloNumero;                // "Pedido:" or "Nº Pedido QAV"
    std::vector<QString> linhasEmitente; // below the issuer's name
    std::vector<LinhaCaixas> cliente;    // first page, under the header
    std::vector<Coluna> colunas;
    std::vector<LinhaCaixas> totais; // last page, after the items and notes
    std::vector<LinhaCaixas> rodape; // after the totals
    bool vistos = true;              // approval boxes and the credit notice
};

Leiaute montarLeiaute(const DocumentoPedido& documento, Modelo modelo, const OpcoesDesenho& opcoes);

// The issuer's logo: the file named, or one of the same name in another format Qt reads (a logo
// kept as .png beside the expected .wmf); empty when there is none.
QString arquivoLogo(const QString& nome);

} // namespace qav::impressao
