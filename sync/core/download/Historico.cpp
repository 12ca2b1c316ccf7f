#include "sync/core/download/Historico.h"

#include "store/core/Table.h"
#include "sync/core/download/Passo.h"
#include "sync/core/execucao/ValorNaoCabe.h"

#include <map>
#include <set>
#include <utility>
#include <vector>

namespace qav::sync {

namespace {

using Chave = std::pair<long long, long long>; // order number, delivery number

// Received orders per volume statement: long enough to spare round trips, short enough for any server.
constexpr size_t kPedidosPorConsultaVolume = 1000;

QString erroLocal(const Table& t, const char* oQue) {
    return QStringLiteral("Erro (") + QString::number(t.error().number()) + QLatin1String(oQue);
}

// The company as the ERP's invoices name it: branches above 9000 share the invoices of their base.
long long empresaNotas(long long empresa) {
    return empresa > 9000 ? empresa - 9000 : empresa;
}

// The situation the history shows: the ERP's "Faturado" (5) reads as closed (4), anything unknown
// as open (1); the office's database knows 1 to 4 only.
long long situacao(long long recebida, bool zor) {
    if (zor && recebida == 5)
        return 4;
    return recebida > (zor ? 5 : 4) ? 1 : recebida;
}

// Deletes the items of one history row, found by the server's id of that order or delivery. The other
// deliveries of the same order number keep theirs: a partial run does not bring the older deliveries
// again, so their items would be lost. False on a failure, which has been shown.
bool excluirItens(ContextoComunicacao& c, Table& itens, long long idPedcon) {
    std::vector<long long> ordens;
    itens.clearFilter();
    itens.clear();
    itens.rec().setInteger("ID_PEDCON", idPedcon);
    Status s = itens.seek("KEYID_PEDCON", 1);
    while (s == Status::Ok && (s = itens.next()) == Status::Ok &&
           itens.rec().integer("ID_PEDCON") == idPedcon)
        ordens.push_back(itens.rec().integer("ORDEM"));
    bool ok = s != Status::Error;
    for (const long long ordem : ordens) {
        itens.clear();
        itens.rec().setInteger("ID_PEDCON", idPedcon);
        itens.rec().setInteger("ORDEM", ordem);
        if (itens.get("KEYID_PEDCON") != Status::Ok || itens.remove() != Status::Ok)
            ok = false;
    }
    if (!ok)
        c.erro(erroLocal(itens, ") ao excluir item pedido consulta!"));
    return ok;
}

struct ColunasHistorico {
    bool zor;
    // Columns of the fields that only one form has (-1: not in the statement).
    int numEntrega, numNf, chaveNfe, sitPed, sitDescr, idPedcon;
};

const ColunasHistorico kZor{true, 13, 14, 15, 16, 17, 18};
const ColunasHistorico kGerente{false, -1, 13, 14, -1, -1, 15};

struct ColunasItens {
    int entrega, descricao, idPedcon, ordem; // entrega -1: no delivery column
};

const ColunasItens kItensZor{6, 7, 8, 9};
const ColunasItens kItensGerente{-1, 6, 7, 8};

// Columns 0 to 12, the same in both forms.
const char* const kCamposComuns[] = {
    "NUMERO",      "DATA_PEDIDO", "DATA_PREV_FATUR", "DATA_FATUR", "SITUACAO", "ID_CLIENTE", "CONTATO",
    "ID_VENDEDOR", "PRAZO",       "VALOR_TOTAL",     "OBS",        "TIPO",     "NUM_PED_QAV"};

// The two statements of one server form and where their columns are.
struct ComandosHistorico {
    QString historico;
    ColunasHistorico colunas;
    QString itens;
    ColunasItens colunasItens;
};

// The history step: the orders and their items change together, in one local transaction, so that a
// run that fails anywhere (a refused statement, a lost connection, a stop, a full disk) leaves both as
// they were. The items of every row received are replaced; everything else stays.
class Historico {
public:
    Historico(ContextoComunicacao& c, const ComandosHistorico& comandos)
        : m_c(c), m_cmd(comandos), m_pedcon(c.store, "pedcon"), m_pedicon(c.store, "pedicon"),
          m_passo(c, QStringLiteral(" Pedido(s) Consulta...")) {}

