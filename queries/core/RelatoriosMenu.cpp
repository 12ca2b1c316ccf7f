#include "queries/core/RelatoriosMenu.h"

#include "orders/core/CamposPedido.h"
#include "orders/core/ComissaoPedido.h"
#include "orders/core/SituacaoPedido.h"
#include "printout/core/Formatos.h"
#include "queries/core/HistoricoPedidos.h"
#include "store/core/FormatoBr.h"
#include "store/core/Table.h"

#include <QVariant>
#include <algorithm>
#include <deque>
#include <map>
#include <optional>
#include <unordered_map>

namespace qav::relatorio {

namespace {

QString dinheiro(const Decimal& valor) {
    return br::numero(valor, 2);
}

QString periodo(const QString& rotulo, Date inicio, Date fim) {
    if (!inicio.isValid() && !fim.isValid())
        return rotulo + QStringLiteral(": todos");
    if (!fim.isValid())
        return QStringLiteral("%1: a partir de %2").arg(rotulo, br::data(inicio));
    if (!inicio.isValid())
        return QStringLiteral("%1: até %2").arg(rotulo, br::data(fim));
    return QStringLiteral("%1: %2 a %3").arg(rotulo, br::data(inicio), br::data(fim));
}

QString falhaTabela(const Table& t) {
    return QStringLiteral("Erro (%1) ao ler %2!")
        .arg(t.error().number())
        .arg(QString::fromLatin1(t.def().fileName));
}

// A SQL condition built from the parts a report's choices ask for.
struct Condicao {
    std::string sql;
    std::vector<QVariant> parametros;
    void e(const char* parte, QVariant valor) {
        if (!sql.empty())
            sql += " AND ";
        sql += parte;
        parametros.push_back(std::move(valor));
    }
    void periodo(const char* campo, Date inicio, Date fim) {
        if (inicio.isValid())
            e((std::string("\"") + campo + "\" >= ?").c_str(), inicio.dayNumber());
        if (fim.isValid())
            e((std::string("\"") + campo + "\" <= ?").c_str(), fim.dayNumber());
    }
    void aplicar(Table& t) const { t.setFilter(sql, parametros); }
};

// Lines produced ahead of the drawing: a record read may give a subtotal, its own line and the notes of
// its items; they wait here until asked for.
class Fila : public Fonte {
public:
    bool comecar() final {
        m_fila.clear();
        m_fim = false;
        m_lidos = 0;
        m_erro.clear();
        return iniciar();
    }
    bool proxima(Linha& linha) final {
        while (m_fila.empty()) {
            if (m_fim || !m_erro.isEmpty())
                return false;
            if (!ler()) {
                m_fim = true;
                if (m_erro.isEmpty())
                    fechar();
            }
        }
        linha = std::move(m_fila.front());
        m_fila.pop_front();
        return true;
    }
    int progresso() const override {
        return m_total <= 0 ? 0 : static_cast<int>(std::min<std::int64_t>(99, m_lidos * 100 / m_total));
    }

protected:
    // Opens the tables and positions the walk; false with m_erro.
    virtual bool iniciar() = 0;
    // Reads the next record and queues its lines; false at the end or on failure (m_erro).
    virtual bool ler() = 0;
    // Queues the last subtotals and the grand total.
    virtual void fechar() = 0;

    void por(Tipo tipo, QStringList celulas) { m_fila.push_back({tipo, std::move(celulas)}); }
    bool falhou(const Table& t) {
        m_erro = falhaTabela(t);
        return false;
    }
    // The next record of a walk; false at its end or on failure.
    bool avancar(Table& t) {
        const Status s = t.next();
        if (s == Status::Error)
            return falhou(t);
        if (s == Status::Ok)
            ++m_lidos;
        return s == Status::Ok;
    }

    // Only the progress bar reads the total: a table that cannot be counted counts as empty there, and
    // its reading, which follows, reports the failure.
    std::int64_t m_total = 0;
    std::int64_t m_lidos = 0;

private:
    std::deque<Linha> m_fila;
    bool m_fim = false;
};

// Names of customers and payment forms, looked up as the lines need them. Payment forms are few and
// kept; customers are read again each time (a page of a report names few of them).
class Nomes {
public:
    Nomes(Store& store, int idEmpresa)
        : m_clientes(store, "clientes"), m_formas(store, "formapag"), m_empresa(idEmpresa) {}
    bool abrir() { return m_clientes.open() && m_formas.open(); }
    const Table* falha() const { return !m_clientes.isOpen() ? &m_clientes : &m_formas; }

