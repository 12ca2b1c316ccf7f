#include "customers/widgets/JanelaProdutos.h"

#include "base/core/Settings.h"
#include "customers/widgets/FichaProduto.h"
#include "customers/widgets/JanelaPautas.h"
#include "customers/widgets/PromoCellDelegate.h"
#include "customers/widgets/ReferenceList.h"
#include "store/core/FormatoBr.h"
#include "store/core/Text.h"

#include <QButtonGroup>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTabBar>
#include <QTableView>
#include <QTimer>

namespace qav {

std::vector<ListColumn> JanelaProdutos::columns(JanelaProdutos* self) {
    const TableDef& t = tableDef("produto");
    ListColumn preco = ListColumn::computed(
        QStringLiteral("Preço 1"),
        [self](const Record& p) { return br::numero(self->m_precos.preco1(p), 4); }, true);
    preco.background = [](const Record& p) {
        return produto::promocional(p) ? QVariant(promocional()) : QVariant();
    };
    return {ListColumn::text(t, QStringLiteral("Código"), "CODIGO"),
            ListColumn::text(t, QStringLiteral("Nome"), "NOME"),
            ListColumn::text(t, QStringLiteral("Referência"), "REFER"),
            preco,
            ListColumn::decimal(t, QStringLiteral("Estoque"), "QTD_ESTOQUE", 3),
            ListColumn::text(t, QStringLiteral("Und"), "UNIDA"),
            ListColumn::digits(t, QStringLiteral("Id"), "ID", 8)};
}

JanelaProdutos::JanelaProdutos(const ListContext& context, QWidget* parent)
    : ListWindow(std::make_shared<Store>(context.dataFolder), tableDef("produto"), columns(this),
                 QStringLiteral("Produtos"), parent),
      m_context(context), m_precos(store()), m_locatorLabel(new QLabel(this)), m_locator(new QLineEdit(this)),
      m_pauta(new QLineEdit(this)), m_pautaDescricao(new QLabel(this)),
      m_precoItemUnico(new QLineEdit(this)) {
    setObjectName(QStringLiteral("browseprodutos"));
    QTabBar* bar = addTabs({QStringLiteral("Código"), QStringLiteral("Nome"), QStringLiteral("Nome - Filtro"),
                            QStringLiteral("Referência")});

    auto* options = new QHBoxLayout;
    options->addWidget(new QLabel(QStringLiteral("Situação:"), this));
    auto* group = new QButtonGroup(this);
    const std::pair<const char*, produto::Situacao> situations[] = {
        {" Ativos", produto::Situacao::Ativos},
        {" Inativos", produto::Situacao::Inativos},
        {" Todos", produto::Situacao::Todos}};
    for (const auto& [caption, value] : situations) {
        auto* button = new QRadioButton(QString::fromUtf8(caption), this);
        button->setObjectName(QStringLiteral("situacao") + QString::fromUtf8(caption).trimmed());
        button->setChecked(value == m_situacao);
        group->addButton(button, static_cast<int>(value));
        options->addWidget(button);
    }
    connect(group, &QButtonGroup::idClicked, this,
            [this](int id) { setSituacao(static_cast<produto::Situacao>(id)); });
    options->addSpacing(16);
    auto* pautaLabel = new QLabel(QStringLiteral("Pauta de Preços:"), this);
    pautaLabel->setBuddy(m_pauta);
    m_pauta->setObjectName(QStringLiteral("pauta"));
    m_pauta->setMaxLength(9);
    m_pautaDescricao->setObjectName(QStringLiteral("pautaDescricao"));
    options->addWidget(pautaLabel);
    options->addWidget(m_pauta);
    options->addWidget(m_pautaDescricao, 1);
    topArea()->addLayout(options);
    connect(m_pauta, &QLineEdit::editingFinished, this, [this] { setPauta(m_pauta->text()); });

    auto* locatorRow = new QHBoxLayout;
    m_locator->setObjectName(QStringLiteral("localizador"));
    m_locatorLabel->setBuddy(m_locator);
    locatorRow->addWidget(m_locatorLabel);
    locatorRow->addWidget(m_locator, 1);
    topArea()->addLayout(locatorRow);
    setSearchField(m_locator);
    connect(m_locator, &QLineEdit::textEdited, this, &JanelaProdutos::locatorEdited);

    auto* unitRow = new QHBoxLayout;
    unitRow->addStretch();
    auto* unitLabel = new QLabel(QStringLiteral("Preço p/Item Único:"), this);
    m_precoItemUnico->setObjectName(QStringLiteral("precoItemUnico"));
    m_precoItemUnico->setReadOnly(true);
    m_precoItemUnico->setAlignment(Qt::AlignRight);
    unitLabel->setBuddy(m_precoItemUnico);
    unitRow->addWidget(unitLabel);
    unitRow->addWidget(m_precoItemUnico);
    bottomArea()->addLayout(unitRow);

    addRecordButton(QStringLiteral("&Consultar"), QStringLiteral("botaoConsultar"),
                    [this](const Record& p) { consultar(p); });
    view()->setItemDelegateForColumn(Preco1, new PromoCellDelegate(this));

    model()->open();
    applyFilter();
    connect(bar, &QTabBar::currentChanged, this, &JanelaProdutos::chooseTab);
    chooseTab(TabCodigo);
    fitColumns();
}

void JanelaProdutos::chooseTab(int tab) {
    static const char* const keys[] = {"KEYCODIGO", "KEYNOME", "KEYNOME", "KEYREFER"};
    static const char* const labels[] = {"Código:", "Nome:", "Nome:", "Referência:"};
    if (tab < 0 || tab > TabReferencia)
        return;
    m_locatorLabel->setText(QString::fromUtf8(labels[tab]));
    m_locator->clear();
    const bool searched = !m_pesquisa.isEmpty();
    m_pesquisa.clear();
    model()->setOrder(keys[tab]);
    if (searched)
        applyFilter();
    model()->reload();
    if (tab == TabNome || tab == TabNomeFiltro)
        // The names are read for the search once the tab shows, before the first letter is typed; a
        // failure shows when the search runs.
        QTimer::singleShot(0, this, [this] {
            if (tabs()->currentIndex() == TabNome || tabs()->currentIndex() == TabNomeFiltro)
                model()->prepareSearch("NOME");
        });
}

void JanelaProdutos::applyFilter() {
    const ListFilter filter = produto::filtro(m_situacao, m_context.idEmpresa, m_pesquisa);
    model()->setListFilter(filter);
}

void JanelaProdutos::setSituacao(produto::Situacao situacao) {
    m_situacao = situacao;
    applyFilter();
    model()->reload();
}

void JanelaProdutos::locatorEdited(const QString& text) {
    switch (tabs()->currentIndex()) {
    case TabCodigo:
        localizarCodigo(text);
        break;
    case TabNome:
    case TabNomeFiltro:
        m_pesquisa = text;
        applyFilter();
        model()->reload();
        break;
    case TabReferencia:
        localizarReferencia(text);
        break;
    default:
        break;
    }
}

void JanelaProdutos::localizarCodigo(const QString& text) {
    const QStringList codigos = produto::codigosParaLocalizar(text);
    if (codigos.isEmpty()) {
        model()->reload();
        return;
    }
    Record values(model()->def());
    values.setInteger("ID_EMPRESA", m_context.idEmpresa);
    for (const QString& codigo : codigos) {
        try {
            values.setText("CODIGO", codigo);
        } catch (const FieldValueError&) {
            return;
        }
        const std::optional<int> row = model()->locate(values, 2);
        if (row && text::foldCase(model()->record(*row).text("CODIGO")) == text::fit(codigo, 14)) {
            setCurrentRow(*row);
            return;
        }
    }
    // No code as typed nor with the zeros: the nearest code after the typed one.
    values.setText("CODIGO", codigos.front());
    if (const std::optional<int> row = model()->locateNearest(values, 1))
        setCurrentRow(*row);
}

void JanelaProdutos::localizarReferencia(const QString& text) {
    if (text.trimmed().isEmpty()) {
        model()->reload();
        return;
    }
    Record values(model()->def());
    try {
        values.setText("REFER", text::foldSearch(text)); // the key sorts as if without accents
    } catch (const FieldValueError&) {
        return;
    }
    if (const std::optional<int> row = model()->locateNearest(values, 1))
        setCurrentRow(*row);
}

void JanelaProdutos::setPauta(const QString& codigoDigitado) {
    bool ok = false;
    int codigo = codigoDigitado.trimmed().toInt(&ok);
    if (!ok)
        codigo = 0;
    std::optional<PautaEscolhida> pauta;
    if (codigo != 0) {
        pauta = pautaPorCodigo(store(), codigo, m_context.idEmpresa);
        if (!pauta) {
            if (const std::optional<int> chosen = JanelaPautas::selecionar(this, m_context))
                pauta = pautaPorCodigo(store(), *chosen, m_context.idEmpresa);
        }
    }
    m_pauta->setText(pauta ? QString::number(pauta->codigo) : QString());
    m_pautaDescricao->setText(pauta ? pauta->descricao : QString());
    m_precos.escolher(pauta ? pauta->id : 0);
    model()->refreshColumn(Preco1);
    currentChanged();
}

bool JanelaProdutos::posicionarNoId(int idProduto) {
    Table produtos(store(), "produto");
    if (idProduto == 0 || !produtos.open())
        return false;
    produtos.rec().setInteger("ID", idProduto);
    produtos.rec().setInteger("ID_EMPRESA", m_context.idEmpresa);
    if (produtos.get("KEYID") != Status::Ok)
        return false;
    const TableDef& def = model()->def();
    const KeyDef& key = def.keys[static_cast<size_t>(def.keyIndex(model()->order()))];
    if (!model()->locate(produtos.rec(), static_cast<int>(key.components.size())))
        return false;
    const int row = model()->findLoaded(def.fieldIndex("ID"), idProduto);
    setCurrentRow(row);
    return row >= 0;
}

void JanelaProdutos::currentChanged() {
    const Record* p = current();
    m_precoItemUnico->setText(
        p ? br::numero(produto::precoItemUnico(m_precos.preco1(*p), p->decimal("QTD_EMBALAGEM")), 4)
          : QString());
}

void JanelaProdutos::consultar(const Record& p) {
    FichaProduto::consultar(this, p, m_context.programFolder);
}

std::optional<int> JanelaProdutos::selecionar(QWidget* parent, const ListContext& context) {
    const Settings settings(context.programFolder);
    auto* list = new JanelaProdutos(context);
    list->posicionarNoId(settings.consultaProdutoId());
    const std::optional<Record> chosen = runSelection(list, parent, u"browseprodutos", context.programFolder);
    if (!chosen)
        return std::nullopt;
    const int id = static_cast<int>(chosen->integer("ID"));
    settings.setConsultaProdutoId(id);
    return id;
}

} // namespace qav