    bool executar() {
        if (!m_passo.iniciar(QStringLiteral("Atualizando Pedidos Consulta..."), {&m_pedcon, &m_pedicon}))
            return false;
        if (!m_passo.percorrer(
                m_cmd.historico, [this](const Linha& l) { return gravarPedido(l); },
                PassoDownload::ErroComando::ComComando))
            return false;
        excluirNaoListados();
        if (m_cmd.colunas.zor && !atualizarVolumes())
            return false;
        m_passo.proximaParte(QStringLiteral("Atualizando Itens do Pedido Consulta..."),
                             QStringLiteral(" Itens do Pedido Consulta..."));
        if (!m_passo.percorrer(
                m_cmd.itens, [this](const Linha& l) { return gravarItem(l); },
                PassoDownload::ErroComando::ComComando))
            return false;
        return m_passo.concluir();
    }

private:
    Status lerPedido(long long numero, long long entrega, long long empresa) {
        m_pedcon.clearFilter();
        m_pedcon.clear();
        m_pedcon.rec().setInteger("NUMERO", numero);
        m_pedcon.rec().setInteger("NUM_ENTREGA", entrega);
        m_pedcon.rec().setInteger("ID_EMPRESA", empresa);
        return m_pedcon.get("KEYNUMERO");
    }

    bool gravarPedido(const Linha& l) {
        const ColunasHistorico& col = m_cmd.colunas;
        const long long numero = l.inteiro(0);
        const long long entrega = col.numEntrega >= 0 ? l.inteiro(static_cast<size_t>(col.numEntrega)) : 0;
        m_passo.progresso([&] { return QStringLiteral("Atualizando Pedido # ") + QString::number(numero); });
        const Status achou = lerPedido(numero, entrega, m_c.idEmpresa);
        if (achou == Status::Error) {
            m_c.erro(erroLocal(m_pedcon, ") ao gravar pedido consulta!"));
            return false;
        }
        const bool existia = achou == Status::Ok;
        const long long idAnterior = existia ? m_pedcon.rec().integer("ID_PEDCON") : 0;
        if (!existia) {
            m_pedcon.clear();
            m_pedcon.rec().setInteger("NUMERO", numero);
            m_pedcon.rec().setInteger("NUM_ENTREGA", entrega);
            m_pedcon.rec().setInteger("ID_EMPRESA", m_c.idEmpresa);
        }
        Record& r = m_pedcon.rec();
        const QString nome = QStringLiteral("Pedido Consulta # ") + QString::number(numero) +
                             (entrega != 0 ? QLatin1Char('/') + QString::number(entrega) : QString());
        for (size_t i = 0; i < std::size(kCamposComuns); ++i)
            atribuirOuRegistrar(m_c, r, kCamposComuns[i], l.texto(i), nome);
        r.setInteger("SITUACAO", situacao(l.inteiro(4), col.zor));
        const auto campo = [&](const char* nomeCampo, int coluna) {
            if (coluna >= 0)
                atribuirOuRegistrar(m_c, r, nomeCampo, l.texto(static_cast<size_t>(coluna)), nome);
        };
        campo("NUM_NF", col.numNf);
        campo("CHAVE_NFE", col.chaveNfe);
        campo("SIT_PED", col.sitPed);
        campo("SIT_DESCR", col.sitDescr);
        campo("ID_PEDCON", col.idPedcon);
        const long long idPedcon = r.integer("ID_PEDCON");
        if ((existia ? m_pedcon.put() : m_pedcon.add()) != Status::Ok) {
            m_c.erro(erroLocal(m_pedcon, ") ao gravar pedido consulta!"));
            return false;
        }
        // The items of the row come back in the item part; should the server have given the row
        // another id, the items of the old id go too.
        if (!excluirItens(m_c, m_pedicon, idPedcon) ||
            (idAnterior != 0 && idAnterior != idPedcon && !excluirItens(m_c, m_pedicon, idAnterior)))
            return false;
        m_idsRecebidos.insert(idPedcon);
        if (m_recebidos.insert({numero, entrega}).second)
            m_ordemRecebida.push_back({{numero, entrega}, idPedcon});
        m_passo.contar();
        return true;
    }