    QString cliente(std::int64_t id) {
        m_clientes.clearFilter();
        m_clientes.clear();
        m_clientes.rec().setInteger("ID", id);
        return m_clientes.get("KEYID") == Status::Ok ? m_clientes.rec().text("RAZAO") : QString();
    }
    QString clienteComCodigo(std::int64_t id) {
        return QStringLiteral("%1 - %2").arg(br::digitos(id, 6), cliente(id));
    }
    QString formaPag(int codigo) {
        if (const auto f = m_cacheFormas.find(codigo); f != m_cacheFormas.end())
            return f->second;
        m_formas.clearFilter();
        m_formas.clear();
        m_formas.rec().setInteger("CODIGO", codigo);
        m_formas.rec().setInteger("ID_EMPRESA", m_empresa);
        QString nome = m_formas.get("KEYCODIGO") == Status::Ok ? m_formas.rec().text("DESCR") : QString();
        m_cacheFormas[codigo] = nome;
        return nome;
    }

private:
    Table m_clientes;
    Table m_formas;
    int m_empresa;
    std::map<int, QString> m_cacheFormas;
};

// ---------------------------------------------------------------------------------------------- Clientes

class Clientes : public Fila {
public:
    Clientes(Store& store, int idEmpresa, const FiltroClientes& f)
        : m_store(store), m_empresa(idEmpresa), m_f(f), m_clientes(store, "clientes"),
          m_municipios(store, "municip"), m_historico(store, "pedcon"), m_nomes(store, idEmpresa) {}

    QString titulo() const override { return QStringLiteral("Relatório de Clientes"); }
    QStringList filtros() const override {
        static const char* const ordens[] = {"nome", "código", "município", "estado"};
        static const char* const situacoes[] = {"ativos", "inativos", "todos"};
        QString linha = QStringLiteral("Ordem: %1    Situação: %2")
                            .arg(QString::fromUtf8(ordens[static_cast<int>(m_f.ordem)]),
                                 QString::fromUtf8(situacoes[static_cast<int>(m_f.situacao)]));
        if (m_f.municipio != 0)
            linha += QStringLiteral("    Município: ") + m_nomeMunicipio;
        return {linha};
    }
    std::vector<Coluna> colunas() const override {
        return {{QStringLiteral("Código"), 13, false},     {QStringLiteral("Nome / Razão Social"), 0, false},
                {QStringLiteral("CNPJ/CPF"), 31, false},   {QStringLiteral("Município/UF"), 34, false},
                {QStringLiteral("Telefone"), 25, false},   {QStringLiteral("E-mail"), 44, false},
                {QStringLiteral("Limite"), 20, true},      {QStringLiteral("Forma Pag."), 26, false},
                {QStringLiteral("Últ. Compra"), 19, false}};
    }
    QPageLayout::Orientation orientacao() const override { return QPageLayout::Landscape; }

protected:
    bool iniciar() override {
        m_quantos = 0;
        m_limites = Decimal();
        m_grupo.reset();
        m_grupoQuantos = 0;
        m_grupoLimites = Decimal();
        for (Table* t : {&m_clientes, &m_municipios, &m_historico})
            if (!t->open())
                return falhou(*t);
        if (!m_nomes.abrir())
            return falhou(*m_nomes.falha());
        m_historico.setFilter("\"ID_EMPRESA\" = ?", {m_empresa});
        // Only the newest order of each customer is read: one record a look-up, not a page of them.
        m_historico.setPageSize(1);
        m_total = m_clientes.count().value_or(0);
        if (!lerMunicipios())
            return false;
        if (m_f.municipio != 0) {
            const auto m = m_nomesMunicipios.find(m_f.municipio);
            m_nomeMunicipio =
                m == m_nomesMunicipios.end() ? QString::number(m_f.municipio) : m->second.rotulo;
        }
        // The preview draws the report again when its page setup changes: every walk starts afresh.
        m_passo = 0;
        m_caminhando = false;
        m_semMunicipio = false;
        if (porMunicipio())
            return true;
        Condicao c = situacao();
        if (m_f.municipio != 0)
            c.e("\"ID_MUNICIPIO\" = ?", static_cast<qlonglong>(m_f.municipio));
        c.aplicar(m_clientes);
        if (m_clientes.seekFirst(m_f.ordem == OrdemClientes::Codigo ? "KEYID" : "KEYRAZAO") == Status::Error)
            return falhou(m_clientes);
        return true;
    }

    bool ler() override {
        if (!porMunicipio())
            return avancar(m_clientes) && linhaCliente();
        // By municipality: the municipalities in the order asked, each walked by its key, then the
        // customers whose municipality is not in the table.
        for (;;) {
            if (m_caminhando) {
                if (avancar(m_clientes))
                    return linhaCliente();
                if (!m_erro.isEmpty())
                    return false;
                m_caminhando = false;
            }
            if (m_passo < m_ordem.size()) {
                const std::int64_t id = m_ordem[m_passo++];
                Condicao c = situacao();
                c.e("\"ID_MUNICIPIO\" = ?", static_cast<qlonglong>(id));
                c.aplicar(m_clientes);
                m_clientes.clear();
                m_clientes.rec().setInteger("ID_MUNICIPIO", id);
                if (m_clientes.seek("KEYMUNIC") == Status::Error)
                    return falhou(m_clientes);
                m_caminhando = true;
                continue;
            }
            if (m_passo == m_ordem.size() && m_f.municipio == 0) {
                ++m_passo;
                situacao().aplicar(m_clientes);
                if (m_clientes.seekFirst("KEYRAZAO") == Status::Error)
                    return falhou(m_clientes);
                m_semMunicipio = true;
                m_caminhando = true;
                continue;
            }
            return false;
        }
    }

