#include "customers/widgets/FichaProduto.h"

#include "store/core/FormatoBr.h"
#include "store/core/Text.h"
#include "ui/widgets/WindowStateBinder.h"

#include <QDir>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace qav {

namespace {

struct Campo {
    const char* rotulo;
    const char* campo;
    int casas; // -1: text, -2: date, else decimals
};

QWidget* page(const Record& produto, std::initializer_list<Campo> campos, QWidget* parent) {
    auto* widget = new QWidget(parent);
    auto* form = new QFormLayout(widget);
    for (const Campo& c : campos) {
        const FieldDef& field = produto.def().fields[static_cast<size_t>(produto.field(c.campo))];
        QString value;
        if (c.casas == -1)
            value = text::rtrim(produto.text(c.campo));
        else if (c.casas == -2)
            value = br::data(produto.date(c.campo));
        else
            value = br::numero(produto.decimal(c.campo), c.casas);
        auto* edit = new QLineEdit(value, widget);
        edit->setObjectName(QString::fromLatin1(c.campo));
        edit->setReadOnly(true);
        if (field.isNumeric())
            edit->setAlignment(Qt::AlignRight);
        form->addRow(QString::fromUtf8(c.rotulo), edit);
    }
    return widget;
}

} // namespace

FichaProduto::FichaProduto(const Record& p, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("UpdProduto"));
    setWindowTitle(QStringLiteral("Form produto"));
    auto* layout = new QVBoxLayout(this);
    auto* tabs = new QTabWidget(this);
    tabs->setObjectName(QStringLiteral("abas"));
    tabs->addTab(page(p,
                      {{"Código:", "CODIGO", -1},
                       {"Código de Barras:", "COD_BARRAS", -1},
                       {"Descrição:", "NOME", -1},
                       {"Referência:", "REFER", -1},
                       {"Unidade:", "UNIDA", -1},
                       {"Código NCM:", "COD_NCM", -1},
                       {"Código EX-TIPI:", "EX_IPI", -1},
                       {"Alíquota IPI:", "ALIQ_IPI", 2},
                       {"Volume (m³):", "VOL_M3", 6},
                       {"Peso Líquido:", "PESOL", 3},
                       {"Peso Bruto:", "PESOB", 3},
                       {"Estoque:", "QTD_ESTOQUE", 3},
                       {"Qtd. por Volume:", "QTD_VOLUME", 3},
                       {"Classe:", "CLASSE_ABC", -1},
                       {"Qtd. Embalagem:", "QTD_EMBALAGEM", 4}},
                      tabs),
                 QStringLiteral("Produto"));
    tabs->addTab(page(p,
                      {{"Preço 1:", "PRECO", 4},
                       {"Preço 2:", "PREC2", 4},
                       {"Preço 3:", "PREC3", 4},
                       {"Data Preço:", "DATAP", -2},
                       {"Desconto Padrão:", "DESC_PADRAO", 2},
                       {"Desconto Máximo:", "DESC_MAX", 2},
                       {"Lote Múltiplo Venda:", "LOTE_MUL_VENDA", 3},
                       {"Taxa Desconto Lote:", "TX_DESC_LOTE", 2}},
                      tabs),
                 QStringLiteral("Preço"));
    layout->addWidget(tabs);
    auto* close = new QPushButton(QStringLiteral("&Fechar"), this);
    close->setObjectName(QStringLiteral("botaoFechar"));
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    layout->addWidget(close, 0, Qt::AlignRight);
}

void FichaProduto::consultar(QWidget* parent, const Record& produto, const QString& programFolder) {
    FichaProduto form(produto, parent);
    WindowStateBinder::attach(&form, u"UpdProduto",
                              QDir(programFolder).filePath(QStringLiteral("qavplus.INI")));
    form.exec();
}

} // namespace qav
