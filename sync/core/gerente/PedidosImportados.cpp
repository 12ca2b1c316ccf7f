// The last step of the manager database's update: the orders entered in the office for this
// installation's company come into the local order list as new pending orders, with their items and,
// when this installation does not have it, their customer. The office's copy is marked with the
// local number, in the same transaction, so that an order is never imported twice. Before the mark
// is taken, the import is recorded here as in transit (qavtrans.tps), and the record goes in the
// same local commit as the order: a record found at the next update is an order whose mark may have
// been taken while its local copy was lost, and the mark is given back so that it comes again.
#include "customers/core/RegrasCliente.h"
#include "orders/core/Entidades.h"
#include "orders/core/SituacaoPedido.h"
#include "store/core/Table.h"
#include "store/core/Text.h"
#include "store/core/Transaction.h"
#include "sync/core/conexao/CampoServidor.h"
#include "sync/core/envio/ColunasClienteGerente.h"
#include "sync/core/envio/RegistroTransito.h"
#include "sync/core/execucao/ContextoComunicacao.h"
#include "sync/core/gerente/Integracao.h"

#include <QStringList>
#include <string>
#include <utility>
#include <vector>

namespace qav::sync {

namespace {

const std::vector<const char*> kColunasPedido = {
    "id_pedido", "id_empresa", "numero",         "numero_dia", "data",        "situa",
    "clien",     "e_ender",    "e_num_endereco", "e_bairr",    "e_munic",     "e_estad",
    "e_cep",     "conta",      "cod_formapag",   "totpr",      "ipi",         "fconta",
    "frete",     "total",      "descp",          "descv",      "obs",         "prz_con",
    "num_pauta", "ped_flex",   "peso_liquido",   "peso_bruto", "num_ped_qav", "num_client_vend"};

// Local field of the order and the office's column.
const std::pair<const char*, const char*> kCamposPedido[] = {{"CLIEN", "clien"},
                                                             {"E_ENDER", "e_ender"},
                                                             {"E_NUMERO", "e_num_endereco"},
                                                             {"E_BAIRR", "e_bairr"},
                                                             {"E_MUNIC", "e_munic"},
                                                             {"E_ESTAD", "e_estad"},
                                                             {"E_CEP", "e_cep"},
                                                             {"CONTA", "conta"},
                                                             {"COD_FORMAPAG", "cod_formapag"},
                                                             {"TOTPR", "totpr"},
                                                             {"IPI", "ipi"},
                                                             {"FRETE", "frete"},
                                                             {"TOTAL", "total"},
                                                             {"DESCP", "descp"},
                                                             {"DESCV", "descv"},
                                                             {"OBS", "obs"},
                                                             {"PRZ_CON", "prz_con"},
                                                             {"PED_FLEX", "ped_flex"},
                                                             {"PESO_LIQUIDO", "peso_liquido"},
                                                             {"PESO_BRUTO", "peso_bruto"}};

// Local field of the item and the office's column.
const std::pair<const char*, const char*> kCamposItem[] = {{"PRODU", "produ"},
                                                           {"QTD", "qtd"},
                                                           {"PRUNI", "pruni"},
                                                           {"DESCP", "descp"},
                                                           {"DESCV", "descv"},
                                                           {"TOTAL", "total"},
                                                           {"VL_IPI", "ipi"},
                                                           {"BC_IPI", "bc_ipi"},
                                                           {"BC_ICMSST", "bc_icmsst"},
                                                           {"ALIQ_ICMSST", "aliq_icmsst"},
                                                           {"VL_ICMSST", "vl_icmsst"},
                                                           {"OBS", "obs"},
                                                           {"COMIS", "comis"},
                                                           {"CUSTO", "custo"},
                                                           {"STATUS", "status"},
                                                           {"VALOR_PRODUTO", "valor_produto"},
                                                           {"VALOR_ACESSORIOS", "valor_acessorios"},
                                                           {"PRECO_COM_IPI", "preco_com_ipi"},
                                                           {"PRECO_PAUTA", "preco_pauta"},
                                                           {"PR_PAUTA_LIQ", "pr_pauta_liq"},
                                                           {"VL_FLEX", "vl_flex"}};

QString listaColunas(const std::vector<const char*>& colunas) {
    QStringList nomes;
    for (const char* c : colunas)
        nomes << QString::fromLatin1(c);
    return nomes.join(QStringLiteral(", "));
}

struct Tabelas {
    explicit Tabelas(Store& store)
        : pedidos(store, "pedidos"), itens(store, "peditens"), clientes(store, "clientes"),
          pautas(store, "pauta"), vendedores(store, "vendedor"), transito(store) {}
    bool abrir() {
        for (Table* t : {&pedidos, &itens, &clientes, &pautas, &vendedores, &transito.tabela()})
            if (!t->open()) {
                codigo = t->error().number();
                arquivo = QString::fromLatin1(t->def().fileName);
                return false;
            }
        return true;
    }
    Table pedidos, itens, clientes, pautas, vendedores;
    RegistrosTransito transito;
    int codigo = 0;
    QString arquivo;
};

long long ultimo(Table& t, const char* chave, const char* campo) {
    t.clear();
    return t.seekLast(chave) == Status::Ok && t.previous() == Status::Ok ? t.rec().integer(campo) : 0;
}

// The office's mark of an import that did not reach the local files goes back to what it was, but
// only where it is still this import's mark (a commit of the office still under way is waited for by
// the row's lock). True when the office order is free to come again (the mark given back, or never
// taken); false when the office did not answer (shown).
bool devolverMarca(const ContextoIntegracao& c, const RegistroTransito& r) {
    ErroSql erro;
    const auto linhas = c.conexao.consultar(
        QStringLiteral("UPDATE gerente.pedidos SET num_ped_qav=") + c.conexao.texto(r.numPedQav) +
            QStringLiteral(",num_client_vend=") + c.conexao.texto(r.numClientVend) +
            QStringLiteral(" WHERE id_pedido=") + Conexao::inteiro(r.idPedidoServidor) +
            QStringLiteral(" AND num_ped_qav='QAV#") + QString::number(r.numer) +
            QStringLiteral("' RETURNING id_pedido;"),
        &erro);
    if (!linhas) {
        c.erroSql(erro);
        return false;
    }
    if (!linhas->empty())
        c.registrar(QStringLiteral("Pedido do gerente # %1 devolvido para nova importação...")
                        .arg(r.idPedidoServidor));
    return true;
}

void erroTransito(const ContextoIntegracao& c, RegistrosTransito& transito) {
    c.erro(QStringLiteral("Erro (%1) ao gravar qavtrans!").arg(transito.erro().number()));
}

// The imports a cut-off update left in transit: none of them has its local copy (the record goes
// with it), so each mark is given back and the order comes in again with the others.
bool retomarImportacoes(const ContextoIntegracao& c, RegistrosTransito& transito) {
    const auto registros = transito.registros(TipoTransito::Importacao, c.idEmpresa);
    if (!registros) {
        c.erro(QStringLiteral("Erro (%1) ao ler qavtrans!").arg(transito.erro().number()));
        return false;
    }
    for (const RegistroTransito& r : *registros) {
        if (!devolverMarca(c, r))
            return false;
        if (!transito.apagar(r.id)) {
            erroTransito(c, transito);
            return false;
        }
    }
    return true;
}

// A server value into a local field; false when it does not fit.
bool atribuir(Record& r, const char* campo, const QString& valor, int elemento = 0) {
    try {
        return atribuirDoServidor(r, campo, valor, elemento);
    } catch (const FieldValueError&) {
        return false;
    }
}

class Importacao {
public:
    Importacao(const ContextoIntegracao& c, Tabelas& t, const LinhaNomeada& p) : m_c(c), m_t(t), m_p(p) {}