    void fechar() override {
        fecharGrupo();
        por(Tipo::Total, {QStringLiteral("Total: %1 cliente(s)").arg(m_quantos), QString(), QString(),
                          QString(), QString(), QString(), dinheiro(m_limites), QString(), QString()});
    }

private:
    struct Municipio {
        QString nome;
        QString estado;
        QString rotulo; // "NOME/UF"
    };

    bool porMunicipio() const {
        return m_f.ordem == OrdemClientes::Municipio || m_f.ordem == OrdemClientes::Estado;
    }

    Condicao situacao() const {
        Condicao c;
        if (m_f.situacao == SituacaoClientes::Ativos)
            c.e("\"ATIVO\" = ?", 1);
        else if (m_f.situacao == SituacaoClientes::Inativos)
            c.e("\"ATIVO\" = ?", 0);
        return c;
    }

    bool lerMunicipios() {
        m_nomesMunicipios.clear();
        m_ordem.clear();
        m_municipios.clearFilter();
        if (m_municipios.seekFirst("KEYID") == Status::Error)
            return falhou(m_municipios);
        Status s;
        while ((s = m_municipios.next()) == Status::Ok) {
            const Record& r = m_municipios.rec();
            Municipio m{r.text("NOME").trimmed(), r.text("ESTADO").trimmed(), QString()};
            m.rotulo = m.nome + QLatin1Char('/') + m.estado;
            m_nomesMunicipios[r.integer("ID")] = m;
        }
        if (s == Status::Error)
            return falhou(m_municipios);
        for (const auto& [id, m] : m_nomesMunicipios)
            if (m_f.municipio == 0 || id == m_f.municipio)
                m_ordem.push_back(id);
        const bool porEstado = m_f.ordem == OrdemClientes::Estado;
        std::stable_sort(m_ordem.begin(), m_ordem.end(), [&](std::int64_t a, std::int64_t b) {
            const Municipio& x = m_nomesMunicipios[a];
            const Municipio& y = m_nomesMunicipios[b];
            const int nome = QString::compare(x.nome, y.nome, Qt::CaseInsensitive);
            const int estado = QString::compare(x.estado, y.estado, Qt::CaseInsensitive);
            if (porEstado)
                return estado != 0 ? estado < 0 : nome < 0;
            return nome != 0 ? nome < 0 : estado < 0;
        });
        return true;
    }

    void fecharGrupo() {
        if (!m_grupo)
            return;
        por(Tipo::Subtotal,
            {QStringLiteral("%1 cliente(s)").arg(m_grupoQuantos), QString(), QString(), QString(), QString(),
             QString(), dinheiro(m_grupoLimites), QString(), QString()});
        m_grupo.reset();
    }

    bool linhaCliente() {
        const Record& r = m_clientes.rec();
        const std::int64_t municipio = r.integer("ID_MUNICIPIO");
        const auto m = m_nomesMunicipios.find(municipio);
        if (m_semMunicipio && m != m_nomesMunicipios.end())
            return true; // listed under its municipality
        if (porMunicipio()) {
            const QString grupo = m_f.ordem == OrdemClientes::Estado
                                      ? QStringLiteral("Estado: ") +
                                            (m == m_nomesMunicipios.end() ? QString() : m->second.estado)
                                      : QStringLiteral("Município: ") +
                                            (m == m_nomesMunicipios.end() ? QStringLiteral("(sem município)")
                                                                          : m->second.rotulo);
            if (!m_grupo || *m_grupo != grupo) {
                fecharGrupo();
                m_grupo = grupo;
                m_grupoQuantos = 0;
                m_grupoLimites = Decimal();
                por(Tipo::Grupo, {grupo});
            }
        }
        const std::int64_t id = r.integer("ID");
        const Decimal limite = r.decimal("LIMCRED");
        QString telefone = r.text("TELEF").trimmed();
        if (const QString ddd = r.text("DDD").trimmed(); !ddd.isEmpty() && !telefone.isEmpty())
            telefone = QStringLiteral("(%1)%2").arg(ddd, telefone);
        QString email = r.text("E_MAIL").trimmed();
        if (email.isEmpty())
            email = r.text("EMAIL_QAV").trimmed();
        QString documento = r.text("CGCPF").trimmed();
        if (const QString suf = r.text("SUF_CGCPF").trimmed(); !suf.isEmpty())
            documento += QLatin1Char('/') + suf;
        const int forma = static_cast<int>(r.integer("FORMA_PAG"));
        const QString razao = r.text("RAZAO").trimmed();
        ++m_quantos;
        m_limites += limite;
        ++m_grupoQuantos;
        m_grupoLimites += limite;
        // The last purchase is the newest order of the history (the key holds the dates newest first).
        Date ultima;
        m_historico.clear();
        m_historico.rec().setInteger("ID_CLIENTE", id);
        const Status s = m_historico.seek("KEYID_CLIENTE", 1);
        if (s == Status::Error)
            return falhou(m_historico);
        if (const Status n = m_historico.next(); n == Status::Error)
            return falhou(m_historico);
        else if (n == Status::Ok && m_historico.rec().integer("ID_CLIENTE") == id)
            ultima = m_historico.rec().date("DATA_PEDIDO");
        por(Tipo::Detalhe,
            {br::digitos(id, 6), razao, documento,
             m == m_nomesMunicipios.end() ? QString() : m->second.rotulo, telefone, email, dinheiro(limite),
             forma == 0 ? QString() : m_nomes.formaPag(forma), br::data(ultima)});
        return true;
    }

