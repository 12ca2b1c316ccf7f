#include "orders/widgets/ConsultaCaracteristica.h"

#include "base/core/WindowState.h"
#include "store/core/FormatoBr.h"
#include "store/core/TableDef.h"
#include "ui/core/StandardWarning.h"
#include "ui/widgets/StandardWarningBox.h"
#include "ui/widgets/WindowStateBinder.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTreeWidget>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace qav {

namespace {

// A required subgroup's code, blank for none.
QString subgrupo(int codigo) {
    return codigo != 0 ? QString::number(codigo) : QString();
}

QTreeWidget* lista(QWidget* pai, const QString& nome, const QStringList& colunas) {
    auto* l = new QTreeWidget(pai);
    l->setObjectName(nome);
    l->setRootIsDecorated(false);
    l->setUniformRowHeights(true);
    l->setSelectionMode(QAbstractItemView::SingleSelection);
    l->setHeaderLabels(colunas);
    l->header()->setStretchLastSection(false);
    l->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    return l;
}

// The row selected in a list, -1 when none: a row that only has the focus frame is not chosen.
int linhaEscolhida(const QTreeWidget* l) {
    const QList<QTreeWidgetItem*> escolhidos = l->selectedItems();
    return escolhidos.isEmpty() ? -1 : l->indexOfTopLevelItem(escolhidos.constFirst());
}

} // namespace

ConsultaCaracteristica::ConsultaCaracteristica(const ListContext& contexto, QWidget* parent)
    : QDialog(parent), m_store(contexto.dataFolder), m_busca(m_store, contexto.idEmpresa) {
    setObjectName(u"ConsultaCaracteristica"_s);
    setWindowTitle(u"Consulta por Característica"_s);
    auto* layout = new QVBoxLayout(this);

    auto* form = new QFormLayout;
    layout->addLayout(form);
    for (int i = 0; i < BuscaCaracteristica::kCaracteristicas; ++i) {
        auto* c = new QComboBox(this);
        c->setObjectName(u"caracteristica%1"_s.arg(i + 1));
        // 30 characters, as long as a characteristic may be.
        c->setMinimumContentsLength(30);
        c->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        form->addRow(u"Característica %1:"_s.arg(i + 1), c);
        m_listas[static_cast<size_t>(i)] = c;
        connect(c, &QComboBox::currentIndexChanged, this, [this, i] {
            if (!m_preenchendo)
                caracteristicaEscolhida(i);
        });
    }

    // With the product, the accessory subgroups it requires: the representative sees which lists
    // below will need a choice.
    m_produtos = lista(this, u"produtos"_s,
                       {u"Código"_s, u"Produto"_s, u"Acessório 1"_s, u"Acessório 2"_s, u"Acessório 3"_s});
    layout->addWidget(m_produtos, 1);
    connect(m_produtos, &QTreeWidget::itemSelectionChanged, this, [this] {
        if (!m_preenchendo)
            produtoEscolhido();
    });

    auto* linhaAcessorios = new QHBoxLayout;
    layout->addLayout(linhaAcessorios, 1);
    for (int i = 0; i < kListasAcessorios; ++i) {
        auto* coluna = new QVBoxLayout;
        auto* rotulo = new QLabel(this);
        rotulo->setObjectName(u"rotuloAcessorios%1"_s.arg(i + 1));
        QTreeWidget* l = lista(this, u"acessorios%1"_s.arg(i + 1), {u"Código"_s, u"Acessório"_s, u"Valor"_s});
        rotulo->setBuddy(l);
        coluna->addWidget(rotulo);
        coluna->addWidget(l);
        linhaAcessorios->addLayout(coluna);
        m_rotulosAcessorios[static_cast<size_t>(i)] = rotulo;
        m_acessorios[static_cast<size_t>(i)] = l;
        rotulo->hide();
        l->hide();
    }

    auto* botoes = new QDialogButtonBox(this);
    QPushButton* ok = botoes->addButton(u"&OK"_s, QDialogButtonBox::AcceptRole);
    ok->setObjectName(u"ok"_s);
    ok->setDefault(true);
    botoes->addButton(u"&Cancelar"_s, QDialogButtonBox::RejectRole)->setObjectName(u"cancelar"_s);
    connect(botoes, &QDialogButtonBox::accepted, this, &ConsultaCaracteristica::accept);
    connect(botoes, &QDialogButtonBox::rejected, this, &ConsultaCaracteristica::reject);
    layout->addWidget(botoes);

    preencherListas(0);
    preencherProdutos();
    m_posicao = WindowStateBinder::attach(this, janela::ConsultaCaracteristica,
                                          QDir(contexto.programFolder).filePath(u"qavplus.INI"_s));
}