    // Uninvoiced history orders the server no longer lists go with their items; invoiced ones stay.
    // A record that cannot be removed is shown and the pass goes on.
    void excluirNaoListados() {
        struct Fora {
            Chave chave;
            long long empresa, idPedcon;
        };
        std::vector<Fora> fora;
        m_pedcon.clearFilter();
        Status s = m_pedcon.seekPhysical();
        while (s == Status::Ok && (s = m_pedcon.next()) == Status::Ok) {
            const Record& r = m_pedcon.rec();
            const Chave chave{r.integer("NUMERO"), r.integer("NUM_ENTREGA")};
            if (r.date("DATA_FATUR").isNull() && !m_recebidos.count(chave))
                fora.push_back({chave, r.integer("ID_EMPRESA"), r.integer("ID_PEDCON")});
        }
        const QString marca = m_cmd.colunas.zor ? QStringLiteral("Atualizando Pedido ## ")
                                                : QStringLiteral("Atualizando Pedido # ");
        for (const Fora& f : fora) {
            m_c.linhaProgresso(marca + QString::number(f.chave.first));
            if (lerPedido(f.chave.first, f.chave.second, f.empresa) != Status::Ok ||
                m_pedcon.remove() != Status::Ok)
                m_c.erro(erroLocal(m_pedcon, ") ao excluir pedido consulta!"));
            else if (!m_idsRecebidos.count(f.idPedcon))
                excluirItens(m_c, m_pedicon, f.idPedcon);
        }
    }

    // The ERP's volume of every order received, from its items: one statement for many orders. Its
    // failure fails the step, which then leaves the history as it was.
    bool atualizarVolumes() {
        std::map<long long, Decimal> volumes; // by the ERP's order id
        for (size_t inicio = 0; inicio < m_ordemRecebida.size(); inicio += kPedidosPorConsultaVolume) {
            QStringList ids;
            for (size_t i = inicio; i < m_ordemRecebida.size() && i < inicio + kPedidosPorConsultaVolume; ++i)
                ids << Conexao::inteiro(m_ordemRecebida[i].second);
            const QString comando =
                QStringLiteral("SELECT a.id_pedido,sum(a.qtd*b.vol_m3) from zor.peditens A LEFT OUTER JOIN "
                               "gestao.produto b ON (b.id_erp=(CASE WHEN a.id_varprod>0 THEN a.id_varprod "
                               "ELSE a.produ END) AND b.id_empresa=") +
                Conexao::inteiro(m_c.empresaCabeca) + QStringLiteral(") WHERE a.id_pedido IN (") +
                ids.join(QLatin1Char(',')) + QStringLiteral(") GROUP BY a.id_pedido");
            if (!m_passo.percorrer(
                    comando,
                    [&](const Linha& l) {
                        volumes[l.inteiro(0)] = l.decimal(1);
                        return true;
                    },
                    PassoDownload::ErroComando::ComComando))
                return false;
        }
        for (const auto& [chave, idPedcon] : m_ordemRecebida) {
            m_passo.progresso(
                [&] { return QStringLiteral("Atualizando Pedido ### ") + QString::number(chave.first); });
            if (lerPedido(chave.first, chave.second, m_c.idEmpresa) != Status::Ok) {
                m_c.erro(erroLocal(m_pedcon, ") ao atualizar pedido consulta!"));
                return false;
            }
            const auto volume = volumes.find(idPedcon);
            const Decimal valor = volume != volumes.end() ? volume->second : Decimal();
            atribuirOuRegistrar(m_c, m_pedcon.rec(), "VOL_M3", QString::fromStdString(valor.toString()),
                                QStringLiteral("Pedido Consulta # ") + QString::number(chave.first));
            if (m_pedcon.put() != Status::Ok) {
                m_c.erro(erroLocal(m_pedcon, ") ao atualizar pedido consulta!"));
                return false;
            }
        }
        return true;
    }