    Store& m_store;
    int m_empresa;
    FiltroClientes m_f;
    Table m_clientes;
    Table m_municipios;
    Table m_historico;
    Nomes m_nomes;
    std::map<std::int64_t, Municipio> m_nomesMunicipios;
    std::vector<std::int64_t> m_ordem;
    QString m_nomeMunicipio;
    std::size_t m_passo = 0;
    bool m_caminhando = false;
    bool m_semMunicipio = false;
    std::int64_t m_quantos = 0;
    Decimal m_limites;
    std::optional<QString> m_grupo;
    std::int64_t m_grupoQuantos = 0;
    Decimal m_grupoLimites;
};

// ----------------------------------------------------------------------------------------------- Pedidos

struct SomaPedidos {
    std::int64_t quantos = 0;
    Decimal produtos, ipi, st, desconto, total, peso;
    void somar(const Record& r) {
        ++quantos;
        produtos += r.decimal("TOTPR");
        ipi += r.decimal("IPI");
        st += r.decimal("VL_ICMSST");
        desconto += r.decimal("DESCV");
        total += r.decimal("TOTAL");
        peso += r.decimal("PESO_BRUTO");
    }
    QStringList celulas(const QString& rotulo) const {
        return {rotulo,        QString(),    QString(),          QString(),       dinheiro(produtos),
                dinheiro(ipi), dinheiro(st), dinheiro(desconto), dinheiro(total), br::numero(peso, 3),
                QString()};
    }
};

class Pedidos : public Fila {
public:
    Pedidos(Store& store, int idEmpresa, const FiltroPedidos& f)
        : m_empresa(idEmpresa), m_f(f), m_pedidos(store, "pedidos"), m_nomes(store, idEmpresa) {}

    QString titulo() const override { return QStringLiteral("Relatório de Pedidos"); }
    QStringList filtros() const override {
        QString linha = periodo(QStringLiteral("Data"), m_f.inicio, m_f.fim);
        linha += QStringLiteral("    Situação: ") +
                 (m_f.situacao == situacao::Todas ? QStringLiteral("Todas") : situacao::texto(m_f.situacao));
        linha += QStringLiteral("    Subtotais por ") +
                 (m_f.subtotal == SubtotalPedidos::Dia ? QStringLiteral("dia") : QStringLiteral("cliente"));
        QStringList l{linha};
        if (m_f.cliente != 0)
            l << QStringLiteral("Cliente: ") + m_nomeCliente;
        return l;
    }
    std::vector<Coluna> colunas() const override {
        return {{QStringLiteral("Número"), 17, false},  {QStringLiteral("Data"), 18, false},
                {QStringLiteral("Cliente"), 0, false},  {QStringLiteral("Forma Pag."), 30, false},
                {QStringLiteral("Produtos"), 23, true}, {QStringLiteral("IPI"), 19, true},
                {QStringLiteral("ST"), 19, true},       {QStringLiteral("Desconto"), 19, true},
                {QStringLiteral("Total"), 23, true},    {QStringLiteral("Peso (kg)"), 21, true},
                {QStringLiteral("Sit."), 8, false}};
    }
    QPageLayout::Orientation orientacao() const override { return QPageLayout::Landscape; }

protected:
    bool iniciar() override {
        m_geral = {};
        m_grupo = {};
        m_chave.reset();
        if (!m_pedidos.open())
            return falhou(m_pedidos);
        if (!m_nomes.abrir())
            return falhou(*m_nomes.falha());
        if (m_f.cliente != 0)
            m_nomeCliente = m_nomes.clienteComCodigo(m_f.cliente);
        m_total = m_pedidos.count().value_or(0);
        Condicao c;
        c.e("\"ID_EMPRESA\" = ?", m_empresa);
        c.periodo("DATA", m_f.inicio, m_f.fim);
        if (m_f.cliente != 0)
            c.e("\"CLIEN\" = ?", static_cast<qlonglong>(m_f.cliente));
        if (m_f.situacao != situacao::Todas)
            c.e("\"SITUA\" = ?", m_f.situacao);
        c.aplicar(m_pedidos);
        if (m_pedidos.seekFirst(m_f.subtotal == SubtotalPedidos::Dia ? "KEYDATA" : "KEYCLIEN") ==
            Status::Error)
            return falhou(m_pedidos);
        return true;
    }

