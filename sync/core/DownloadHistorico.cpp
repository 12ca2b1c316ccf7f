#include "sync/core/DownloadHistorico.h"

#include "store/core/Table.h"
#include "sync/core/CampoServidor.h"
#include "sync/core/PassoDownload.h"

#include <set>
#include <utility>
#include <vector>

namespace qav::sync {

namespace {

using Chave = std::pair<long long, long long>; // order number, delivery number

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

// Deletes the items of one history order (every delivery of the number). False on a failure, which has
// been shown.
bool excluirItens(ContextoComunicacao& c, Table& itens, long long numero, long long empresa) {
    std::vector<std::pair<long long, long long>> chaves;
    itens.clearFilter();
    itens.clear();
    itens.rec().setInteger("NUM_PEDIDO", numero);
    itens.rec().setInteger("ID_EMPRESA", empresa);
    Status s = itens.seek("KEYNUM_PEDIDO");
    while (s == Status::Ok && (s = itens.next()) == Status::Ok &&
           itens.rec().integer("NUM_PEDIDO") == numero && itens.rec().integer("ID_EMPRESA") == empresa)
        chaves.emplace_back(itens.rec().integer("ID_PEDCON"), itens.rec().integer("ORDEM"));
    bool ok = s != Status::Error;
    for (const auto& [idPedcon, ordem] : chaves) {
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

// Columns 0 to 12, the same in both forms.
const char* const kCamposComuns[] = {
    "NUMERO",      "DATA_PEDIDO", "DATA_PREV_FATUR", "DATA_FATUR", "SITUACAO", "ID_CLIENTE", "CONTATO",
    "ID_VENDEDOR", "PRAZO",       "VALOR_TOTAL",     "OBS",        "TIPO",     "NUM_PED_QAV"};

bool baixarHistorico(ContextoComunicacao& c, const QString& comando, const ColunasHistorico& col) {
    Table pedcon(c.store, "pedcon"), pedicon(c.store, "pedicon");
    PassoDownload passo(c, QStringLiteral(" Pedido(s) Consulta..."));
    if (!passo.iniciar(QStringLiteral("Atualizando Pedidos Consulta..."), {&pedcon, &pedicon}))
        return false;
    std::set<Chave> recebidos;
    std::vector<Chave> ordemRecebida;
    const bool ok = passo.percorrer(
        comando,
        [&](const Linha& l) {
            const long long numero = l.inteiro(0);
            const long long entrega =
                col.numEntrega >= 0 ? l.inteiro(static_cast<size_t>(col.numEntrega)) : 0;
            passo.progresso(
                [&] { return QStringLiteral("Atualizando Pedido # ") + QString::number(numero); });
            pedcon.clearFilter();
            pedcon.clear();
            pedcon.rec().setInteger("NUMERO", numero);
            pedcon.rec().setInteger("NUM_ENTREGA", entrega);
            pedcon.rec().setInteger("ID_EMPRESA", c.idEmpresa);
            const Status achou = pedcon.get("KEYNUMERO");
            if (achou == Status::Error) {
                c.erro(erroLocal(pedcon, ") ao gravar pedido consulta!"));
                return false;
            }
            if (achou != Status::Ok) {
                pedcon.clear();
                pedcon.rec().setInteger("NUMERO", numero);
                pedcon.rec().setInteger("NUM_ENTREGA", entrega);
                pedcon.rec().setInteger("ID_EMPRESA", c.idEmpresa);
            }
            Record& r = pedcon.rec();
            for (size_t i = 0; i < std::size(kCamposComuns); ++i)
                atribuirDoServidor(r, kCamposComuns[i], l.texto(i));
            r.setInteger("SITUACAO", situacao(l.inteiro(4), col.zor));
            const auto campo = [&](const char* nome, int coluna) {
                if (coluna >= 0)
                    atribuirDoServidor(r, nome, l.texto(static_cast<size_t>(coluna)));
            };
            campo("NUM_NF", col.numNf);
            campo("CHAVE_NFE", col.chaveNfe);
            campo("SIT_PED", col.sitPed);
            campo("SIT_DESCR", col.sitDescr);
            campo("ID_PEDCON", col.idPedcon);
            if ((achou == Status::Ok ? pedcon.put() : pedcon.add()) != Status::Ok) {
                c.erro(erroLocal(pedcon, ") ao gravar pedido consulta!"));
                return false;
            }
            // The items of an order received again come back with the item step.
            if (achou == Status::Ok && !excluirItens(c, pedicon, numero, c.idEmpresa))
                return false;
            if (recebidos.insert({numero, entrega}).second)
                ordemRecebida.emplace_back(numero, entrega);
            passo.contar();
            return true;
        },
        PassoDownload::ErroComando::ComComando);
    if (!ok)
        return false;

    // Uninvoiced history orders the server no longer lists go with their items; invoiced ones stay.
    std::vector<std::pair<Chave, long long>> fora; // key and company
    pedcon.clearFilter();
    Status s = pedcon.seekPhysical();
    while (s == Status::Ok && (s = pedcon.next()) == Status::Ok) {
        const Record& r = pedcon.rec();
        const Chave chave{r.integer("NUMERO"), r.integer("NUM_ENTREGA")};
        if (r.date("DATA_FATUR").isNull() && !recebidos.count(chave))
            fora.emplace_back(chave, r.integer("ID_EMPRESA"));
    }
    const QString marca =
        col.zor ? QStringLiteral("Atualizando Pedido ## ") : QStringLiteral("Atualizando Pedido # ");
    for (const auto& [chave, empresa] : fora) {
        c.linhaProgresso(marca + QString::number(chave.first));
        pedcon.clear();
        pedcon.rec().setInteger("NUMERO", chave.first);
        pedcon.rec().setInteger("NUM_ENTREGA", chave.second);
        pedcon.rec().setInteger("ID_EMPRESA", empresa);
        if (pedcon.get("KEYNUMERO") != Status::Ok || pedcon.remove() != Status::Ok)
            c.erro(erroLocal(pedcon, ") ao excluir pedido consulta!"));
        else
            excluirItens(c, pedicon, chave.first, empresa);
    }

    // The ERP's volume of every order received, from its items.
    if (col.zor) {
        for (const Chave& chave : ordemRecebida) {
            if (c.parar())
                return false;
            c.linhaProgresso(QStringLiteral("Atualizando Pedido ### ") + QString::number(chave.first));
            pedcon.clear();
            pedcon.rec().setInteger("NUMERO", chave.first);
            pedcon.rec().setInteger("NUM_ENTREGA", chave.second);
            pedcon.rec().setInteger("ID_EMPRESA", c.idEmpresa);
            if (pedcon.get("KEYNUMERO") != Status::Ok) {
                c.erro(erroLocal(pedcon, ") ao atualizar pedido consulta!"));
                return false;
            }
            const QString volume = c.conexao.querysql(
                QStringLiteral(
                    "SELECT sum(a.qtd*b.vol_m3) from zor.peditens A LEFT OUTER JOIN gestao.produto b "
                    "ON (b.id_erp=(CASE WHEN a.id_varprod>0 THEN a.id_varprod ELSE a.produ END) AND "
                    "b.id_empresa=") +
                Conexao::inteiro(c.empresaCabeca) + QStringLiteral(") WHERE a.id_pedido=") +
                Conexao::inteiro(pedcon.rec().integer("ID_PEDCON")));
            atribuirDoServidor(pedcon.rec(), "VOL_M3", volume);
            if (pedcon.put() != Status::Ok) {
                c.erro(erroLocal(pedcon, ") ao atualizar pedido consulta!"));
                return false;
            }
        }
    }
    return passo.concluir();
}

struct ColunasItens {
    bool zor;
    int entrega, descricao, idPedcon, ordem; // entrega -1: no delivery column
};

const ColunasItens kItensZor{true, 6, 7, 8, 9};
const ColunasItens kItensGerente{false, -1, 6, 7, 8};

bool baixarItens(ContextoComunicacao& c, const QString& comando, const ColunasItens& col) {
    Table pedcon(c.store, "pedcon"), pedicon(c.store, "pedicon");
    PassoDownload passo(c, QStringLiteral(" Itens do Pedido Consulta..."));
    if (!passo.iniciar(QStringLiteral("Atualizando Itens do Pedido Consulta..."), {&pedicon}))
        return false;
    if (!pedcon.open())
        return passo.falhaGravacao(pedcon.error(), QStringLiteral(") ao abrir pedcon!"));
    const QString marca =
        col.zor ? QStringLiteral("Atualizando Itens do Pedido # ") : QStringLiteral("Atualizando Pedido # ");
    const bool ok = passo.percorrer(
        comando,
        [&](const Linha& l) {
            const long long numero = l.inteiro(0);
            passo.progresso([&] { return marca + QString::number(numero); });
            pedcon.clear();
            pedcon.rec().setInteger("NUMERO", numero);
            pedcon.rec().setInteger("NUM_ENTREGA",
                                    col.entrega >= 0 ? l.inteiro(static_cast<size_t>(col.entrega)) : 0);
            pedcon.rec().setInteger("ID_EMPRESA", c.idEmpresa);
            const Status pai = pedcon.get("KEYNUMERO");
            if (pai == Status::Error) {
                c.erro(erroLocal(pedcon, ") ao gravar item do pedido consulta!"));
                return false;
            }
            if (pai != Status::Ok) // its order was not received in this run
                return true;
            pedicon.clear();
            Record& r = pedicon.rec();
            r.setInteger("ID_EMPRESA", c.idEmpresa);
            r.setInteger("NUM_PEDIDO", numero);
            atribuirDoServidor(r, "ID_PRODUTO", l.texto(1));
            atribuirDoServidor(r, "COMPLE", l.texto(2));
            atribuirDoServidor(r, "QTDADE", l.texto(3));
            atribuirDoServidor(r, "DESCP", l.texto(4));
            atribuirDoServidor(r, "PRECO_UNIT", l.texto(5));
            atribuirDoServidor(r, "DESCR_PRODUTO", l.texto(static_cast<size_t>(col.descricao)));
            atribuirDoServidor(r, "ID_PEDCON", l.texto(static_cast<size_t>(col.idPedcon)));
            atribuirDoServidor(r, "ORDEM", l.texto(static_cast<size_t>(col.ordem)));
            if (pedicon.add() != Status::Ok) {
                QString texto = erroLocal(pedicon, ") ao gravar item do pedido consulta!");
                if (col.zor)
                    texto += QLatin1Char('|') + pedicon.error().text;
                c.erro(texto);
                return false;
            }
            passo.contar();
            return true;
        },
        PassoDownload::ErroComando::ComComando);
    return ok && passo.concluir();
}

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
    return baixarHistorico(c, comando, kZor);
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
    return baixarHistorico(c, comando, kGerente);
}

bool baixarItensHistoricoZor(ContextoComunicacao& c) {
    if (!passoRoda(c, "zor"))
        return true;
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
    return baixarItens(c, comando, kItensZor);
}

bool baixarItensHistoricoGerente(ContextoComunicacao& c) {
    if (!passoRoda(c, "gerente"))
        return true;
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
    return baixarItens(c, comando, kItensGerente);
}

} // namespace qav::sync