    bool executar();

private:
    bool pautaLocal();
    bool copiarCliente();
    bool gravarPedido();
    bool gravarItens();
    bool marcarNoGerente();
    bool numeracaoLivre();
    void desfazer(Transaction& local);

    const ContextoIntegracao& m_c;
    Tabelas& m_t;
    const LinhaNomeada& m_p;
    long long m_codigoPauta = 0;
    long long m_id = 0;
    long long m_numero = 0;
    RegistroTransito m_registro;
};

bool Importacao::pautaLocal() {
    const QString numero = m_p.texto("num_pauta").trimmed();
    if (numero.isEmpty())
        return true;
    m_t.pautas.clear();
    bool achada = false;
    try {
        m_t.pautas.rec().setText("NUM_PAUTA", numero);
        m_t.pautas.rec().setInteger("ID_EMPRESA", m_c.idEmpresa);
        achada = m_t.pautas.get("KEYNUMERO") == Status::Ok;
    } catch (const FieldValueError&) {
    }
    if (!achada) {
        m_c.aviso(QStringLiteral("Pauta inválida!|Número Pauta: ") + numero);
        return false;
    }
    m_codigoPauta = m_t.pautas.rec().integer("CODIGO");
    return true;
}

// The office's customer created there for this order, when this installation does not have it.
bool Importacao::copiarCliente() {
    const long long id = m_p.inteiro("clien");
    if (id <= clientes::idLocalInicial)
        return true;
    m_t.clientes.clear();
    m_t.clientes.rec().setInteger("ID", id);
    const Status s = m_t.clientes.get("KEYID");
    if (s == Status::Ok)
        return true;
    if (s == Status::Error) {
        m_c.erro(QStringLiteral("Erro (%1) ao ler cliente # %2!").arg(m_t.clientes.error().number()).arg(id));
        return false;
    }
    // The office's columns that hold a local customer field, each with its field.
    std::vector<std::pair<const ColunaCliente*, std::string>> campos;
    QStringList colunas;
    for (const ColunaCliente& coluna : colunasClienteGerente())
        if (temCampoLocal(m_t.clientes.rec().def(), coluna)) {
            campos.emplace_back(&coluna, campoLocal(coluna));
            colunas << QString::fromLatin1(coluna.nome);
        }
    ErroSql erro;
    const auto linhas = m_c.conexao.consultar(QStringLiteral("SELECT ") + colunas.join(QStringLiteral(", ")) +
                                                  QStringLiteral(" FROM gerente.clientes WHERE id_cliente=") +
                                                  Conexao::inteiro(id) + QLatin1Char(';'),
                                              &erro);
    if (!linhas || linhas->empty()) {
        m_c.erro(QStringLiteral("Erro (%1) ao ler cliente # %2!")
                     .arg(linhas ? QString::number(static_cast<int>(ErrorCode::RecordNotFound)) : erro.codigo)
                     .arg(id));
        return false;
    }
    m_t.clientes.clear();
    Record& r = m_t.clientes.rec();
    r.setInteger("ID", id);
    bool coube = true;
    size_t i = 0;
    for (const auto& [coluna, campo] : campos)
        coube = atribuir(r, campo.c_str(), linhas->front().texto(i++), coluna->elemento) && coube;
    if (!coube || m_t.clientes.add() != Status::Ok) {
        m_c.erro(
            QStringLiteral("Erro (%1) ao gravar cliente!")
                .arg(coube ? m_t.clientes.error().number() : static_cast<int>(ErrorCode::FileSystemError)));
        return false;
    }
    return true;
}

bool Importacao::gravarPedido() {
    const Record& cfg = *m_c.qavcfg;
    // The order takes the salesperson's commission rate when the salesperson's commission has origin 1,
    // else none.
    double comissao = 0;
    m_t.vendedores.clear();
    m_t.vendedores.rec().setInteger("CODIGO", cfg.integer("COD_VENDEDOR"));
    m_t.vendedores.rec().setInteger("ID_EMPRESA", m_c.idEmpresa);
    if (m_t.vendedores.get("KEYCODIGO") == Status::Ok &&
        m_t.vendedores.rec().integer("ORIGEM_COM") == origemComissao::DoVendedor)
        comissao = m_t.vendedores.rec().decimal("TAXA_COMISSAO").toDouble();

    m_t.pedidos.clear();
    Record& v = m_t.pedidos.rec();
    v.setInteger("ID", m_id);
    v.setInteger("NUMER", m_numero);
    v.setInteger("ID_EMPRESA", cfg.integer("ID_EMPRESA"));
    v.setInteger("COD_VENDEDOR", cfg.integer("COD_VENDEDOR"));
    v.setInteger("SITUA", situacao::Pendente);
    v.setInteger("DATA", m_p.data("data").dayNumber());
    bool coube = true;
    for (const auto& [campo, coluna] : kCamposPedido)
        coube = atribuir(v, campo, m_p.texto(coluna)) && coube;
    // The office's freight mode 3 is the order form's 1 (the upload turns it back into 3).
    const long long fconta = m_p.inteiro("fconta");
    v.setInteger("FCONTA", fconta == 3 ? 1 : fconta);
    v.setInteger("COD_PAUTA", m_codigoPauta);
    v.setReal("COMIS", comissao);
    if (!coube || m_t.pedidos.add() != Status::Ok) {
        m_c.erro(
            QStringLiteral("Erro (%1) ao gravar pedido!")
                .arg(coube ? m_t.pedidos.error().number() : static_cast<int>(ErrorCode::FileSystemError)));
        return false;
    }
    return true;
}

bool Importacao::gravarItens() {
    std::vector<const char*> colunas;
    for (const auto& [campo, coluna] : kCamposItem)
        colunas.push_back(coluna);
    ErroSql erro;
    const auto linhas = m_c.conexao.consultar(QStringLiteral("SELECT ") + listaColunas(colunas) +
                                                  QStringLiteral(" FROM gerente.peditens WHERE id_pedido=") +
                                                  Conexao::inteiro(m_p.inteiro("id_pedido")) +
                                                  QStringLiteral(" ORDER BY ordem;"),
                                              &erro);
    if (!linhas) {
        m_c.erroSql(erro);
        return false;
    }
    long long idItem = ultimo(m_t.itens, "KEYID_VENDASI", "ID_VENDASI");
    for (const Linha& linha : *linhas) {
        m_t.itens.clear();
        Record& it = m_t.itens.rec();
        it.setInteger("ID_VENDASI", ++idItem);
        it.setInteger("ID_VENDA", m_id);
        bool coube = true;
        size_t i = 0;
        for (const auto& [campo, coluna] : kCamposItem)
            coube = atribuir(it, campo, linha.texto(i++)) && coube;
        if (!coube || m_t.itens.add() != Status::Ok) {
            m_c.erro(
                QStringLiteral("Erro (%1) ao gravar item do pedido!")
                    .arg(coube ? m_t.itens.error().number() : static_cast<int>(ErrorCode::FileSystemError)));
            return false;
        }
    }
    return true;
}

bool Importacao::marcarNoGerente() {
    const QString idGerente = Conexao::inteiro(m_p.inteiro("id_pedido"));
    const QString numero = QString::number(m_numero);
    ErroSql erro;
    const bool ok =
        m_c.conexao.executar(
            QStringLiteral("INSERT INTO gestao.log(   nome_cpd, nome_usuario, operacao, tabela, id, "
                           "descricao)   VALUES ('QAV', 'QAV', 'LOG', 'pedido', ") +
                idGerente + QStringLiteral(", 'Importação QAV # ") + numero + QStringLiteral("');"),
            &erro) &&
        m_c.conexao.executar(QStringLiteral("UPDATE gerente.pedidos SET num_ped_qav='QAV#") + numero +
                                 QStringLiteral("',num_client_vend='QAV # ") + numero +
                                 QStringLiteral("' WHERE id_pedido=") + idGerente + QLatin1Char(';'),
                             &erro);
    if (!ok)
        m_c.erroSql(erro);
    return ok;
}

// The id and number recorded are still the next ones (no order was added since).
bool Importacao::numeracaoLivre() {
    return ultimo(m_t.pedidos, "KEYID", "ID") + 1 == m_id &&
           ultimo(m_t.pedidos, "KEYNUMER", "NUMER") + 1 == m_numero;
}

void Importacao::desfazer(Transaction& local) {
    if (m_c.conexao.emTransacao())
        m_c.conexao.executar(QStringLiteral("rollback;"));
    local.rollback();
}

bool Importacao::executar() {
    m_c.linhaProgresso(QStringLiteral("Importando Pedido # ") + m_p.texto("numero") + QStringLiteral("..."));
    if (!pautaLocal())
        return false;
    m_id = ultimo(m_t.pedidos, "KEYID", "ID") + 1;
    m_numero = ultimo(m_t.pedidos, "KEYNUMER", "NUMER") + 1;
    m_registro.tipo = TipoTransito::Importacao;
    m_registro.idEmpresa = m_c.idEmpresa;
    m_registro.idPedido = m_id;
    m_registro.numer = m_numero;
    m_registro.idPedidoServidor = m_p.inteiro("id_pedido");
    m_registro.numPedQav = m_p.texto("num_ped_qav");
    m_registro.numClientVend = m_p.texto("num_client_vend");
    if (!m_t.transito.gravar(m_registro)) {
        erroTransito(m_c, m_t.transito);
        return false;
    }
    if (!m_c.conexao.iniciar()) {
        m_t.transito.apagar(m_registro.id);
        return false;
    }
    Transaction local({&m_t.pedidos, &m_t.itens, &m_t.clientes, &m_t.transito.tabela()});
    if (!local.begin(1000) || !numeracaoLivre()) {
        m_c.erro(QStringLiteral("Erro (%1) ao gravar pedido!")
                     .arg(local.error().number() != 0
                              ? local.error().number()
                              : static_cast<int>(ErrorCode::RecordChangedByAnotherStation)));
        desfazer(local);
        m_t.transito.apagar(m_registro.id);
        return false;
    }
    // The record goes with the local copy: both are in the files, or the record alone.
    if (!copiarCliente() || !gravarPedido() || !gravarItens() ||
        !RegistrosTransito::apagarEm(m_t.transito.tabela(), m_registro.id) || !marcarNoGerente()) {
        desfazer(local);
        m_t.transito.apagar(m_registro.id);
        return false;
    }
    if (!m_c.conexao.confirmar()) {
        const bool respondeu = m_c.conexao.conectada();
        desfazer(local);
        // Without an answer the mark may be there: the record stays for the next update.
        if (respondeu)
            m_t.transito.apagar(m_registro.id);
        return false;
    }
    if (!local.commit()) {
        // The office holds the mark, the local copy is not here: the mark goes back so that the order
        // comes again; when that fails too, the record gives it back at the next update.
        m_c.erro(QStringLiteral("Erro (%1) ao gravar pedido!").arg(local.error().number()));
        if (devolverMarca(m_c, m_registro))
            m_t.transito.apagar(m_registro.id);
        return false;
    }
    return true;
}

} // namespace

bool importarPedidosGerente(ContextoIntegracao& c) {
    c.registrar(QStringLiteral("Importando Pedidos..."));
    Tabelas t(c.store);
    if (!t.abrir()) {
        c.erro(QStringLiteral("Erro (%1) ao abrir %2!").arg(t.codigo).arg(t.arquivo));
        return false;
    }
    if (!retomarImportacoes(c, t.transito))
        return false;
    // An order never marked by this installation has its mark empty or null; both come in.
    ErroSql erro;
    const auto linhas = c.conexao.consultar(
        QStringLiteral("SELECT ") + listaColunas(kColunasPedido) +
            QStringLiteral("   FROM gerente.pedidos WHERE id_empresa=") + Conexao::inteiro(c.empresaGerente) +
            QStringLiteral(" AND situa=2 AND COALESCE(num_ped_qav,'') NOT LIKE "
                           "'QAV#%' ORDER BY numero;"),
        &erro);
    if (!linhas) {
        c.erroSql(erro);
        return false;
    }
    long long contagem = 0;
    for (const Linha& linha : *linhas) {
        const LinhaNomeada pedido(&kColunasPedido, linha);
        if (!Importacao(c, t, pedido).executar())
            return false;
        ++contagem;
    }
    c.registrar(QStringLiteral("Importados ") + QString::number(contagem) + QStringLiteral(" Pedidos..."));
    return true;
}

} // namespace qav::sync