    bool ler() override {
        if (!avancar(m_pedidos))
            return false;
        const Record& r = m_pedidos.rec();
        const std::int64_t chave =
            m_f.subtotal == SubtotalPedidos::Dia ? r.integer("DATA") : r.integer("CLIEN");
        if (m_chave && *m_chave != chave)
            fecharGrupo();
        m_chave = chave;
        const std::int64_t cliente = r.integer("CLIEN");
        por(Tipo::Detalhe,
            {impressao::formato::nove(static_cast<int>(r.integer("NUMER"))).right(8),
             br::data(Date(static_cast<std::int32_t>(r.integer("DATA")))), m_nomes.clienteComCodigo(cliente),
             m_nomes.formaPag(static_cast<int>(r.integer("COD_FORMAPAG"))), dinheiro(r.decimal("TOTPR")),
             dinheiro(r.decimal("IPI")), dinheiro(r.decimal("VL_ICMSST")), dinheiro(r.decimal("DESCV")),
             dinheiro(r.decimal("TOTAL")), br::numero(r.decimal("PESO_BRUTO"), 3),
             situacao::letra(static_cast<int>(r.integer("SITUA")))});
        m_grupo.somar(r);
        m_geral.somar(r);
        return true;
    }

    void fechar() override {
        fecharGrupo();
        por(Tipo::Total, m_geral.celulas(QStringLiteral("Total Geral: %1 pedido(s)").arg(m_geral.quantos)));
    }

private:
    void fecharGrupo() {
        if (!m_chave)
            return;
        const QString rotulo = m_f.subtotal == SubtotalPedidos::Dia
                                   ? QStringLiteral("Total do dia %1: %2 pedido(s)")
                                         .arg(br::data(Date(static_cast<std::int32_t>(*m_chave))))
                                         .arg(m_grupo.quantos)
                                   : QStringLiteral("Total do cliente %1: %2 pedido(s)")
                                         .arg(br::digitos(*m_chave, 6))
                                         .arg(m_grupo.quantos);
        por(Tipo::Subtotal, m_grupo.celulas(rotulo));
        m_grupo = {};
        m_chave.reset();
    }

    int m_empresa;
    FiltroPedidos m_f;
    Table m_pedidos;
    Nomes m_nomes;
    QString m_nomeCliente;
    std::optional<std::int64_t> m_chave;
    SomaPedidos m_grupo;
    SomaPedidos m_geral;
};

// ---------------------------------------------------------------------------------------------- Comissão

class Comissao : public Fila {
public:
    Comissao(Store& store, int idEmpresa, const FiltroComissao& f)
        : m_store(store), m_empresa(idEmpresa), m_f(f), m_pedidos(store, "pedidos"),
          m_itens(store, "peditens"), m_nomes(store, idEmpresa) {}

    QString titulo() const override { return QStringLiteral("Relatório de Comissão"); }
    QStringList filtros() const override {
        QStringList l{periodo(QStringLiteral("Data"), m_f.inicio, m_f.fim) +
                      QStringLiteral("    Pedidos cancelados não entram")};
        if (m_f.cliente != 0)
            l << QStringLiteral("Cliente: ") + m_nomeCliente;
        return l;
    }
    std::vector<Coluna> colunas() const override {
        return {{QStringLiteral("Cliente"), 0, false},       {QStringLiteral("Pedido"), 17, false},
                {QStringLiteral("Data"), 18, false},         {QStringLiteral("Produto"), 22, false},
                {QStringLiteral("Descrição"), 62, false},    {QStringLiteral("Quantidade"), 20, true},
                {QStringLiteral("Valor Líquido"), 24, true}, {QStringLiteral("% Com."), 14, true},
                {QStringLiteral("Comissão"), 22, true}};
    }
    QPageLayout::Orientation orientacao() const override { return QPageLayout::Landscape; }

protected:
    bool iniciar() override {
        m_geral = {};
        m_doCliente = {};
        m_cliente.reset();
        for (Table* t : {&m_pedidos, &m_itens})
            if (!t->open())
                return falhou(*t);
        if (!m_nomes.abrir())
            return falhou(*m_nomes.falha());
        if (m_f.cliente != 0)
            m_nomeCliente = m_nomes.clienteComCodigo(m_f.cliente);
        m_total = m_pedidos.count().value_or(0);
        Condicao c;
        c.e("\"ID_EMPRESA\" = ?", m_empresa);
        c.e("\"SITUA\" <> ?", situacao::Cancelado);
        c.periodo("DATA", m_f.inicio, m_f.fim);
        if (m_f.cliente != 0)
            c.e("\"CLIEN\" = ?", static_cast<qlonglong>(m_f.cliente));
        c.aplicar(m_pedidos);
        if (m_pedidos.seekFirst("KEYCLIEN") == Status::Error)
            return falhou(m_pedidos);
        return true;
    }