std::optional<EscolhaCaracteristica> ConsultaCaracteristica::selecionar(QWidget* parent,
                                                                        const ListContext& contexto) {
    ConsultaCaracteristica consulta(contexto, parent);
    if (consulta.exec() != QDialog::Accepted)
        return std::nullopt;
    return consulta.escolha();
}

void ConsultaCaracteristica::caracteristicaEscolhida(int lista) {
    m_busca.escolher(lista, m_listas[static_cast<size_t>(lista)]->currentText());
    preencherListas(lista + 1);
    preencherProdutos();
}

void ConsultaCaracteristica::preencherListas(int primeira) {
    m_preenchendo = true;
    for (int i = primeira; i < BuscaCaracteristica::kCaracteristicas; ++i) {
        QComboBox* c = m_listas[static_cast<size_t>(i)];
        c->clear();
        c->addItem(QString()); // left empty: a blank characteristic
        for (const QString& valor : m_busca.valores(i))
            c->addItem(valor);
        c->setCurrentIndex(0);
        verificarLeitura("produto.tps");
    }
    m_preenchendo = false;
}

void ConsultaCaracteristica::preencherProdutos() {
    m_preenchendo = true;
    m_produtos->clear();
    m_encontrados = m_busca.produtos();
    verificarLeitura("produto.tps");
    for (const ProdutoCaracteristica& p : m_encontrados)
        new QTreeWidgetItem(m_produtos, {p.codigo, p.nome, subgrupo(p.subgrupos[0]), subgrupo(p.subgrupos[1]),
                                         subgrupo(p.subgrupos[2])});
    if (m_encontrados.size() == 1)
        m_produtos->setCurrentItem(m_produtos->topLevelItem(0));
    m_preenchendo = false;
    produtoEscolhido();
}

const ProdutoCaracteristica* ConsultaCaracteristica::produtoAtual() const {
    const int linha = linhaEscolhida(m_produtos);
    return linha >= 0 && static_cast<size_t>(linha) < m_encontrados.size()
               ? &m_encontrados[static_cast<size_t>(linha)]
               : nullptr;
}

void ConsultaCaracteristica::produtoEscolhido() {
    const ProdutoCaracteristica* produto = produtoAtual();
    m_exigidos = produto ? m_busca.subgruposExigidos(*produto) : std::vector<SubgrupoExigido>{};
    verificarLeitura("acessori.tps");
    for (size_t i = 0; i < m_acessorios.size(); ++i) {
        QTreeWidget* l = m_acessorios[i];
        QLabel* rotulo = m_rotulosAcessorios[i];
        l->clear();
        const bool exigido = i < m_exigidos.size();
        l->setVisible(exigido);
        rotulo->setVisible(exigido);
        if (!exigido)
            continue;
        const SubgrupoExigido& s = m_exigidos[i];
        rotulo->setText(u"Acessório (%1-%2):"_s.arg(s.codigo).arg(s.descricao));
        for (const AcessorioOferecido& a : s.acessorios) {
            auto* item = new QTreeWidgetItem(l, {QString::number(a.id), a.descricao, br::numero(a.preco, 2)});
            item->setTextAlignment(2, Qt::AlignRight | Qt::AlignVCenter);
        }
    }
}

void ConsultaCaracteristica::accept() {
    const ProdutoCaracteristica* produto = produtoAtual();
    if (!produto) {
        m_produtos->setFocus();
        return;
    }
    std::vector<int> escolhidos;
    for (size_t i = 0; i < m_exigidos.size() && i < m_acessorios.size(); ++i)
        escolhidos.push_back(linhaEscolhida(m_acessorios[i]));
    const ConfirmacaoCaracteristica confirmacao = confirmarCaracteristica(*produto, m_exigidos, escolhidos);
    if (!confirmacao.escolha) {
        m_acessorios[static_cast<size_t>(confirmacao.listaVazia)]->setFocus();
        return;
    }
    m_escolha = confirmacao.escolha;
    QDialog::accept();
}

void ConsultaCaracteristica::done(int resultado) {
    if (isVisible())
        m_posicao->save();
    QDialog::done(resultado);
}

void ConsultaCaracteristica::verificarLeitura(const char* tabela) {
    if (!m_busca.erro().isError() || m_falhaMostrada)
        return;
    m_falhaMostrada = true;
    const TableDef* def = findTable(tabela);
    standardWarning(Aviso::ErroAcessoArquivo, m_busca.erro(),
                    def ? QString::fromLatin1(def->label) : QString(), {}, this);
}

} // namespace qav