    bool gravarItem(const Linha& l) {
        const ColunasItens& col = m_cmd.colunasItens;
        const long long numero = l.inteiro(0);
        m_passo.progresso([&] {
            return (m_cmd.colunas.zor ? QStringLiteral("Atualizando Itens do Pedido # ")
                                      : QStringLiteral("Atualizando Pedido # ")) +
                   QString::number(numero);
        });
        const long long entrega = col.entrega >= 0 ? l.inteiro(static_cast<size_t>(col.entrega)) : 0;
        const Status pai = lerPedido(numero, entrega, m_c.idEmpresa);
        if (pai == Status::Error) {
            m_c.erro(erroLocal(m_pedcon, ") ao gravar item do pedido consulta!"));
            return false;
        }
        if (pai != Status::Ok) // its order was not received in this run
            return true;
        // Only the items of the rows received now were emptied; an item of any other row stays as stored.
        const long long idPedcon = l.inteiro(static_cast<size_t>(col.idPedcon));
        if (!m_idsRecebidos.count(idPedcon))
            return true;
        m_pedicon.clear();
        Record& r = m_pedicon.rec();
        r.setInteger("ID_EMPRESA", m_c.idEmpresa);
        r.setInteger("NUM_PEDIDO", numero);
        const QString nome = QStringLiteral("Item do Pedido Consulta # ") + QString::number(numero) +
                             QLatin1Char('/') + l.texto(static_cast<size_t>(col.ordem));
        atribuirOuRegistrar(m_c, r, "ID_PRODUTO", l.texto(1), nome);
        atribuirOuRegistrar(m_c, r, "COMPLE", l.texto(2), nome);
        atribuirOuRegistrar(m_c, r, "QTDADE", l.texto(3), nome);
        atribuirOuRegistrar(m_c, r, "DESCP", l.texto(4), nome);
        atribuirOuRegistrar(m_c, r, "PRECO_UNIT", l.texto(5), nome);
        atribuirOuRegistrar(m_c, r, "DESCR_PRODUTO", l.texto(static_cast<size_t>(col.descricao)), nome);
        r.setInteger("ID_PEDCON", idPedcon);
        atribuirOuRegistrar(m_c, r, "ORDEM", l.texto(static_cast<size_t>(col.ordem)), nome);
        if (m_pedicon.add() != Status::Ok) {
            QString texto = erroLocal(m_pedicon, ") ao gravar item do pedido consulta!");
            if (m_cmd.colunas.zor)
                texto += QLatin1Char('|') + m_pedicon.error().text;
            m_c.erro(texto);
            return false;
        }
        m_passo.contar();
        return true;
    }