    bool ler() override {
        if (!avancar(m_pedidos))
            return false;
        Pedido pedido;
        lerRegistro(m_pedidos.rec(), pedido);
        const int vendedor = static_cast<int>(m_pedidos.rec().integer("COD_VENDEDOR"));
        const Date data(static_cast<std::int32_t>(m_pedidos.rec().integer("DATA")));
        ComissaoPedido c;
        if (const FalhaLeitura f = calcularComissao(m_store, m_itens, pedido, vendedor, c); !f.ok()) {
            m_erro = QStringLiteral("Erro (%1) ao ler %2!").arg(f.erro.number()).arg(f.arquivo);
            return false;
        }
        if (m_cliente && *m_cliente != pedido.CLIEN)
            fecharCliente();
        if (!m_cliente) {
            m_cliente = pedido.CLIEN;
            m_nomeDoCliente = m_nomes.clienteComCodigo(pedido.CLIEN);
        }
        const QString numero = impressao::formato::nove(pedido.NUMER).right(8);
        for (const ComissaoItem& i : c.itens)
            por(Tipo::Detalhe, {m_nomeDoCliente, numero, br::data(data), i.codigo.trimmed(), i.nome.trimmed(),
                                br::numero(i.item.QTD, 3), dinheiro(i.item.VL_LIQUIDO),
                                br::numero(i.item.COMIS, 2), dinheiro(i.comissao)});
        por(Tipo::Subtotal, celulas(QStringLiteral("Pedido %1").arg(numero), c.base, c.comissao));
        m_doCliente.somar(c);
        m_geral.somar(c);
        return true;
    }

    void fechar() override {
        fecharCliente();
        por(Tipo::Total, celulas(QStringLiteral("Total Geral: %1 pedido(s)").arg(m_geral.pedidos),
                                 m_geral.base, m_geral.comissao));
    }

private:
    struct Soma {
        std::int64_t pedidos = 0;
        Decimal base, comissao;
        void somar(const ComissaoPedido& c) {
            ++pedidos;
            base += c.base;
            comissao += c.comissao;
        }
    };

    static QStringList celulas(const QString& rotulo, const Decimal& base, const Decimal& comissao) {
        return {rotulo,    QString(),      QString(), QString(),         QString(),
                QString(), dinheiro(base), QString(), dinheiro(comissao)};
    }

    void fecharCliente() {
        if (!m_cliente)
            return;
        por(Tipo::Subtotal, celulas(QStringLiteral("Total do cliente %1: %2 pedido(s)")
                                        .arg(m_nomeDoCliente)
                                        .arg(m_doCliente.pedidos),
                                    m_doCliente.base, m_doCliente.comissao));
        m_doCliente = {};
        m_cliente.reset();
    }

    Store& m_store;
    int m_empresa;
    FiltroComissao m_f;
    Table m_pedidos;
    Table m_itens;
    Nomes m_nomes;
    QString m_nomeCliente;
    std::optional<int> m_cliente;
    QString m_nomeDoCliente;
    Soma m_doCliente;
    Soma m_geral;
};

// -------------------------------------------------------------------------------------- Pedidos Consulta

class PedidosConsulta : public Fila {
public:
    PedidosConsulta(Store& store, int idEmpresa, const FiltroPedidosConsulta& f)
        : m_store(store), m_empresa(idEmpresa), m_f(f), m_pedcon(store, "pedcon"), m_nomes(store, idEmpresa) {
    }

    QString titulo() const override { return QStringLiteral("Relatório de Pedidos Consulta"); }
    QStringList filtros() const override {
        return {periodo(QStringLiteral("Data do pedido"), m_f.inicio, m_f.fim) +
                QStringLiteral("    Situação: ") +
                (m_f.situacao == 0 ? QStringLiteral("Todas")
                                   : historico::textoSituacao(QString(), m_f.situacao)) +
                (m_f.itens ? QStringLiteral("    Com os itens") : QString())};
    }
    std::vector<Coluna> colunas() const override {
        return {{QStringLiteral("Pedido"), 22, false},     {QStringLiteral("Data"), 18, false},
                {QStringLiteral("Cliente"), 0, false},     {QStringLiteral("Situação"), 30, false},
                {QStringLiteral("Fat."), 10, false},       {QStringLiteral("Nota Fiscal"), 20, false},
                {QStringLiteral("Prev. Fat."), 18, false}, {QStringLiteral("Faturado"), 18, false},
                {QStringLiteral("Pedido QAV"), 22, false}, {QStringLiteral("Valor"), 25, true}};
    }
    QPageLayout::Orientation orientacao() const override { return QPageLayout::Landscape; }

protected:
    bool iniciar() override {
        m_quantos = 0;
        m_soma = Decimal();
        if (!m_pedcon.open())
            return falhou(m_pedcon);
        if (!m_nomes.abrir())
            return falhou(*m_nomes.falha());
        m_total = m_pedcon.count().value_or(0);
        Condicao c;
        c.e("\"ID_EMPRESA\" = ?", m_empresa);
        c.periodo("DATA_PEDIDO", m_f.inicio, m_f.fim);
        if (m_f.situacao != 0)
            c.e("\"SITUACAO\" = ?", m_f.situacao);
        c.aplicar(m_pedcon);
        // By the office's order number and delivery: the order the office numbers its orders in.
        if (m_pedcon.seekFirst("KEYNUMERO") == Status::Error)
            return falhou(m_pedcon);
        return true;
    }

    bool ler() override {
        if (!avancar(m_pedcon))
            return false;
        const Record& r = m_pedcon.rec();
        const Decimal valor = r.decimal("VALOR_TOTAL");
        ++m_quantos;
        m_soma += valor;
        QString numero = QString::number(r.integer("NUMERO"));
        if (const std::int64_t entrega = r.integer("NUM_ENTREGA"); entrega != 0)
            numero += QLatin1Char('/') + QString::number(entrega);
        const std::int64_t nf = r.integer("NUM_NF");
        const int idPedcon = static_cast<int>(r.integer("ID_PEDCON"));
        por(Tipo::Detalhe,
            {numero, br::data(r.date("DATA_PEDIDO")), m_nomes.clienteComCodigo(r.integer("ID_CLIENTE")),
             historico::textoSituacao(r.text("SIT_DESCR").trimmed(), static_cast<int>(r.integer("SITUACAO"))),
             historico::siglaFaturamento(static_cast<int>(r.integer("SIT_PED"))),
             nf == 0 ? QString() : QString::number(nf), br::data(r.date("DATA_PREV_FATUR")),
             br::data(r.date("DATA_FATUR")), r.text("NUM_PED_QAV").trimmed(), dinheiro(valor)});
        if (m_f.itens) {
            std::vector<historico::Item> itens;
            const historico::Leitura leitura = historico::lerItens(m_store, m_empresa, idPedcon, itens);
            if (!leitura.ok) {
                m_erro =
                    QStringLiteral("Erro (%1) ao ler %2!").arg(leitura.erro.number()).arg(leitura.tabela);
                return false;
            }
            for (const historico::Item& i : itens) {
                QString texto =
                    QStringLiteral("%1  %2  %3 x %4")
                        .arg(i.codigo.trimmed().isEmpty() ? QString::number(i.idProduto) : i.codigo.trimmed(),
                             i.descricao.trimmed(), br::numero(i.quantidade, 2),
                             br::numero(i.precoUnitario, 4));
                if (!i.desconto.isZero())
                    texto += QStringLiteral("  - %1%").arg(br::numero(i.desconto, 2));
                texto += QStringLiteral("  = %1").arg(dinheiro(historico::totalItem(i)));
                por(Tipo::Nota, {texto});
            }
        }
        return true;
    }

    void fechar() override {
        QStringList l(10);
        l[0] = QStringLiteral("Total Geral: %1 pedido(s)").arg(m_quantos);
        l[9] = dinheiro(m_soma);
        por(Tipo::Total, l);
    }

private:
    Store& m_store;
    int m_empresa;
    FiltroPedidosConsulta m_f;
    Table m_pedcon;
    Nomes m_nomes;
    std::int64_t m_quantos = 0;
    Decimal m_soma;
};

// ------------------------------------------------------------------------------------ Clientes Inativos

class ClientesInativos : public Fila {
public:
    ClientesInativos(Store& store, int idEmpresa, const FiltroInativos& f)
        : m_empresa(idEmpresa), m_f(f), m_pedidos(store, "pedidos"), m_pedcon(store, "pedcon"),
          m_clientes(store, "clientes"), m_municipios(store, "municip") {}

    QString titulo() const override { return QStringLiteral("Relatório de Clientes Inativos"); }
    QStringList filtros() const override {
        return {QStringLiteral("Clientes ativos sem pedido há %1 dias ou mais (desde %2)")
                    .arg(m_f.dias)
                    .arg(br::data(m_f.hoje.addDays(-m_f.dias)))};
    }
    std::vector<Coluna> colunas() const override {
        return {
            {QStringLiteral("Código"), 14, false},       {QStringLiteral("Nome / Razão Social"), 0, false},
            {QStringLiteral("Município/UF"), 40, false}, {QStringLiteral("Telefone"), 27, false},
            {QStringLiteral("Últ. Pedido"), 21, false},  {QStringLiteral("Valor"), 22, true},
            {QStringLiteral("Dias"), 12, true}};
    }

protected:
    bool iniciar() override {
        m_lista.clear();
        m_proximo = 0;
        m_quantos = 0;
        m_soma = Decimal();
        for (Table* t : {&m_pedidos, &m_pedcon, &m_clientes, &m_municipios})
            if (!t->open())
                return falhou(*t);
        m_total =
            m_pedidos.count().value_or(0) + m_pedcon.count().value_or(0) + m_clientes.count().value_or(0);
        // The last order of every customer, local or in the history: only date and value are kept.
        std::unordered_map<std::int64_t, Ultimo> ultimos;
        const auto guardar = [&](std::int64_t cliente, Date data, const Decimal& valor) {
            Ultimo& u = ultimos[cliente];
            if (!u.data.isValid() || data > u.data || (data == u.data && valor > u.valor))
                u = {data, valor};
        };
        m_pedidos.setFilter("\"ID_EMPRESA\" = ? AND \"SITUA\" <> ?", {m_empresa, situacao::Cancelado});
        if (m_pedidos.seekFirst("KEYCLIEN") == Status::Error)
            return falhou(m_pedidos);
        while (avancar(m_pedidos))
            guardar(m_pedidos.rec().integer("CLIEN"),
                    Date(static_cast<std::int32_t>(m_pedidos.rec().integer("DATA"))),
                    m_pedidos.rec().decimal("TOTAL"));
        if (!m_erro.isEmpty())
            return false;
        m_pedcon.setFilter("\"ID_EMPRESA\" = ? AND \"SITUACAO\" <> 4", {m_empresa});
        if (m_pedcon.seekFirst("KEYID_CLIENTE") == Status::Error)
            return falhou(m_pedcon);
        while (avancar(m_pedcon))
            guardar(m_pedcon.rec().integer("ID_CLIENTE"), m_pedcon.rec().date("DATA_PEDIDO"),
                    m_pedcon.rec().decimal("VALOR_TOTAL"));
        if (!m_erro.isEmpty())
            return false;
        // The active customers past the limit; their names are read again as the lines are drawn.
        const Date limite = m_f.hoje.addDays(-m_f.dias);
        m_clientes.setFilter("\"ATIVO\" = ?", {1});
        if (m_clientes.seekFirst("KEYRAZAO") == Status::Error)
            return falhou(m_clientes);
        while (avancar(m_clientes)) {
            const std::int64_t id = m_clientes.rec().integer("ID");
            const auto u = ultimos.find(id);
            if (u == ultimos.end())
                m_lista.push_back({id, {}, {}});
            else if (u->second.data <= limite)
                m_lista.push_back({id, u->second.data, u->second.valor});
        }
        if (!m_erro.isEmpty())
            return false;
        // The longest without buying first; never bought at the end; the walk was by name, which
        // stays the order among equals.
        std::stable_sort(m_lista.begin(), m_lista.end(), [](const Inativo& a, const Inativo& b) {
            if (a.data.isValid() != b.data.isValid())
                return a.data.isValid();
            return a.data < b.data;
        });
        m_clientes.clearFilter();
        return true;
    }