    ContextoComunicacao& m_c;
    const ComandosHistorico& m_cmd;
    // Declared before the step, which undoes its writes through them when it ends unfinished.
    Table m_pedcon, m_pedicon;
    PassoDownload m_passo;
    std::set<Chave> m_recebidos;
    std::set<long long> m_idsRecebidos;
    std::vector<std::pair<Chave, long long>> m_ordemRecebida; // key and the ERP's order id
};

// The open and recently closed ERP orders: those not cancelled or closed, and those invoiced within
// 60 days before the last communication.
QString filtroAbertosZor(const ContextoComunicacao& c) {
    return QStringLiteral(" AND (a.situa NOT IN (3,4,5,6) or (a.situa=5 AND a.data>=") +
           Conexao::data(c.corte.addDays(-60)) + QStringLiteral("))");
}

QString desdeZor(const ContextoComunicacao& c) {
    return Conexao::data(c.tipo == TipoComunicacao::Parcial ? c.corte : inicioHistorico(c));
}

QString filtroParcialGerente(const ContextoComunicacao& c) {
    if (c.tipo != TipoComunicacao::Parcial)
        return {};
    const QString corte = Conexao::data(c.corte);
    return QStringLiteral(" AND (a.dtemi IS NULL OR a.dtemi>=") + corte + QStringLiteral(" OR a.data>=") +
           corte + QLatin1Char(')');
}

QString comandoItensZor(const ContextoComunicacao& c) {
    const QString empresa = Conexao::inteiro(c.idEmpresa);
    const QString vendedor = Conexao::inteiro(representante(c));
    const QString produto =
        QStringLiteral(" LEFT OUTER JOIN gestao.produto P ON (p.id_erp=(CASE WHEN "
                       "c.id_varprod>0 THEN c.id_varprod ELSE c.produ END) AND p.id_empresa=") +
        Conexao::inteiro(c.empresaCabeca) + QLatin1Char(')');
    const QString comando =
        QStringLiteral(
            "SELECT b.numero,CASE WHEN c.id_varprod>0 THEN c.id_varprod ELSE c.produ END,c.obs,c.qtd,"
            "CASE WHEN c.total>0 THEN c.descv/c.total*100 ELSE 0 END as tx_desc,c.pruni,a.numero,"
            "p.descr_det,a.id_pedido,c.ordem   FROM zor.peditens C    LEFT OUTER JOIN zor.pedidos A ON "
            "(a.id_pedido=c.id_pedido)      LEFT OUTER JOIN zor.pedidos B ON (a.numer_ped_vinc=b.numero "
            "AND a.id_empresa=b.id_empresa AND b.tipo='P')     ") +
        produto + QStringLiteral("  WHERE a.id_empresa=") + empresa +
        QStringLiteral(" AND a.tipo='E' AND a.cod_vendedor=") + vendedor +
        QStringLiteral(" and b.id_pedido is not null AND coalesce(a.data,b.data)>=") + desdeZor(c) +
        QStringLiteral(
            " UNION ALL  SELECT a.numero,CASE WHEN c.id_varprod>0 THEN c.id_varprod ELSE c.produ END,"
            "c.obs,c.qtd,CASE WHEN c.total>0 THEN c.descv/c.total*100 ELSE 0 END as tx_desc,c.pruni,"
            "null,p.descr_det,a.id_pedido,c.ordem      FROM zor.peditens C       LEFT OUTER JOIN "
            "zor.pedidos A ON (a.id_pedido=c.id_pedido)    ") +
        produto + QStringLiteral("    WHERE a.id_empresa=") + empresa +
        QStringLiteral(" AND a.tipo='P' AND a.cod_vendedor=") + vendedor + filtroAbertosZor(c) +
        QLatin1Char(' ');
    return comando;
}

QString comandoItensGerente(const ContextoComunicacao& c) {
    const QString comando =
        QStringLiteral(
            "SELECT a.numero,c.produ,c.obs,c.qtd,CASE WHEN c.total>0 THEN c.descv/c.total*100 ELSE 0 "
            "END as tx_desc,c.pruni,p.descr_det,a.id_pedido,c.ordem   FROM gerente.peditens C    LEFT "
            "OUTER JOIN gerente.pedidos A ON (c.id_pedido=a.id_pedido)   LEFT OUTER JOIN gestao.formapag B "
            "ON (a.id_empresa=b.id_empresa AND a.cod_formapag=b.codigo)   LEFT OUTER JOIN gestao.produto P "
            "ON (p.id_erp=c.produ AND p.id_empresa=") +
        Conexao::inteiro(c.empresaCabeca) + QStringLiteral(")  WHERE a.id_empresa=") +
        Conexao::inteiro(c.idEmpresa) + QStringLiteral(" AND a.cod_vendedor=") +
        Conexao::inteiro(representante(c)) + filtroParcialGerente(c) + QStringLiteral(" ORDER BY a.data");
    return comando;
}

} // namespace

bool baixarHistoricoZor(ContextoComunicacao& c) {
    if (!passoRoda(c, "zor"))
        return true;
    const QString empresa = Conexao::inteiro(c.idEmpresa);
    const QString vendedor = Conexao::inteiro(representante(c));
    const QString comando =
        QStringLiteral(
            "SELECT b.numero,coalesce(b.data,a.data) as data,a.dtprevent,a.data_emissao,a.situa,a.clien,"
            "a.conta,a.cod_vendedor,c.descr,a.total,a.obs,a.tipo,b.num_ped_qav,a.numero,d.numero,"
            "d.chave_acesso_nfe,b.situa as sit_ped,null,a.id_pedido   FROM zor.pedidos A      "
            "LEFT OUTER JOIN zor.pedidos B ON (a.numer_ped_vinc=b.numero AND a.id_empresa=b.id_empresa "
            "AND b.tipo='P')      LEFT OUTER JOIN gestao.formapag C ON (c.id_empresa=") +
        Conexao::inteiro(c.empresaCabeca) +
        QStringLiteral(
            " AND a.cod_formapag=c.codigo)      LEFT OUTER JOIN gestao.nf D ON (a.numero=d.num_entrega "
            "AND d.id_empresa=") +
        Conexao::inteiro(empresaNotas(c.idEmpresa)) + QStringLiteral(")      WHERE a.id_empresa=") + empresa +
        QStringLiteral(" AND a.tipo='E' AND a.cod_vendedor=") + vendedor +
        QStringLiteral(" and b.id_pedido is not null AND coalesce(a.data,b.data)>=") + desdeZor(c) +
        QStringLiteral(
            " UNION ALL SELECT a.numero,a.data,a.dtprevent,a.data_emissao,a.situa,a.clien,a.conta,"
            "a.cod_vendedor,b.descr,a.total,a.obs,a.tipo,a.num_ped_qav,null,null,null,null,c.descricao,"
            "a.id_pedido   FROM zor.pedidos A   LEFT OUTER JOIN gestao.formapag B ON (b.id_empresa=1 AND "
            "a.cod_formapag=b.codigo)   LEFT OUTER JOIN zor.sitpedido C ON (c.id_sitpedido=a.situa)   "
            "WHERE a.id_empresa=") +
        empresa + QStringLiteral(" AND a.tipo='P' AND a.cod_vendedor=") + vendedor + filtroAbertosZor(c) +
        QStringLiteral("  ORDER BY data;");
    return Historico(c, {comando, kZor, comandoItensZor(c), kItensZor}).executar();
}

bool baixarHistoricoGerente(ContextoComunicacao& c) {
    if (!passoRoda(c, "gerente"))
        return true;
    const QString comando =
        QStringLiteral(
            "SELECT a.numero,a.data,a.previ,a.dtemi,a.situa,a.clien,a.conta,a.cod_vendedor,b.descr,"
            "a.total,a.obs,a.tipo,a.num_ped_qav,c.numero,c.chave_acesso_nfe,a.id_pedido   FROM "
            "gerente.pedidos A   LEFT OUTER JOIN gestao.formapag B ON (a.id_empresa=b.id_empresa AND "
            "a.cod_formapag=b.codigo)   LEFT OUTER JOIN gestao.nf C ON (a.numero=c.num_pedido AND "
            "c.id_empresa=") +
        Conexao::inteiro(c.empresaCabeca) + QStringLiteral(")      WHERE a.id_empresa=") +
        Conexao::inteiro(c.idEmpresa) + QStringLiteral(" AND a.cod_vendedor=") +
        Conexao::inteiro(representante(c)) + filtroParcialGerente(c) + QStringLiteral(" ORDER BY a.data");
    return Historico(c, {comando, kGerente, comandoItensGerente(c), kItensGerente}).executar();
}

} // namespace qav::sync