    bool ler() override {
        if (m_proximo >= m_lista.size())
            return false;
        const Inativo& i = m_lista[m_proximo++];
        m_clientes.clear();
        m_clientes.rec().setInteger("ID", i.id);
        if (m_clientes.get("KEYID") == Status::Error)
            return falhou(m_clientes);
        const Record& r = m_clientes.rec();
        QString municipio;
        m_municipios.clear();
        m_municipios.rec().setInteger("ID", r.integer("ID_MUNICIPIO"));
        if (m_municipios.get("KEYID") == Status::Ok)
            municipio = m_municipios.rec().text("NOME").trimmed() + QLatin1Char('/') +
                        m_municipios.rec().text("ESTADO").trimmed();
        QString telefone = r.text("TELEF").trimmed();
        if (const QString ddd = r.text("DDD").trimmed(); !ddd.isEmpty() && !telefone.isEmpty())
            telefone = QStringLiteral("(%1)%2").arg(ddd, telefone);
        ++m_quantos;
        m_soma += i.valor;
        por(Tipo::Detalhe, {br::digitos(i.id, 6), r.text("RAZAO").trimmed(), municipio, telefone,
                            i.data.isValid() ? br::data(i.data) : QStringLiteral("sem pedidos"),
                            i.data.isValid() ? dinheiro(i.valor) : QString(),
                            i.data.isValid() ? QString::number(m_f.hoje - i.data) : QString()});
        return true;
    }

    int progresso() const override {
        return m_lista.empty() ? 0 : static_cast<int>(m_proximo * 100 / m_lista.size());
    }

    void fechar() override {
        por(Tipo::Total, {QStringLiteral("Total: %1 cliente(s)").arg(m_quantos), QString(), QString(),
                          QString(), QString(), dinheiro(m_soma), QString()});
    }

private:
    struct Ultimo {
        Date data;
        Decimal valor;
    };
    struct Inativo {
        std::int64_t id;
        Date data; // of the last order; none when the customer never ordered
        Decimal valor;
    };

    int m_empresa;
    FiltroInativos m_f;
    Table m_pedidos;
    Table m_pedcon;
    Table m_clientes;
    Table m_municipios;
    std::vector<Inativo> m_lista;
    std::size_t m_proximo = 0;
    std::int64_t m_quantos = 0;
    Decimal m_soma;
};

} // namespace

std::unique_ptr<Fonte> relatorioClientes(Store& store, int idEmpresa, const FiltroClientes& filtro) {
    return std::make_unique<Clientes>(store, idEmpresa, filtro);
}

std::unique_ptr<Fonte> relatorioPedidos(Store& store, int idEmpresa, const FiltroPedidos& filtro) {
    return std::make_unique<Pedidos>(store, idEmpresa, filtro);
}

std::unique_ptr<Fonte> relatorioComissao(Store& store, int idEmpresa, const FiltroComissao& filtro) {
    return std::make_unique<Comissao>(store, idEmpresa, filtro);
}

std::unique_ptr<Fonte> relatorioPedidosConsulta(Store& store, int idEmpresa,
                                                const FiltroPedidosConsulta& filtro) {
    return std::make_unique<PedidosConsulta>(store, idEmpresa, filtro);
}

std::unique_ptr<Fonte> relatorioClientesInativos(Store& store, int idEmpresa, const FiltroInativos& filtro) {
    return std::make_unique<ClientesInativos>(store, idEmpresa, filtro);
}

QString conferirDias(int dias) {
    if (dias < 1 || dias > 36500)
        return QStringLiteral("Informe os dias sem compra: de 1 a 36500!");
    return {};
}

} // namespace qav::relatorio
